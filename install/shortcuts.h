// Shell shortcuts (.lnk): special folders with the version-3 fallback, the
// shell-link object, groups of shortcuts and Desktop shortcuts.
#pragma once
#include <windows.h>

struct ShortcutItem {
    const char* Name;       // file name without ".lnk", and the description
    const char* Target;     // relative to InstallDir; a null Name ends a list
};

// Folder kinds: the shell's CSIDL_DESKTOP (0), CSIDL_PROGRAMS (2), CSIDL_STARTUP (7).

int GetShellFolderPath(char* out, int folderKind);   // out: MAX_PATH bytes
int CreateShellLink(const char* target, const char* linkPath, const char* description);
int CreateShortcutGroup(const char* groupName, const ShortcutItem* items, int folderKind);
void CreateDesktopShortcut(const char* targetName, const char* shortcutName);

// The version-3 fallback as a pure function of the Windows folder, the
// platform and the user name (ignored when not NT). 0 when it does not fit.
// The Startup folder (7) is the Startup group under the programs folder,
// "start menu\programs\startup"; any other kind appends nothing.
// codePage tells the double-byte characters of windowsDir.
int Version3FolderPath(const char* windowsDir, int isNt, const char* userName,
                       int folderKind, UINT codePage, char* out);
