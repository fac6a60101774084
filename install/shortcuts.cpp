// Shell shortcuts. Every path is composed in a MAX_PATH buffer with bounded
// formatting: a path that does not fit fails the one operation that needs it.
#include "install/shortcuts.h"

#include <io.h>
#include <objbase.h>
#include <shlobj.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "install/file_helpers.h"
#include "shell/environment.h"
#include "shell/startup.h"
#include "shell/system_library.h"
#include "ui/message_dialog.h"
#include "ui/wizard.h"

namespace {

constexpr const char* StartMenuFailedCn =
    "无法在 Start 菜单中为本程序建立一个条目。很抱歉，只好请您以后自已建立了。";
constexpr const char* StartMenuFailedEn = "Failed to create an entry on Start Menu.";
constexpr const char* FolderFailedCn = "无法建目录(%s)!";
constexpr const char* FolderFailedEn = "Cannot create folder!";

// What the version-3 fallback appends to the profile folder for each kind.
const char* Version3Subfolder(int folderKind)
{
    switch (folderKind) {
    case CSIDL_PROGRAMS: return "start menu\\programs";
    case CSIDL_DESKTOP: return "Desktop";
    case CSIDL_STARTUP: return "start menu\\programs\\startup";
    default: return "";
    }
}

// The version-4 shell's functions; a shell without them finds no folder.
using GetMallocFunction = HRESULT(WINAPI*)(IMalloc**);
using GetFolderLocationFunction = HRESULT(WINAPI*)(HWND, int, LPITEMIDLIST*);
using GetPathFunction = BOOL(WINAPI*)(LPCITEMIDLIST, char*);

int ShellFolderPath(char* out, int folderKind)
{
    auto getMalloc = SystemFunctionAs<GetMallocFunction>("SHELL32.DLL", "SHGetMalloc");
    auto getLocation =
        SystemFunctionAs<GetFolderLocationFunction>("SHELL32.DLL", "SHGetSpecialFolderLocation");
    auto getPath = SystemFunctionAs<GetPathFunction>("SHELL32.DLL", "SHGetPathFromIDListA");
    if (!getMalloc || !getLocation || !getPath)
        return 0;
    IMalloc* allocator = nullptr;
    if (FAILED(getMalloc(&allocator)))
        return 0;
    LPITEMIDLIST list = nullptr;
    if (FAILED(getLocation(nullptr, folderKind, &list))) {
        allocator->Release();
        return 0;
    }
    int found = getPath(list, out) ? 1 : 0;
    allocator->Free(list);
    allocator->Release();
    return found;
}

int FallbackFolderPath(char* out, int folderKind)
{
    char windowsDir[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windowsDir, MAX_PATH);
    char userName[256] = "";
    if (OsInfo.IsNt) {
        DWORD size = sizeof userName;
        if (!GetUserNameA(userName, &size))
            return 0;
    }
    if (length == 0 || length >= MAX_PATH)
        return 0;
    return Version3FolderPath(windowsDir, OsInfo.IsNt, userName, folderKind, CP_ACP, out);
}

// The working folder is the target's folder, a drive's root for a target
// there; a target without a backslash leaves the link's default.
void SetWorkingFolder(IShellLinkA* link, const char* target)
{
    char folder[MAX_PATH];
    char standalone[MAX_PATH];
    if (!FormatBounded(folder, sizeof folder, "%s", target))
        return;
    const char* cut = LastBackslash(folder, CP_ACP);
    if (!cut)
        return;
    folder[cut - folder] = '\0';
    if (StandaloneFolder(standalone, folder))
        link->SetWorkingDirectory(standalone);
}

HRESULT SaveLink(IShellLinkA* link, const char* linkPath)
{
    IPersistFile* file = nullptr;
    HRESULT result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result))
        return result;
    WCHAR widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0)
        result = E_FAIL;    // longer than MAX_PATH units: nothing is saved
    else
        result = file->Save(widePath, TRUE);
    file->Release();
    return result;
}

}  // namespace

