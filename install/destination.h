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

// "%c:\%s" from the drive letter of windowsDir and the folder name: the
// destination the wizard offers. 0 when it does not fit into MAX_PATH bytes.
int DefaultDestination(const char* windowsDir, const char* folderName, char* out);
// installDir + "\doc", with no doubled backslash. 0 when it does not fit.
int DocFolderOf(const char* installDir, UINT codePage, char* out);
