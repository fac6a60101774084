// An account named in Chinese on an English system (code page 1252): its
// profile folder is named in Unicode, which the ANSI calls cannot spell.
// Started from that account's Downloads folder with the settings file beside
// it, the installer must make all five shortcuts in that profile, copy the
// settings file into the Windows folder and end with one success message.
// The harness runs this program, and so the installer, as the account
// (USER): Wine names the profile folder after it.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "tests/systems/systems_support.h"

namespace {

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
}

}  // namespace

TEST(SystemsAccount, ProfileNamedInChineseOnAnEnglishSystem)
{
    ASSERT_EQ(GetACP(), 1252u) << "an English system";
    const std::wstring desktop = WideShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring programs = WideShellFolder(CSIDL_PROGRAMS);
    const std::wstring startup = WideShellFolder(CSIDL_STARTUP);
    const std::wstring profile = desktop.substr(0, desktop.rfind(L'\\'));
    ASSERT_NE(profile.find(L"\u5F20\u4E09"), std::wstring::npos)
        << "the account is not named 张三: " << Utf8(profile);
    const std::wstring downloads = profile + L"\\Downloads";
    for (const std::wstring& folder : {desktop, programs, startup, downloads})
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);

    const std::wstring exe = downloads + L"\\TarvoSetup.exe";
    ASSERT_TRUE(CopyFileW(Utf8ToWide(ShippedFile("TarvoSetup.exe")).c_str(), exe.c_str(), FALSE));
    const std::string settings = "settings of " + RunTag();
    WriteBytes(downloads + L"\\AuxSet1.bin", settings);
    const std::string windowsCopy = "C:\\windows\\AuxSet1.bin";
    DeleteFileA(windowsCopy.c_str());

    RunChoices choices;
    choices.Destination = "C:\\systems_account_" + RunTag();
    choices.DesktopIcons = 1;
    choices.AutoStart = 1;
    DWORD code = 0;
    EXPECT_EQ(InstallThroughWizard(Utf8(exe).c_str(), choices, &code),
              "Congratulations! Installation Success!");
    EXPECT_EQ(code, 0u);

    ExpectEveryShortcut(NamesForLanguage(0));
    EXPECT_EQ(ReadFileBytes(windowsCopy), settings) << "the settings file was not copied";

    DeleteFileA(windowsCopy.c_str());
    RemoveTree(choices.Destination);
    RemoveTree(profile);
}
