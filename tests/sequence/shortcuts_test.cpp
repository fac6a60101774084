// Shortcut creation: the version-3 folders, links read back through the
// shell, groups with existing folders and failing items, Desktop and Startup.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <cstring>
#include <cwchar>
#include <string>

#include "install/shortcuts.h"
#include "message_answerer.h"
#include "sequence_support.h"
#include "shell/environment.h"
#include "shell/process_state.h"
#include "ui/wizard.h"

namespace {

constexpr const char* StartMenuFailed = "Failed to create an entry on Start Menu.";

// Test paths are ASCII: the system's code page spells them.
std::wstring Wide(const std::string& text)
{
    WCHAR wide[1024] = L"";
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 1024);
    return wide;
}

std::string Narrow(const WCHAR* text)
{
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

std::string FolderOf(int kind)
{
    WCHAR path[MAX_PATH] = L"";
    EXPECT_EQ(GetShellFolderPath(path, kind), 1) << "folder kind " << kind;
    return Narrow(path);
}

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        MainDialog = nullptr;
        SavedOs = OsInfo;
        OsInfo.IsVersion3 = 0;
        std::snprintf(InstallDir, MAX_PATH, "%s", MakeScratchFolder("install").c_str());
    }
    void TearDown() override { OsInfo = SavedOs; }
    OperatingSystemInfo SavedOs;
};

// NT goes through the user's profile; the other platforms have none. A
// Windows folder ending in 許, whose Big5 trail byte is a backslash's, still
// gets its separator.
TEST(Version3Folders, PathsByPlatformAndKind)
{
    struct Case {
        const WCHAR* Windows;
        int IsNt;
        const WCHAR* User;
        int Kind;
        const WCHAR* Expected;
    };
    const Case cases[] = {
        {L"C:\\WINNT35", 1, L"alice", CSIDL_PROGRAMS, L"C:\\WINNT35\\profiles\\alice\\start menu\\programs"},
        {L"C:\\WINNT35\\", 1, L"alice", CSIDL_DESKTOP, L"C:\\WINNT35\\profiles\\alice\\Desktop"},
        {L"C:\\WINNT35", 1, L"alice", CSIDL_STARTUP,
         L"C:\\WINNT35\\profiles\\alice\\start menu\\programs\\startup"},
        {L"C:\\WINNT35", 1, L"alice", CSIDL_FONTS, L"C:\\WINNT35\\profiles\\alice\\"},
        {L"C:\\WINDOWS", 0, L"ignored", CSIDL_PROGRAMS, L"C:\\WINDOWS\\start menu\\programs"},
        {L"C:\\", 0, L"ignored", CSIDL_DESKTOP, L"C:\\Desktop"},
        {L"C:\\WINDOWS", 0, L"ignored", CSIDL_STARTUP, L"C:\\WINDOWS\\start menu\\programs\\startup"},
        {L"C:\\\u8A31", 0, L"", CSIDL_DESKTOP, L"C:\\\u8A31\\Desktop"},
    };
    for (const Case& c : cases) {
        WCHAR out[MAX_PATH];
        ASSERT_EQ(Version3FolderPath(c.Windows, c.IsNt, c.User, c.Kind, out), 1) << Narrow(c.Expected);
        EXPECT_STREQ(out, c.Expected);
    }
}

TEST(Version3Folders, PathThatDoesNotFitStaysInItsBuffer)
{
    WCHAR guarded[MAX_PATH + 16];
    std::wmemset(guarded, L'#', MAX_PATH + 16);
    // "C:\" + 236 + "\" = 240, then "Desktop" (7) = 247 fits; the NT profile
    // part ("profiles\" + user + "\") pushes it past 259.
    std::wstring windows = L"C:\\" + std::wstring(236, L'w');
    ASSERT_EQ(Version3FolderPath(windows.c_str(), 0, L"", CSIDL_DESKTOP, guarded), 1);
    EXPECT_EQ(std::wcslen(guarded), 247u);
    std::wmemset(guarded, L'#', MAX_PATH + 16);
    EXPECT_EQ(Version3FolderPath(windows.c_str(), 1, L"someuser", CSIDL_DESKTOP, guarded), 0);
    EXPECT_EQ(guarded[0], L'\0');
    for (int i = MAX_PATH; i < MAX_PATH + 16; ++i)
        ASSERT_EQ(guarded[i], L'#') << "unit " << i << " past the buffer was written";
    // Exactly 259 characters still fit.
    std::wstring edge = L"C:\\" + std::wstring(248, L'w');    // + "\Desktop" = 259
    EXPECT_EQ(Version3FolderPath(edge.c_str(), 0, L"", CSIDL_DESKTOP, guarded), 1);
    EXPECT_EQ(std::wcslen(guarded), 259u);
    std::wstring over = edge + L"w";
    EXPECT_EQ(Version3FolderPath(over.c_str(), 0, L"", CSIDL_DESKTOP, guarded), 0);
}

