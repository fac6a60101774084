// The configuration written to real files under Wine, and the attribute
// helpers, run as an ordinary user so that read-only is enforced.
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

// Every case written over the file as the extraction leaves it (read-only
// and hidden), then read back as the engine reads it: [Config] gives the
// chosen values and every other section reads as before. Each case has a
// folder of its own, so that no reader works from an earlier file.
TEST_F(ConfigFile, CasesByteForByteReadBackAsTheEngineReadsThem)
{
    printf("%-48s %14s %16s   %s\n", "case (-1: no value)", "UseBmpFont", "ForceLanguage",
           "other sections");
    static char scratch[65536];
    int number = 0;
    for (const ConfigCase& c : ConfigCases) {
        std::string dir = folder + "\\" + std::to_string(++number);
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << c.Name;
        std::string before = dir + "\\before.ini";
        WriteBytes(before, c.Before);
        const std::string viewBefore = ProfileView(before);
        const int useBmpFontBefore = GetPrivateProfileIntA("Config", "UseBmpFont", -1, before.c_str());
        const int languageBefore = GetPrivateProfileIntA("Config", "ForceLanguage", -1, before.c_str());

        std::string path = dir + "\\engine.ini";
        WriteBytes(path, c.Before);
        SetAttributes(path, Flags);
        const char value = c.DisplayOk ? '0' : '1';
        // No room for the update: nothing is written.
        EXPECT_EQ(WriteConfigText(c.Before.data(), c.Before.size(), value, c.Language, scratch,
                                  c.After.size() - 1, path.c_str()), 0) << c.Name;
        EXPECT_EQ(ReadBytes(path), c.Before) << c.Name;
        EXPECT_EQ(WriteConfigText(c.Before.data(), c.Before.size(), value, c.Language, scratch,
                                  sizeof scratch, path.c_str()), 1) << c.Name;
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
    // Read-only holds for this user: the last file cannot be opened for writing.
    EXPECT_EQ(fopen((folder + "\\" + std::to_string(number) + "\\engine.ini").c_str(), "r+b"), nullptr);
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
