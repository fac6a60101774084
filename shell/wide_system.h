// The NT family's wide calls, for paths and names that the ANSI code page
// may not spell: an account's profile folder named in Unicode, the
// installer's own Chinese under any code page (UTF-8 included). Each is
// found at run time: Windows 95 exports some only as failing stubs, NT 3.51's
// shell lacks SHGetPathFromIDListW, and an older system's loader refuses a
// whole program over one import it lacks. Called on the NT family only; a
// missing function gives its namesake's failure value. The 9x family goes
// through the ANSI calls.
#pragma once
#include <windows.h>
#include <shlobj.h>

DWORD WideModuleFileName(HMODULE module, WCHAR* out, DWORD units);
UINT WideWindowsDirectory(WCHAR* out, UINT units);
BOOL WideUserName(WCHAR* out, DWORD* units);
BOOL WidePathFromIdList(LPCITEMIDLIST list, WCHAR* out);   // out: MAX_PATH units
BOOL WideCreateDirectory(const WCHAR* path);
DWORD WideFileAttributes(const WCHAR* path);
BOOL WideSetFileAttributes(const WCHAR* path, DWORD attributes);
BOOL WideCopyFile(const WCHAR* from, const WCHAR* to);
BOOL WideMoveFileReplacing(const WCHAR* from, const WCHAR* to);
BOOL WideMoveFile(const WCHAR* from, const WCHAR* to);
BOOL WideDeleteFile(const WCHAR* path);
// CreateFileW with no sharing, no security attributes and normal attributes.
HANDLE WideCreateFile(const WCHAR* path, DWORD access, DWORD disposition);
// CreateFileW of an existing file for its information alone: no access to
// its content, every sharing allowed, so that it never disturbs a holder.
HANDLE WideOpenToQuery(const WCHAR* path);
BOOL WideSetWindowText(HWND window, const WCHAR* text);
int WideWindowText(HWND window, WCHAR* out, int units);

// text in codePage (GbkCodePage, Big5CodePage, CP_ACP for a path) as UTF-16
// in out (units, the NUL included). 0 when it does not fit or cannot be
// converted; out is then empty.
int WidenText(const char* text, UINT codePage, WCHAR* out, int units);
// The reverse; characters the code page lacks become '?'. 0 when it does not fit.
int NarrowText(const WCHAR* text, UINT codePage, char* out, int size);
// 1 when the ANSI code page spells every character of text as itself, with
// neither '?' nor a look-alike in its place.
int SpelledInAnsi(const WCHAR* text);
