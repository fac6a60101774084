// Handles that live for the whole process: set by start-up, read wherever a
// resource is loaded, an icon set or a message owned by the main dialog.
#pragma once
#include <windows.h>

extern HINSTANCE AppInstance;
extern HICON InstallerIcon;
extern HWND MainDialog;
