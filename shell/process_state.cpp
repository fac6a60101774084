// Process-wide handles of the installer shell, kept from start-up to exit.
#include "shell/startup.h"

HINSTANCE AppInstance;
HICON InstallerIcon;
HWND MainDialog;
