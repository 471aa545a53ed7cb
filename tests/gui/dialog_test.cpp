// The real main dialog, created from the real template 132 and driven in this process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "app/settings.h"
#include "gui_fixture.h"
#include "jobs/app_log.h"
#include "resources/resource.h"

namespace {

const char kDone[] = "\x8a\xae\x97\xb9\r\n";                // 完了
const char kStarted[] = " \x95\xcf\x8a\xb7\x8a\x4a\x8e\x6e\x81\xcb";  // " 変換開始⇒" after the name

// Exit code of the last WM_QUIT the pump saw, -1 when none.
int quitCode = -1;

// Delivers everything queued, as the program's loop does.
void pump(HWND dialog)
{
    MSG message;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitCode = static_cast<int>(message.wParam);
                continue;
            }
            if (!dialog || !IsWindow(dialog) || !IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        Sleep(5);
    }
}

bool checked(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string itemText(HWND dialog, int id)
{
    return windowText(GetDlgItem(dialog, id));
}

// The progress line of one converted file, as the log box shows it.
std::string doneLine(const std::string& path)
{
    char title[MAX_PATH] = {0};
    GetFileTitleA(path.c_str(), title, sizeof title);
    return std::string(" ") + title + kStarted + kDone;
}

// A drop as the shell hands it over: DROPFILES in movable global memory, ANSI, double-NUL list.
HDROP makeDrop(const std::vector<std::string>& paths)
{
    size_t listSize = 1;
    for (const std::string& path : paths)
        listSize += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND | GMEM_SHARE, sizeof(DROPFILES) + listSize);
    if (!memory)
        return nullptr;
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt.x = 10;
    header->pt.y = 10;
    header->fNC = FALSE;
    header->fWide = FALSE;
    char* list = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
    for (const std::string& path : paths) {
        memcpy(list, path.c_str(), path.size() + 1);
        list += path.size() + 1;
    }
    *list = '\0';
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 932u) << "the tests need the Japanese code page (LANG=ja_JP.UTF-8)";
        char previous[MAX_PATH] = {0};
        GetCurrentDirectoryA(sizeof previous, previous);
        previousFolder = previous;
        folder = makeScratchFolder("dialog");
        ASSERT_FALSE(folder.empty());
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    }

    void TearDown() override
    {
        if (dialog && IsWindow(dialog))
            DestroyWindow(dialog);
        pump(nullptr);
        SetCurrentDirectoryA(previousFolder.c_str());
        removeTree(folder);
    }

    // Creates the dialog from template 132 and lets the posted initialisation run.
    void open()
    {
        quitCode = -1;
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN_DIALOG), nullptr,
                                    mainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
        pump(dialog);
    }

    void writeSettings(const char* content)
    {
        std::string path = folder + "\\settings.ini";
        FILE* f = fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fputs(content, f);
        fclose(f);
    }

    std::string settingsFile()
    {
        std::string content;
        readFile(folder + "\\settings.ini", &content);
        return content;
    }

    void click(int id)
    {
        SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
        pump(dialog);
    }

    void drop(const std::vector<std::string>& paths)
    {
        HDROP handle = makeDrop(paths);
        ASSERT_NE(handle, nullptr);
        SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0);
        pump(dialog);
    }

    std::string logText() { return itemText(dialog, IDC_LOG_BOX); }

    std::string previousFolder;
    std::string folder;
    HWND dialog = nullptr;
};

