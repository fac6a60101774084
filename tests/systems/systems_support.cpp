// The shared parts of the system scenarios.
#include "tests/systems/systems_support.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "install/manifest.h"
#include "install/payload.h"
#include "resources/resource_ids.h"
#include "shell/process_state.h"

namespace {

constexpr DWORD Patience = 20000;
constexpr DWORD InstallPatience = 120000;

// Spelled byte by byte from the code pages, not taken from the installer.
constexpr ExpectedNames English = {
    "Tarvo Chinese Input Engine", "Tarvo UnInstall", "Quorlin",
    L"Tarvo Chinese Input Engine", L"Tarvo UnInstall", L"Quorlin"};
constexpr ExpectedNames Simplified = {
    "Tarvo\xD6\xD0\xCE\xC4\xCA\xE4\xC8\xEB\xD2\xFD\xC7\xE6",
    "Tarvo\xCA\xE4\xC8\xEB\xD2\xFD\xC7\xE6\xD0\xB6\xD4\xD8",
    "Tarvo\xCE\xC4\xB1\xBE\xB1\xE0\xBC\xAD",
    L"Tarvo\u4E2D\u6587\u8F93\u5165\u5F15\u64CE",
    L"Tarvo\u8F93\u5165\u5F15\u64CE\u5378\u8F7D",
    L"Tarvo\u6587\u672C\u7F16\u8F91"};
constexpr ExpectedNames Traditional = {
    "Tarvo\xA4\xA4\xA4\xE5\xBF\xE9\xA4" "J\xA4\xDE\xC0\xBA",
    "Tarvo\xBF\xE9\xA4" "J\xA4\xDE\xC0\xBA\xA8\xF8\xB8\xFC",
    "Tarvo\xA4\xE5\xA5\xBB\xBD" "s\xBF\xE8",
    L"Tarvo\u4E2D\u6587\u8F38\u5165\u5F15\u64CE",
    L"Tarvo\u8F38\u5165\u5F15\u64CE\u5378\u8F09",
    L"Tarvo\u6587\u672C\u7DE8\u8F2F"};

std::string WindowsFolder()
{
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, MAX_PATH);
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

void MakeFolders(const std::string& path)
{
    for (size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        if (at == std::string::npos) break;
    }
}

}  // namespace

int SetVersionFor(const char* exeName, const char* version)
{
    std::string key = std::string("Software\\Wine\\AppDefaults\\") + exeName;
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return 0;
    LONG result = version
        ? RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                         static_cast<DWORD>(strlen(version) + 1))
        : RegDeleteValueA(handle, "Version");
    RegCloseKey(handle);
    return result == ERROR_SUCCESS || (!version && result == ERROR_FILE_NOT_FOUND);
}

int ProbeVersionAs(const char* exeName, ReportedVersion* out)
{
    const std::string folder = "C:\\systems_probe_" + RunTag();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\" + exeName;
    if (!CopyFileA(ShippedFile("tests/systems_version_probe.exe").c_str(), copy.c_str(), FALSE))
        return 0;
    InstallerRun run;
    DWORD code = 0;
    int ok = StartProcess(copy.c_str(), folder.c_str(), &run) && WaitForExit(&run, Patience, &code);
    EndRun(&run);
    RemoveTree(folder);
    if (!ok || code == 0xFFFFFFFF) return 0;
    // The probe's exit code: platform << 16 | major << 8 | minor.
    *out = {code >> 16, (code >> 8) & 0xFF, code & 0xFF};
    return 1;
}

std::string LocaleName()
{
    const char* lang = getenv("TARVO_LANG");
    return lang ? lang : "en_US.UTF-8";
}

namespace {

// What each locale of the tests gives: the installer's system language and
// the ANSI code page. Any other locale: English and 1252.
struct LocaleFacts {
    const char* Prefix;
    int Language;
    UINT CodePage;
};
constexpr LocaleFacts Locales[] = {{"zh_CN", 1, 936}, {"zh_SG", 1, 936}, {"zh_TW", 2, 950},
                                   {"zh_HK", 2, 950}, {"ja_JP", 0, 932}, {"ko_KR", 0, 949}};

LocaleFacts FactsOfThisLocale()
{
    for (const LocaleFacts& facts : Locales)
        if (LocaleName().rfind(facts.Prefix, 0) == 0) return facts;
    return {"", 0, 1252};
}

}  // namespace

