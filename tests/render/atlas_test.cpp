// The atlas built from resource 110 and the pixels of mixed text: every
// atlas here is a synthetic one written into a copy of this program, so that
// each cell's bits are known.
#include <gtest/gtest.h>

#include "render/atlas.h"
#include "render/mixed_text.h"
#include "shell/environment.h"
#include "shell/process_state.h"
#include "test_support.h"

namespace {

const std::vector<unsigned char>& TestAtlas()
{
    static const std::vector<unsigned char> atlas = SyntheticAtlas();
    return atlas;
}

class AtlasTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::vector<unsigned char> stream = Compress(TestAtlas());
        Module = ModuleWithAtlas(&stream, "render_atlas_full.dll");
    }
    static void TearDownTestSuite()
    {
        FreeGlyphAtlas();
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, Module);
        AppInstance = Module;
        ASSERT_EQ(AtlasOk, LoadGlyphAtlas());
    }

    static HMODULE Module;
};

HMODULE AtlasTest::Module;

void ExpectNoPlanes()
{
    for (int k = 0; k < AtlasPlanes; ++k)
        EXPECT_EQ(nullptr, GlyphPlaneContext(k)) << k;
}

TEST(AtlasLoad, MissingOrOversizeResourceLeavesNoPlane)
{
    HMODULE missing = ModuleWithAtlas(nullptr, "render_atlas_missing.dll");
    ASSERT_NE(nullptr, missing);
    AppInstance = missing;
    EXPECT_EQ(AtlasInflateFailed, LoadGlyphAtlas());
    ExpectNoPlanes();

    std::vector<unsigned char> big(AtlasBufferSize + 1, 0xFF);
    const std::vector<unsigned char> bigStream = Compress(big);
    HMODULE oversize = ModuleWithAtlas(&bigStream, "render_atlas_oversize.dll");
    ASSERT_NE(nullptr, oversize);
    AppInstance = oversize;
    EXPECT_EQ(AtlasInflateFailed, LoadGlyphAtlas());
    ExpectNoPlanes();

    // A damaged stream fails the same way.
    std::vector<unsigned char> damaged = Compress(SyntheticAtlas());
    damaged[damaged.size() / 2] ^= 0x55;
    damaged.resize(damaged.size() - 8);
    HMODULE broken = ModuleWithAtlas(&damaged, "render_atlas_damaged.dll");
    ASSERT_NE(nullptr, broken);
    AppInstance = broken;
    EXPECT_EQ(AtlasInflateFailed, LoadGlyphAtlas());
    ExpectNoPlanes();
}

TEST(AtlasLoad, ShortResourceIsAcceptedAndFreeIsRepeatable)
{
    std::vector<unsigned char> few(1000, 0xFF);
    const std::vector<unsigned char> stream = Compress(few);
    HMODULE shortModule = ModuleWithAtlas(&stream, "render_atlas_short.dll");
    ASSERT_NE(nullptr, shortModule);
    AppInstance = shortModule;
    ASSERT_EQ(AtlasOk, LoadGlyphAtlas());
    for (int k = 0; k < AtlasPlanes; ++k)
        EXPECT_NE(nullptr, GlyphPlaneContext(k)) << k;
    EXPECT_EQ(nullptr, GlyphPlaneContext(4));
    EXPECT_EQ(nullptr, GlyphPlaneContext(-1));
    // A second load replaces the planes; freeing twice is harmless.
    ASSERT_EQ(AtlasOk, LoadGlyphAtlas());
    FreeGlyphAtlas();
    ExpectNoPlanes();
    FreeGlyphAtlas();
    ExpectNoPlanes();
}

