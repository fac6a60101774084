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

    ExpectEveryShortcut(NamesForLanguage(1));

    RemoveShortcutsFrom(ShellPlaces());
    RemoveTree(choices.Destination);
}