TEST_F(MainDialog, TemplateHasTheCaptionAndEveryControl)
{
    open();
    EXPECT_EQ(windowText(dialog), kCaptionBytes);
    char caption[64] = {0};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, kCaptionBytes);

    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    struct Control {
        int id;
        const char* className;
        const char* text;  // CP932 bytes
        LONG style;
    };
    const Control controls[] = {
        {IDCANCEL, "Button", "\x8f\x49\x97\xb9", BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_BROWSE, "Button", "\x8e\x51\x8f\xc6", BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_DEST_DESKTOP, "Button", "\x83\x66\x83\x58\x83\x4e\x83\x67\x83\x62\x83\x76", BS_AUTORADIOBUTTON},
        {IDC_DEST_SOURCE, "Button",
         "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc6\x93\xaf\x82\xb6\x83\x66\x83\x42\x83\x8c\x83\x4e\x83\x67\x83\x8a",
         BS_AUTORADIOBUTTON},
        {IDC_DEST_CHOSEN, "Button", "\x82\xbb\x82\xcc\x91\xbc", BS_AUTORADIOBUTTON},
        {IDC_FOLDER_BOX, "Edit", "", WS_TABSTOP | ES_AUTOHSCROLL},
        {IDOK, "Button", "\x90\xdd\x92\xe8\x95\xdb\x91\xb6", BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_OVERWRITE, "Button", "\x8f\xe3\x8f\x91\x82\xab\x95\xdb\x91\xb6\x82\xb7\x82\xe9",
         BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_LOG_BOX, "Edit", nullptr,
         WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN},
    };
    // Template order is also the order of the child windows.
    HWND child = GetWindow(dialog, GW_CHILD);
    std::vector<int> order;
    for (; child; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(GetDlgCtrlID(child));
    const std::vector<int> expectedOrder = {IDCANCEL, IDC_BROWSE, 0xFFFF, IDC_DEST_DESKTOP, IDC_DEST_SOURCE,
                                            IDC_DEST_CHOSEN, IDC_FOLDER_BOX, IDOK, IDC_OVERWRITE, IDC_LOG_BOX};
    ASSERT_EQ(order.size(), expectedOrder.size());
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i] & 0xFFFF, expectedOrder[i]) << "control #" << i + 1;

    for (const Control& control : controls) {
        HWND item = GetDlgItem(dialog, control.id);
        ASSERT_NE(item, nullptr) << control.id;
        char className[32] = {0};
        GetClassNameA(item, className, sizeof className);
        EXPECT_STRCASEEQ(className, control.className) << control.id;
        if (control.text) {
            EXPECT_EQ(windowText(item), control.text) << control.id;
        }
        LONG itemStyle = GetWindowLongA(item, GWL_STYLE);
        EXPECT_EQ(itemStyle & control.style, control.style) << control.id;
        EXPECT_TRUE(itemStyle & WS_VISIBLE) << control.id;
        EXPECT_FALSE(itemStyle & (WS_DISABLED | WS_GROUP)) << control.id;
        EXPECT_TRUE(IsWindowEnabled(item)) << control.id;
    }
}

