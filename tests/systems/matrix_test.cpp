// The typical installation on every Windows family and version the installer
// is meant for, in the locale of this run (TARVO_LANG): what GetVersionExA
// reports, the 116 files, the [Config] bytes, and the shortcut names in the
// language of the system, in the folders that version has.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

struct Version {
    const char* Name;
    DWORD Platform, Major;
    int IsNt, IsVersion3;
};

// win31 (platform 0, version 3.10) stands for a version-3 system that is not
// NT; Wine runs Win32 programs under it.
constexpr Version Versions[] = {
    {"win98", 1, 4, 0, 0}, {"nt40", 2, 4, 1, 0}, {"nt351", 2, 3, 1, 1},
    {"winxp", 2, 5, 1, 0}, {"win10", 2, 6, 1, 0}, {"win31", 0, 3, 0, 1},
};

// A .lnk file, found by its name as bytes in this code page and as UTF-16.
void ExpectLink(const std::string& folder, const char* name, const wchar_t* wideName,
                const std::string& target)
{
    std::string path = folder + "\\" + name + ".lnk";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no shortcut " << path;
    FindClose(search);
    EXPECT_EQ(std::string(found.cFileName), std::string(name) + ".lnk");
    WCHAR wideFolder[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wideFolder, MAX_PATH);
    std::wstring widePath = std::wstring(wideFolder) + L"\\" + wideName + L".lnk";
    WIN32_FIND_DATAW wideFound;
    HANDLE wideSearch = FindFirstFileW(widePath.c_str(), &wideFound);
    EXPECT_NE(wideSearch, INVALID_HANDLE_VALUE) << "the UTF-16 name does not find " << path;
    if (wideSearch != INVALID_HANDLE_VALUE) FindClose(wideSearch);
    ShortcutInfo info;
    ASSERT_TRUE(ReadShortcut(path, &info)) << path;
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return s;
    };
    EXPECT_EQ(lower(info.Target), lower(target)) << path;
    EXPECT_EQ(info.Description, name);
}

// TARVO_MATRIX_VERSIONS (names separated by commas) limits the versions.
bool VersionWanted(const char* name)
{
    const char* wanted = getenv("TARVO_MATRIX_VERSIONS");
    return !wanted || ("," + std::string(wanted) + ",").find("," + std::string(name) + ",") !=
                          std::string::npos;
}

void ExpectNoLinks(const ShortcutPlaces& places, const ExpectedNames& names)
{
    EXPECT_FALSE(FolderExists(places.Programs + "\\" + names.Engine)) << places.Programs;
    EXPECT_FALSE(FileExists(places.Desktop + "\\" + names.Editor + ".lnk")) << places.Desktop;
    EXPECT_FALSE(FileExists(places.Desktop + "\\" + names.Engine + ".lnk")) << places.Desktop;
}

}  // namespace

