// The facts about the running system that the rest of the installer reads:
// platform family, text language, proposed folder name, own folder.
#include "shell/environment.h"

#include <string.h>

#include "shell/paths.h"
#include "shell/wide_system.h"

OperatingSystemInfo OsInfo;
int SystemLanguage;
char DefaultFolderName[16];
char ModuleDir[MAX_PATH];
WCHAR ModuleDirWide[MAX_PATH];

Language LanguageForSystem(int multiByteAnsi, WORD langId)
{
    // Chinese texts only make sense where the code page can hold them. The
    // low bit of the sublanguage separates the Traditional ones (Taiwan,
    // Hong Kong, Macao) from the Simplified ones (PRC, Singapore).
    if (!multiByteAnsi || PRIMARYLANGID(langId) != LANG_CHINESE)
        return LanguageEnglish;
    return (SUBLANGID(langId) & 1) ? LanguageTraditional : LanguageSimplified;
}

void ModuleFolderOf(const char* modulePath, UINT codePage, char* out)
{
    const char* lastSlash = modulePath ? LastBackslash(modulePath, codePage) : nullptr;
    size_t folderLength = lastSlash ? static_cast<size_t>(lastSlash - modulePath) + 1 : 0;
    // No folder at all, or one that cannot be held whole: the floppy root,
    // as the installer has always assumed when it cannot tell.
    if (folderLength == 0 || folderLength >= MAX_PATH) {
        memcpy(out, "A:\\", 4);
        return;
    }
    memcpy(out, modulePath, folderLength);
    out[folderLength] = '\0';
}

void WideModuleFolderOf(const WCHAR* modulePath, WCHAR* out)
{
    const int folderLength = WideFolderLength(modulePath);
    for (int i = 0; i < folderLength; ++i)
        out[i] = modulePath[i];
    out[folderLength < MAX_PATH ? folderLength : 0] = 0;
}

void DetectEnvironment(HINSTANCE instance)
{
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;   // 148, the ANSI structure
    if (GetVersionExA(&version)) {
        OsInfo.IsNt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        OsInfo.IsVersion3 = version.dwMajorVersion == 3;
    }

    // A code page that cannot be queried is treated as single-byte.
    CPINFO codePage;
    OsInfo.MultiByteAnsi = GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize > 1;

    OsInfo.SystemLangId = GetSystemDefaultLangID();
    SystemLanguage = LanguageForSystem(OsInfo.MultiByteAnsi, OsInfo.SystemLangId);

    memcpy(DefaultFolderName, "Tarvo", 6);

    // A name that fills the whole buffer may have been cut (and, before
    // Vista, is not terminated): its folder cannot be trusted.
    char modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameA(instance, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        modulePath[0] = '\0';
    ModuleFolderOf(modulePath, CP_ACP, ModuleDir);

    WCHAR wideModulePath[MAX_PATH];
    DWORD units = OsInfo.IsNt ? WideModuleFileName(instance, wideModulePath, MAX_PATH) : 0;
    if (units == 0 || units >= MAX_PATH)
        wideModulePath[0] = 0;
    WideModuleFolderOf(wideModulePath, ModuleDirWide);
}
