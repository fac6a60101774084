// The wizard's state and the user's decisions. Kept apart from the dialog
// procedure so that the installation engine links without the wizard.
#include "ui/wizard_state.h"

int WizardState;
char InstallDir[MAX_PATH];
char WindowsDir[MAX_PATH];
WCHAR WindowsDirWide[MAX_PATH];
int ChineseDisplayOk;
int CreateDesktopIcons;
int AutoStart;
int ForceLanguage;
int LicenceLoaded;
int InstallationFailed;
