#include "gui_fixture.h"

#include <stdio.h>
#include <string.h>

const char kCaptionBytes[] = "\x83\x5e\x83\x75\x83\x8a\x83\x4e\x83\x58 V0.2R10";

const char kSmallLogRow[] = "1970/01/01,01:00:00, on,0001,0000,0100,65535,100,60.00,25.34,\r\n";

std::string usageText()
{
    // Written as bytes so that the check does not share the program's literals or their encoding.
    static const char* const lines[] = {
        "\x81\x45" "RK-3890HB " "\x82\xe6\x82\xe8\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68\x82\xb5\x82\xbd\x8a\x67\x92\xa3\x8e\x71" " bin " "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0" "\r\n",
        "\x81\x40\x96\x7b\x83\x5c\x83\x74\x83\x67\x82\xc9\x83\x68\x83\x8d\x83\x62\x83\x76\x82\xb7\x82\xe9\x8e\x96\x82\xc5" " CSV " "\x8c\x60\x8e\xae\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc9" "\r\n",
        "\x81\x40\x95\xcf\x8a\xb7\x82\xb5\x82\xdc\x82\xb7\x81\x42" "\r\n",
        "\x81\x45" "[" "\x95\xcf\x8a\xb7\x90\xe6" "]" "\x82\xe6\x82\xe8" " CSV " "\x8c\x60\x8e\xae\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x8d\xec\x90\xac\x8f\xea\x8f\x8a\x82\xf0" "\r\n",
        "\x81\x40\x91\x49\x91\xf0\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2\x81\x42" "\r\n",
        "\x81\x45" "[" "\x8f\xe3\x8f\x91\x82\xab\x95\xdb\x91\xb6\x82\xb7\x82\xe9" "]" "\x82\xcc\x83\x60\x83\x46\x83\x62\x83\x4e\x82\xf0\x8a\x4f\x82\xb5\x82\xc4\x82\xa2\x82\xe9\x8f\xea\x8d\x87" "\r\n",
        "\x81\x40\x95\xcf\x8a\xb7\x82\xcc\x8d\xdb\x82\xc9\x93\xaf\x96\xbc\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x82\xa0\x82\xe9\x82\xc6\x82\xab\x82\xcd\x81\x41" "\r\n",
        "\x81\x40\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc\x82\xc9\x92\xc7\x82\xa2\x94\xd4" "(1" "\x81\x60" "1000)" "\x82\xf0\x92\xc7\x89\xc1\x82\xb5\x82\xc4\x95\xcf\x8a\xb7\x82\xb5\x82\xdc\x82\xb7\x81\x42" "\r\n\r\n",
    };
    std::string text;
    for (const char* line : lines)
        text += line;
    return text;
}

void writeSmallLog(const std::string& path)
{
    unsigned char data[232 + 20];
    memset(data, 0, sizeof data);
    memcpy(data, "gateway", 7);  // hostName
    data[32] = 1;                // hostVersion
    data[44] = 1;                // unitFlag: power log
    data[45] = 1;                // portNumber
    memcpy(data + 49, "port", 4);
    unsigned char record[20] = {0x00, 0x00, 0x0E, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00, 0x64,
                                0xFF, 0xFF, 0x17, 0x70, 0x09, 0xE6, 0x80, 100, 0, 0};
    memcpy(data + 232, record, sizeof record);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return;
    fwrite(data, 1, sizeof data, f);
    fclose(f);
}

std::string windowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return std::string();
    std::vector<char> buffer(length * 2 + 2, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
    return std::string(buffer.data(), strlen(buffer.data()));
}

std::string windowsPath(const char* unixOrWindowsPath)
{
    std::string path = unixOrWindowsPath;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
