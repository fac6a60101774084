// Shell shortcuts (.lnk): special folders with the version-3 fallback, the
// shell-link object, groups of shortcuts and Desktop shortcuts.
#pragma once
#include <windows.h>
#include <cstddef>

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
int Version3FolderPath(const char* windowsDir, int isNt, const char* userName,
                       int folderKind, char* out);

// Bounded formatting for the installation engine's paths and texts: 1 when
// the whole text fits into size bytes. When it does not, out is left empty,
// so that a cut path is never used.
int FormatBounded(char* out, std::size_t size, const char* format, ...)
    __attribute__((format(ms_printf, 3, 4)));
