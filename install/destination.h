// The destination folder, checked whole before anything is written into it:
// a full path that leaves room for the longest path of any file that goes
// into it.
#pragma once
#include <windows.h>

// The empty subfolder made in a new destination.
constexpr const char* DocFolderName = "doc";

enum DestinationCheck {
    DestinationUsable,
    DestinationNotFullPath,     // not "X:\..." nor "\\server\share..."
    DestinationTooLong,         // some file's path would not fit in MAX_PATH
};

// The destination as typed, trailing backslashes and all. codePage tells its
// double-byte characters.
DestinationCheck CheckDestination(const char* typed, UINT codePage);

// The longest name written into the destination: the manifest's files, the
// "doc" subfolder, the shortcuts' targets and a replacement's temporary names.
int LongestNameInDestination();
