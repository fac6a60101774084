// Shell shortcuts. Every path is composed in a MAX_PATH buffer with bounded
// composition: a path that does not fit fails the one operation that needs it.
#include "install/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include "shell/environment.h"
#include "shell/paths.h"
#include "shell/process_state.h"
#include "shell/system_library.h"
#include "shell/wide_system.h"
#include "ui/message_dialog.h"
#include "ui/wizard_state.h"

namespace {

constexpr const char* StartMenuFailedCn =
    "无法在 Start 菜单中为本程序建立一个条目。很抱歉，只好请您以后自已建立了。";
constexpr const char* StartMenuFailedEn = "Failed to create an entry on Start Menu.";
constexpr const char* FolderFailedCn = "无法建目录(%s)!";
constexpr const char* FolderFailedEn = "Cannot create folder!";

// What the version-3 fallback appends to the profile folder for each kind.
const WCHAR* Version3Subfolder(int folderKind)
{
    switch (folderKind) {
    case CSIDL_PROGRAMS: return L"start menu\\programs";
    case CSIDL_DESKTOP: return L"Desktop";
    case CSIDL_STARTUP: return L"start menu\\programs\\startup";
    default: return L"";
    }
}

// The path of an item-id list: the wide call on the NT family, the ANSI one
// on 9x.
int PathOfIdList(LPCITEMIDLIST list, WCHAR* out)
{
    if (OsInfo.IsNt)
        return WidePathFromIdList(list, out) ? 1 : 0;
    using GetPathFunction = BOOL(WINAPI*)(LPCITEMIDLIST, char*);
    auto getPath = SystemFunctionAs<GetPathFunction>("SHELL32.DLL", "SHGetPathFromIDListA");
    char path[MAX_PATH];
    return getPath && getPath(list, path) && WidenText(path, CP_ACP, out, MAX_PATH);
}

// The version-4 shell's functions; a shell without them finds no folder.
int ShellFolderPath(WCHAR* out, int folderKind)
{
    using GetMallocFunction = HRESULT(WINAPI*)(IMalloc**);
    using GetFolderLocationFunction = HRESULT(WINAPI*)(HWND, int, LPITEMIDLIST*);
    auto getMalloc = SystemFunctionAs<GetMallocFunction>("SHELL32.DLL", "SHGetMalloc");
    auto getLocation =
        SystemFunctionAs<GetFolderLocationFunction>("SHELL32.DLL", "SHGetSpecialFolderLocation");
    if (!getMalloc || !getLocation)
        return 0;
    IMalloc* allocator = nullptr;
    if (FAILED(getMalloc(&allocator)))
        return 0;
    LPITEMIDLIST list = nullptr;
    if (FAILED(getLocation(nullptr, folderKind, &list))) {
        allocator->Release();
        return 0;
    }
    int found = PathOfIdList(list, out);
    allocator->Free(list);
    allocator->Release();
    return found;
}

int FallbackFolderPath(WCHAR* out, int folderKind)
{
    WCHAR windowsDir[MAX_PATH];
    WCHAR userName[256] = L"";
    UINT length = 0;
    if (OsInfo.IsNt) {
        length = WideWindowsDirectory(windowsDir, MAX_PATH);
        DWORD size = sizeof userName / sizeof userName[0];
        if (!WideUserName(userName, &size))
            return 0;
    } else {
        char ansi[MAX_PATH];
        length = GetWindowsDirectoryA(ansi, MAX_PATH);
        if (length > 0 && length < MAX_PATH && !WidenText(ansi, CP_ACP, windowsDir, MAX_PATH))
            length = 0;
    }
    if (length == 0 || length >= MAX_PATH)
        return 0;
    return Version3FolderPath(windowsDir, OsInfo.IsNt, userName, folderKind, out);
}

// Whether something exists at path, and making a folder there: the wide
// calls on the NT family, the ANSI ones on 9x.
int Exists(const WCHAR* path)
{
    if (OsInfo.IsNt)
        return WideFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
    char ansi[MAX_PATH];
    return NarrowText(path, CP_ACP, ansi, MAX_PATH) && GetFileAttributesA(ansi) != INVALID_FILE_ATTRIBUTES;
}

int MakeFolder(const WCHAR* path)
{
    if (OsInfo.IsNt)
        return WideCreateDirectory(path) ? 1 : 0;
    char ansi[MAX_PATH];
    return NarrowText(path, CP_ACP, ansi, MAX_PATH) && CreateDirectoryA(ansi, nullptr);
}

// The target's folder, in MAX_PATH units: a drive's root for a target
// there, since "D:" alone names the drive's current folder; empty for a
// target without a folder.
void WorkingFolderOf(const WCHAR* target, WCHAR* out)
{
    const int cut = WideFolderLength(target) - 1;
    const int length = cut == 2 && target[1] == L':' ? 3 : cut < 0 ? 0 : cut;
    for (int i = 0; i < length; ++i)
        out[i] = target[i];
    out[length] = 0;
}

using CreateFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// The shell-link object through interface Link, with its texts, in *made.
// IShellLinkW and IShellLinkA name the same calls.
template <class Link, class Char>
HRESULT CreateDescribedLink(CreateFunction create, REFIID interfaceId, const Char* target,
                            const Char* description, const Char* folder, IUnknown** made)
{
    Link* link = nullptr;
    HRESULT result = create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, interfaceId,
                            reinterpret_cast<void**>(&link));
    if (FAILED(result))
        return result;
    *made = link;
    result = link->SetPath(target);
    if (FAILED(result))
        return result;
    link->SetDescription(description);
    link->SetIconLocation(target, 0);
    if (folder[0])
        link->SetWorkingDirectory(folder);
    return result;
}

