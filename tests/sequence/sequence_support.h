// Helpers of the sequence tests: scratch folders under the temporary folder,
// whole-file reads and writes, and shortcut files read back through the shell.
#pragma once
#include <windows.h>
#include <string>

// A new, empty folder under GetTempPathA, unique to this process.
std::string MakeScratchFolder(const char* name);

bool WriteWholeFile(const std::string& path, const std::string& content);
// Empty when the file cannot be read; *ok tells an empty file from that.
std::string ReadWholeFile(const std::string& path, bool* ok = nullptr);
bool Exists(const std::string& path);

struct LinkInfo {
    bool Loaded = false;
    std::string Target, WorkingFolder, Description, IconPath;
    int IconIndex = -1;
};
LinkInfo ReadShellLink(const std::string& linkPath);
