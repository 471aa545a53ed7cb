// Looks into the running tabrix.exe from the Windows side for the end-to-end test.
//   tabrix_probe wait   waits until the main window shows its usage text
//   tabrix_probe log    writes the log box text, as UTF-8, to standard output
//   tabrix_probe exit   presses "終了"
// Exit status 0 on success, 1 when the window is not there (after 20 seconds for wait).
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "gui_fixture.h"

static HWND findMainWindow()
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr)
        if (windowText(window) == kCaptionBytes)
            return window;
    return nullptr;
}

static std::string toUtf8(const std::string& text)
{
    int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> buffer(wide + 1);
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), buffer.data(), wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}

int main(int argc, char** argv)
{
    const char* command = argc > 1 ? argv[1] : "";
    if (!strcmp(command, "wait")) {
        for (int i = 0; i < 400; ++i) {
            HWND window = findMainWindow();
            if (window && windowText(GetDlgItem(window, 1012)) == usageText())
                return 0;
            Sleep(50);
        }
        fprintf(stderr, "tabrix_probe: no main window with its usage text\n");
        return 1;
    }
    HWND window = findMainWindow();
    if (!window) {
        fprintf(stderr, "tabrix_probe: no main window\n");
        return 1;
    }
    if (!strcmp(command, "log")) {
        std::string text = toUtf8(windowText(GetDlgItem(window, 1012)));
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return written == text.size() ? 0 : 1;
    }
    if (!strcmp(command, "exit")) {
        PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
        return 0;
    }
    fprintf(stderr, "usage: tabrix_probe wait|log|exit\n");
    return 2;
}
