// Replacing a file whole or not at all, for every file the installation
// engine writes: the payload files, engine.ini with the user's answers, and
// the settings file in the Windows folder. The new content is finished under
// a temporary name in the target's folder (written, on the disk where it
// replaces an old file, closed, given its attributes) before the target's
// name changes. One routine for paths in either form (install/file_path.h).
// A replacement therefore needs room for the new file beside the old one.
// Each call that another program's brief hold makes fail is tried again for
// a while (install/brief_hold.h).
#pragma once
#include <windows.h>

#include "install/file_path.h"

// The temporary names, in the target's folder. Fixed 8.3 names, so that a
// stopped run's leftovers are found and removed by the next replacement.
// One installer runs at a time within one Windows logon (shell/startup.h),
// so no other copy of it uses them meanwhile there; two logons of one
// machine (fast user switching, a remote session) can each run one, and two
// that install into the same folder at once would meet on these names.
constexpr const char* FreshFileName = "TarvoNew.tmp";   // the new content, until it takes the name
constexpr const char* AsideFileName = "TarvoOld.tmp";   // the old file while it steps aside (9x)
// The longer of the two: a folder must leave room for it as for any file.
constexpr int ReplacementNameLength = 12;

// What a new file is made of: Count bytes at Bytes, or a copy of Source.
struct NewContent {
    const void* Bytes;
    unsigned long Count;
    const FilePath* Source;     // null for bytes
};

// The calls through which a replacement changes files, each 1 on success.
// A test replaces them to make some of them fail.
struct ReplaceFileCalls {
    // Creates the file with the content, its read-only and hidden bits
    // clear, and closes it; with toDisk the content reaches the disk itself
    // before the file is closed.
    int (*WriteNew)(const FilePath& path, const NewContent& content, int toDisk);
    // Moves from over an existing to in one step, where the system can.
    OneStepMove (*MoveReplacing)(const FilePath& from, const FilePath& to);
    // Renames a file; fails when the new name exists.
    int (*Rename)(const FilePath& from, const FilePath& to);
    int (*SetAttributes)(const FilePath& path, DWORD attributes);
    int (*Delete)(const FilePath& path);
};
extern ReplaceFileCalls ReplaceCalls;

// Replaces target, or creates it, with length bytes, which then have the
// read-only and hidden bits of attributes.
int ReplaceFileWithBytes(const char* target, const void* bytes, unsigned long length,
                         DWORD attributes);

// Replaces target, or creates it, with a copy of source, which keeps the
// source's read-only and hidden bits.
int ReplaceFileWithCopy(const FilePath& source, const FilePath& target);

// Both: 1 when target holds the new file with its bits and nothing is left
// beside it. 0 otherwise, which leaves the old file as it was (content and
// attributes) and no temporary file, with two exceptions, each after a call
// failed that a working system does not fail: where the old file cannot be
// deleted after the new one took its name (Windows 95, 98 and Me), it stays
// beside it as TarvoOld.tmp; where the new file's rename and the old file's
// way back both fail, the old file stays whole as TarvoOld.tmp.
