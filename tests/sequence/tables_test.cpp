// The pure tables of the sequence: stale-file names in deletion order and the
// shortcut names as the bytes of their code pages.
#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "install/installation.h"
#include "install/shortcut_names.h"

namespace {

std::string Stale(int index, const char* dir = "D:\\T")
{
    char out[MAX_PATH];
    if (!StaleFilePath(index, dir, out))
        return "<none>";
    return out;
}

TEST(StaleFiles, SixteenSuffixesOverFourNamesInCountingOrder)
{
    EXPECT_EQ(Stale(0), "D:\\T\\keytab.dic");
    EXPECT_EQ(Stale(1), "D:\\T\\Charflat.dic");
    EXPECT_EQ(Stale(2), "D:\\T\\learnAuto.dic");
    EXPECT_EQ(Stale(3), "D:\\T\\learnAdjust.dic");
    EXPECT_EQ(Stale(4), "D:\\T\\keytab.dic0001");
    EXPECT_EQ(Stale(9), "D:\\T\\Charflat.dic0010");
    EXPECT_EQ(Stale(20), "D:\\T\\keytab.dic0101");
    EXPECT_EQ(Stale(63), "D:\\T\\learnAdjust.dic1111");
    EXPECT_EQ(Stale(64), "<none>");
    EXPECT_EQ(Stale(-1), "<none>");
    // Every suffix after the empty one is four binary digits, counting up,
    // and no name repeats.
    for (int index = 4; index < StaleFileCount; ++index) {
        std::string path = Stale(index);
        std::string digits = path.substr(path.size() - 4);
        EXPECT_EQ(std::stoi(digits, nullptr, 2), index / 4) << path;
        for (int other = 0; other < index; ++other)
            ASSERT_NE(Stale(other), path);
    }
}

TEST(StaleFiles, PathThatDoesNotFitIsNotFormed)
{
    std::string dir = "C:\\" + std::string(256, 'd');   // 259 characters
    char guarded[MAX_PATH + 8];
    std::memset(guarded, '#', sizeof guarded);
    EXPECT_EQ(StaleFilePath(0, dir.c_str(), guarded), 0);
    EXPECT_EQ(guarded[0], '\0');
    EXPECT_EQ(guarded[MAX_PATH], '#');
    std::string fits(MAX_PATH - 1 - std::strlen("\\learnAdjust.dic1111"), 'd');
    EXPECT_EQ(StaleFilePath(63, fits.c_str(), guarded), 1);
    EXPECT_EQ(std::strlen(guarded), 259u);
}

std::string Hex(const char* text, int bytes)
{
    std::string out;
    char two[4];
    for (int i = 0; i < bytes; ++i) {
        std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(text[i]));
        out += two;
    }
    return out;
}

TEST(ShortcutNameTables, EachLanguageInItsOwnCodePage)
{
    EXPECT_STREQ(ShortcutNamesFor(0).Engine, "Tarvo Chinese Input Engine");
    EXPECT_STREQ(ShortcutNamesFor(0).Uninstall, "Tarvo UnInstall");
    EXPECT_STREQ(ShortcutNamesFor(0).Editor, "Quorlin");
    EXPECT_EQ(&ShortcutNamesFor(7), &ShortcutNamesFor(0));

    // GBK: 中文输入引擎, 卸载, 文本编辑.
    const ShortcutNames& gbk = ShortcutNamesFor(1);
    EXPECT_EQ(Hex(gbk.Engine, 17), "546172766FD6D0CEC4CAE4C8EBD2FDC7E6");
    EXPECT_EQ(Hex(gbk.Uninstall + 13, 4), "D0B6D4D8");
    EXPECT_EQ(Hex(gbk.Editor + 5, 8), "CEC4B1BEB1E0BCAD");
    // Big5: 中文輸入引擎, 卸載, 文本編輯.
    const ShortcutNames& big5 = ShortcutNamesFor(2);
    EXPECT_EQ(Hex(big5.Engine, 17), "546172766FA4A4A4E5BFE9A44AA4DEC0BA");
    EXPECT_EQ(Hex(big5.Uninstall + 13, 4), "A8F8B8FC");
    EXPECT_EQ(Hex(big5.Editor + 5, 8), "A4E5A5BBBD73BFE8");
    for (const ShortcutNames* names : {&gbk, &big5}) {
        EXPECT_EQ(std::strlen(names->Engine), 17u);
        EXPECT_EQ(std::strlen(names->Uninstall), 17u);
        EXPECT_EQ(std::strlen(names->Editor), 13u);
    }
}

}  // namespace
