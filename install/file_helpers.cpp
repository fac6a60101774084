// File helpers of the installation engine: payload paths, attributes and
// forced deletion.
#include "install/file_helpers.h"

#include "shell/paths.h"

int PayloadPath(char* out, const char* installDir, const char* fileName, const char* explicitPath)
{
    return explicitPath ? FormatBounded(out, MAX_PATH, "%s", explicitPath)
                        : FormatBounded(out, MAX_PATH, "%s\\%s", installDir, fileName);
}

int ClearFileAttributes(const char* path, int clearReadOnly, int clearHidden)
{
    // A path that does not exist has nothing to clear; its all-ones
    // "attributes" must never be written back.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD cleared = attributes;
    if (clearReadOnly)
        cleared &= ~FILE_ATTRIBUTE_READONLY;
    if (clearHidden)
        cleared &= ~FILE_ATTRIBUTE_HIDDEN;
    if (cleared == attributes)
        return 0;
    return SetFileAttributesA(path, cleared ? cleared : FILE_ATTRIBUTE_NORMAL) ? 1 : 0;
}

int AddFileAttributes(const char* path, int readOnly, int hidden)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD wanted = attributes;
    if (readOnly)
        wanted |= FILE_ATTRIBUTE_READONLY;
    if (hidden)
        wanted |= FILE_ATTRIBUTE_HIDDEN;
    return SetAttributesExactly(path, wanted);
}

int SetAttributesExactly(const char* path, DWORD attributes)
{
    // "Normal" stands only alone.
    if (attributes & ~FILE_ATTRIBUTE_NORMAL)
        attributes &= ~FILE_ATTRIBUTE_NORMAL;
    // Wine stores hidden in an extended attribute, which it can no longer
    // write once the file is read-only: every other bit first.
    if ((attributes & FILE_ATTRIBUTE_READONLY) && (attributes & FILE_ATTRIBUTE_HIDDEN))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    return SetFileAttributesA(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL) ? 1 : 0;
}

int DeleteFileForced(const char* path)
{
    ClearFileAttributes(path, 1, 1);
    return DeleteFileA(path) ? 0 : -1;
}
