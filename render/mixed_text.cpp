// MixedText: a byte with its top bit set starts a GBK character drawn as a
// Chinese cell, 16x16 from the atlas at 96 dpi, larger above it; every other
// byte is an ASCII character in the device context's font, drawn where it
// stands on the same line (one pixel lower than an atlas cell, on a larger
// cell's baseline).
#include "render/mixed_text.h"

#include "render/atlas.h"
#include "render/large_glyphs.h"
#include "render/screen_scale.h"
#include "shell/environment.h"

HFONT SampleFont;

namespace {

// The advance of one single-byte character; 0 when the query fails, so that
// measuring and drawing always agree.
int CharAdvance(HDC dc, const char* ch)
{
    SIZE extent;
    return GetTextExtentPointA(dc, ch, 1, &extent) ? extent.cx : 0;
}

// One monochrome cell in the ink colour, its paper leaving what lies
// beneath. A monochrome blit paints ink in the text colour and paper in the
// background colour, and one raster operation cannot do both here: SRCAND
// can only darken, so a light ink on a dark face (a high-contrast scheme)
// would not show. First SRCAND with black ink on white paper blackens the
// strokes and keeps the rest; then SRCPAINT with the ink on black paper ORs
// the ink into the blackened strokes and keeps the rest again. Black ink
// needs only the first.
void BlitCell(HDC dc, int x, int y, int size, HDC plane, int px, int py, COLORREF ink)
{
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, size, size, plane, px, py, SRCAND);
    if (ink & 0xFFFFFF) {
        SetTextColor(dc, ink);
        SetBkColor(dc, RGB(0, 0, 0));
        BitBlt(dc, x, y, size, size, plane, px, py, SRCPAINT);
    }
    SetTextColor(dc, ink);
}

// A character's cell: the larger one where the screen asks for it and the
// texts have the character; else the atlas's, centred in a larger cell (a
// character of a path the user typed).
void DrawGlyph(HDC dc, int x, int y, unsigned code, COLORREF ink)
{
    const int size = ChineseCellSize();
    POINT large;
    if (size != AtlasGlyphSize && LargeGlyphCell(code, &large)) {
        BlitCell(dc, x, y, size, LargeGlyphContext(), large.x, large.y, ink);
        return;
    }
    GlyphLocation cell;
    LookupGlyph(code, &cell);
    const int margin = (size - AtlasGlyphSize) / 2;
    BlitCell(dc, x + margin, y + margin, AtlasGlyphSize, GlyphPlaneContext(cell.Plane), cell.X, cell.Y,
             ink);
}

// Kept for the whole run: painting must not allocate, and painting is never
// nested, so one buffer serves every call.
WCHAR SampleBuffer[600];

}  // namespace

int MixedTextTop(HDC dc)
{
    const int size = ChineseCellSize();
    TEXTMETRICA metrics;
    if (size == AtlasGlyphSize || !GetTextMetricsA(dc, &metrics))
        return TextTopInCell(size, 0, 0);
    return TextTopInCell(size, ChineseBaseline(), metrics.tmAscent);
}

SIZE MeasureMixedText(HDC dc, const char* text)
{
    const int n = lstrlenA(text);
    const int cell = ChineseCellSize();
    int width = 0;
    for (int i = 0; i < n;) {
        if (static_cast<unsigned char>(text[i]) & 0x80) {
            width += cell;
            i += 2;     // the trail byte is not examined
        } else {
            width += CharAdvance(dc, text + i);
            i += 1;
        }
    }
    return SIZE{width, cell};
}

SIZE DrawMixedText(HDC dc, int x, int y, const char* text)
{
    const int n = lstrlenA(text);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    // The caller's colours, read from the calls that replace them, which the
    // installer imports anyway (its import list is checked for old systems).
    const COLORREF ink = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF background = SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, ink);
    const int cell = ChineseCellSize();
    const int textY = y + MixedTextTop(dc);
    int px = x;
    int total = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int advance;
        if (b & 0x80) {
            // A lone lead byte at the end pairs with the NUL; the loop then
            // stops because i has passed n.
            ++i;
            DrawGlyph(dc, px, y, b * 256u + static_cast<unsigned char>(text[i]), ink);
            advance = cell;
        } else {
            advance = CharAdvance(dc, text + i);
            TextOutA(dc, px, textY, text + i, 1);
        }
        total += advance;
        px += advance;
    }
    SetBkColor(dc, background);
    SetBkMode(dc, previousMode);
    return SIZE{total, cell};
}

int CreateSampleFont()
{
    LOGFONTA font = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    lstrcpynA(font.lfFaceName, "Courier New", LF_FACESIZE);
    font.lfHeight = ScaledPixels(16, ScreenDpi);
    font.lfWidth = ScaledPixels(8, ScreenDpi);
    font.lfWeight = FW_NORMAL;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    font.lfCharSet = GB2312_CHARSET;
    SampleFont = CreateFontIndirectA(&font);
    return 1;
}

void DrawSampleText(HDC dc, int x, int y, const char* text, int length)
{
    if (OsInfo.IsNt) {
        TextOutA(dc, x, y, text, length);
        return;
    }
    // The 9x family draws narrow text in the ANSI code page; the line is GBK,
    // so it goes through UTF-16 explicitly.
    const int units = MultiByteToWideChar(GbkCodePage, 0, text, length, SampleBuffer,
                                          static_cast<int>(sizeof SampleBuffer / sizeof SampleBuffer[0]));
    if (units > 0)
        TextOutW(dc, x, y, SampleBuffer, units);
}