// IShellLinkW on the NT family; on 9x, whose shell has only IShellLinkA,
// the texts in the ANSI code page.
HRESULT MakeLink(CreateFunction create, const WCHAR* target, const WCHAR* description,
                 IUnknown** made)
{
    WCHAR folder[MAX_PATH];
    WorkingFolderOf(target, folder);
    if (OsInfo.IsNt)
        return CreateDescribedLink<IShellLinkW>(create, IID_IShellLinkW, target, description,
                                                folder, made);
    char ansiTarget[MAX_PATH], ansiDescription[MAX_PATH], ansiFolder[MAX_PATH];
    if (!NarrowText(target, CP_ACP, ansiTarget, MAX_PATH) ||
        !NarrowText(description, CP_ACP, ansiDescription, MAX_PATH) ||
        !NarrowText(folder, CP_ACP, ansiFolder, MAX_PATH))
        return E_FAIL;
    return CreateDescribedLink<IShellLinkA>(create, IID_IShellLinkA, ansiTarget, ansiDescription,
                                            ansiFolder, made);
}

HRESULT SaveLink(IUnknown* link, const WCHAR* linkPath)
{
    IPersistFile* file = nullptr;
    HRESULT result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result))
        return result;
    result = file->Save(linkPath, TRUE);
    file->Release();
    return result;
}

// A shortcut called name (text of namesCodePage) in folder to
// InstallDir\targetName, described by its name. 1 when it was saved.
int CreateNamedShortcut(const WCHAR* folder, const char* name, const char* targetName,
                        UINT namesCodePage)
{
    char ansiTarget[MAX_PATH];
    WCHAR target[MAX_PATH], wideName[MAX_PATH], linkPath[MAX_PATH];
    return FormatBounded(ansiTarget, sizeof ansiTarget, "%s\\%s", InstallDir, targetName) &&
           WidenText(ansiTarget, CP_ACP, target, MAX_PATH) &&
           WidenText(name, namesCodePage, wideName, MAX_PATH) &&
           JoinWide(linkPath, MAX_PATH, {folder, L"\\", wideName, L".lnk"}) &&
           CreateShellLink(target, linkPath, wideName);
}

// The group folder cannot be made: its path in the message, in the
// message's own code page, where '?' stands for what GBK cannot spell.
void ShowGroupFolderMessage(const WCHAR* group)
{
    char shown[MAX_PATH * 2];
    char text[sizeof shown + 32];
    NarrowText(group, GbkCodePage, shown, sizeof shown);
    FormatBounded(text, sizeof text, FolderFailedCn, shown);
    ShowMessage(text, FolderFailedEn, MB_OK, MainDialog);
}

enum GroupFolder {
    GroupFolderReady,
    GroupFolderUnknown,     // the special folder, or the group's path, cannot be had
    GroupFolderNotMade,     // the group's folder cannot be created; out holds its path
};

