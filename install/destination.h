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

// The destination as the system reads it, in place: without the blanks
// around the whole text (a pasted path) and without the blanks and dots at
// the end of each of its names, which the system drops from the last name
// of a path but keeps in the others, so that a folder "C:\Tarvo " would be
// made as C:\Tarvo and no file path in it would work. A last name of
// blanks and dots alone goes whole ("D:\Programs\ " is D:\Programs\). 0
// when any other name is left empty (blanks or dots alone, "." and ".."
// among them) or the last is "..", the folder above: such a destination is
// refused. A first name that starts with a drive ("C:Tarvo", "C: ", "C:.")
// is left as it is, so that a folder relative to a drive's current folder
// stays one, which CheckDestination refuses. codePage tells its
// double-byte characters, whose trail byte may be 0x5C.
int TidyDestination(char* path, UINT codePage);

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