TEST_F(Shortcuts, Version3FallbackUsesWindowsFolderAndUserName)
{
    WCHAR windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    WCHAR user[256];
    DWORD size = 256;
    ASSERT_TRUE(GetUserNameW(user, &size));
    OsInfo.IsVersion3 = 1;
    for (int isNt = 0; isNt <= 1; ++isNt) {
        OsInfo.IsNt = isNt;
        for (int kind : {CSIDL_DESKTOP, CSIDL_PROGRAMS, CSIDL_STARTUP}) {
            WCHAR expected[MAX_PATH];
            ASSERT_EQ(Version3FolderPath(windows, isNt, user, kind, expected), 1);
            EXPECT_EQ(FolderOf(kind), Narrow(expected)) << "NT " << isNt << ", kind " << kind;
        }
    }
}

TEST_F(Shortcuts, Version3GroupWhoseFolderCannotBeMadeShowsTheFolderMessage)
{
    // Under the modern shell no version-3 profile exists, so the group folder
    // (one level only) cannot be created: one message, no shortcut.
    OsInfo.IsVersion3 = 1;
    OsInfo.IsNt = 1;
    const ShortcutItem items[] = {{"Sequence V3 Item", "TVO.exe"}, {nullptr, nullptr}};
    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(CreateShortcutGroup("Sequence V3 Group", items, CSIDL_PROGRAMS, 1252), 0);
    CreateDesktopShortcut("Quorlin.exe", "Sequence V3 Desktop", 1252);
    std::string group = FolderOf(CSIDL_PROGRAMS) + "\\Sequence V3 Group";
    std::string desktop = FolderOf(CSIDL_DESKTOP) + "\\Sequence V3 Desktop.lnk";
    auto answered = answerer.Answered();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].English, "Cannot create folder!");
    EXPECT_EQ(answered[0].Buttons, OkShown);
    EXPECT_FALSE(Exists(group));
    EXPECT_FALSE(Exists(desktop));
}

TEST_F(Shortcuts, LinkReadsBackWithTargetFolderDescriptionAndIcon)
{
    std::string target = std::string(InstallDir) + "\\Quorlin.exe";
    ASSERT_TRUE(WriteWholeFile(target, "MZ"));
    std::string link = MakeScratchFolder("links") + "\\editor.lnk";
    ASSERT_EQ(CreateShellLink(Wide(target).c_str(), Wide(link).c_str(), L"Quorlin editor"), 1);
    LinkInfo info = ReadShellLink(link);
    ASSERT_TRUE(info.Loaded);
    EXPECT_STREQ(info.Target.c_str(), target.c_str());
    EXPECT_STREQ(info.WorkingFolder.c_str(), InstallDir);
    EXPECT_EQ(info.Description, "Quorlin editor");
    EXPECT_STREQ(info.IconPath.c_str(), target.c_str());
    EXPECT_EQ(info.IconIndex, 0);

    // A target that is not installed is still linked (the shell accepts it),
    // and a link path longer than the system limit fails without writing.
    std::string missing = std::string(InstallDir) + "\\TVO.exe";
    std::string second = MakeScratchFolder("links") + "\\engine.lnk";
    EXPECT_EQ(CreateShellLink(Wide(missing).c_str(), Wide(second).c_str(), L"engine"), 1);
    EXPECT_EQ(ReadShellLink(second).Target, missing);
    std::string tooLong = MakeScratchFolder("links") + "\\" + std::string(270, 'n') + ".lnk";
    EXPECT_EQ(CreateShellLink(Wide(missing).c_str(), Wide(tooLong).c_str(), L"engine"), 0);

    // A target at a drive's root works in that root, not in whatever folder
    // is current on that drive ("C:").
    std::string atRoot = MakeScratchFolder("links") + "\\root.lnk";
    EXPECT_EQ(CreateShellLink(L"C:\\TVO.exe", Wide(atRoot).c_str(), L"engine"), 1);
    EXPECT_EQ(ReadShellLink(atRoot).WorkingFolder, "C:\\");
}

