// The configuration update and the attribute helpers on real files under
// Wine, run as an ordinary user so that read-only is enforced.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "config_cases.h"
#include "install/config.h"
#include "install/file_helpers.h"
#include "temp_files.h"
#include "ui/wizard.h"

namespace {

constexpr DWORD ReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD Flags = ReadOnly | Hidden;

class ConfigFile : public testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshTestFolder("config");
        strcpy(InstallDir, folder.c_str());
        ini = folder + "\\engine.ini";
    }
    void TearDown() override { RemoveTestFolder(folder); }

    std::string folder;
    std::string ini;
};

// The profile functions' view of a file: its section names, and each
// section's lines as GetPrivateProfileSectionA gives them (the first section
// of a name). Lines of [Config] that set one of the two keys are left out.
std::string ProfileView(const std::string& path)
{
    static char names[65536], lines[65536];
    DWORD length = GetPrivateProfileSectionNamesA(names, sizeof names, path.c_str());
    std::string view;
    for (const char* name = names; name < names + length && *name; name += strlen(name) + 1) {
        view += std::string("[") + name + "]\n";
        DWORD size = GetPrivateProfileSectionA(name, lines, sizeof lines, path.c_str());
        for (const char* line = lines; line < lines + size && *line; line += strlen(line) + 1) {
            const std::string key = std::string(line).substr(0, strcspn(line, "="));
            if (_stricmp(name, "Config") == 0 &&
                (_stricmp(key.c_str(), "UseBmpFont") == 0 || _stricmp(key.c_str(), "ForceLanguage") == 0))
                continue;
            view += std::string(line) + "\n";
        }
    }
    return view;
}

// The same without [Config], for a file that had none before the update.
std::string WithoutConfig(const std::string& view)
{
    std::string out;
    bool config = false;
    for (size_t at = 0; at < view.size();) {
        size_t end = view.find('\n', at) + 1;
        std::string line = view.substr(at, end - at);
        if (line[0] == '[')
            config = _stricmp(line.c_str(), "[Config]\n") == 0;
        if (!config)
            out += line;
        at = end;
    }
    return out;
}

}  // namespace

// Every case updated on disk, then read back as the engine reads it: [Config]
// gives the chosen values and every other section reads as before. Each case
// has a folder of its own, so that no reader works from an earlier file.
TEST_F(ConfigFile, CasesByteForByteReadBackAsTheEngineReadsThem)
{
    printf("%-48s %14s %16s   %s\n", "case (-1: no value)", "UseBmpFont", "ForceLanguage",
           "other sections");
    int number = 0;
    for (const ConfigCase& c : ConfigCases) {
        std::string dir = folder + "\\" + std::to_string(++number);
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << c.Name;
        std::string before = dir + "\\before.ini";
        WriteBytes(before, c.Before);
        const std::string viewBefore = ProfileView(before);
        const int useBmpFontBefore = GetPrivateProfileIntA("Config", "UseBmpFont", -1, before.c_str());
        const int languageBefore = GetPrivateProfileIntA("Config", "ForceLanguage", -1, before.c_str());

        // As the extraction leaves it: read-only and hidden.
        std::string path = dir + "\\engine.ini";
        WriteBytes(path, c.Before);
        SetAttributes(path, Flags);
        ASSERT_EQ(Attributes(path) & Flags, Flags) << c.Name;
        strcpy(InstallDir, dir.c_str());
        ChineseDisplayOk = c.DisplayOk;
        ForceLanguage = c.Language;
        EXPECT_EQ(UpdateEngineConfig(), 1) << c.Name;
        EXPECT_EQ(ReadBytes(path), c.After) << c.Name;
        EXPECT_EQ(Attributes(path) & Flags, Flags) << c.Name;

        const int useBmpFont = GetPrivateProfileIntA("Config", "UseBmpFont", -1, path.c_str());
        const int language = GetPrivateProfileIntA("Config", "ForceLanguage", -1, path.c_str());
        EXPECT_EQ(useBmpFont, c.DisplayOk ? 0 : 1) << c.Name;
        EXPECT_EQ(language, c.Language) << c.Name;
        std::string viewAfter = ProfileView(path);
        if (WithoutConfig(viewBefore) == viewBefore)    // no [Config] before
            viewAfter = WithoutConfig(viewAfter);
        EXPECT_EQ(viewAfter, viewBefore) << c.Name;
        printf("%-48s %8d -> %2d %10d -> %2d   %s\n", c.Name, useBmpFontBefore, useBmpFont,
               languageBefore, language, viewAfter == viewBefore ? "as before" : "CHANGED");
    }
}

