#include "temp_files.h"

#include <stdio.h>

std::string FreshTestFolder(const char* name)
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp, length) + "tarvo-" + name;
    RemoveTestFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveTestFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string path = folder + "\\" + found.cFileName;
            if (found.cFileName[0] == '.')
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTestFolder(path);
                continue;
            }
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadBytes(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return "<missing>";
    std::string bytes;
    char chunk[4096];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, count);
    fclose(file);
    return bytes;
}

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesA(path.c_str());
}

void SetAttributes(const std::string& path, DWORD attributes)
{
    SetFileAttributesA(path.c_str(), (attributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