TEST(SystemsMatrix, TypicalRunOnEveryVersion)
{
    const int language = ExpectedSystemLanguage();
    const ExpectedNames& names = NamesForLanguage(language);
    printf("locale %s: ANSI code page %u, language id 0x%04X\n", LocaleName().c_str(), GetACP(),
           GetSystemDefaultLangID());
    // The locale reached this process (and so the installer it starts).
    EXPECT_EQ(GetACP(), ExpectedCodePage());
    if (language) {
        EXPECT_EQ(PRIMARYLANGID(GetSystemDefaultLangID()), LANG_CHINESE);
    }
    const ShortcutPlaces shell = ShellPlaces();
    const ShortcutPlaces v3nt = Version3Places(1), v3 = Version3Places(0);
    const std::string tag = RunTag();
    int cell = 0;
    for (const Version& version : Versions) {
        if (!VersionWanted(version.Name)) continue;
        SCOPED_TRACE(std::string(version.Name) + " in " + LocaleName());
        ++cell;
        ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", version.Name));
        ReportedVersion reported{};
        ASSERT_TRUE(ProbeVersionAs("TarvoSetup.exe", &reported));
        printf("%-6s GetVersionExA: platform %lu, version %lu.%lu\n", version.Name,
               reported.Platform, reported.Major, reported.Minor);
        EXPECT_EQ(reported.Platform, version.Platform);
        if (version.Major == 6)
            EXPECT_GE(reported.Major, 6u);
        else
            EXPECT_EQ(reported.Major, version.Major);

        const ShortcutPlaces& expected = version.IsVersion3 ? (version.IsNt ? v3nt : v3) : shell;
        for (const ShortcutPlaces* places : {&shell, &v3nt, &v3}) RemoveShortcutsFrom(*places);
        if (version.IsVersion3) CreatePlaces(expected);

        RunChoices choices;
        choices.Destination = "C:\\systems_" + tag + "_" + version.Name;
        RemoveTree(choices.Destination);
        // Answers and languages vary over the cells, so the [Config] bytes do.
        choices.Answer = cell % 2 ? IDC_DISPLAY_OK : IDC_DISPLAY_NO;
        choices.Language = cell % 3;
        choices.AutoStart = cell % 2 == 0;
        choices.OnNt = version.IsNt;
        DWORD code;
        std::string chinese;
        std::string english = InstallThroughWizard(InstallerPath().c_str(), choices, &code, &chinese);
        EXPECT_EQ(english, "Congratulations! Installation Success!");
        // The caption's window text: on NT the Chinese in UTF-16, on 9x GBK
        // pairs, which every code page but Japanese keeps; what is drawn
        // there, SystemsOwnTexts checks.
        if (GetACP() != 932) {
            EXPECT_EQ(chinese, "祝贺您：安装顺利完成！");
        }
        EXPECT_EQ(code, 0u);

        EXPECT_EQ(CountGoodManifestFiles(choices.Destination), 116);
        std::string ini = ReadFileBytes(choices.Destination + "\\engine.ini");
        std::string tail = ConfigTail(cell % 2 ? '0' : '1', choices.Language);
        ASSERT_GE(ini.size(), tail.size());
        EXPECT_EQ(ini.substr(ini.size() - tail.size()), tail);
        EXPECT_EQ(ini.size(), PayloadBytes(120).size() + 19) << "only the ForceLanguage line is added";

        const std::string group = expected.Programs + "\\" + names.Engine;
        const std::string dest = choices.Destination;
        ExpectLink(group, names.Engine, names.EngineW, dest + "\\TVO.exe");
        ExpectLink(group, names.Uninstall, names.UninstallW, dest + "\\TVOUnInstall.exe");
        ExpectLink(expected.Desktop, names.Editor, names.EditorW, dest + "\\Quorlin.exe");
        ExpectLink(expected.Desktop, names.Engine, names.EngineW, dest + "\\TVO.exe");
        if (choices.AutoStart) {
            ExpectLink(expected.Startup, names.Engine, names.EngineW, dest + "\\TVO.exe");
        } else {
            EXPECT_FALSE(FileExists(expected.Startup + "\\" + names.Engine + ".lnk"));
        }
        // Nothing in the places of the other kind of system.
        if (version.IsVersion3) {
            ExpectNoLinks(shell, names);
        } else {
            ExpectNoLinks(v3nt, names);
            ExpectNoLinks(v3, names);
        }
        RemoveTree(choices.Destination);
    }
    for (const ShortcutPlaces* places : {&shell, &v3nt, &v3}) RemoveShortcutsFrom(*places);
    SetVersionFor("TarvoSetup.exe", nullptr);
}

// A destination of more than 259 bytes whose last character is a double-byte
// one is refused with the folder message, even where copying it into a
// 261-byte buffer stops at the character boundary, 259 bytes in.
TEST(SystemsMatrix, DestinationTooLongByItsLastCharacterIsRefused)
{
    if (!IsDBCSLeadByte(0xD6))
        GTEST_SKIP() << "needs a code page in which D6 D0 is one character; this run's is " << GetACP();
    const std::string parent = "C:\\systems_long_" + RunTag();
    RemoveTree(parent);
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    RunChoices choices;
    choices.Destination = parent + "\\";
    choices.Destination += std::string(MAX_PATH - 1 - choices.Destination.size(), 'd');
    choices.Destination += "\xD6\xD0";   // GB2312 and Big5 lead and trail bytes alike
    ASSERT_EQ(choices.Destination.size(), size_t{MAX_PATH + 1});
    DWORD code;
    std::string english = InstallThroughWizard(InstallerPath().c_str(), choices, &code);
    EXPECT_EQ(english, "Cannot create folder! Please check folder path.");
    EXPECT_EQ(code, 0u);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((parent + "\\*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do entries += found.cFileName[0] != '.';
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(entries, 0) << "a cut destination was created";
    RemoveTree(parent);
}