// The folder the group's shortcuts go into, in out (MAX_PATH units): the
// special folder itself, or the group's folder in it, made when missing.
GroupFolder PrepareGroupFolder(const char* groupName, int folderKind, UINT namesCodePage,
                               WCHAR* out)
{
    if (!GetShellFolderPath(out, folderKind))
        return GroupFolderUnknown;
    if (!groupName || !groupName[0])
        return GroupFolderReady;
    // A group folder that cannot even be named cannot hold shortcuts.
    WCHAR name[MAX_PATH], group[MAX_PATH];
    if (!WidenText(groupName, namesCodePage, name, MAX_PATH) ||
        !JoinWide(group, MAX_PATH, {out, L"\\", name}))
        return GroupFolderUnknown;
    JoinWide(out, MAX_PATH, {group});
    return Exists(group) || MakeFolder(group) ? GroupFolderReady : GroupFolderNotMade;
}

// Every item is tried, whatever the ones before it did. 1 when all were made.
int CreateGroupShortcuts(const WCHAR* folder, const ShortcutItem* items, UINT namesCodePage)
{
    int allMade = 1;
    for (const ShortcutItem* item = items; item && item->Name; ++item)
        allMade &= CreateNamedShortcut(folder, item->Name, item->Target, namesCodePage);
    return allMade;
}

}  // namespace

int Version3FolderPath(const WCHAR* windowsDir, int isNt, const WCHAR* userName, int folderKind,
                       WCHAR* out)
{
    int length = 0;
    while (windowsDir[length])
        ++length;
    const WCHAR* separator = length > 0 && windowsDir[length - 1] == L'\\' ? L"" : L"\\";
    if (isNt)
        return JoinWide(out, MAX_PATH, {windowsDir, separator, L"profiles\\", userName, L"\\",
                                        Version3Subfolder(folderKind)});
    return JoinWide(out, MAX_PATH, {windowsDir, separator, Version3Subfolder(folderKind)});
}

int GetShellFolderPath(WCHAR* out, int folderKind)
{
    if (OsInfo.IsVersion3)
        return FallbackFolderPath(out, folderKind);
    return ShellFolderPath(out, folderKind);
}

int CreateShellLink(const WCHAR* target, const WCHAR* linkPath, const WCHAR* description)
{
    // COM is loaded with the first shortcut, not at start-up.
    using InitializeFunction = HRESULT(WINAPI*)(void*);
    using UninitializeFunction = void(WINAPI*)();
    auto initialize = SystemFunctionAs<InitializeFunction>("OLE32.DLL", "CoInitialize");
    auto create = SystemFunctionAs<CreateFunction>("OLE32.DLL", "CoCreateInstance");
    auto uninitialize = SystemFunctionAs<UninitializeFunction>("OLE32.DLL", "CoUninitialize");
    if (!initialize || !create || !uninitialize || FAILED(initialize(nullptr)))
        return 0;
    IUnknown* link = nullptr;
    HRESULT result = MakeLink(create, target, description, &link);
    if (SUCCEEDED(result))
        result = SaveLink(link, linkPath);
    if (link)
        link->Release();
    uninitialize();
    return SUCCEEDED(result) ? 1 : 0;
}

int CreateShortcutGroup(const char* groupName, const ShortcutItem* items, int folderKind,
                        UINT namesCodePage)
{
    WCHAR folder[MAX_PATH];
    switch (PrepareGroupFolder(groupName, folderKind, namesCodePage, folder)) {
    case GroupFolderNotMade:
        ShowGroupFolderMessage(folder);
        return 0;
    case GroupFolderReady:
        if (CreateGroupShortcuts(folder, items, namesCodePage))
            return 1;
        break;
    case GroupFolderUnknown:
        break;
    }
    ShowMessage(StartMenuFailedCn, StartMenuFailedEn, MB_OK, MainDialog);
    return 0;
}

void CreateDesktopShortcut(const char* targetName, const char* shortcutName, UINT namesCodePage)
{
    WCHAR folder[MAX_PATH];
    if (GetShellFolderPath(folder, CSIDL_DESKTOP))
        CreateNamedShortcut(folder, shortcutName, targetName, namesCodePage);
}
