// What the installer knows about the system it runs on. Filled once by
// DetectEnvironment, first thing at start-up; never changed afterwards.
#pragma once
#include <windows.h>

#include "shell/language.h"

struct OperatingSystemInfo {
    int IsNt;               // platform id is VER_PLATFORM_WIN32_NT
    int IsVersion3;         // major version is 3, on any platform
    int MultiByteAnsi;      // the ANSI code page is a multi-byte one
    WORD SystemLangId;      // GetSystemDefaultLangID()
};

extern OperatingSystemInfo OsInfo;
extern int SystemLanguage;          // a Language: the shortcuts' names follow it
extern char DefaultFolderName[16];  // "Tarvo"
extern char ModuleDir[MAX_PATH];    // installer's folder, with trailing backslash
// The same folder as the NT family's wide call gives it (empty on 9x): a
// profile folder may be named in what the ANSI code page cannot spell.
extern WCHAR ModuleDirWide[MAX_PATH];

void DetectEnvironment(HINSTANCE instance);

// Pure rules, callable with any query values.
Language LanguageForSystem(int multiByteAnsi, WORD langId);
// Cuts a module path after its last backslash into out (MAX_PATH bytes);
// "A:\" when there is none. codePage tells the double-byte characters, whose
// trail byte may be 0x5C.
void ModuleFolderOf(const char* modulePath, UINT codePage, char* out);
// The same for a wide module path into out (MAX_PATH units); empty when there
// is no backslash.
void WideModuleFolderOf(const WCHAR* modulePath, WCHAR* out);
