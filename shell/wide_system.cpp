// The NT family's wide calls, looked up where they are called.
#include "shell/wide_system.h"

#include "shell/system_library.h"

DWORD WideModuleFileName(HMODULE module, WCHAR* out, DWORD units)
{
    auto call = SystemFunctionAs<DWORD(WINAPI*)(HMODULE, WCHAR*, DWORD)>(
        "KERNEL32.DLL", "GetModuleFileNameW");
    return call ? call(module, out, units) : 0;
}

UINT WideWindowsDirectory(WCHAR* out, UINT units)
{
    auto call = SystemFunctionAs<UINT(WINAPI*)(WCHAR*, UINT)>(
        "KERNEL32.DLL", "GetWindowsDirectoryW");
    return call ? call(out, units) : 0;
}

BOOL WideUserName(WCHAR* out, DWORD* units)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(WCHAR*, DWORD*)>("ADVAPI32.DLL", "GetUserNameW");
    return call ? call(out, units) : FALSE;
}

BOOL WidePathFromIdList(LPCITEMIDLIST list, WCHAR* out)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(LPCITEMIDLIST, WCHAR*)>(
        "SHELL32.DLL", "SHGetPathFromIDListW");
    return call ? call(list, out) : FALSE;
}

BOOL WideCreateDirectory(const WCHAR* path)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(const WCHAR*, SECURITY_ATTRIBUTES*)>(
        "KERNEL32.DLL", "CreateDirectoryW");
    return call ? call(path, nullptr) : FALSE;
}

DWORD WideFileAttributes(const WCHAR* path)
{
    auto call = SystemFunctionAs<DWORD(WINAPI*)(const WCHAR*)>(
        "KERNEL32.DLL", "GetFileAttributesW");
    return call ? call(path) : INVALID_FILE_ATTRIBUTES;
}

BOOL WideSetFileAttributes(const WCHAR* path, DWORD attributes)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(const WCHAR*, DWORD)>(
        "KERNEL32.DLL", "SetFileAttributesW");
    return call ? call(path, attributes) : FALSE;
}

BOOL WideCopyFile(const WCHAR* from, const WCHAR* to)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(const WCHAR*, const WCHAR*, BOOL)>(
        "KERNEL32.DLL", "CopyFileW");
    return call ? call(from, to, FALSE) : FALSE;
}

BOOL WideMoveFileReplacing(const WCHAR* from, const WCHAR* to)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(const WCHAR*, const WCHAR*, DWORD)>(
        "KERNEL32.DLL", "MoveFileExW");
    return call ? call(from, to, MOVEFILE_REPLACE_EXISTING) : FALSE;
}

BOOL WideMoveFile(const WCHAR* from, const WCHAR* to)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(const WCHAR*, const WCHAR*)>("KERNEL32.DLL", "MoveFileW");
    return call ? call(from, to) : FALSE;
}

BOOL WideDeleteFile(const WCHAR* path)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(const WCHAR*)>("KERNEL32.DLL", "DeleteFileW");
    return call ? call(path) : FALSE;
}

namespace {

HANDLE CreateWide(const WCHAR* path, DWORD access, DWORD sharing, DWORD disposition)
{
    using CreateFunction = HANDLE(WINAPI*)(const WCHAR*, DWORD, DWORD, SECURITY_ATTRIBUTES*, DWORD,
                                           DWORD, HANDLE);
    auto call = SystemFunctionAs<CreateFunction>("KERNEL32.DLL", "CreateFileW");
    return call ? call(path, access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)
                : INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE WideCreateFile(const WCHAR* path, DWORD access, DWORD disposition)
{
    return CreateWide(path, access, 0, disposition);
}

HANDLE WideOpenToQuery(const WCHAR* path)
{
    return CreateWide(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
}

BOOL WideSetWindowText(HWND window, const WCHAR* text)
{
    auto call = SystemFunctionAs<BOOL(WINAPI*)(HWND, const WCHAR*)>("USER32.DLL", "SetWindowTextW");
    return call ? call(window, text) : FALSE;
}

int WideWindowText(HWND window, WCHAR* out, int units)
{
    auto call = SystemFunctionAs<int(WINAPI*)(HWND, WCHAR*, int)>("USER32.DLL", "GetWindowTextW");
    int length = call ? call(window, out, units) : 0;
    if (length <= 0 && units > 0)
        out[0] = 0;
    return length > 0 ? length : 0;
}

int WidenText(const char* text, UINT codePage, WCHAR* out, int units)
{
    if (MultiByteToWideChar(codePage, 0, text, -1, out, units) > 0)
        return 1;
    if (units > 0)
        out[0] = 0;
    return 0;
}

int NarrowText(const WCHAR* text, UINT codePage, char* out, int size)
{
    if (WideCharToMultiByte(codePage, 0, text, -1, out, size, nullptr, nullptr) > 0)
        return 1;
    if (size > 0)
        out[0] = 0;
    return 0;
}

int SpelledInAnsi(const WCHAR* text)
{
    // UTF-8 spells everything, and takes no question about default characters.
    if (GetACP() == CP_UTF8)
        return 1;
    char ansi[MAX_PATH * 2];
    BOOL usedDefault = FALSE;
    // Without best fit, a character the code page lacks counts as missing
    // rather than turning into a look-alike; NT 4 and older lack the flag.
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, ansi, sizeof ansi,
                                    nullptr, &usedDefault);
    if (bytes == 0 && GetLastError() == ERROR_INVALID_FLAGS)
        bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, &usedDefault);
    return bytes > 0 && !usedDefault;
}