TEST_F(Shortcuts, ExistingGroupFolderIsReusedAndItsLinksOverwritten)
{
    std::string group = FolderOf(CSIDL_PROGRAMS) + "\\Sequence Test Group";
    ASSERT_TRUE(CreateDirectoryA(group.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    std::string first = group + "\\Sequence Engine.lnk";
    std::string old = std::string(InstallDir) + "\\old.exe";
    ASSERT_EQ(CreateShellLink(Wide(old).c_str(), Wide(first).c_str(), L"old"), 1);

    const ShortcutItem items[] = {
        {"Sequence Engine", "TVO.exe"}, {"Sequence UnInstall", "TVOUnInstall.exe"},
        {nullptr, nullptr}};
    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(CreateShortcutGroup("Sequence Test Group", items, CSIDL_PROGRAMS, 1252), 1);
    EXPECT_TRUE(answerer.Answered().empty());
    LinkInfo engine = ReadShellLink(first);
    LinkInfo uninstall = ReadShellLink(group + "\\Sequence UnInstall.lnk");
    EXPECT_EQ(engine.Target, std::string(InstallDir) + "\\TVO.exe");
    EXPECT_EQ(engine.Description, "Sequence Engine");
    EXPECT_EQ(uninstall.Target, std::string(InstallDir) + "\\TVOUnInstall.exe");
    std::printf("programs group: %s\n", group.c_str());

    DeleteFileA(first.c_str());
    DeleteFileA((group + "\\Sequence UnInstall.lnk").c_str());
    EXPECT_TRUE(RemoveDirectoryA(group.c_str()));
}

TEST_F(Shortcuts, FailingItemsDoNotStopTheGroupAndShowOneMessage)
{
    // A name with a character that no file name may hold, a name that makes
    // the path longer than the system limit, then a good one.
    std::string longName(300, 'x');
    const ShortcutItem items[] = {{"Bad|Name", "TVO.exe"},
                                  {longName.c_str(), "TVO.exe"},
                                  {"Sequence Good Item", "TVO.exe"},
                                  {nullptr, nullptr}};
    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(CreateShortcutGroup("Sequence Failing Group", items, CSIDL_PROGRAMS, 1252), 0);
    auto answered = answerer.Answered();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].English, StartMenuFailed);
    EXPECT_EQ(answered[0].Buttons, OkShown);
    std::string group = FolderOf(CSIDL_PROGRAMS) + "\\Sequence Failing Group";
    std::string good = group + "\\Sequence Good Item.lnk";
    EXPECT_EQ(ReadShellLink(good).Target, std::string(InstallDir) + "\\TVO.exe");
    DeleteFileA(good.c_str());
    EXPECT_TRUE(RemoveDirectoryA(group.c_str())) << "only the good item was written";
}

TEST_F(Shortcuts, InstallFolderOfMaximumLengthFailsEachShortcutCleanly)
{
    // 259 characters: every target path built from it overflows.
    std::string longDir = "C:\\" + std::string(256, 'd');
    std::snprintf(InstallDir, MAX_PATH, "%s", longDir.c_str());
    ASSERT_EQ(std::strlen(InstallDir), 259u);
    const ShortcutItem items[] = {{"Sequence Long Target", "TVO.exe"}, {nullptr, nullptr}};
    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(CreateShortcutGroup(nullptr, items, CSIDL_STARTUP, 1252), 0);
    CreateDesktopShortcut("TVO.exe", "Sequence Long Target", 1252);
    auto answered = answerer.Answered();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].English, StartMenuFailed);
    EXPECT_FALSE(Exists(FolderOf(CSIDL_STARTUP) + "\\Sequence Long Target.lnk"));
    EXPECT_FALSE(Exists(FolderOf(CSIDL_DESKTOP) + "\\Sequence Long Target.lnk"));
}

TEST_F(Shortcuts, StartupAndDesktopLinksGoStraightIntoTheirFolders)
{
    std::string startup = FolderOf(CSIDL_STARTUP);
    std::string desktop = FolderOf(CSIDL_DESKTOP);
    const ShortcutItem items[] = {{"Sequence Startup", "TVO.exe"}, {nullptr, nullptr}};
    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(CreateShortcutGroup("", items, CSIDL_STARTUP, 1252), 1);
    CreateDesktopShortcut("Quorlin.exe", "Sequence Desktop", 1252);
    EXPECT_TRUE(answerer.Answered().empty());
    std::string startupLink = startup + "\\Sequence Startup.lnk";
    std::string desktopLink = desktop + "\\Sequence Desktop.lnk";
    EXPECT_EQ(ReadShellLink(startupLink).Target, std::string(InstallDir) + "\\TVO.exe");
    LinkInfo editor = ReadShellLink(desktopLink);
    EXPECT_EQ(editor.Target, std::string(InstallDir) + "\\Quorlin.exe");
    EXPECT_EQ(editor.Description, "Sequence Desktop");
    std::printf("startup: %s\ndesktop: %s\n", startup.c_str(), desktop.c_str());
    EXPECT_TRUE(DeleteFileA(startupLink.c_str()));
    EXPECT_TRUE(DeleteFileA(desktopLink.c_str()));
}

}  // namespace
