// The program's only window: a modeless dialog from template 132 with one procedure.
#pragma once
#include <windows.h>

// Posted to the dialog by WM_INITDIALOG; with wParam 8193 it fills the log box and the controls.
enum { WM_DEFERRED_INIT = WM_USER + 1001, kDeferredInitTag = 8193 };

// The log box (control 1012) once the deferred initialisation has run; null before and after.
extern HWND logBox;

// The dialog procedure of template 132 (also the window procedure of the class "tabrix").
INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the shell's folder browser owned by owner. path is a zeroed buffer of size bytes
// (at least MAX_PATH) that receives the chosen folder. Returns 0 for a folder with a
// file-system path, -1 otherwise (cancelled, no path, no shell allocator).
int browseForFolder(HWND owner, char* path, unsigned size);
