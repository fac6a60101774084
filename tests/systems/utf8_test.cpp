// A Simplified Chinese system whose ANSI code page is UTF-8, as Windows 10
// and 11 can make it for every program: the installer's own GBK texts are
// then no valid ANSI text. A copy of the installer whose manifest asks for
// that code page (Wine honours it per program) must start, install, and
// name its shortcuts exactly in Chinese.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "tests/systems/systems_support.h"

TEST(SystemsUtf8, SimplifiedChineseSystemWithTheUtf8CodePage)
{
    // A program with the same manifest setting reports the code page it got.
    InstallerRun probe;
    DWORD codePage = 0;
    ASSERT_TRUE(StartProcess(ShippedFile("tests/systems_codepage_probe.exe").c_str(), "C:\\", &probe) &&
                WaitForExit(&probe, 60000, &codePage));
    EndRun(&probe);
    ASSERT_EQ(codePage, static_cast<DWORD>(CP_UTF8)) << "the manifest's code page did not take";

    const ExpectedNames& names = NamesForLanguage(1);
    const std::wstring programs = WideShellFolder(CSIDL_PROGRAMS);
    const std::wstring desktop = WideShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring startup = WideShellFolder(CSIDL_STARTUP);
    RemoveShortcutsFrom(ShellPlaces());

    RunChoices choices;
    choices.Destination = "C:\\systems_utf8_" + RunTag();
    choices.Language = 1;
    choices.DesktopIcons = 1;
    choices.AutoStart = 1;
    DWORD code = 0;
    EXPECT_EQ(InstallThroughWizard(ShippedFile("tests/TarvoSetupUtf8.exe").c_str(), choices, &code),
              "Congratulations! Installation Success!");
    EXPECT_EQ(code, 0u);

    const std::wstring group = programs + L"\\" + names.EngineW;
    printf("group %s: %s\n", Utf8(group).c_str(), ShortcutsIn(group).c_str());
    printf("desktop %s: %s\n", Utf8(desktop).c_str(), ShortcutsIn(desktop).c_str());
    printf("startup %s: %s\n", Utf8(startup).c_str(), ShortcutsIn(startup).c_str());
    const std::string engine = Utf8(names.EngineW) + ".lnk";
    EXPECT_EQ(ShortcutsIn(group), engine + " | " + Utf8(names.UninstallW) + ".lnk");
    EXPECT_EQ(ShortcutsIn(desktop), engine + " | " + Utf8(names.EditorW) + ".lnk");
    EXPECT_EQ(ShortcutsIn(startup), engine);

    RemoveShortcutsFrom(ShellPlaces());
    RemoveTree(choices.Destination);
}
