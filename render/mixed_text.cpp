// MixedText: a byte with its top bit set starts a GBK character drawn as a
// 16x16 atlas cell; every other byte is an ASCII character in the device
// context's font, drawn one pixel lower so that both sit on one line.
#include "render/mixed_text.h"

#include "render/atlas.h"
#include "shell/environment.h"

HFONT SampleFont;

namespace {

constexpr int GlyphSize = 16;

// The advance of one single-byte character; 0 when the query fails, so that
// measuring and drawing always agree.
int CharAdvance(HDC dc, const char* ch)
{
    SIZE extent;
    return GetTextExtentPointA(dc, ch, 1, &extent) ? extent.cx : 0;
}

// One atlas cell in the ink colour, its paper leaving what lies beneath. A
// monochrome blit paints ink in the text colour and paper in the background
// colour, and one raster operation cannot do both here: SRCAND can only
// darken, so a light ink on a dark face (a high-contrast scheme) would not
// show. First SRCAND with black ink on white paper blackens the strokes and
// keeps the rest; then SRCPAINT with the ink on black paper ORs the ink into
// the blackened strokes and keeps the rest again. Black ink needs only the
// first.
void DrawGlyph(HDC dc, int x, int y, unsigned code, COLORREF ink)
{
    GlyphLocation cell;
    LookupGlyph(code, &cell);
    HDC plane = GlyphPlaneContext(cell.Plane);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, GlyphSize, GlyphSize, plane, cell.X, cell.Y, SRCAND);
    if (ink & 0xFFFFFF) {
        SetTextColor(dc, ink);
        SetBkColor(dc, RGB(0, 0, 0));
        BitBlt(dc, x, y, GlyphSize, GlyphSize, plane, cell.X, cell.Y, SRCPAINT);
    }
    SetTextColor(dc, ink);
}

// Kept for the whole run: painting must not allocate, and painting is never
// nested, so one buffer serves every call.
WCHAR SampleBuffer[600];

}  // namespace

SIZE MeasureMixedText(HDC dc, const char* text)
{
    const int n = lstrlenA(text);
    int width = 0;
    for (int i = 0; i < n;) {
        if (static_cast<unsigned char>(text[i]) & 0x80) {
            width += GlyphSize;
            i += 2;     // the trail byte is not examined
        } else {
            width += CharAdvance(dc, text + i);
            i += 1;
        }
    }
    return SIZE{width, GlyphSize};
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
            advance = GlyphSize;
        } else {
            advance = CharAdvance(dc, text + i);
            TextOutA(dc, px, y + 1, text + i, 1);
        }
        total += advance;
        px += advance;
    }
    SetBkColor(dc, background);
    SetBkMode(dc, previousMode);
    return SIZE{total, GlyphSize};
}

int CreateSampleFont()
{
    LOGFONTA font = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    lstrcpynA(font.lfFaceName, "Courier New", LF_FACESIZE);
    font.lfHeight = 16;
    font.lfWidth = 8;
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
