// Environment detection: the language and module-folder rules with any
// values, and DetectEnvironment against the queries of the running system.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "shell/environment.h"
#include "shell/wide_system.h"

TEST(LanguageForSystem, ChineseSublanguagesOnAMultiByteCodePage)
{
    EXPECT_EQ(LanguageForSystem(1, 0x0404), 2);   // Taiwan
    EXPECT_EQ(LanguageForSystem(1, 0x0804), 1);   // PRC
    EXPECT_EQ(LanguageForSystem(1, 0x0C04), 2);   // Hong Kong
    EXPECT_EQ(LanguageForSystem(1, 0x1004), 1);   // Singapore
    EXPECT_EQ(LanguageForSystem(1, 0x1404), 2);   // Macao
}

TEST(LanguageForSystem, EnglishUnlessChineseAndMultiByte)
{
    EXPECT_EQ(LanguageForSystem(1, 0x0411), 0);   // Japanese, code page 932
    EXPECT_EQ(LanguageForSystem(1, 0x0412), 0);   // Korean
    EXPECT_EQ(LanguageForSystem(1, 0x0409), 0);
    for (WORD chinese : {0x0404, 0x0804, 0x0C04, 0x1004, 0x1404})
        EXPECT_EQ(LanguageForSystem(0, chinese), 0) << std::hex << chinese;
    // Only the low ten bits name the language: 0x0444 (Tatar) is not Chinese.
    EXPECT_EQ(LanguageForSystem(1, 0x0444), 0);
}

namespace {

// ModuleFolderOf into a buffer with a guard zone behind its MAX_PATH bytes.
std::string FolderOf(const char* modulePath, bool* guardIntact, UINT codePage = 1252)
{
    char out[MAX_PATH + 16];
    memset(out, 0x5A, sizeof out);
    ModuleFolderOf(modulePath, codePage, out);
    *guardIntact = true;
    for (size_t i = MAX_PATH; i < sizeof out; i++)
        *guardIntact = *guardIntact && out[i] == 0x5A;
    return out;
}

}  // namespace

TEST(ModuleFolderOf, KeepsTheTrailingBackslash)
{
    bool guard;
    EXPECT_EQ(FolderOf("C:\\Setup\\x.exe", &guard), "C:\\Setup\\");
    EXPECT_EQ(FolderOf("C:\\a\\b\\setup.exe", &guard), "C:\\a\\b\\");
    EXPECT_EQ(FolderOf("\\x.exe", &guard), "\\");
    EXPECT_EQ(FolderOf("C:\\", &guard), "C:\\");
    // Big5 許 is B3 5C: its trail byte is no folder separator.
    EXPECT_EQ(FolderOf("C:\\Setup\\\xB3\x5C.exe", &guard, 950), "C:\\Setup\\");
}

TEST(ModuleFolderOf, FloppyRootWithoutAFolder)
{
    bool guard;
    EXPECT_EQ(FolderOf("x.exe", &guard), "A:\\");
    EXPECT_EQ(FolderOf("", &guard), "A:\\");
    EXPECT_EQ(FolderOf(nullptr, &guard), "A:\\");
}

TEST(ModuleFolderOf, LongestPathsStayInTheBuffer)
{
    // 259 characters, the folder taking all but "\x.exe": it fits whole.
    std::string folder = "C:\\" + std::string(259 - 3 - 6, 'f');
    std::string path = folder + "\\x.exe";
    ASSERT_EQ(path.size(), 259u);
    bool guard = false;
    EXPECT_EQ(FolderOf(path.c_str(), &guard), folder + "\\");
    EXPECT_TRUE(guard);

    // A folder of exactly 259 characters with its backslash still fits; one
    // of 260 cannot be held and is not cut short.
    std::string fits = std::string(258, 'g') + "\\";
    EXPECT_EQ(FolderOf((fits + "x.exe").c_str(), &guard), fits);
    EXPECT_TRUE(guard);
    std::string tooLong = std::string(259, 'g') + "\\";
    EXPECT_EQ(FolderOf((tooLong + "x.exe").c_str(), &guard), "A:\\");
    EXPECT_TRUE(guard);
}

