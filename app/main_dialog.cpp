// The main dialog: usage and progress text, destination and overwrite choices, drops.
#include "app/main_dialog.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

#include "app/settings.h"
#include "jobs/app_log.h"
#include "jobs/drop_dispatch.h"
#include "resources/resource.h"

HWND logBox = nullptr;

// How to use the program, shown once at start; the empty last line parts it from the progress lines.
static const char* const usageParagraphs[] = {
    "・RK-3890HB よりダウンロードした拡張子 bin ファイルを\r\n"
    "　本ソフトにドロップする事で CSV 形式のファイルに\r\n"
    "　変換します。\r\n",
    "・[変換先]より CSV 形式のファイル作成場所を\r\n"
    "　選択して下さい。\r\n",
    "・[上書き保存する]のチェックを外している場合\r\n"
    "　変換の際に同名のファイルがあるときは、\r\n"
    "　ファイル名に追い番(1～1000)を追加して変換します。\r\n\r\n",
};

// Told when the folder box holds more than a path may: nothing is saved or converted with it.
static const char folderTooLongText[] = " [その他]のフォルダ名が長すぎます(259バイトまで)\r\n";

// appendToLog's target: insert at the caret, then paint at once so a long drop shows each line.
static void appendToLogBox(const char* text)
{
    if (!logBox || !text)
        return;
    SendMessageA(logBox, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    UpdateWindow(logBox);
}

// Copies the folder box into chosenFolder. Refuses (false, chosenFolder unchanged) a text
// longer than 259 bytes rather than cutting it, possibly inside a double-byte character.
static bool readFolderBox(HWND window)
{
    // Two bytes of slack: a text of 260 bytes or more still reads back as at least 260.
    char folder[kPathSize + 2];
    memset(folder, 0, sizeof folder);
    GetDlgItemTextA(window, IDC_FOLDER_BOX, folder, sizeof folder);
    if (strlen(folder) >= sizeof AppSettings.chosenFolder)
        return false;
    memset(AppSettings.chosenFolder, 0, sizeof AppSettings.chosenFolder);
    memcpy(AppSettings.chosenFolder, folder, strlen(folder));
    return true;
}

static void setCheck(HWND window, int id, bool checked)
{
    SendDlgItemMessageA(window, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Runs once the window is up: usage text, then the saved choices into the controls.
static void deferredInit(HWND window)
{
    logBox = GetDlgItem(window, IDC_LOG_BOX);
    setLogSink(appendToLogBox);
    for (const char* paragraph : usageParagraphs)
        appendToLog(paragraph);

    loadSettings();
    int32_t mode = AppSettings.destinationMode;
    if (mode != SourceFolder && mode != Desktop && mode != ChosenFolder)
        AppSettings.destinationMode = mode = SourceFolder;
    setCheck(window, IDC_DEST_SOURCE, mode == SourceFolder);
    setCheck(window, IDC_DEST_DESKTOP, mode == Desktop);
    setCheck(window, IDC_DEST_CHOSEN, mode == ChosenFolder);
    SetDlgItemTextA(window, IDC_FOLDER_BOX, AppSettings.chosenFolder);
    setCheck(window, IDC_OVERWRITE, AppSettings.overwriteExisting != 0);
}

static void browseClicked(HWND window)
{
    char folder[kPathSize];
    memset(folder, 0, sizeof folder);
    if (browseForFolder(window, folder, sizeof folder) != 0)
        return;
    SetDlgItemTextA(window, IDC_FOLDER_BOX, folder);
    memset(AppSettings.chosenFolder, 0, sizeof AppSettings.chosenFolder);
    memcpy(AppSettings.chosenFolder, folder, sizeof folder);
    AppSettings.chosenFolder[kPathSize - 1] = '\0';
}

static void onCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    // A full edit control starts over empty.
    if (HIWORD(wParam) == EN_MAXTEXT)
        SetWindowTextA(reinterpret_cast<HWND>(lParam), "");

    switch (LOWORD(wParam)) {
    case IDOK:
        if (readFolderBox(window))
            saveSettings();
        else
            appendToLog(folderTooLongText);
        break;
    case IDCANCEL:
        DestroyWindow(window);
        break;
    case IDC_BROWSE:
        browseClicked(window);
        break;
    case IDC_DEST_DESKTOP:
        AppSettings.destinationMode = Desktop;
        break;
    case IDC_DEST_SOURCE:
        AppSettings.destinationMode = SourceFolder;
        break;
    case IDC_DEST_CHOSEN:
        AppSettings.destinationMode = ChosenFolder;
        break;
    case IDC_OVERWRITE:
        AppSettings.overwriteExisting =
            SendDlgItemMessageA(window, IDC_OVERWRITE, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        break;
    default:
        break;
    }
}

// The paths of a shell drop, as the jobs read them.
static unsigned dropCount(void* context)
{
    return DragQueryFileA(static_cast<HDROP>(context), 0xFFFFFFFF, nullptr, 0);
}

static unsigned dropPathAt(void* context, unsigned index, char* out, unsigned size)
{
    HDROP drop = static_cast<HDROP>(context);
    UINT length = DragQueryFileA(drop, index, nullptr, 0);
    if (length >= size) {
        // Too long for the buffer: refused whole, never cut.
        if (size)
            out[0] = '\0';
        return length;
    }
    DragQueryFileA(drop, index, out, size);
    return length;
}

static void onDropFiles(HWND window, HDROP drop)
{
    bool folderRead = readFolderBox(window);
    if (!folderRead && AppSettings.destinationMode == ChosenFolder) {
        appendToLog(folderTooLongText);
    } else {
        DropList paths = {drop, dropCount, dropPathAt};
        dispatchDroppedPaths(&paths);
    }
    DragFinish(drop);
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        INITCOMMONCONTROLSEX classes;
        classes.dwSize = sizeof classes;
        classes.dwICC = ICC_INTERNET_CLASSES;
        InitCommonControlsEx(&classes);
        // Filling the controls waits until the window exists and has been shown.
        PostMessageA(window, WM_DEFERRED_INIT, kDeferredInitTag, 0);
        return TRUE;
    }
    case WM_DEFERRED_INIT:
        if (LOWORD(wParam) == kDeferredInitTag)
            deferredInit(window);
        return TRUE;
    case WM_COMMAND:
        onCommand(window, wParam, lParam);
        return TRUE;
    case WM_DROPFILES:
        onDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_CLOSE:
        // The close box takes the way of "終了".
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    case WM_DESTROY:
        setLogSink(nullptr);
        logBox = nullptr;
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

int browseForFolder(HWND owner, char* path, unsigned size)
{
    // The browser writes up to MAX_PATH bytes into the display name and the path.
    if (!path || size < MAX_PATH)
        return -1;
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return -1;

    BROWSEINFOA info;
    memset(&info, 0, sizeof info);
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = path;
    info.lpszTitle = "フォルダを選択して下さい";
    info.ulFlags = 0;

    int result = -1;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item) {
        if (SHGetPathFromIDListA(item, path))
            result = 0;
        allocator->Free(item);
    }
    allocator->Release();
    return result;
}
