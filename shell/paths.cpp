// Bounded composition of paths and texts, and the backslash tests.
#include "shell/paths.h"

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

int WideFolderLength(const WCHAR* path)
{
    int length = 0;
    for (int i = 0; i < MAX_PATH && path[i]; ++i)
        if (path[i] == L'\\')
            length = i + 1;
    return length;
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
