// Replacing a file whole or not at all, for every file the installation
// engine writes: the payload files, engine.ini when it cannot be updated in
// place, and the settings file in the Windows folder. The new content is
// finished under a temporary name in the target's folder (written, on the
// disk where it replaces an old file, closed) before the target's name
// changes. Whatever fails, the old file stays as it was, content and
// attributes, and the temporary file is removed. A replacement therefore
// needs room for the new file beside the old one.
#pragma once
#include <windows.h>

// The temporary names, in the target's folder. Fixed 8.3 names, so that a
// stopped run's leftovers are found and removed by the next replacement.
constexpr const char* FreshFileName = "TarvoNew.tmp";   // the new content, until it takes the name
constexpr const WCHAR* FreshFileNameWide = L"TarvoNew.tmp";
constexpr const char* AsideFileName = "TarvoOld.tmp";   // the old file while it steps aside (9x)
// The longer of the two: a folder must leave room for it as for any file.
constexpr int ReplacementNameLength = 12;

// The calls through which a replacement writes and renames, each 1 on
// success. A test replaces them to make some of them fail.
enum OneStepMove { MovedInOneStep, OneStepMoveFailed, NoOneStepMove };
struct ReplaceFileCalls {
    // Creates the file, writes the bytes and closes it; with toDisk the
    // bytes reach the disk itself before it is closed.
    int (*WriteNew)(const char* path, const void* bytes, unsigned long count, int toDisk);
    // Moves from over an existing to in one step, where the system can.
    OneStepMove (*MoveReplacing)(const char* from, const char* to);
    // Renames a file; fails when the new name exists.
    int (*Rename)(const char* from, const char* to);
};
extern ReplaceFileCalls ReplaceCalls;

// The file called name in target's folder, in a MAX_PATH buffer. 0 when the
// target has no folder part or the path does not fit.
int SiblingPath(char* out, const char* target, const char* name);

// Replaces target, or creates it, with length bytes. The new file then gets
// the attribute bits in attributes on top of those it was made with. 1 when
// target holds the new bytes.
int ReplaceFileWithBytes(const char* target, const void* bytes, unsigned long length,
                         DWORD attributes);

// Replaces target, or creates it, with a copy of source, which keeps the
// source's read-only and hidden bits. 1 when target holds the copy.
int ReplaceFileWithCopy(const char* source, const char* target);

// ReplaceFileWithCopy on the NT family, for paths that the ANSI code page may
// not spell (a profile folder named in Unicode). NT moves over an existing
// file in one step, so nothing steps aside.
int ReplaceFileWithCopyWide(const WCHAR* source, const WCHAR* target);

// Puts the finished file fresh in target's place: target's read-only and
// hidden bits are cleared first and come back if the move fails. 1 when
// fresh holds target's name; 0 leaves target as it was and fresh where it is.
int PutFileInPlace(const char* fresh, const char* target);
