// Where the installer's libraries come from. Windows looks for a library
// asked for by bare name in the program's own folder first, and an installer
// is started from a downloads folder that others write to: a library planted
// there under a system library's name would run inside the installer. So
// every library is loaded by its full path in the system folder, and the
// search that the system's own libraries make on the installer's behalf is
// kept out of the program's folder.
//
// Kernel32 only, and nothing of the C run-time: the entry point calls this
// before the run-time library is bound.
#pragma once
#include <windows.h>

// The first thing the process does, before any library is loaded: every
// later search by bare name goes to the system folder only, where the system
// can do that; elsewhere the current folder leaves the search and the
// libraries that the shell, COM and the common dialogs load by bare name are
// loaded now, from the system folder.
void RestrictLibrarySearch();

// The system folder's copy of a library ("COMCTL32.DLL") into out (MAX_PATH
// bytes). 0 when the path does not fit.
int SystemLibraryPath(const char* name, char* out);

// The system folder's copy, loaded by its full path with
// FullPathLoadFlags; null when it is missing.
HMODULE LoadSystemLibrary(const char* name);

// The LoadLibraryExA flags of a load by full path: where every search is
// kept to the system folder (searchRestricted), LOAD_LIBRARY_SEARCH_SYSTEM32;
// elsewhere LOAD_WITH_ALTERED_SEARCH_PATH.
DWORD FullPathLoadFlags(int searchRestricted);
