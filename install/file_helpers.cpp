// Path and file helpers shared by the installation engine, the wizard and
// the environment detection.
#include "install/file_helpers.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int FormatBounded(char* out, std::size_t size, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    // The run-time DLL's own formatting: -1, or no room for the NUL, when cut.
    int length = _vsnprintf(out, size, format, arguments);
    va_end(arguments);
    if (length < 0 || static_cast<std::size_t>(length) >= size) {
        if (size > 0)
            out[0] = '\0';
        return 0;
    }
    return 1;
}

int JoinWide(WCHAR* out, std::size_t units, std::initializer_list<const WCHAR*> pieces)
{
    std::size_t length = 0;
    for (const WCHAR* piece : pieces)
        for (; *piece; ++piece, ++length) {
            if (length + 1 >= units) {
                if (units > 0)
                    out[0] = 0;
                return 0;
            }
            out[length] = *piece;
        }
    if (units > 0)
        out[length] = 0;
    return units > 0;
}

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

const char* LastBackslash(const char* path, UINT codePage)
{
    // Walk by characters: a trail byte of a double-byte character may be 0x5C.
    const char* last = nullptr;
    for (const char* p = path; *p; ) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)) && p[1]) {
            p += 2;
        } else {
            if (*p == '\\')
                last = p;
            ++p;
        }
    }
    return last;
}

int EndsWithBackslash(const char* path, UINT codePage)
{
    const char* last = LastBackslash(path, codePage);
    return last && last[1] == '\0';
}

void StripTrailingBackslashes(char* path, UINT codePage)
{
    while (EndsWithBackslash(path, codePage))
        path[strlen(path) - 1] = 0;
}

int StandaloneFolder(char* out, const char* folder)
{
    int bareDrive = folder[0] != '\0' && folder[1] == ':' && folder[2] == '\0';
    return FormatBounded(out, MAX_PATH, bareDrive ? "%s\\" : "%s", folder);
}
