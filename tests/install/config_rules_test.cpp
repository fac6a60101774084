// The configuration update on byte strings: how the file is cut into lines
// and read as sections and keys, and what the whole file becomes.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "config_cases.h"
#include "install/config_text.h"

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

}  // namespace

TEST(ConfigText, CasesByteForByte)
{
    for (const ConfigCase& c : ConfigCases)
        EXPECT_EQ(Updated(c.Before, c.DisplayOk, c.Language), c.After) << c.Name;
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

TEST(IniLines, LineEndsAsTheProfileReaderSplitsThem)
{
    // Every CR and every LF ends a line; CR LF ends one.
    const std::string text = "a\r\nb\nc\rd\ne";
    EXPECT_EQ(IniLineLength(text.data(), text.size(), 0), 3u);
    EXPECT_EQ(IniLineLength(text.data(), text.size(), 3), 2u);
    EXPECT_EQ(IniLineLength(text.data(), text.size(), 5), 2u);
    EXPECT_EQ(IniLineLength(text.data(), text.size(), 7), 2u);
    EXPECT_EQ(IniLineLength(text.data(), text.size(), 9), 1u);
}

TEST(IniLines, SectionsAndKeysAsTheProfileReaderSeesThem)
{
    auto parse = [](const char* line) { return ParseIniLine(line, strlen(line)); };
    IniLine section = parse("  [Config] trailing\r\n");
    EXPECT_EQ(section.Kind, IniSection);
    EXPECT_EQ(section.NameStart, 3u);
    EXPECT_EQ(section.NameLength, 6u);
    // The name runs to the last ']', without blanks; no ']', no section.
    IniLine odd = parse("[ Con]fig ]\r\n");
    EXPECT_EQ(odd.Kind, IniSection);
    EXPECT_EQ(std::string("[ Con]fig ]").substr(odd.NameStart, odd.NameLength), "Con]fig");
    EXPECT_EQ(parse("[Config\r\n").Kind, IniText);

    IniLine key = parse("\t forcelanguage = 12 \r\n");
    EXPECT_EQ(key.Kind, IniKey);
    EXPECT_EQ(key.NameStart, 2u);
    EXPECT_EQ(key.NameLength, 13u);
    EXPECT_EQ(key.ValueStart, 18u);
    EXPECT_EQ(key.ValueEnd, 20u);
    EXPECT_EQ(key.HasEquals, 1);

    IniLine bare = parse("UseBmpFont \n");
    EXPECT_EQ(bare.Kind, IniKey);
    EXPECT_EQ(bare.NameLength, 10u);
    EXPECT_EQ(bare.ValueStart, 10u);
    EXPECT_EQ(bare.ValueEnd, 10u);
    EXPECT_EQ(bare.HasEquals, 0);
    EXPECT_EQ(parse(" \x1A\r\n").Kind, IniText);
}
