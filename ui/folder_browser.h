// The Browse command: the classic file-open dialog with template 168 used as
// a folder picker; the folder open at OK becomes InstallDir.
#pragma once
#include <windows.h>

// Runs the browser owned by dialog; on OK sets edit 1002 to InstallDir\Tarvo.
void BrowseForFolder(HWND dialog);
UINT_PTR CALLBACK FolderBrowserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
