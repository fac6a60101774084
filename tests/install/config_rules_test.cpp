// The configuration update on byte strings: how a file is cut into pieces,
// how a key's text goes over a piece, and what the whole file becomes.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "config_cases.h"
#include "install/config.h"

namespace {

std::string Updated(const std::string& before, int displayOk, int language)
{
    char value = displayOk ? '0' : '1';
    size_t length = UpdateConfigText(before.data(), before.size(), value, language, nullptr, 0);
    std::string out(length + 8, '#');
    size_t again = UpdateConfigText(before.data(), before.size(), value, language, &out[0], length);
    EXPECT_EQ(again, length);
    EXPECT_EQ(out.substr(length), std::string(8, '#'));   // nothing past the capacity
    out.resize(length);
    return out;
}

std::string Overwritten(const std::string& piece, const std::string& text)
{
    char out[512];
    size_t length = OverwritePiece(piece.data(), piece.size(), text.data(), text.size(), out);
    return std::string(out, length);
}

}  // namespace

TEST(ConfigText, CasesByteForByte)
{
    for (const ConfigCase& c : ConfigCases)
        EXPECT_EQ(Updated(c.Before, c.DisplayOk, c.Language), c.After) << c.Name;
}

TEST(ConfigText, EveryKeyLineIsWrittenUntilBothAreDone)
{
    // Without ForceLanguage the scan reads to the end, so each UseBmpFont
    // line gets the value, in whatever section.
    EXPECT_EQ(Updated("[A]\r\nUseBmpFont=0\r\n[Config]\r\nUseBmpFont=\r\n", 0, 1),
              "[A]\r\nUseBmpFont=1\r\n[Config]\r\nUseBmpFont=1\r\n\r\nForceLanguage=1\r\n");
    // A longer ForceLanguage value than before ends the line with the text.
    EXPECT_EQ(Updated("[Config]\r\nForceLanguage=\r\nUseBmpFont=1\r\n", 1, -12),
              "[Config]\r\nForceLanguage=-12\r\nUseBmpFont=0\r\n");
    // Substring test: a header or key anywhere in a line counts.
    EXPECT_EQ(Updated("x=[Config]\r\n", 1, 0),
              "x=[Config]\r\n\r\nUseBmpFont=0\r\n\r\nForceLanguage=0\r\n");
}

TEST(ConfigText, ShortCapacityCountsTheFullLength)
{
    std::string before = ShippedIni;
    size_t full = UpdateConfigText(before.data(), before.size(), '0', 2, nullptr, 0);
    char small[10];
    memset(small, '#', sizeof small);
    EXPECT_EQ(UpdateConfigText(before.data(), before.size(), '0', 2, small, 4), full);
    EXPECT_EQ(std::string(small, 10), "[Str######");
}

TEST(ConfigPieces, LinesOverTheLimitArriveInPieces)
{
    std::string text = "ab\r\n" + std::string(300, 'z') + "\n" + std::string(255, 'w') + "\nend";
    size_t at = 0;
    EXPECT_EQ(ConfigPieceLength(text.data(), text.size(), at), 4u);
    at += 4;
    EXPECT_EQ(ConfigPieceLength(text.data(), text.size(), at), 255u);
    at += 255;
    EXPECT_EQ(ConfigPieceLength(text.data(), text.size(), at), 46u);   // 45 z and '\n'
    at += 46;
    // Exactly 255 bytes before the line end: the line end is a piece alone.
    EXPECT_EQ(ConfigPieceLength(text.data(), text.size(), at), 255u);
    at += 255;
    EXPECT_EQ(ConfigPieceLength(text.data(), text.size(), at), 1u);
    at += 1;
    EXPECT_EQ(ConfigPieceLength(text.data(), text.size(), at), 3u);
}

TEST(ConfigPieces, RoomEndsBeforeTheLineEnd)
{
    EXPECT_EQ(ConfigPieceRoom("UseBmpFont=0\r\n", 14), 12u);
    EXPECT_EQ(ConfigPieceRoom("UseBmpFont=0\n", 13), 12u);
    EXPECT_EQ(ConfigPieceRoom("\r\n", 2), 0u);
    EXPECT_EQ(ConfigPieceRoom("", 0), 0u);
    // Cut from a longer line, or the unterminated last line: all of it.
    EXPECT_EQ(ConfigPieceRoom("UseBmpFont=", 11), 11u);
    EXPECT_EQ(ConfigPieceRoom("a\rb", 3), 3u);
}

TEST(ConfigPieces, OverwriteFitsOrReplacesTheWholeRoom)
{
    EXPECT_EQ(Overwritten("UseBmpFont=0\r\n", "UseBmpFont=1"), "UseBmpFont=1\r\n");
    EXPECT_EQ(Overwritten("  UseBmpFont=0 ; note\r\n", "UseBmpFont=1"),
              "UseBmpFont=1=0 ; note\r\n");
    EXPECT_EQ(Overwritten("UseBmpFont=\r\n", "UseBmpFont=1"), "UseBmpFont=1\r\n");
    EXPECT_EQ(Overwritten("ForceLanguage=\n", "ForceLanguage=2"), "ForceLanguage=2\n");
    EXPECT_EQ(Overwritten("UseBmpFont=", "UseBmpFont=1"), "UseBmpFont=1");
    EXPECT_EQ(Overwritten("\r\n", "UseBmpFont=1"), "UseBmpFont=1\r\n");
    // In place on the same buffer, as the update does.
    char line[64] = "x=1\r\n";
    size_t length = OverwritePiece(line, 5, "UseBmpFont=0", 12, line);
    EXPECT_EQ(std::string(line, length), "UseBmpFont=0\r\n");
}
