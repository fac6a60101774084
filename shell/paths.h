// Bounded composition of paths and texts, and the backslash tests, which
// walk by characters because a trail byte of a double-byte character may be
// 0x5C. Used by the shell, the installation engine and the wizard alike.
#pragma once
#include <windows.h>
#include <cstddef>
#include <initializer_list>

// Bounded formatting for paths and texts: 1 when the whole text fits into
// size bytes. When it does not, out is left empty, so that a cut path is
// never used.
int FormatBounded(char* out, std::size_t size, const char* format, ...)
    __attribute__((format(ms_printf, 3, 4)));

// The pieces one after the other in out (units, the NUL included): 1 when
// they fit, else 0 and an empty out. Paths in UTF-16, which no code page
// limits, are composed so.
int JoinWide(WCHAR* out, std::size_t units, std::initializer_list<const WCHAR*> pieces);

// Length of the folder part of a wide path, its last backslash included
// (within MAX_PATH units); 0 when it has none.
int WideFolderLength(const WCHAR* path);

// 1 when the path's last character is a backslash. codePage tells the
// double-byte lead bytes.
int EndsWithBackslash(const char* path, UINT codePage);

// The last character of the path that is a backslash, or null.
const char* LastBackslash(const char* path, UINT codePage);

// Removes every trailing backslash.
void StripTrailingBackslashes(char* path, UINT codePage);

// A folder path as a call that takes a folder alone must get it, in a
// MAX_PATH buffer: a bare drive "D:" becomes its root "D:\", since "D:" alone
// names the drive's current folder. 0 when it does not fit.
int StandaloneFolder(char* out, const char* folder);
