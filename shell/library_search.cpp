// Libraries by full path, and a library search kept out of the installer's
// own folder.
#include "shell/library_search.h"

#include "shell/system_library.h"

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, by value: the headers of the oldest SDKs
// the code is meant to build with do not have it.
constexpr DWORD SearchSystemFolderOnly = 0x00000800;

// Libraries that the shell, COM and the common dialogs load by bare name on
// the installer's behalf, on systems that keep them out of their KnownDLLs
// list. Once loaded from the system folder, a later load by bare name takes
// the loaded one; a library a system does not have is simply not loaded.
constexpr const char* LoadedByTheSystem[] = {
    "UXTHEME.DLL", "VERSION.DLL",  "DWMAPI.DLL",  "CRYPTBASE.DLL", "PROPSYS.DLL", "USERENV.DLL",
    "SETUPAPI.DLL", "APPHELP.DLL", "OLEACC.DLL",  "CLBCATQ.DLL",   "MSIMG32.DLL",
};

// Set once the system sends every search to the system folder.
int SystemFolderOnly;

int IsVista()
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           version.dwMajorVersion == 6 && version.dwMinorVersion == 0;
}

// Windows 8 and later, and Vista and 7 with their security update
// KB2533623, can send every later search to the system folder. On Vista,
// published reports say that COM then cannot create the shell-link object:
// there the libraries are loaded ahead instead, as where the call is missing.
int SearchSystemFolder()
{
    auto setDefault = SystemFunctionAs<BOOL(WINAPI*)(DWORD)>("KERNEL32.DLL", "SetDefaultDllDirectories");
    return setDefault && !IsVista() && setDefault(SearchSystemFolderOnly);
}

}  // namespace

void RestrictLibrarySearch()
{
    SystemFolderOnly = SearchSystemFolder();
    if (SystemFolderOnly)
        return;
    // XP SP1 and later: an empty folder takes the current folder out of the
    // search. The program's folder stays first, hence the loads below.
    auto setDirectory = SystemFunctionAs<BOOL(WINAPI*)(const char*)>("KERNEL32.DLL", "SetDllDirectoryA");
    if (setDirectory)
        setDirectory("");
    for (const char* name : LoadedByTheSystem)
        LoadSystemLibrary(name);
}

int SystemLibraryPath(const char* name, char* out)
{
    // lstrcpynA rather than the C run-time, which is not bound yet when the
    // entry point first comes here.
    UINT length = GetSystemDirectoryA(out, MAX_PATH);
    int nameLength = lstrlenA(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) {
        out[0] = '\0';
        return 0;
    }
    // The folder ends in a backslash only where it is a drive's root.
    if (out[length - 1] != '\\')
        out[length++] = '\\';
    lstrcpynA(out + length, name, MAX_PATH - length);
    return 1;
}

HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    if (!SystemLibraryPath(name, path))
        return nullptr;
    return LoadLibraryExA(path, nullptr, FullPathLoadFlags(SystemFolderOnly));
}

DWORD FullPathLoadFlags(int searchRestricted)
{
    // A library loaded by its full path still has its own imports looked for
    // by name. With the search restricted, this flag keeps them in the system
    // folder too (under Wine as well, which otherwise looks in the program's
    // folder first); systems without the restriction refuse it.
    if (searchRestricted)
        return SearchSystemFolderOnly;
    // Microsoft's LoadLibraryEx page: with LOAD_WITH_ALTERED_SEARCH_PATH and
    // a full path, the libraries the loaded one imports are looked for in its
    // own folder first, here the system folder; with flags 0 they are looked
    // for as if loaded by bare name, the program's folder first. A flag of
    // the first Win32 systems (NT 3.1, Windows 95), as is LoadLibraryExA.
    return LOAD_WITH_ALTERED_SEARCH_PATH;
}