int ExpectedSystemLanguage()
{
    return FactsOfThisLocale().Language;
}

UINT ExpectedCodePage()
{
    return FactsOfThisLocale().CodePage;
}

const ExpectedNames& NamesForLanguage(int language)
{
    return language == 1 ? Simplified : language == 2 ? Traditional : English;
}

ShortcutPlaces ShellPlaces()
{
    return {ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_DESKTOPDIRECTORY),
            ShellFolder(CSIDL_STARTUP)};
}

std::string UserName()
{
    char name[256] = "";
    DWORD size = sizeof name;
    GetUserNameA(name, &size);
    return name;
}

std::wstring WideShellFolder(int csidl)
{
    WCHAR path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return path;
}

std::string Utf8(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0],
                                    static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(bytes > 0 ? bytes - 1 : 0);
    return out;
}

std::string ShortcutsIn(const std::wstring& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.lnk").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do names.push_back(Utf8(found.cFileName));
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::string listed;
    for (const std::string& name : names) listed += (listed.empty() ? "" : " | ") + name;
    return listed;
}

namespace {

// Link file names as ShortcutsIn lists them.
std::string Listing(std::vector<std::string> names)
{
    for (std::string& name : names) name += ".lnk";
    std::sort(names.begin(), names.end());
    std::string listed;
    for (const std::string& name : names) listed += (listed.empty() ? "" : " | ") + name;
    return listed;
}

}  // namespace

void ExpectEveryShortcut(const ExpectedNames& names)
{
    const std::wstring group = WideShellFolder(CSIDL_PROGRAMS) + L"\\" + names.EngineW;
    const std::wstring desktop = WideShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring startup = WideShellFolder(CSIDL_STARTUP);
    printf("group %s: %s\n", Utf8(group).c_str(), ShortcutsIn(group).c_str());
    printf("desktop %s: %s\n", Utf8(desktop).c_str(), ShortcutsIn(desktop).c_str());
    printf("startup %s: %s\n", Utf8(startup).c_str(), ShortcutsIn(startup).c_str());
    const std::string engine = Utf8(names.EngineW);
    EXPECT_EQ(ShortcutsIn(group), Listing({engine, Utf8(names.UninstallW)}));
    EXPECT_EQ(ShortcutsIn(desktop), Listing({engine, Utf8(names.EditorW)}));
    EXPECT_EQ(ShortcutsIn(startup), Listing({engine}));
}

ShortcutPlaces Version3Places(int isNt)
{
    std::string profile = WindowsFolder();
    if (isNt) profile += "\\profiles\\" + UserName();
    return {profile + "\\start menu\\programs", profile + "\\Desktop",
            profile + "\\start menu\\programs\\startup"};
}

void CreatePlaces(const ShortcutPlaces& places)
{
    MakeFolders(places.Programs);
    MakeFolders(places.Desktop);
    MakeFolders(places.Startup);
}

void RemoveShortcutsFrom(const ShortcutPlaces& places)
{
    for (int language = 0; language < 3; ++language) {
        const ExpectedNames& names = NamesForLanguage(language);
        // Through the wide API: the ANSI spelling of another code page's name
        // cannot reach the file.
        auto remove = [](const std::string& folder, const wchar_t* name) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH);
            std::wstring path = std::wstring(wide) + L"\\" + name;
            std::wstring link = path + L".lnk";
            SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(link.c_str());
            return path;
        };
        std::wstring group = remove(places.Programs, names.EngineW);
        for (const wchar_t* name : {names.EngineW, names.UninstallW}) {
            std::wstring link = group + L"\\" + name + L".lnk";
            DeleteFileW(link.c_str());
        }
        RemoveDirectoryW(group.c_str());
        remove(places.Desktop, names.EditorW);
        remove(places.Desktop, names.EngineW);
        remove(places.Startup, names.EngineW);
    }
}

