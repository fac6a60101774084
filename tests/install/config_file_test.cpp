// The configuration update and the attribute helpers on real files under
// Wine, run as an ordinary user so that read-only is enforced.
#include <gtest/gtest.h>

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

}  // namespace

TEST_F(ConfigFile, CasesByteForByteEndingReadOnlyAndHidden)
{
    for (const ConfigCase& c : ConfigCases) {
        // As the extraction leaves it: read-only and hidden.
        WriteBytes(ini, c.Before);
        SetAttributes(ini, Flags);
        ASSERT_EQ(Attributes(ini) & Flags, Flags) << c.Name;
        ChineseDisplayOk = c.DisplayOk;
        ForceLanguage = c.Language;
        EXPECT_EQ(UpdateEngineConfig(), 1) << c.Name;
        EXPECT_EQ(ReadBytes(ini), c.After) << c.Name;
        EXPECT_EQ(Attributes(ini) & Flags, Flags) << c.Name;
        SetAttributes(ini, 0);
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