// Reads the template itself: rectangles, font and the group box are only visible there.
TEST_F(MainDialog, TemplateBytesGiveFontAndRectangles)
{
    HRSRC found = FindResourceExA(nullptr, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_MAIN_DIALOG),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(found, nullptr) << "template 132 under 0x0411";
    const WORD* p = static_cast<const WORD*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p[0], 1);       // dlgVer
    ASSERT_EQ(p[1], 0xFFFF);  // extended template
    const DWORD* d = reinterpret_cast<const DWORD*>(p + 2);
    EXPECT_EQ(d[0], 0u);  // help id
    EXPECT_EQ(d[1], static_cast<DWORD>(WS_EX_ACCEPTFILES));
    EXPECT_EQ(d[2], static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT));
    p = reinterpret_cast<const WORD*>(d + 3);
    EXPECT_EQ(p[0], 10);  // controls
    EXPECT_EQ(static_cast<short>(p[1]), 0);
    EXPECT_EQ(static_cast<short>(p[2]), 0);
    EXPECT_EQ(p[3], 241);
    EXPECT_EQ(p[4], 229);
    p += 5;
    EXPECT_EQ(p[0], 0) << "no menu";
    ++p;
    EXPECT_EQ(p[0], 0) << "no window class";
    ++p;
    const std::wstring caption(reinterpret_cast<const wchar_t*>(p));
    EXPECT_EQ(caption, L"\x30bf\x30d6\x30ea\x30af\x30b9 V0.2R10");
    p += caption.size() + 1;
    EXPECT_EQ(p[0], 9);  // points
    EXPECT_EQ(p[1], 0);  // weight
    EXPECT_EQ(p[2] & 0xFF, 0);  // italic
    EXPECT_EQ(p[2] >> 8, 0);    // charset
    p += 3;
    const std::wstring face(reinterpret_cast<const wchar_t*>(p));
    EXPECT_EQ(face, L"\xff2d\xff33 \x30b4\x30b7\x30c3\x30af");
    p += face.size() + 1;

    struct Item {
        int id;
        WORD classAtom;
        short x, y, cx, cy;
        DWORD style;  // besides WS_CHILD | WS_VISIBLE
    };
    const Item items[] = {
        {IDCANCEL, 0x80, 184, 208, 47, 14, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_BROWSE, 0x80, 159, 162, 35, 14, BS_PUSHBUTTON | WS_TABSTOP},
        {-1, 0x80, 6, 116, 229, 67, BS_GROUPBOX},
        {IDC_DEST_DESKTOP, 0x80, 18, 146, 86, 11, BS_AUTORADIOBUTTON},
        {IDC_DEST_SOURCE, 0x80, 18, 130, 116, 11, BS_AUTORADIOBUTTON},
        {IDC_DEST_CHOSEN, 0x80, 18, 162, 44, 11, BS_AUTORADIOBUTTON},
        {IDC_FOLDER_BOX, 0x81, 73, 162, 83, 13, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDOK, 0x80, 132, 208, 47, 14, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_OVERWRITE, 0x80, 18, 192, 69, 12, BS_AUTOCHECKBOX | WS_TABSTOP},
        {IDC_LOG_BOX, 0x81, 6, 7, 229, 103,
         WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN},
    };
    for (const Item& item : items) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~static_cast<uintptr_t>(3));
        const DWORD* h = reinterpret_cast<const DWORD*>(p);
        EXPECT_EQ(h[0], 0u) << item.id << " help id";
        EXPECT_EQ(h[1], 0u) << item.id << " extended style";
        DWORD style = h[2];
        const short* r = reinterpret_cast<const short*>(h + 3);
        EXPECT_EQ(r[0], item.x) << item.id;
        EXPECT_EQ(r[1], item.y) << item.id;
        EXPECT_EQ(r[2], item.cx) << item.id;
        EXPECT_EQ(r[3], item.cy) << item.id;
        EXPECT_EQ(static_cast<int>(*reinterpret_cast<const DWORD*>(r + 4)), item.id);
        p = reinterpret_cast<const WORD*>(r + 6);
        EXPECT_EQ(style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE) | item.style) << item.id;
        // Class: an atom (0xFFFF, atom) or the name.
        if (p[0] == 0xFFFF) {
            EXPECT_EQ(p[1], item.classAtom) << item.id;
            p += 2;
        } else {
            std::wstring name(reinterpret_cast<const wchar_t*>(p));
            EXPECT_EQ(_wcsicmp(name.c_str(), item.classAtom == 0x80 ? L"BUTTON" : L"EDIT"), 0) << item.id;
            p += name.size() + 1;
        }
        // Text, then the creation data size.
        if (p[0] == 0xFFFF)
            p += 2;
        else
            p += wcslen(reinterpret_cast<const wchar_t*>(p)) + 1;
        EXPECT_EQ(p[0], 0) << item.id << " creation data";
        p += 1 + p[0];
    }
}

