// The main dialog (template 113): four wizard pages, their navigation, and
// the install trigger. Owns WizardState and everything the user decides.
#pragma once
#include <windows.h>

extern int WizardState;             // 0..3 page, 99 installing, -1 quit
extern char InstallDir[MAX_PATH];   // destination, no trailing backslash
extern char WindowsDir[MAX_PATH];   // with trailing backslash
extern int ChineseDisplayOk;
extern int CreateDesktopIcons;
extern int AutoStart;
extern int ForceLanguage;           // 0 English, 1 Simplified, 2 Traditional
extern int LicenceLoaded;

INT_PTR CALLBACK WizardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void ShowPage(HWND dialog, int page);
