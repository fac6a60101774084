// The Browse command: the classic file-open dialog with template 168 used as
// a folder picker; the folder open at OK becomes InstallDir.
#pragma once
#include <windows.h>
#include <commdlg.h>

// Runs the browser owned by dialog; on OK sets edit 1002 to InstallDir\Tarvo.
void BrowseForFolder(HWND dialog);
UINT_PTR CALLBACK FolderBrowserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// --- Pure parts, also used by the tests ---

// The classic dialog (no OFN_EXPLORER) over our template with our hook.
// OFN_LONGNAMES: without it the classic dialog of Windows 95 and later lists
// a folder whose name has a space by its short name ("PROGRA~1"), and that
// name would become the destination.
constexpr DWORD BrowserFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK |
                               OFN_ENABLETEMPLATE | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
// The request of the classic file-open dialog owned by owner, with file
// (MAX_PATH bytes, empty) as its file-name buffer.
OPENFILENAMEA BrowserRequest(HWND owner, char* file);

// The folder open at OK as InstallDir keeps it: one trailing backslash
// removed (a drive root "D:\" gives "D:"). codePage tells the double-byte
// lead bytes. 0 when folder does not fit into MAX_PATH bytes.
int ChosenFolderOf(const char* folder, UINT codePage, char* out);
// "%s\%s" of the chosen folder and the folder name into out (MAX_PATH bytes).
// 0 when the result would not fit: such a folder is refused, not cut.
int ComposeDestination(const char* folder, const char* folderName, char* out);
