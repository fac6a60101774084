// What the system scenarios share: the Windows version the installer is
// shown, the shortcut names as their code pages spell them, a whole typical
// run of the real installer, and checks of what it left on disk.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "tests/e2e/driver.h"

// Sets HKCU\Software\Wine\AppDefaults\<exeName>\Version (a Wine version
// name such as "nt351"); a null version removes the value. 1 on success.
int SetVersionFor(const char* exeName, const char* version);

// What GetVersionExA reports to a program called TarvoSetup.exe under the
// version currently set for that name: a probe of our own runs under that
// name. 1 on success.
struct ReportedVersion {
    DWORD Platform, Major, Minor;
};
int ProbeVersionAs(const char* exeName, ReportedVersion* out);

// 0 English, 1 Simplified, 2 Traditional: what the locale of this run
// (TARVO_LANG) must give.
int ExpectedSystemLanguage();
// The ANSI code page the locale of this run must give.
UINT ExpectedCodePage();

// The shortcut names, spelled independently of the installer: GBK and Big5
// bytes as the code pages define them, and the same names in UTF-16.
struct ExpectedNames {
    const char* Engine;
    const char* Uninstall;
    const char* Editor;
    const wchar_t* EngineW;
    const wchar_t* UninstallW;
    const wchar_t* EditorW;
};
const ExpectedNames& NamesForLanguage(int language);

// Where the installer must put its shortcuts on this version.
struct ShortcutPlaces {
    std::string Programs;   // the programs folder (the group goes inside)
    std::string Desktop;
    std::string Startup;
};
ShortcutPlaces ShellPlaces();
// The version-3 fallback: <Windows>\profiles\<user>\... on NT, <Windows>\...
// elsewhere.
ShortcutPlaces Version3Places(int isNt);
// Creates the profile folders a version-3 system has (programs, Desktop,
// Startup).
void CreatePlaces(const ShortcutPlaces& places);
// Removes the group and the shortcut files of every language from places.
void RemoveShortcutsFrom(const ShortcutPlaces& places);

// A typical run through the wizard: destination, the display-test answer
// (IDC_DISPLAY_OK or IDC_DISPLAY_NO), the interface language index, and the
// two options. Returns the English text of the result message ("" if none
// came); *exitCode gets the installer's exit code.
struct RunChoices {
    std::string Destination;
    int Answer = 1007;
    int Language = 0;
    int DesktopIcons = 1;
    int AutoStart = 0;
    // Looks at every page before the run leaves it (page 1 before it is
    // answered), and at the result message before it is answered.
    std::function<void(HWND wizard, int page)> AtPage;
    std::function<void(HWND message)> AtMessage;
    StartOptions Start;
    // The installer sees the NT family: its message's Chinese line is read
    // as such (ChineseCaption).
    int OnNt = 1;
};
std::string InstallThroughWizard(const char* exePath, const RunChoices& choices,
                                 DWORD* exitCode, std::string* chineseText = nullptr);

// Every manifest file in folder with the attributes its row asks for; the
// failures are reported through gtest. Returns the count of good files.
int CountGoodManifestFiles(const std::string& folder);
// The bytes the [Config] update leaves at the end of the shipped engine.ini.
std::string ConfigTail(char useBmpFont, int forceLanguage);

// A file of the installer's payload, inflated from TarvoSetup.exe itself.
std::string PayloadBytes(WORD resourceId);

// The unique part of this process's scratch names.
std::string RunTag();

// The user name GetUserNameA reports.
std::string UserName();

// A special folder as the wide call gives it, whatever the code page spells.
std::wstring WideShellFolder(int csidl);
// UTF-16 as UTF-8, for messages.
std::string Utf8(const std::wstring& text);
// The names of the .lnk files in folder, sorted, joined by " | " (UTF-8).
std::string ShortcutsIn(const std::wstring& folder);
// The five shortcuts of a typical run with Desktop icons and start at
// sign-in, named as names gives them, through gtest; each folder's listing
// is printed.
void ExpectEveryShortcut(const ExpectedNames& names);

// The real installer and the locale this run was started in.
std::string InstallerPath();
std::string LocaleName();