std::string InstallThroughWizard(const char* exePath, const RunChoices& choices, DWORD* exitCode,
                                 std::string* chineseText)
{
    *exitCode = 12345;
    InstallerRun run;
    if (!StartInstaller(exePath, "C:\\", &run, &choices.Start)) {
        ADD_FAILURE() << "the wizard did not appear";
        EndRun(&run);
        return "";
    }
    HWND main = run.Main;
    auto onPage = [&](int page) {
        WaitUntil([&] {
            return VisiblePage(main) == page ||
                   WaitForSingleObject(run.Process.hProcess, 0) == WAIT_OBJECT_0;
        }, Patience);
        return VisiblePage(main) == page;
    };
    auto tick = [&](int id, int ticked) {
        if (IsTicked(main, id) != ticked) ClickButton(main, id);
        EXPECT_TRUE(WaitUntil([&] { return IsTicked(main, id) == ticked; }, Patience)) << id;
    };
    std::string english;
    if (onPage(0) && choices.AtPage) choices.AtPage(main, 0);
    if (onPage(0) && SetControlText(main, IDC_DEST_EDIT, choices.Destination.c_str())) {
        tick(IDC_DESKTOP_ICONS, choices.DesktopIcons);
        tick(IDC_AUTO_START, choices.AutoStart);
        ClickButton(main, IDC_NEXT);
        if (onPage(1)) {
            if (choices.AtPage) choices.AtPage(main, 1);
            tick(choices.Answer, 1);
            ClickButton(main, IDC_NEXT);
        }
        if (onPage(2)) {
            if (choices.AtPage) choices.AtPage(main, 2);
            ClickButton(main, IDC_NEXT);
        }
        if (onPage(3)) {
            if (choices.AtPage) choices.AtPage(main, 3);
            Ask(GetDlgItem(main, IDC_LANGUAGE_COMBO), CB_SETCURSEL, choices.Language, 0);
            time_t started = time(nullptr);
            ClickButton(main, IDC_NEXT);
            HWND message = WaitForMessageDialog(run, InstallPatience);
            if (message) {
                english = ControlText(message, IDC_MSG_ENGLISH);
                if (chineseText) *chineseText = ChineseCaption(message, IDC_MSG_CHINESE, choices.OnNt);
                if (choices.AtMessage) choices.AtMessage(message);
                // Result messages come after the 5-second minimum; the folder
                // message at once.
                if (english.rfind("Cannot create folder!", 0) != 0) {
                    EXPECT_GE(time(nullptr) - started, 5) << "result before 5 seconds";
                }
                ClickButton(message, IDOK);
                if (english.rfind("Cannot create folder!", 0) == 0 && onPage(3))
                    ClickButton(main, IDCANCEL);
            } else {
                ADD_FAILURE() << "no message after the install button";
            }
        } else {
            ADD_FAILURE() << "the wizard did not reach page 3";
        }
    } else {
        ADD_FAILURE() << "page 0 did not take the destination";
    }
    if (!WaitForExit(&run, Patience, exitCode)) ADD_FAILURE() << "the installer did not end";
    EndRun(&run);
    return english;
}

int CountGoodManifestFiles(const std::string& folder)
{
    int good = 0;
    for (const ManifestRow& row : InstallManifest) {
        DWORD a = Attributes(folder + "\\" + row.Entry.FileName);
        if (a == INVALID_FILE_ATTRIBUTES) {
            ADD_FAILURE() << "missing " << row.Entry.FileName;
            continue;
        }
        bool readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
        bool hidden = (a & FILE_ATTRIBUTE_HIDDEN) != 0;
        if (readOnly != row.Entry.ReadOnly || hidden != row.Entry.Hidden)
            ADD_FAILURE() << row.Entry.FileName << " read-only " << readOnly << " hidden " << hidden;
        else
            ++good;
    }
    return good;
}

std::string ConfigTail(char useBmpFont, int forceLanguage)
{
    return std::string("[Config]\r\nUseBmpFont=") + useBmpFont + "\r\n\r\n\r\nForceLanguage=" +
           std::to_string(forceLanguage) + "\r\n";
}

std::string PayloadBytes(WORD resourceId)
{
    static HMODULE installer;
    static unsigned char* buffer;
    if (!installer)
        installer = LoadLibraryExA(InstallerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!buffer) buffer = static_cast<unsigned char*>(malloc(ExtractionBufferSize));
    if (!installer || !buffer) return std::string();
    HINSTANCE own = AppInstance;
    AppInstance = installer;
    unsigned long length = 0;
    int code = InflateResource(resourceId, buffer, ExtractionBufferSize, &length);
    AppInstance = own;
    if (code != 0) return std::string();
    return std::string(reinterpret_cast<char*>(buffer), length);
}

std::string RunTag()
{
    return std::to_string(GetCurrentProcessId());
}

std::string InstallerPath()
{
    return ShippedFile("TarvoSetup.exe");
}
