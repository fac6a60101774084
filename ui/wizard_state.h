// The wizard's state and everything the user decides. The wizard owns them;
// the installation engine reads them, which is why they stand apart from the
// dialog procedure.
#pragma once
#include <windows.h>

// WizardState: a page, or installing, or quit.
enum WizardPage {
    PageOptions = 0,        // destination, Desktop icons, start at sign-in
    PageDisplayTest = 1,    // is the Chinese sample shown right?
    PageLicence = 2,
    PageLanguage = 3,       // the engine's interface language; Next installs
    PageCount = 4,
};
constexpr int WizardInstalling = 99;
constexpr int WizardQuit = -1;

extern int WizardState;             // a WizardPage, WizardInstalling or WizardQuit
extern char InstallDir[MAX_PATH];   // destination, no trailing backslash
extern char WindowsDir[MAX_PATH];   // with trailing backslash
extern WCHAR WindowsDirWide[MAX_PATH];  // the same from the wide call, on NT (empty on 9x)
extern int ChineseDisplayOk;
extern int CreateDesktopIcons;
extern int AutoStart;
extern int ForceLanguage;           // a Language (shell/language.h)
extern int LicenceLoaded;
extern int InstallationFailed;      // 1 once a failed installation's message was shown

// 1 while the wizard shows its pages: neither installing nor quitting.
inline int ShowingPages(int state)
{
    return state >= 0 && state < WizardInstalling;
}
