// Shell shortcuts (.lnk): special folders with the version-3 fallback, the
// shell-link object, groups of shortcuts and Desktop shortcuts.
//
// Paths are UTF-16 here. On the NT family a profile folder may be named in
// what the ANSI code page cannot spell, and the installer's own Chinese names
// reach the system converted from their own code page (GBK or Big5), never
// through the ANSI one. The 9x family has no wide calls: there every text
// goes to the ANSI calls through the ANSI code page, which spells what the
// system gave and, wherever the names are Chinese, their own code page.
#pragma once
#include <windows.h>

struct ShortcutItem {
    const char* Name;       // file name without ".lnk", and the description
    const char* Target;     // relative to InstallDir; a null Name ends a list
};

// Folder kinds: the shell's CSIDL_DESKTOP (0), CSIDL_PROGRAMS (2), CSIDL_STARTUP (7).

int GetShellFolderPath(WCHAR* out, int folderKind);   // out: MAX_PATH units
int CreateShellLink(const WCHAR* target, const WCHAR* linkPath, const WCHAR* description);
// The group's and the items' names are text of namesCodePage.
int CreateShortcutGroup(const char* groupName, const ShortcutItem* items, int folderKind,
                        UINT namesCodePage);
void CreateDesktopShortcut(const char* targetName, const char* shortcutName, UINT namesCodePage);

// The version-3 fallback as a pure function of the Windows folder, the
// platform and the user name (ignored when not NT). 0 when it does not fit.
// The Startup folder (7) is the Startup group under the programs folder,
// "start menu\programs\startup"; any other kind appends nothing.
int Version3FolderPath(const WCHAR* windowsDir, int isNt, const WCHAR* userName, int folderKind,
                       WCHAR* out);