TEST_F(ConfigFile, PlainFileEndsReadOnlyAndHiddenOtherBitsKept)
{
    WriteBytes(ini, ShippedIni);
    SetAttributes(ini, FILE_ATTRIBUTE_SYSTEM);
    DWORD before = Attributes(ini);
    ASSERT_EQ(before & Flags, 0u);
    ChineseDisplayOk = 1;
    ForceLanguage = 0;
    EXPECT_EQ(UpdateEngineConfig(), 1);
    EXPECT_EQ(Attributes(ini), before | Flags);
    EXPECT_EQ(ReadBytes(ini), ShippedIni + "\r\nForceLanguage=0\r\n");
    // Read-only holds for this user: the file cannot be opened for writing.
    EXPECT_EQ(fopen(ini.c_str(), "r+b"), nullptr);
}

TEST_F(ConfigFile, MissingFileIsNotCreated)
{
    EXPECT_EQ(UpdateEngineConfig(), 1);
    EXPECT_FALSE(Exists(ini));

    // Nor is anything written when InstallDir\engine.ini does not fit.
    std::string longDir = folder + "\\" + std::string(259 - folder.size() - 11, 'q');
    ASSERT_EQ(longDir.size() + strlen("\\engine.ini"), 260u);
    ASSERT_TRUE(CreateDirectoryA(longDir.c_str(), nullptr));
    WriteBytes(longDir + "\\engine.in", ShippedIni);   // what a cut path would name
    strcpy(InstallDir, longDir.c_str());
    EXPECT_EQ(UpdateEngineConfig(), 1);
    EXPECT_EQ(ReadBytes(longDir + "\\engine.in"), ShippedIni);
    EXPECT_EQ(Attributes(longDir + "\\engine.in") & Flags, 0u);
}

TEST_F(ConfigFile, ClearFileAttributesReportsWhatItCleared)
{
    std::string path = folder + "\\file.bin";
    WriteBytes(path, "x");
    SetAttributes(path, 0);
    EXPECT_EQ(ClearFileAttributes(path.c_str(), 1, 1), 0);   // nothing to clear

    SetAttributes(path, Flags);
    EXPECT_EQ(ClearFileAttributes(path.c_str(), 0, 0), 0);   // nothing asked
    EXPECT_EQ(Attributes(path) & Flags, Flags);
    EXPECT_EQ(ClearFileAttributes(path.c_str(), 1, 0), 1);
    EXPECT_EQ(Attributes(path) & Flags, Hidden);
    EXPECT_EQ(ClearFileAttributes(path.c_str(), 1, 0), 0);
    EXPECT_EQ(ClearFileAttributes(path.c_str(), 0, 1), 1);
    EXPECT_EQ(Attributes(path) & Flags, 0u);

    // Both at once from read-only and hidden, as the update needs it.
    SetAttributes(path, Flags);
    EXPECT_EQ(ClearFileAttributes(path.c_str(), 1, 1), 1);
    EXPECT_EQ(Attributes(path) & Flags, 0u);

    // A path that does not exist has nothing to clear.
    std::string missing = folder + "\\missing.bin";
    EXPECT_EQ(ClearFileAttributes(missing.c_str(), 1, 1), 0);
    EXPECT_FALSE(Exists(missing));
}

TEST_F(ConfigFile, DeleteFileForced)
{
    std::string path = folder + "\\stale.dic";
    WriteBytes(path, "stale");
    SetAttributes(path, Flags);
    ASSERT_EQ(Attributes(path) & Flags, Flags);
    EXPECT_EQ(DeleteFileForced(path.c_str()), 0);
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(DeleteFileForced(path.c_str()), -1);

    std::string sub = folder + "\\sub";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    EXPECT_EQ(DeleteFileForced(sub.c_str()), -1);
    EXPECT_TRUE(Exists(sub));
}

// ---- calls that fail ---------------------------------------------------------

