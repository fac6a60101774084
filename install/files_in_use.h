// Files that an installation into InstallDir would replace or delete and
// that another program has in use: the engine running, its keyboard library
// loaded into the programs the user types in (the installer included, while
// the engine's hook is set), a dictionary it keeps open. Found before
// anything is written, so that the user can quit the engine's programs
// first; the look changes nothing on disk.
#pragma once
#include <windows.h>

// How many of the files in use a message names.
constexpr int NamedFilesInUse = 3;

struct FilesInUse {
    int Count;                                  // files in use
    char Names[NamedFilesInUse][MAX_PATH];      // the first ones, bare names
};

// Looks at every file that exists among the 116 of the manifest in
// InstallDir, the stale names and, where a settings file lies beside the
// installer, its copy in the Windows folder. A file is in use when an open
// without sharing fails with a sharing or lock violation (any handle of
// another program; on the 9x family also a running program or a loaded
// library, whose files that family keeps open), or, on the NT family where
// the process-status library is there (NT 4.0 with it, Windows 2000 on), when
// a process has it loaded as its program or a library. Returns the count.
int FindFilesInUse(FilesInUse* found);

// Counts a file in use by its bare name; the first ones are kept.
void AddFileInUse(FilesInUse* found, const char* name);

// The message that asks the user to quit Tarvo's programs: the Chinese line
// (GBK) with the count, the English one naming the first files and how many
// more. 1 when both fit.
int FilesInUseMessage(const FilesInUse& found, char* chinese, int chineseSize, char* english,
                      int englishSize);
