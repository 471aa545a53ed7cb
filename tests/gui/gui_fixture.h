// Helpers shared by the window tests: small device logs, texts and paths of windows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/test_files.h"

// The caption of the main window as CP932 bytes ("タブリクス V0.2R10").
extern const char kCaptionBytes[];

// The three usage paragraphs as the log box shows them after start (CP932 bytes, 330 in all).
std::string usageText();

// Writes a device log: the 232-byte header and one 20-byte record with timestamp 3600.
void writeSmallLog(const std::string& path);

// The CSV row that record becomes.
extern const char kSmallLogRow[];

// The text of a window (any process), read through WM_GETTEXT.
std::string windowText(HWND window);

// A Windows path for a Unix path handed over by the build (/x/y becomes Z:\x\y).
std::string windowsPath(const char* unixOrWindowsPath);
