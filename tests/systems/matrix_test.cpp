// The typical installation on every Windows family and version the installer
// is meant for, in the locale of this run (TARVO_LANG): what GetVersionExA
// reports, the 116 files, the [Config] bytes, and the shortcut names in the
// language of the system, in the folders that version has.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

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

// The ANSI code page each locale of the matrix gives.
UINT ExpectedCodePage()
{
    struct Locale { const char* Prefix; UINT CodePage; };
    constexpr Locale locales[] = {{"zh_CN", 936}, {"zh_SG", 936}, {"zh_TW", 950},
                                  {"zh_HK", 950}, {"ja_JP", 932}, {"ko_KR", 949}};
    for (const Locale& l : locales)
        if (LocaleName().rfind(l.Prefix, 0) == 0) return l.CodePage;
    return 1252;
}

// TARVO_MATRIX_VERSIONS (names separated by commas) limits the versions.
bool VersionWanted(const char* name)
{
    const char* wanted = getenv("TARVO_MATRIX_VERSIONS");
    return !wanted || ("," + std::string(wanted) + ",").find("," + std::string(name) + ",") !=
                          std::string::npos;
}

// The installer's own Chinese texts as its drawing code gets them (the
// licence lines and the message's line from its memory, the language names
// by their ids) and as the screen shows them. The Simplified Chinese system
// leaves its pictures for the systems whose code page is neither Chinese nor
// single-byte, which must show the same.
struct OwnTexts {
    Image Licence, Languages[3], Message;
};

Image Painted(HWND wizard, HWND control)
{
    Image image;
    EXPECT_TRUE(WaitForPaint(wizard, 20000));
    EXPECT_TRUE(CaptureWindow(control, &image));
    return image;
}

// The part of a label's picture that is not its background: the label is as
// wide as the English text beneath it, which each system's font sizes.
Image Ink(const Image& image)
{
    int left = image.Width, top = image.Height, right = -1, bottom = -1;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            if (image.At(x, y) != image.At(0, 0)) {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
    return right < 0 ? Image() : Crop(image, left, top, right - left + 1, bottom - top + 1);
}

void LookAtOwnTexts(HWND wizard, int page, OwnTexts* seen)
{
    if (page == 2) {
        HWND list = GetDlgItem(wizard, IDC_LICENCE_CN);
        ClickButton(wizard, IDC_ENGLISH_LICENCE);   // the Chinese licence
        ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_CN); }, 20000));
        const std::string text = PayloadBytes(IDR_LICENCE_CN);
        int line = 0;
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2, ++line)
            EXPECT_EQ(DrawnListItem(list, line), text.substr(start, end - start)) << "line " << line;
        EXPECT_EQ(Ask(list, LB_GETCOUNT, 0, 0), line);
        seen->Licence = Painted(wizard, list);
    } else if (page == 3) {
        HWND combo = GetDlgItem(wizard, IDC_LANGUAGE_COMBO);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Ask(combo, CB_GETITEMDATA, i, 0), i) << "the language of item " << i;
            Ask(combo, CB_SETCURSEL, i, 0);
            seen->Languages[i] = Painted(wizard, combo);
        }
    }
}

std::string PicturePath(const char* what, const std::string& locale)
{
    return BuildFile("screenshots") + "\\own-text-" + what + "-" + locale + ".png";
}

// Simplified Chinese leaves its pictures for the Japanese and Korean cells,
// whose pictures must be the same PNG bytes (the same pixels, the same size).
void KeepOrCompare(const OwnTexts& seen)
{
    const std::string locale = LocaleName().substr(0, 5);
    const std::pair<const char*, const Image*> pictures[] = {
        {"licence", &seen.Licence}, {"english", &seen.Languages[0]},
        {"simplified", &seen.Languages[1]}, {"traditional", &seen.Languages[2]},
        {"message", &seen.Message}};
    for (const auto& [what, image] : pictures) {
        const std::string path = PicturePath(what, locale);
        ASSERT_TRUE(WritePng(path.c_str(), *image)) << path;
        if (locale == "zh_CN") {
            ASSERT_TRUE(WritePng(PicturePath(what, "reference").c_str(), *image));
        }
        if (locale != "ja_JP" && locale != "ko_KR") continue;
        const std::string expected = ReadFileBytes(PicturePath(what, "reference"));
        ASSERT_FALSE(expected.empty()) << "no picture of the Simplified Chinese system";
        EXPECT_TRUE(ReadFileBytes(path) == expected) << what << " differs from Simplified Chinese";
    }
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
        DWORD code;
        std::string chinese;
        std::string english = InstallThroughWizard(InstallerPath().c_str(), choices, &code, &chinese);
        EXPECT_EQ(english, "Congratulations! Installation Success!");
        // The caption's window text, which keeps GBK pairs under every code
        // page but Japanese; what is drawn there, OwnTextsAsDrawn checks.
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

// The installer's own Chinese in a typical installation on NT 4: the bytes
// its drawing code gets, read from its memory, and the pictures (which the
// Japanese and Korean systems compare with the Simplified Chinese one's).
TEST(SystemsMatrix, OwnTextsAsDrawn)
{
    InstallerRun probe;
    ASSERT_TRUE(StartInstaller(InstallerPath().c_str(), "C:\\", &probe));
    const int readable = ReadsMemoryOf(probe.Main);
    EndRun(&probe);
    if (!readable)
        GTEST_SKIP() << "this host cannot read the installer's memory (32-bit code runs under qemu)";
    ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", "nt40"));
    OwnTexts seen;
    RunChoices choices;
    choices.Destination = "C:\\systems_own_" + RunTag();
    RemoveTree(choices.Destination);
    choices.AtPage = [&](HWND wizard, int page) { LookAtOwnTexts(wizard, page, &seen); };
    choices.AtMessage = [&](HWND message) {
        EXPECT_EQ(DrawnCaption(message, IDC_MSG_CHINESE), "祝贺您：安装顺利完成！");
        seen.Message = Ink(Painted(message, GetDlgItem(message, IDC_MSG_CHINESE)));
    };
    DWORD code;
    EXPECT_EQ(InstallThroughWizard(InstallerPath().c_str(), choices, &code),
              "Congratulations! Installation Success!");
    RemoveTree(choices.Destination);
    SetVersionFor("TarvoSetup.exe", nullptr);
    KeepOrCompare(seen);
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
