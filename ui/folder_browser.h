// The Browse command: the classic file-open dialog with template 168 used as
// a folder picker; the folder open at OK becomes InstallDir.
#pragma once
#include <windows.h>

// Runs the browser owned by dialog; on OK sets edit 1002 to InstallDir\Tarvo.
void BrowseForFolder(HWND dialog);
UINT_PTR CALLBACK FolderBrowserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// --- Pure parts, also used by the tests ---

// The folder open at OK as InstallDir keeps it: one trailing backslash
// removed (a drive root "D:\" gives "D:"). codePage tells the double-byte
// lead bytes. 0 when folder does not fit into MAX_PATH bytes.
int ChosenFolderOf(const char* folder, UINT codePage, char* out);
// "%s\%s" of the chosen folder and the folder name into out (MAX_PATH bytes).
// 0 when the result would not fit: such a folder is refused, not cut.
int ComposeDestination(const char* folder, const char* folderName, char* out);