// The destination goes on in the ANSI code page (1252 here): what it cannot
// spell, or only by a look-alike, is another folder.
TEST(SpelledInAnsi, OnlyWhatTheCodePageSpellsAsItself)
{
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(SpelledInAnsi(L"C:\\Program Files\\Caf\u00E9"), 1);
    EXPECT_EQ(SpelledInAnsi(L"C:\\users\\\u5F20\u4E09"), 0);   // 张三
    EXPECT_EQ(SpelledInAnsi(L"C:\\\uFF41"), 0);                   // full-width a, best fit "a"
}

TEST(DetectEnvironment, AgreesWithTheRunningSystem)
{
    DetectEnvironment(GetModuleHandleA(nullptr));

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(OsInfo.IsNt, version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0);
    EXPECT_EQ(OsInfo.IsVersion3, version.dwMajorVersion == 3 ? 1 : 0);

    CPINFO codePage = {};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage));
    EXPECT_EQ(OsInfo.MultiByteAnsi, codePage.MaxCharSize > 1 ? 1 : 0);
    EXPECT_EQ(OsInfo.SystemLangId, GetSystemDefaultLangID());
    EXPECT_EQ(SystemLanguage, LanguageForSystem(OsInfo.MultiByteAnsi, OsInfo.SystemLangId));
    EXPECT_STREQ(DefaultFolderName, "Tarvo");

    char modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::string expected(modulePath, strrchr(modulePath, '\\') + 1);
    EXPECT_EQ(ModuleDir, expected);
    EXPECT_EQ(ModuleDir[strlen(ModuleDir) - 1], '\\');
}

// The platform flags under the Windows versions Wine can pretend to be: a
// copy of this program runs under its own name with the version set for that
// name, and reports what DetectEnvironment found.
TEST(DetectEnvironment, DISABLED_ReportFlagsToFile)
{
    char out[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("TARVO_PROBE_OUT", out, MAX_PATH), 0u);
    DetectEnvironment(GetModuleHandleA(nullptr));
    FILE* file = fopen(out, "w");
    ASSERT_NE(file, nullptr);
    fprintf(file, "%d %d", OsInfo.IsNt, OsInfo.IsVersion3);
    fclose(file);
}

namespace {

std::string FlagsUnderVersion(const char* version)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string exeName = std::string("tarvo-probe-") + version + ".exe";
    std::string exe = std::string(temp) + exeName;
    std::string out = std::string(temp) + "tarvo-probe-" + version + ".txt";
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (!CopyFileA(self, exe.c_str(), FALSE))
        return "copy failed";
    DeleteFileA(out.c_str());

    std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return "registry failed";
    RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(strlen(version) + 1));
    RegCloseKey(handle);

    SetEnvironmentVariableA("TARVO_PROBE_OUT", out.c_str());
    std::string command = "\"" + exe +
                          "\" --gtest_also_run_disabled_tests"
                          " --gtest_filter=DetectEnvironment.DISABLED_ReportFlagsToFile";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process);
    SetEnvironmentVariableA("TARVO_PROBE_OUT", nullptr);
    std::string flags = "did not start";
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        FILE* file = fopen(out.c_str(), "r");
        flags = "no report";
        if (file) {
            char line[16] = {};
            flags = fgets(line, sizeof line, file) ? line : "empty report";
            fclose(file);
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    DeleteFileA(exe.c_str());
    DeleteFileA(out.c_str());
    return flags;
}

}  // namespace

TEST(DetectEnvironment, PlatformFlagsUnderOlderVersions)
{
    EXPECT_EQ(FlagsUnderVersion("nt351"), "1 1");   // NT 3.51: both
    EXPECT_EQ(FlagsUnderVersion("win98"), "0 0");   // platform 1, major 4
    EXPECT_EQ(FlagsUnderVersion("winxp"), "1 0");
}
