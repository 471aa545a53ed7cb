// File helpers shared by the test programs: paths joined with the platform's
// separator, whole-file reads and writes, folders made, listed and removed.
#pragma once
#include <string>
#include <vector>

#ifdef _WIN32
const char kSep = '\\';
#else
const char kSep = '/';
#endif

// folder + separator + name.
std::string join(const std::string& folder, const std::string& name);
bool writeFile(const std::string& path, const std::string& bytes);
// The whole content of a file; false when it cannot be opened or read.
bool readFile(const std::string& path, std::string* bytes);
// True for a file, a folder or a link (not followed).
bool pathExists(const std::string& path);
bool isFolder(const std::string& path);
bool makeFolder(const std::string& path);
// Makes every folder of path (which need not exist).
void makeFolders(const std::string& path);
// Removes a file, or a folder and everything in it; links are removed, not followed.
void removeTree(const std::string& path);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> listNames(const std::string& folder);
std::string currentFolder();
bool changeFolder(const std::string& path);
// A fresh, empty folder under the temp folder whose name starts with "tbx" + tag;
// its full path without a trailing separator, or "" when none could be made.
std::string makeScratchFolder(const char* tag);
