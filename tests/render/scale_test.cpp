// Drawing at the screen's dpi: which Chinese cells a dpi gets, the stream of
// the larger glyphs, and the shipped glyphs drawn in a memory context.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/large_glyphs.h"
#include "render/mixed_text.h"
#include "render/screen_scale.h"
#include "shell/process_state.h"
#include "tests/render/test_support.h"

namespace {

TEST(ScreenScale, CellsOfEachDpi)
{
    const int carried[] = {20, 24, 28, 32};
    const struct { int Dpi, Size, Factor; } table[] = {
        {72, 16, 1}, {96, 16, 1}, {110, 16, 1}, {120, 20, 1}, {144, 24, 1}, {168, 28, 1},
        {192, 32, 1}, {216, 32, 1}, {240, 20, 2}, {288, 24, 2}, {384, 32, 2}};
    for (const auto& row : table) {
        const GlyphScale scale = ChooseGlyphScale(row.Dpi, carried, 4);
        EXPECT_EQ(row.Size, scale.Size) << row.Dpi << " dpi";
        EXPECT_EQ(row.Factor, scale.Factor) << row.Dpi << " dpi";
        EXPECT_EQ(row.Dpi > 96, WantsLargerGlyphs(row.Dpi)) << row.Dpi << " dpi";
    }
    // Frames one pixel wide at 125 %, two at 150 %; ASCII one pixel below an
    // atlas cell, on a larger cell's baseline.
    EXPECT_EQ(1, LineWidth(120));
    EXPECT_EQ(2, LineWidth(144));
    EXPECT_EQ(1, TextTopInCell(16, 27, 19));
    EXPECT_EQ(8, TextTopInCell(32, 27, 19));
}

// Two codes at one size of 16 pixels: a plane of one cell row, 512 x 16
// pixels, 1024 bytes; its length as the header states it.
std::vector<unsigned char> Stream(unsigned stated)
{
    std::vector<unsigned char> s = {2, 0, 1, 0, 0xB2, 0xB0, 0xB0, 0xD7, 16, 0, 14, 0, 20, 0, 0, 0,
                                    static_cast<unsigned char>(stated), static_cast<unsigned char>(stated >> 8),
                                    0, 0};
    s.resize(20 + 1024, 0xFF);
    return s;
}

TEST(LargeGlyphs, StreamAndCodes)
{
    LargeGlyphStream stream;
    std::vector<unsigned char> good = Stream(1024);
    ASSERT_EQ(1, ReadLargeGlyphs(good.data(), good.size(), &stream));
    EXPECT_EQ(2, stream.Count);
    EXPECT_EQ(16, stream.Planes[0].Size);
    EXPECT_EQ(14, stream.Planes[0].Baseline);
    EXPECT_EQ(good.data() + 20, stream.Planes[0].Bits);
    EXPECT_EQ(0, FindGlyphCode(stream.Codes, 2, 0xB0B2));     // 安
    EXPECT_EQ(1, FindGlyphCode(stream.Codes, 2, 0xD7B0));     // 装
    EXPECT_EQ(-1, FindGlyphCode(stream.Codes, 2, 0xB0B3));
    // A plane not of its size and count, or past the end, is refused.
    std::vector<unsigned char> wrong = Stream(1024 + 16);
    EXPECT_EQ(0, ReadLargeGlyphs(wrong.data(), wrong.size(), &stream));
    EXPECT_EQ(0, ReadLargeGlyphs(good.data(), good.size() - 1, &stream));
}

// The ink of what DrawMixedText draws at (8, 8) on white.
RECT InkOfText(const char* text)
{
    Canvas canvas(200, 100, RGB(255, 255, 255));
    HGDIOBJ font = SelectObject(canvas.Dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawMixedText(canvas.Dc, 8, 8, text);
    SelectObject(canvas.Dc, font);
    RECT ink = {200, 100, -1, -1};
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (canvas.Pixel(x, y) != RGB(255, 255, 255)) {
                ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                           std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
            }
    return ink;
}

// The shipped stream of this build: nothing at 96 dpi, the cells of 24
// pixels at 144, those cells enlarged pixel for pixel at 288 (EnlargePlane),
// and ASCII on the cells' baseline.
TEST(LargeGlyphs, ShippedCellsAtEachScale)
{
    AppInstance = GetModuleHandleA(nullptr);
    EXPECT_EQ(0, LoadLargeGlyphs(96));
    EXPECT_EQ(16, ChineseCellSize());
    ASSERT_EQ(1, LoadLargeGlyphs(144));
    EXPECT_EQ(24, ChineseCellSize());
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(24, MeasureMixedText(screen, "安").cy);
    ReleaseDC(nullptr, screen);
    POINT at;
    EXPECT_EQ(1, LargeGlyphCell(0xB0B2, &at));     // 安, a character of the texts
    EXPECT_EQ(0, LargeGlyphCell(0xFDFD, &at));     // 龘, of none
    const RECT at144 = InkOfText("安");
    EXPECT_GE(at144.bottom - at144.top, 21);
    ASSERT_EQ(1, LoadLargeGlyphs(288));
    EXPECT_EQ(48, ChineseCellSize());
    const RECT at288 = InkOfText("安");
    EXPECT_EQ(2 * (at144.left - 8), at288.left - 8);
    EXPECT_EQ(2 * (at144.top - 8), at288.top - 8);
    EXPECT_EQ(2 * (at144.right - 8), at288.right - 8);
    EXPECT_EQ(2 * (at144.bottom - 8), at288.bottom - 8);
    // "A" alone: its bottom on the cells' baseline row.
    ASSERT_EQ(1, LoadLargeGlyphs(192));
    EXPECT_EQ(8 + ChineseBaseline(), InkOfText("A").bottom);
    FreeLargeGlyphs();
    EXPECT_EQ(16, ChineseCellSize());
}

}  // namespace