TEST(Resources, MutexNameVersionAndManifest)
{
    char name[100] = {0};
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), IDS_MUTEX_NAME, name, sizeof name), 36);
    EXPECT_STREQ(name, "7C41E0B2-95AF-4D3E-B618-2F0D9A63C5E7");

    // The version block as the system reads it from the program file.
    ASSERT_NE(FindResourceExA(nullptr, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                              MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)),
              nullptr)
        << "version resource under 0x0411";
    char program[MAX_PATH] = {0};
    ASSERT_GT(GetModuleFileNameA(nullptr, program, sizeof program), 0u);
    DWORD size = GetFileVersionInfoSizeA(program, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> copy(size);
    ASSERT_TRUE(GetFileVersionInfoA(program, 0, size, copy.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(copy.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00000002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00000002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    DWORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(copy.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    EXPECT_EQ(translation[0], 0x04B00411u);
    const struct {
        const char* key;
        const char* value;
    } strings[] = {{"FileVersion", "V0.2R10"},   {"ProductVersion", "V0.2R10"},
                   {"FileDescription", "tabrix"}, {"InternalName", "tabrix"},
                   {"OriginalFilename", "tabrix.exe"}};
    for (const auto& entry : strings) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\041104B0\\") + entry.key;
        ASSERT_TRUE(VerQueryValueA(copy.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << key;
        EXPECT_STREQ(value, entry.value) << key;
    }

    HRSRC manifest = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                     SizeofResource(nullptr, manifest));
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(text.find("dependentAssembly"), std::string::npos);
}

TEST_F(MainDialog, DeferredInitialisationWaitsForTheLoopAndWritesTheUsageText)
{
    dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN_DIALOG), nullptr,
                                mainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    // Nothing is filled before the posted message is delivered.
    EXPECT_EQ(logText(), "");
    EXPECT_FALSE(checked(dialog, IDC_DEST_SOURCE));
    EXPECT_EQ(logBox, nullptr);

    // Another tag does nothing, but the message is still handled.
    EXPECT_EQ(SendMessageA(dialog, WM_DEFERRED_INIT, 0x2002, 0), 0);
    EXPECT_EQ(logText(), "");
    // mainDialogProc's own results: 1 for its messages, 0 for any other.
    EXPECT_EQ(mainDialogProc(dialog, WM_DEFERRED_INIT, 1, 0), TRUE);
    EXPECT_EQ(mainDialogProc(dialog, WM_SIZE, 0, 0), FALSE);
    EXPECT_EQ(logText(), "");

    pump(dialog);
    const std::string text = logText();
    EXPECT_EQ(text.size(), 122u + 65u + 143u);
    EXPECT_EQ(text, usageText());
    EXPECT_EQ(logBox, GetDlgItem(dialog, IDC_LOG_BOX));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDCANCEL)) << "the first tab stop takes the focus";
}

struct LoadCase {
    const char* settings;  // settings.ini content, nullptr for none
    int checkedButton;
    int modeAfter;
    const char* folderBox;
    bool overwrite;
};

class LoadedState : public MainDialog, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadedState, ControlsFollowTheLoadedSettings)
{
    const LoadCase& c = GetParam();
    if (c.settings)
        writeSettings(c.settings);
    open();
    const int buttons[] = {IDC_DEST_SOURCE, IDC_DEST_DESKTOP, IDC_DEST_CHOSEN};
    for (int id : buttons)
        EXPECT_EQ(checked(dialog, id), id == c.checkedButton) << id;
    EXPECT_EQ(AppSettings.destinationMode, c.modeAfter);
    EXPECT_EQ(itemText(dialog, IDC_FOLDER_BOX), c.folderBox);
    EXPECT_EQ(checked(dialog, IDC_OVERWRITE), c.overwrite);
    EXPECT_EQ(logText(), usageText());
    const int all[] = {IDOK, IDCANCEL, IDC_BROWSE, IDC_FOLDER_BOX, IDC_LOG_BOX, IDC_OVERWRITE,
                       IDC_DEST_SOURCE, IDC_DEST_DESKTOP, IDC_DEST_CHOSEN};
    for (int id : all)
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
    // Loading never writes the file.
    if (!c.settings) {
        EXPECT_FALSE(pathExists(folder + "\\settings.ini"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LoadedState,
    ::testing::Values(LoadCase{"[setting]\r\ntype=0\r\ndir=D:\\out\r\noverwr=0\r\n", IDC_DEST_SOURCE, 0, "D:\\out", false},
                      LoadCase{"[setting]\r\ntype=1\r\ndir=\r\noverwr=7\r\n", IDC_DEST_DESKTOP, 1, "", true},
                      // C:\データ\表 in CP932: the folder box shows it unchanged.
                      LoadCase{"[setting]\r\ntype=2\r\ndir=C:\\\x83\x66\x81\x5b\x83\x5e\\\x95\x5c\r\noverwr=1\r\n",
                               IDC_DEST_CHOSEN, 2, "C:\\\x83\x66\x81\x5b\x83\x5e\\\x95\x5c", true},
                      LoadCase{"[setting]\r\ntype=5\r\ndir=E:\\x\r\n", IDC_DEST_SOURCE, 0, "E:\\x", true},
                      LoadCase{nullptr, IDC_DEST_SOURCE, 0, "", true}));

TEST_F(MainDialog, ClicksChangeTheSettingsAtOnceAndOnlySaveWritesThem)
{
    writeSettings("[setting]\r\ntype=5\r\ndir=\r\noverwr=1\r\n");
    open();
    const std::string before = settingsFile();

    click(IDC_DEST_DESKTOP);
    EXPECT_EQ(AppSettings.destinationMode, Desktop);
    EXPECT_TRUE(checked(dialog, IDC_DEST_DESKTOP));
    EXPECT_FALSE(checked(dialog, IDC_DEST_SOURCE));
    click(IDC_DEST_CHOSEN);
    EXPECT_EQ(AppSettings.destinationMode, ChosenFolder);
    EXPECT_FALSE(checked(dialog, IDC_DEST_DESKTOP));
    click(IDC_OVERWRITE);
    EXPECT_EQ(AppSettings.overwriteExisting, 0);
    EXPECT_FALSE(checked(dialog, IDC_OVERWRITE));
    SetDlgItemTextA(dialog, IDC_FOLDER_BOX, "D:\\\x83\x5c\x83\x74\x83\x67 out");  // D:\ソフト out
    pump(dialog);
    EXPECT_EQ(settingsFile(), before) << "nothing reaches the file before the save";

    click(IDOK);
    EXPECT_EQ(settingsFile(), "[setting]\r\ntype=2\r\ndir=D:\\\x83\x5c\x83\x74\x83\x67 out\r\noverwr=0\r\n");
    EXPECT_STREQ(AppSettings.chosenFolder, "D:\\\x83\x5c\x83\x74\x83\x67 out");

    click(IDC_DEST_SOURCE);
    EXPECT_EQ(AppSettings.destinationMode, SourceFolder);
    click(IDC_OVERWRITE);
    EXPECT_EQ(AppSettings.overwriteExisting, 1);
    click(IDOK);
    EXPECT_EQ(settingsFile(), "[setting]\r\ntype=0\r\ndir=D:\\\x83\x5c\x83\x74\x83\x67 out\r\noverwr=1\r\n");
    EXPECT_EQ(logText(), usageText()) << "the dialog reports nothing of its own";
}

TEST_F(MainDialog, InvalidLoadedModeIsSavedAsZero)
{
    writeSettings("[setting]\r\ntype=5\r\ndir=\r\noverwr=7\r\n");
    open();
    click(IDOK);
    EXPECT_EQ(settingsFile(), "[setting]\r\ntype=0\r\ndir=\r\noverwr=7\r\n");
}

TEST_F(MainDialog, CloseTakesTheWayOfExitAndSavesNothing)
{
    open();
    click(IDC_DEST_DESKTOP);
    EXPECT_EQ(SendMessageA(dialog, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(dialog)) << "the close is posted, not done at once";
    pump(dialog);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(quitCode, 0);
    EXPECT_FALSE(pathExists(folder + "\\settings.ini"));
    EXPECT_EQ(logBox, nullptr);
    dialog = nullptr;
}

TEST_F(MainDialog, ExitButtonAndEscEndTheDialog)
{
    open();
    click(IDCANCEL);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(quitCode, 0);

    open();
    // Esc through the dialog manager, as the program's loop passes it on.
    SetFocus(GetDlgItem(dialog, IDC_FOLDER_BOX));
    PostMessageA(GetDlgItem(dialog, IDC_FOLDER_BOX), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    pump(dialog);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(quitCode, 0);
    dialog = nullptr;
}

TEST_F(MainDialog, EnterInTheFolderBoxSaves)
{
    open();
    SetDlgItemTextA(dialog, IDC_FOLDER_BOX, "D:\\typed");
    SetFocus(GetDlgItem(dialog, IDC_FOLDER_BOX));
    PostMessageA(GetDlgItem(dialog, IDC_FOLDER_BOX), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    pump(dialog);
    EXPECT_EQ(settingsFile(), "[setting]\r\ntype=0\r\ndir=D:\\typed\r\noverwr=1\r\n");
}

TEST_F(MainDialog, FullLogBoxIsEmptiedAndGoesOn)
{
    open();
    const LRESULT limit = SendMessageA(logBox, EM_GETLIMITTEXT, 0, 0);
    ASSERT_GT(limit, 1000);
    std::string chunk(998, 'x');
    chunk += "\r\n";
    size_t previous = GetWindowTextLengthA(logBox);
    bool emptied = false;
    for (LRESULT written = 0; written < limit + 4000 && !emptied; written += chunk.size()) {
        appendToLog(chunk.c_str());
        size_t now = GetWindowTextLengthA(logBox);
        emptied = now < previous;
        previous = now;
    }
    ASSERT_TRUE(emptied) << "the box never started over (limit " << limit << ")";
    EXPECT_LT(previous, chunk.size() + 1) << "at most the overflowing text remains";
    appendToLog(" after\r\n");
    const std::string text = logText();
    ASSERT_GE(text.size(), 8u);
    EXPECT_EQ(text.substr(text.size() - 8), " after\r\n");
    EXPECT_EQ(text.find(usageText()), std::string::npos);
}

TEST_F(MainDialog, FullFolderBoxIsEmptied)
{
    open();
    HWND box = GetDlgItem(dialog, IDC_FOLDER_BOX);
    SendMessageA(box, EM_SETLIMITTEXT, 8, 0);  // the test's own small limit, to reach it quickly
    SetWindowTextA(box, "D:\\abcd");
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 7, 7);
    SendMessageA(box, WM_CHAR, 'e', 1);
    SendMessageA(box, WM_CHAR, 'f', 1);
    EXPECT_LE(windowText(box).size(), 1u) << "a full folder box starts over: " << windowText(box);
}

TEST_F(MainDialog, DropConvertsFilesAndFoldersInOrder)
{
    open();
    const std::string data = folder + "\\data";
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((data + "\\logs").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((data + "\\logs\\sub").c_str(), nullptr));
    writeSmallLog(data + "\\a_w.bin");
    writeSmallLog(data + "\\logs\\b_wh.bin");
    writeSmallLog(data + "\\logs\\sub\\c_w.bin");
    writeSmallLog(data + "\\1p_d_w.bin");
    writeSmallLog(data + "\\notes.bin");

    drop({data + "\\a_w.bin", data + "\\logs", data + "\\notes.bin", data + "\\1p_d_w.bin"});

    const std::string lineA = doneLine(data + "\\a_w.bin");
    const std::string lineB = doneLine(data + "\\logs\\b_wh.bin");
    const std::string lineC = doneLine(data + "\\logs\\sub\\c_w.bin");
    const std::string lineD = doneLine(data + "\\1p_d_w.bin");
    const std::string text = logText();
    ASSERT_EQ(text.substr(0, usageText().size()), usageText());
    const std::string progress = text.substr(usageText().size());
    EXPECT_EQ(progress.size(), lineA.size() + lineB.size() + lineC.size() + lineD.size()) << progress;
    EXPECT_EQ(progress.find(lineA), 0u) << progress;
    EXPECT_EQ(progress.find(lineD), progress.size() - lineD.size()) << progress;
    EXPECT_NE(progress.find(lineB), std::string::npos) << progress;
    EXPECT_NE(progress.find(lineC), std::string::npos) << progress;

    const struct {
        const char* csv;
        const char* model;
    } outputs[] = {{"\\a_w.csv", "RK-3874MQ,"},
                   {"\\logs\\b_wh.csv", "RK-3874MQ,"},
                   {"\\logs\\sub\\c_w.csv", "RK-3874MQ,"},
                   {"\\1p_d_w.csv", "RK-3871MP/150,"}};
    for (const auto& output : outputs) {
        std::string csv;
        ASSERT_TRUE(readFile(data + output.csv, &csv)) << output.csv;
        EXPECT_EQ(csv.find("hostname,gateway,"), 0u) << output.csv;
        EXPECT_NE(csv.find(std::string("\r\n") + output.model), std::string::npos) << output.csv;
        ASSERT_GE(csv.size(), strlen(kSmallLogRow));
        EXPECT_EQ(csv.substr(csv.size() - strlen(kSmallLogRow)), kSmallLogRow) << output.csv;
    }
    EXPECT_FALSE(pathExists(data + "\\notes.csv"));
}

TEST_F(MainDialog, TypedFolderServesTheNextDropWithoutSaving)
{
    open();
    const std::string data = folder + "\\data";
    const std::string out = folder + "\\out";
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((data + "\\logs").c_str(), nullptr));
    writeSmallLog(data + "\\a_w.bin");
    writeSmallLog(data + "\\logs\\b_wh.bin");
    click(IDC_DEST_CHOSEN);
    SetDlgItemTextA(dialog, IDC_FOLDER_BOX, out.c_str());
    pump(dialog);

    // The folder as the X side delivers it, with a trailing backslash.
    drop({data + "\\a_w.bin", data + "\\logs\\"});

    EXPECT_TRUE(pathExists(out + "\\a_w.csv"));
    EXPECT_TRUE(pathExists(out + "\\logs\\b_wh.csv"));
    EXPECT_FALSE(pathExists(data + "\\a_w.csv"));
    EXPECT_STREQ(AppSettings.chosenFolder, out.c_str());
    EXPECT_FALSE(pathExists(folder + "\\settings.ini")) << "a drop saves nothing";
    EXPECT_EQ(logText(), usageText() + doneLine(data + "\\a_w.bin") + doneLine(data + "\\logs\\b_wh.bin"));
}

TEST_F(MainDialog, SelectedTextIsReplacedByTheFirstProgressLine)
{
    open();
    const std::string data = folder + "\\data";
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    writeSmallLog(data + "\\a_w.bin");
    SendMessageA(logBox, EM_SETSEL, 0, -1);
    drop({data + "\\a_w.bin"});
    EXPECT_EQ(logText(), doneLine(data + "\\a_w.bin"));
}

TEST_F(MainDialog, TooLongFolderBoxIsRefusedNotCut)
{
    writeSettings("[setting]\r\ntype=2\r\ndir=D:\\kept\r\noverwr=1\r\n");
    open();
    const std::string data = folder + "\\data";
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    writeSmallLog(data + "\\a_w.bin");
    // 259 bytes fit; the 260th does not, even when it is half of a double-byte character.
    std::string fits = folder + "\\" + std::string(258 - folder.size(), 'f');
    ASSERT_EQ(fits.size(), 259u);
    std::string tooLong = fits.substr(0, 258) + "\x95\x5c";  // ends in 表

    SetDlgItemTextA(dialog, IDC_FOLDER_BOX, tooLong.c_str());
    click(IDOK);
    const std::string before = settingsFile();
    EXPECT_EQ(before, "[setting]\r\ntype=2\r\ndir=D:\\kept\r\noverwr=1\r\n") << "nothing saved";
    EXPECT_STREQ(AppSettings.chosenFolder, "D:\\kept");
    drop({data + "\\a_w.bin"});
    EXPECT_FALSE(pathExists(data + "\\a_w.csv"));
    const std::string text = logText();
    EXPECT_NE(text.find("(259"), std::string::npos) << text;
    EXPECT_EQ(text.find(" a_w"), std::string::npos) << "nothing converted: " << text;

    SetDlgItemTextA(dialog, IDC_FOLDER_BOX, fits.c_str());
    click(IDOK);
    EXPECT_STREQ(AppSettings.chosenFolder, fits.c_str());
    EXPECT_NE(settingsFile().find("dir=" + fits + "\r\n"), std::string::npos);
}

TEST_F(MainDialog, DroppedPathTooLongForABufferIsNotCut)
{
    open();
    const std::string data = folder + "\\data";
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    writeSmallLog(data + "\\a_w.bin");
    // A path of 300 bytes whose first 259 would name a log file of its own.
    std::string longPath = data + "\\a_w.bin" + std::string(300, 'z');
    drop({longPath, data + "\\a_w.bin"});
    const std::string progress = logText().substr(usageText().size());
    EXPECT_TRUE(pathExists(data + "\\a_w.csv"));
    EXPECT_NE(progress.find(doneLine(data + "\\a_w.bin")), std::string::npos) << progress;
    EXPECT_EQ(progress.find("zzzzzz\x95\xcf\x8a\xb7\x8a\x4a"), std::string::npos) << "no job for a cut path";
}

// Closes the folder browser that the dialog opened, from inside its modal loop.
UINT_PTR browserTimer = 0;
int browserAnswer = IDCANCEL;
HWND browserOwner = nullptr;

BOOL CALLBACK answerBrowser(HWND window, LPARAM)
{
    if (GetWindow(window, GW_OWNER) == browserOwner && IsWindowVisible(window)) {
        PostMessageA(window, WM_COMMAND, browserAnswer, 0);
        KillTimer(nullptr, browserTimer);
        browserTimer = 0;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK onBrowserTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), answerBrowser, 0);
}

TEST_F(MainDialog, BrowserCancelChangesNothingAndOkTakesTheFolder)
{
    writeSettings("[setting]\r\ntype=2\r\ndir=D:\\kept\r\noverwr=1\r\n");
    open();
    browserOwner = dialog;

    browserAnswer = IDCANCEL;
    browserTimer = SetTimer(nullptr, 0, 300, onBrowserTimer);
    click(IDC_BROWSE);
    EXPECT_EQ(browserTimer, 0u) << "the browser did not open";
    EXPECT_EQ(itemText(dialog, IDC_FOLDER_BOX), "D:\\kept");
    EXPECT_STREQ(AppSettings.chosenFolder, "D:\\kept");

    // OK on the browser's first item, the desktop, which is a folder on disk.
    browserAnswer = IDOK;
    browserTimer = SetTimer(nullptr, 0, 300, onBrowserTimer);
    click(IDC_BROWSE);
    EXPECT_EQ(browserTimer, 0u) << "the browser did not open";
    char desktop[MAX_PATH] = {0};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(itemText(dialog, IDC_FOLDER_BOX), desktop);
    EXPECT_STREQ(AppSettings.chosenFolder, desktop);
    if (browserTimer)
        KillTimer(nullptr, browserTimer);
}

TEST(BrowseForFolder, RefusesASmallBuffer)
{
    char small[10] = {0};
    EXPECT_EQ(browseForFolder(nullptr, small, sizeof small), -1);
}

}  // namespace
