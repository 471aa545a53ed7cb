// Entry of tabrix.exe: one instance, the main dialog and its message loop.
#include <windows.h>
#include <string.h>

#include "app/main_dialog.h"
#include "resources/resource.h"

// Named mutex held while this instance runs; a second start finds it and leaves.
static HANDLE instanceMutex = nullptr;
// The main dialog, which the message loop offers every message to.
static HWND mainDialogWindow = nullptr;

static void showStartupError(const char* text)
{
    MessageBoxA(nullptr, text, "tabrix", MB_OK | MB_ICONERROR);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    char mutexName[100];
    memset(mutexName, 0, sizeof mutexName);
    LoadStringA(instance, IDS_MUTEX_NAME, mutexName, sizeof mutexName);

    // Create first, then look: two starts at the same moment cannot both miss each other.
    instanceMutex = CreateMutexA(nullptr, FALSE, mutexName);
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(instanceMutex);
        return 0;
    }

    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = mainDialogProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "tabrix");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "tabrix";
    if (!RegisterClassA(&windowClass)) {
        showStartupError("ウインドウクラスを登録できませんでした。");
        if (instanceMutex)
            CloseHandle(instanceMutex);
        return 0;
    }

    mainDialogWindow = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN_DIALOG), nullptr, mainDialogProc, 0);
    if (!mainDialogWindow) {
        showStartupError("メインウインドウを作成できませんでした。");
        if (instanceMutex)
            CloseHandle(instanceMutex);
        return 0;
    }
    ShowWindow(mainDialogWindow, showCommand);
    UpdateWindow(mainDialogWindow);

    MSG message;
    memset(&message, 0, sizeof message);
    // GetMessageA gives -1 on failure; that ends the loop too instead of spinning.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(mainDialogWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (instanceMutex)
        CloseHandle(instanceMutex);
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}
