// Real files for the extraction and configuration tests: a fresh folder per
// test under the prefix's temporary folder, and byte-exact reading.
#pragma once
#include <windows.h>

#include <string>

// Creates (emptied) %TEMP%\tarvo-<name>; returns it without trailing backslash.
std::string FreshTestFolder(const char* name);
// Deletes the files in a folder (whatever their attributes), then the folder.
void RemoveTestFolder(const std::string& folder);

void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);
DWORD Attributes(const std::string& path);
// Sets exactly these attributes, hidden before read-only (as the installer does).
void SetAttributes(const std::string& path, DWORD attributes);
bool Exists(const std::string& path);