TEST_F(AtlasTest, PlanesHoldTheResourceBits)
{
    // Every cell of every plane, read back through a colour copy.
    Canvas canvas(AtlasPlaneWidth, AtlasPlaneHeight, RGB(255, 255, 255));
    for (int k = 0; k < AtlasPlanes; ++k) {
        SetTextColor(canvas.Dc, RGB(0, 0, 0));
        SetBkColor(canvas.Dc, RGB(255, 255, 255));
        BitBlt(canvas.Dc, 0, 0, AtlasPlaneWidth, AtlasPlaneHeight, GlyphPlaneContext(k), 0, 0, SRCCOPY);
        int wrong = 0;
        for (int y = 0; y < AtlasPlaneHeight; ++y)
            for (int x = 0; x < AtlasPlaneWidth; ++x) {
                const unsigned char byte = TestAtlas()[k * AtlasPlaneBytes + y * 64 + x / 8];
                const bool ink = (byte & (0x80 >> (x % 8))) == 0;
                wrong += canvas.Pixel(x, y) != (ink ? RGB(0, 0, 0) : RGB(255, 255, 255));
            }
        EXPECT_EQ(0, wrong) << "plane " << k;
    }
}

// Mismatching pixels of the 16x16 cell of code drawn at (x0, y0).
int CellMismatches(const Canvas& c, int x0, int y0, unsigned code, COLORREF ink, COLORREF paper)
{
    int wrong = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            wrong += c.Pixel(x0 + x, y0 + y) != (AtlasInk(TestAtlas(), code, x, y) ? ink : paper);
    return wrong;
}

TEST_F(AtlasTest, ChineseCellsAreTheirAtlasCells)
{
    Canvas c(200, 40, RGB(255, 255, 255));
    SetTextColor(c.Dc, RGB(0, 0, 0));
    SetBkColor(c.Dc, RGB(255, 255, 255));
    const SIZE drawn = DrawMixedText(c.Dc, 5, 7, "中文\xE9\x46\xA9\xA4");
    EXPECT_EQ(64, drawn.cx);
    EXPECT_EQ(16, drawn.cy);
    EXPECT_EQ(0, CellMismatches(c, 5, 7, 0xD6D0, RGB(0, 0, 0), RGB(255, 255, 255)));
    EXPECT_EQ(0, CellMismatches(c, 21, 7, 0xCEC4, RGB(0, 0, 0), RGB(255, 255, 255)));
    EXPECT_EQ(0, CellMismatches(c, 37, 7, 0xE946, RGB(0, 0, 0), RGB(255, 255, 255)));
    EXPECT_EQ(0, CellMismatches(c, 53, 7, 0xA9A4, RGB(0, 0, 0), RGB(255, 255, 255)));
    // Nothing outside the cells is touched.
    for (int x = 0; x < 200; ++x) {
        EXPECT_EQ(RGB(255, 255, 255), c.Pixel(x, 6));
        EXPECT_EQ(RGB(255, 255, 255), c.Pixel(x, 23));
    }
    EXPECT_EQ(RGB(255, 255, 255), c.Pixel(4, 10));
    EXPECT_EQ(RGB(255, 255, 255), c.Pixel(69, 10));

    // Over a coloured background the paper keeps the background.
    Canvas grey(40, 20, RGB(192, 192, 192));
    SetTextColor(grey.Dc, RGB(0, 0, 0));
    SetBkColor(grey.Dc, RGB(255, 255, 255));
    DrawMixedText(grey.Dc, 0, 0, "装");
    EXPECT_EQ(0, CellMismatches(grey, 0, 0, 0xD7B0, RGB(0, 0, 0), RGB(192, 192, 192)));
}

