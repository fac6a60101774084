// Process-wide handles of the installer shell, kept from start-up to exit.
#include "shell/process_state.h"

HINSTANCE AppInstance;
HICON InstallerIcon;
HWND MainDialog;
