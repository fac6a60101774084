// A file's path in the form the system is given it: in the ANSI code page,
// or on the NT family in UTF-16, where the ANSI code page may not spell it
// (a profile folder named in Unicode). The calls below take whichever form
// the path holds, so that what works on files is written once for both.
#pragma once
#include <windows.h>

struct FilePath {
    char Ansi[MAX_PATH];
    WCHAR Wide[MAX_PATH];   // the path when not empty (NT family only)
};

// Each 0 when the path does not fit into MAX_PATH.
int AnsiFilePath(FilePath* out, const char* path);
int WideFilePath(FilePath* out, const WCHAR* path);
// The file called name (ASCII) in the folder of path, in the same form. 0
// when path has no folder part or the result does not fit.
int SiblingPath(FilePath* out, const FilePath& path, const char* name);

DWORD PathAttributes(const FilePath& path);
BOOL SetPathAttributes(const FilePath& path, DWORD attributes);
BOOL DeletePath(const FilePath& path);
// Copies over an existing file; the copy has the source's attributes.
BOOL CopyPath(const FilePath& from, const FilePath& to);
// Renames a file; fails when the new name exists.
BOOL RenamePath(const FilePath& from, const FilePath& to);
// CreateFile with no sharing and normal attributes.
HANDLE CreatePathFile(const FilePath& path, DWORD access, DWORD disposition);

enum OneStepMove { MovedInOneStep, OneStepMoveFailed, NoOneStepMove };
// Moves from over an existing to in one step, where the system can.
OneStepMove MovePathReplacing(const FilePath& from, const FilePath& to);