// The strokes take the text colour over any face, a light one on black too
// (a high-contrast scheme), where ANDing the cells in would leave black; the
// paper keeps the face whatever the background colour, and the context
// keeps its colours.
TEST_F(AtlasTest, CellsTakeTheTextColourOverAnyFace)
{
    for (const COLORREF face : {RGB(0, 0, 0), GetSysColor(COLOR_HIGHLIGHT)}) {
        const COLORREF ink = face ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(255, 255, 0);
        Canvas c(60, 20, face);
        SetTextColor(c.Dc, ink);
        SetBkColor(c.Dc, RGB(1, 2, 3));
        DrawMixedText(c.Dc, 2, 2, "安装");
        EXPECT_EQ(0, CellMismatches(c, 2, 2, 0xB0B2, ink, face));
        EXPECT_EQ(0, CellMismatches(c, 18, 2, 0xD7B0, ink, face));
        EXPECT_EQ(ink, GetTextColor(c.Dc));
        EXPECT_EQ(RGB(1, 2, 3), GetBkColor(c.Dc));
    }
}

TEST_F(AtlasTest, AsciiSitsOnePixelBelowTheCellsAndWidthsAgree)
{
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Canvas mixed(200, 30, RGB(255, 255, 255));
    Canvas reference(200, 30, RGB(255, 255, 255));
    for (Canvas* c : {&mixed, &reference}) {
        SelectObject(c->Dc, font);
        SetTextColor(c->Dc, RGB(0, 0, 0));
        SetBkColor(c->Dc, RGB(255, 255, 255));
    }
    const char* text = "取消 Cancel";
    const SIZE measured = MeasureMixedText(mixed.Dc, text);
    const SIZE drawn = DrawMixedText(mixed.Dc, 3, 5, text);
    EXPECT_EQ(measured.cx, drawn.cx);
    EXPECT_EQ(16, measured.cy);
    SIZE cancel;
    GetTextExtentPointA(reference.Dc, " Cancel", 7, &cancel);
    int perChar = 0;
    for (const char* p = " Cancel"; *p; ++p) {
        SIZE one;
        GetTextExtentPointA(reference.Dc, p, 1, &one);
        perChar += one.cx;
    }
    EXPECT_EQ(32 + perChar, measured.cx);
    // The reference: the ASCII run one character at a time, one pixel lower.
    SetBkMode(reference.Dc, TRANSPARENT);
    int x = 3 + 32;
    for (const char* p = " Cancel"; *p; ++p) {
        TextOutA(reference.Dc, x, 6, p, 1);
        SIZE one;
        GetTextExtentPointA(reference.Dc, p, 1, &one);
        x += one.cx;
    }
    int differences = 0, inkRows = 0;
    for (int y = 0; y < 30; ++y) {
        bool rowInk = false;
        for (int px = 35; px < 200; ++px) {
            differences += mixed.Pixel(px, y) != reference.Pixel(px, y);
            rowInk |= mixed.Pixel(px, y) != RGB(255, 255, 255);
        }
        inkRows += rowInk;
    }
    EXPECT_EQ(0, differences);
    EXPECT_GT(inkRows, 4);  // the ASCII really was drawn
    // Drawn at the same y as the cells, the text would differ.
    Canvas high(200, 30, RGB(255, 255, 255));
    SelectObject(high.Dc, font);
    SetBkMode(high.Dc, TRANSPARENT);
    TextOutA(high.Dc, 35, 5, " Cancel", 7);
    int shifted = 0;
    for (int y = 0; y < 30; ++y)
        for (int px = 35; px < 200; ++px)
            shifted += high.Pixel(px, y) != reference.Pixel(px, y);
    EXPECT_GT(shifted, 0);
    for (Canvas* c : {&mixed, &reference, &high})
        SelectObject(c->Dc, GetStockObject(SYSTEM_FONT));
}

