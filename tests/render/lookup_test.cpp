// The arithmetic of the renderer: the glyph lookup.
#include <gtest/gtest.h>

#include "render/atlas.h"

namespace {

struct Expected {
    unsigned Code;
    int Plane, X, Y;
};

int CellOf(const GlyphLocation& g)
{
    return g.Plane * 1888 + (g.Y / 16) * 32 + g.X / 16;
}

TEST(LookupGlyph, WorkedExamples)
{
    const Expected table[] = {
        {0xA1A1, 0, 0, 0},     {0xA1A2, 0, 16, 0},    {0xA1B6, 0, 336, 0},
        {0xA3BA, 0, 336, 96},  {0xA3C1, 0, 448, 96},  {0xA6A4, 0, 400, 224},
        {0xA8A1, 0, 288, 320}, {0xB0A1, 0, 288, 320}, {0xB0B2, 0, 48, 336},
        {0xBABA, 0, 368, 800}, {0xCEC4, 1, 400, 800}, {0xD6D0, 2, 336, 240},
        {0xD7B0, 2, 304, 272}, {0xF7FE, 3, 16, 880},  {0xE946, 3, 0, 896},
        {0xA9A4, 3, 16, 896},  {0x8140, 3, 496, 160}, {0xA100, 3, 496, 656},
        {0xBDA8, 0, 496, 928}, {0xBDA9, 1, 0, 0},
    };
    for (const Expected& e : table) {
        GlyphLocation g{-1, -1, -1};
        EXPECT_EQ(1, LookupGlyph(e.Code, &g));
        EXPECT_EQ(e.Plane, g.Plane) << std::hex << e.Code;
        EXPECT_EQ(e.X, g.X) << std::hex << e.Code;
        EXPECT_EQ(e.Y, g.Y) << std::hex << e.Code;
    }
}

TEST(LookupGlyph, RowsMapOntoTheirCells)
{
    // Rows 1-7 from cell 0, the hanzi from cell 658, 94 cells per row.
    for (unsigned lead = 0xA1; lead <= 0xA7; ++lead)
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            GlyphLocation g;
            LookupGlyph(lead * 256 + trail, &g);
            if (lead * 256 + trail == 0xA9A4)
                continue;
            EXPECT_EQ(static_cast<int>(94 * (lead - 0xA1) + trail - 0xA1), CellOf(g));
        }
    for (unsigned lead = 0xB0; lead <= 0xF7; ++lead)
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            GlyphLocation g;
            LookupGlyph(lead * 256 + trail, &g);
            ASSERT_EQ(static_cast<int>(658 + 94 * (lead - 0xB0) + trail - 0xA1), CellOf(g))
                << std::hex << lead * 256 + trail;
        }
    // The undefined end of row 55 stays on its blank cells.
    for (unsigned code = 0xD7FA; code <= 0xD7FE; ++code) {
        GlyphLocation g;
        LookupGlyph(code, &g);
        EXPECT_EQ(static_cast<int>(4413 + code - 0xD7FA), CellOf(g));
        EXPECT_EQ(2, g.Plane);
    }
}

TEST(LookupGlyph, RowsEightToFifteenBorrowHanziCells)
{
    GlyphLocation a, b;
    LookupGlyph(0xA9A5, &a);
    LookupGlyph(0xB1A5, &b);
    EXPECT_EQ(CellOf(b), CellOf(a));
    for (unsigned code = 0xA8A1; code <= 0xAFFE; code += 0x35) {
        if ((code & 0xFF) < 0xA1 || (code & 0xFF) == 0xFF || code == 0xA9A4)
            continue;
        LookupGlyph(code, &a);
        LookupGlyph(code + 0x0800, &b);
        EXPECT_EQ(CellOf(b), CellOf(a)) << std::hex << code;
    }
}

TEST(LookupGlyph, EveryCodeStaysInsideTheAtlas)
{
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        GlyphLocation g{-1, -1, -1};
        ASSERT_EQ(1, LookupGlyph(code, &g));
        ASSERT_TRUE(g.Plane >= 0 && g.Plane <= 3) << std::hex << code;
        ASSERT_TRUE(g.X >= 0 && g.X <= 496 && g.X % 16 == 0) << std::hex << code;
        ASSERT_TRUE(g.Y >= 0 && g.Y <= 928 && g.Y % 16 == 0) << std::hex << code;
    }
    // Only the low 16 bits of the code count.
    GlyphLocation high, low;
    LookupGlyph(0x1D6D0, &high);
    LookupGlyph(0xD6D0, &low);
    EXPECT_EQ(CellOf(low), CellOf(high));
}

}  // namespace
