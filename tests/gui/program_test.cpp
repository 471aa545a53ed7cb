// tabrix.exe as a user meets it: started as a process of its own, found by its window.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

#include <string>

#include "gui_fixture.h"

namespace {

// Everything waits at most this long, so that a stuck window fails the test instead of hanging it.
const DWORD kTimeoutMs = 15000;

std::string programPath()
{
    return windowsPath(TABRIX_EXE);
}

struct FindArgs {
    DWORD processId;
    HWND found;
    int count;
};

BOOL CALLBACK matchMainWindow(HWND window, LPARAM lParam)
{
    FindArgs* args = reinterpret_cast<FindArgs*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {0};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0 || windowText(window) != kCaptionBytes)
        return TRUE;
    ++args->count;
    if (args->processId == 0 || owner == args->processId)
        args->found = window;
    return TRUE;
}

// Number of main windows on the desktop (of any process), and the one of processId.
HWND mainWindowOf(DWORD processId, int* count = nullptr)
{
    FindArgs args = {processId, nullptr, 0};
    EnumWindows(matchMainWindow, reinterpret_cast<LPARAM>(&args));
    if (count)
        *count = args.count;
    return args.found;
}

class Program : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 932u) << "the tests need the Japanese code page (LANG=ja_JP.UTF-8)";
        folder = makeScratchFolder("program");
        ASSERT_FALSE(folder.empty());
        ASSERT_EQ(mainWindowOf(0), nullptr) << "a tabrix window is left over from elsewhere";
    }

    void TearDown() override
    {
        for (PROCESS_INFORMATION* process : {&first, &second}) {
            if (!process->hProcess)
                continue;
            if (WaitForSingleObject(process->hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process->hProcess, 99);
                WaitForSingleObject(process->hProcess, kTimeoutMs);
            }
            CloseHandle(process->hProcess);
            CloseHandle(process->hThread);
            process->hProcess = nullptr;
        }
        removeTree(folder);
    }

    // Starts tabrix.exe in the scratch folder with extra command-line text.
    void start(PROCESS_INFORMATION* process, const std::string& arguments = "", WORD show = SW_SHOWNORMAL)
    {
        std::string commandLine = "\"" + programPath() + "\"";
        if (!arguments.empty())
            commandLine += " " + arguments;
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                   &startup, process))
            << "cannot start " << programPath() << ": error " << GetLastError();
    }

    // The main window of the process once its usage text is in place; null after the timeout.
    HWND waitForWindow(const PROCESS_INFORMATION& process)
    {
        for (DWORD waited = 0; waited < kTimeoutMs; waited += 50) {
            HWND window = mainWindowOf(process.dwProcessId);
            if (window && windowText(GetDlgItem(window, 1012)) == usageText())
                return window;
            if (WaitForSingleObject(process.hProcess, 50) != WAIT_TIMEOUT)
                return nullptr;
        }
        return nullptr;
    }

    // The exit code, or -1 when the process does not end in time.
    long exitCode(const PROCESS_INFORMATION& process)
    {
        if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return static_cast<long>(code);
    }

    std::string folder;
    PROCESS_INFORMATION first = {};
    PROCESS_INFORMATION second = {};
};

TEST_F(Program, ShowsItsWindowAndEndsByTheExitButton)
{
    start(&first);
    HWND window = waitForWindow(first);
    ASSERT_NE(window, nullptr) << "no window with the caption and the usage text";
    EXPECT_TRUE(IsWindowVisible(window));
    char caption[64] = {0};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, kCaptionBytes);

    PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(exitCode(first), 0);
}

TEST_F(Program, SecondStartEndsSilentlyAndTheFirstGoesOn)
{
    start(&first);
    HWND window = waitForWindow(first);
    ASSERT_NE(window, nullptr);

    start(&second);
    EXPECT_EQ(exitCode(second), 0) << "the second instance did not end at once";
    int windows = 0;
    mainWindowOf(0, &windows);
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(windowText(GetDlgItem(window, 1012)), usageText());

    // Esc as the keyboard delivers it to the focused control, through the program's loop.
    GUITHREADINFO thread;
    memset(&thread, 0, sizeof thread);
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(first.dwThreadId, &thread));
    ASSERT_NE(thread.hwndFocus, nullptr);
    PostMessageA(thread.hwndFocus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(exitCode(first), 0);

    // Once the first has ended, the guard is gone and a new start runs normally.
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    second = {};
    start(&second);
    window = waitForWindow(second);
    ASSERT_NE(window, nullptr) << "no window after the first instance ended";
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(exitCode(second), 0);
}

TEST_F(Program, CloseBoxEndsWithoutSaving)
{
    start(&first);
    HWND window = waitForWindow(first);
    ASSERT_NE(window, nullptr);
    PostMessageA(GetDlgItem(window, 1161), BM_CLICK, 0, 0);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(exitCode(first), 0);
    EXPECT_FALSE(pathExists(folder + "\\settings.ini"));
}

TEST_F(Program, PathsOnTheCommandLineAreIgnored)
{
    writeSmallLog(folder + "\\a_w.bin");
    start(&first, "\"" + folder + "\\a_w.bin\" a_w.bin \"" + folder + "\"");
    HWND window = waitForWindow(first);
    ASSERT_NE(window, nullptr);
    Sleep(500);
    EXPECT_EQ(windowText(GetDlgItem(window, 1012)), usageText()) << "only the usage text";
    EXPECT_FALSE(pathExists(folder + "\\a_w.csv"));
    PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(exitCode(first), 0);
}

TEST_F(Program, ShowsWithTheShowCommandItWasGiven)
{
    start(&first, "", SW_SHOWMINNOACTIVE);
    HWND window = waitForWindow(first);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsIconic(window));
    PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(exitCode(first), 0);
}

}  // namespace