namespace {

// Which calls of each kind fail: bit n-1 for the n-th call. A failing write
// leaves the first half of its bytes behind, as a disk that fills part-way.
struct FaultPlan {
    int WriteAt, Cut, Rename;
};
constexpr int Call(int n) { return 1 << (n - 1); }

FaultPlan Plan, Seen;
ConfigFileCalls RealCalls;

int Fails(int plan, int* seen) { return (plan >> (*seen)++) & 1; }

int FailingWriteAt(FILE* file, size_t offset, const char* bytes, size_t count)
{
    if (!Fails(Plan.WriteAt, &Seen.WriteAt))
        return RealCalls.WriteAt(file, offset, bytes, count);
    RealCalls.WriteAt(file, offset, bytes, count / 2);
    return 0;
}
int FailingCut(FILE* file, size_t length)
{
    return Fails(Plan.Cut, &Seen.Cut) ? 0 : RealCalls.Cut(file, length);
}
int FailingRename(const char* from, const char* to)
{
    return Fails(Plan.Rename, &Seen.Rename) ? 0 : RealCalls.Rename(from, to);
}

// Every file in the folder, by contents.
std::string FolderContents(const std::string& folder)
{
    std::string all;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return all;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            all += "<" + ReadBytes(folder + "\\" + found.cFileName) + ">";
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return all;
}

class ConfigFaults : public ConfigFile {
protected:
    void SetUp() override
    {
        ConfigFile::SetUp();
        RealCalls = ConfigCalls;
        ConfigCalls = {FailingWriteAt, FailingCut, RealCalls.WriteNew, FailingRename};
        Seen = {0, 0, 0};
    }
    void TearDown() override
    {
        ConfigCalls = RealCalls;
        ConfigFile::TearDown();
    }
    // The file after an update (display test passed, language 2) with these
    // calls failing; it starts read-only, hidden and system.
    std::string UpdatedWith(const std::string& before, FaultPlan plan)
    {
        WriteBytes(ini, before);
        SetAttributes(ini, Flags | FILE_ATTRIBUTE_SYSTEM);
        const DWORD attributes = Attributes(ini);
        Plan = plan;
        ChineseDisplayOk = 1;
        ForceLanguage = 2;
        EXPECT_EQ(UpdateEngineConfig(), 1);
        EXPECT_EQ(Attributes(ini), attributes);
        return ReadBytes(ini);
    }
    static std::string Intended(const std::string& before)
    {
        std::string out(UpdateConfigText(before.data(), before.size(), '0', 2, nullptr, 0), '\0');
        UpdateConfigText(before.data(), before.size(), '0', 2, &out[0], out.size());
        return out;
    }
};

// A longer update, the last line without a line end: the update's write
// fails, then the put-back's cut.
const std::string Minimal = "[Config]\r\nA=1\r\n[B]\r\nx=1";

}  // namespace

TEST_F(ConfigFaults, GrowthThatFailsLeavesTheFileAsItWas)
{
    EXPECT_EQ(UpdatedWith(ShippedIni, {Call(1), 0, 0}), ShippedIni);
    EXPECT_GE(Seen.WriteAt, 1);
}

TEST_F(ConfigFaults, FailedPutBackEndsOldOrNew)
{
    const std::string after = UpdatedWith(Minimal, {Call(2), Call(1), 0});
    EXPECT_TRUE(after == Minimal || after == Intended(Minimal)) << after;
    EXPECT_GE(Seen.Cut, 1);
    EXPECT_EQ(FolderContents(folder), "<" + after + ">");   // nothing left beside it
}

TEST_F(ConfigFaults, ShorterUpdateWithFailedPutBackEndsOldOrNew)
{
    const std::string before =
        "[Config]\r\nUseBmpFont=0000\r\nForceLanguage=12345\r\n[Strings]\r\nA=" + LongValue + "\r\n";
    ASSERT_LT(Intended(before).size(), before.size());
    const std::string after = UpdatedWith(before, {Call(2), Call(1), 0});
    EXPECT_TRUE(after == before || after == Intended(before)) << after;
    EXPECT_GE(Seen.WriteAt, 2);
}

// The put-back fails, and so does the rename that would put the new text in
// its place: the new text still stands whole on the disk.
TEST_F(ConfigFaults, FailedSwapKeepsAWholeText)
{
    UpdatedWith(Minimal, {Call(2) | Call(3), 0, Call(2)});
    EXPECT_GE(Seen.Rename, 2);
    const std::string all = FolderContents(folder);
    EXPECT_TRUE(all.find("<" + Intended(Minimal) + ">") != std::string::npos ||
                all.find("<" + Minimal + ">") != std::string::npos)
        << all;
}