TEST_F(AtlasTest, LoneLeadBytesAndEmptyText)
{
    Canvas c(60, 20, RGB(255, 255, 255));
    SetBkMode(c.Dc, OPAQUE);
    SIZE s = DrawMixedText(c.Dc, 0, 0, "");
    EXPECT_EQ(0, s.cx);
    EXPECT_EQ(16, s.cy);
    EXPECT_EQ(OPAQUE, GetBkMode(c.Dc));  // set and restored
    EXPECT_EQ(0, MeasureMixedText(c.Dc, "").cx);
    EXPECT_EQ(16, MeasureMixedText(c.Dc, "").cy);

    // A lone lead byte pairs with the NUL: the cell of 0xD600, then stop.
    EXPECT_EQ(16, MeasureMixedText(c.Dc, "\xD6").cx);
    s = DrawMixedText(c.Dc, 0, 0, "\xD6");
    EXPECT_EQ(16, s.cx);
    EXPECT_EQ(0, CellMismatches(c, 0, 0, 0xD600, RGB(0, 0, 0), RGB(255, 255, 255)));
    for (int x = 16; x < 60; ++x)
        for (int y = 0; y < 20; ++y)
            ASSERT_EQ(RGB(255, 255, 255), c.Pixel(x, y));

    // 0x80 swallows the "A" that follows it as its trail byte.
    c.Fill(RGB(255, 255, 255));
    EXPECT_EQ(16, MeasureMixedText(c.Dc, "\x80" "A").cx);
    EXPECT_EQ(16, DrawMixedText(c.Dc, 0, 0, "\x80" "A").cx);
    EXPECT_EQ(0, CellMismatches(c, 0, 0, 0x8041, RGB(0, 0, 0), RGB(255, 255, 255)));
}

TEST(SampleText, NtPassesBytesAndNineXConverts)
{
    CreateSampleFont();
    ASSERT_NE(nullptr, SampleFont);
    LOGFONTA font;
    ASSERT_EQ(static_cast<int>(sizeof font), GetObjectA(SampleFont, sizeof font, &font));
    EXPECT_STREQ("Courier New", font.lfFaceName);
    EXPECT_EQ(16, font.lfHeight);
    EXPECT_EQ(8, font.lfWidth);
    EXPECT_EQ(GB2312_CHARSET, font.lfCharSet);
    EXPECT_EQ(FIXED_PITCH | FF_MODERN, font.lfPitchAndFamily);

    const char* line = "日出江花红胜火";
    ASSERT_EQ(14, lstrlenA(line));
    WCHAR wide[16];
    ASSERT_EQ(7, MultiByteToWideChar(936, 0, line, 14, wide, 16));
    EXPECT_EQ(0x65E5, wide[0]);  // 日

    auto render = [&](Canvas& c) {
        SelectObject(c.Dc, SampleFont);
        SetTextColor(c.Dc, RGB(0, 0, 0));
    };
    Canvas nt(300, 24, RGB(255, 255, 255)), ninex(300, 24, RGB(255, 255, 255));
    Canvas bytes(300, 24, RGB(255, 255, 255)), units(300, 24, RGB(255, 255, 255));
    for (Canvas* c : {&nt, &ninex, &bytes, &units})
        render(*c);
    const OperatingSystemInfo saved = OsInfo;
    OsInfo.IsNt = 1;
    DrawSampleText(nt.Dc, 2, 2, line, 14);
    OsInfo.IsNt = 0;
    DrawSampleText(ninex.Dc, 2, 2, line, 14);
    OsInfo = saved;
    TextOutA(bytes.Dc, 2, 2, line, 14);
    TextOutW(units.Dc, 2, 2, wide, 7);
    int ntDiff = 0, ninexDiff = 0, between = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 300; ++x) {
            ntDiff += nt.Pixel(x, y) != bytes.Pixel(x, y);
            ninexDiff += ninex.Pixel(x, y) != units.Pixel(x, y);
            between += bytes.Pixel(x, y) != units.Pixel(x, y);
        }
    EXPECT_EQ(0, ntDiff);
    EXPECT_EQ(0, ninexDiff);
    EXPECT_GT(between, 0);  // the two paths are told apart
    for (Canvas* c : {&nt, &ninex, &bytes, &units})
        SelectObject(c->Dc, GetStockObject(SYSTEM_FONT));
}

}  // namespace
