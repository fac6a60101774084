// File helpers of the installation engine: payload paths, attributes and
// forced deletion.
#include "install/file_helpers.h"

#include "install/brief_hold.h"
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

int DeleteFileForced(const char* path)
{
    HoldWait wait = {};
    do {
        ClearFileAttributes(path, 1, 1);
        if (DeleteFileA(path))
            return 0;
    } while (WaitOutHold(&wait));
    return -1;
}