int Version3FolderPath(const char* windowsDir, int isNt, const char* userName, int folderKind,
                       UINT codePage, char* out)
{
    const char* separator = EndsWithBackslash(windowsDir, codePage) ? "" : "\\";
    if (isNt)
        return FormatBounded(out, MAX_PATH, "%s%sprofiles\\%s\\%s", windowsDir, separator,
                             userName, Version3Subfolder(folderKind));
    return FormatBounded(out, MAX_PATH, "%s%s%s", windowsDir, separator,
                         Version3Subfolder(folderKind));
}

int GetShellFolderPath(char* out, int folderKind)
{
    if (OsInfo.IsVersion3)
        return FallbackFolderPath(out, folderKind);
    return ShellFolderPath(out, folderKind);
}

int CreateShellLink(const char* target, const char* linkPath, const char* description)
{
    // COM is loaded with the first shortcut, not at start-up.
    using InitializeFunction = HRESULT(WINAPI*)(void*);
    using CreateFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    using UninitializeFunction = void(WINAPI*)();
    auto initialize = SystemFunctionAs<InitializeFunction>("OLE32.DLL", "CoInitialize");
    auto create = SystemFunctionAs<CreateFunction>("OLE32.DLL", "CoCreateInstance");
    auto uninitialize = SystemFunctionAs<UninitializeFunction>("OLE32.DLL", "CoUninitialize");
    if (!initialize || !create || !uninitialize || FAILED(initialize(nullptr)))
        return 0;
    IShellLinkA* link = nullptr;
    HRESULT result = create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                            reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result)) {
        result = link->SetPath(target);
        if (SUCCEEDED(result)) {
            link->SetDescription(description);
            link->SetIconLocation(target, 0);
            SetWorkingFolder(link, target);
            result = SaveLink(link, linkPath);
        }
        link->Release();
    }
    uninitialize();
    return SUCCEEDED(result) ? 1 : 0;
}

int CreateShortcutGroup(const char* groupName, const ShortcutItem* items, int folderKind)
{
    char folder[MAX_PATH];
    if (!GetShellFolderPath(folder, folderKind)) {
        ShowMessage(StartMenuFailedCn, StartMenuFailedEn, 0, MainDialog);
        return 0;
    }
    if (groupName && groupName[0]) {
        char group[MAX_PATH];
        // A group folder that cannot even be named cannot hold shortcuts.
        if (!FormatBounded(group, sizeof group, "%s\\%s", folder, groupName)) {
            ShowMessage(StartMenuFailedCn, StartMenuFailedEn, 0, MainDialog);
            return 0;
        }
        if (_access(group, 0) != 0 && !CreateDirectoryA(group, nullptr)) {
            // Room for the whole folder path: the message is never cut.
            char text[MAX_PATH + 32];
            FormatBounded(text, sizeof text, FolderFailedCn, group);
            ShowMessage(text, FolderFailedEn, 0, MainDialog);
            return 0;
        }
        std::memcpy(folder, group, sizeof folder);
    }
    int allMade = 1;
    for (const ShortcutItem* item = items; item && item->Name; ++item) {
        char linkPath[MAX_PATH];
        char target[MAX_PATH];
        if (FormatBounded(linkPath, sizeof linkPath, "%s\\%s.lnk", folder, item->Name) &&
            FormatBounded(target, sizeof target, "%s\\%s", InstallDir, item->Target) &&
            CreateShellLink(target, linkPath, item->Name))
            continue;
        allMade = 0;
    }
    if (allMade)
        return 1;
    ShowMessage(StartMenuFailedCn, StartMenuFailedEn, 0, MainDialog);
    return 0;
}

void CreateDesktopShortcut(const char* targetName, const char* shortcutName)
{
    char target[MAX_PATH];
    char folder[MAX_PATH];
    char linkPath[MAX_PATH];
    if (!FormatBounded(target, sizeof target, "%s\\%s", InstallDir, targetName))
        return;
    if (!GetShellFolderPath(folder, CSIDL_DESKTOP))
        return;
    if (!FormatBounded(linkPath, sizeof linkPath, "%s\\%s.lnk", folder, shortcutName))
        return;
    CreateShellLink(target, linkPath, shortcutName);
}
