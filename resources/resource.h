// Resource ids of tabrix.exe, shared by the resource script and the program.
#pragma once

// Dialog template of the main window.
#define IDD_MAIN_DIALOG 132
// String: name of the single-instance mutex.
#define IDS_MUTEX_NAME 110

// Controls of the main dialog (IDOK "設定保存" and IDCANCEL "終了" are the system's 1 and 2).
#define IDC_LOG_BOX 1012
#define IDC_FOLDER_BOX 1013
#define IDC_BROWSE 1160
#define IDC_DEST_DESKTOP 1161
#define IDC_DEST_SOURCE 1162
#define IDC_DEST_CHOSEN 1163
#define IDC_OVERWRITE 1164
