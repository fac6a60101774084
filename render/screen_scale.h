// The screen's dots per inch, and the arithmetic that sizes what the
// installer draws itself for it. Every size of the painter (frames, gaps,
// check-box squares, list items, glyph cells) was made for 96 dpi and is
// that size scaled. Owns ScreenDpi, read once at start-up.
#pragma once

constexpr int BaseDpi = 96;         // the screen the painter's sizes were made for
constexpr int AtlasGlyphSize = 16;  // the glyph atlas's cells

// The screen's vertical dots per inch: BaseDpi until ReadScreenDpi.
extern int ScreenDpi;
// Reads it from the screen (GetDeviceCaps LOGPIXELSY, which every Win32
// system has; Vista to 11 report the real one to a program whose manifest
// declares itself DPI-aware, 96 to others) and returns it.
int ReadScreenDpi();

// --- Pure ---

// A size in pixels at 96 dpi as it is at dpi, rounded half up.
int ScaledPixels(int pixels, int dpi);
// The width of a frame line drawn 1 pixel wide at 96 dpi; at least 1.
int LineWidth(int dpi);

// The Chinese cells at a dpi: a carried cell size and the whole number it is
// enlarged by.
struct GlyphScale {
    int Size;       // the atlas's 16 or one of the carried larger sizes
    int Factor;     // 1, or more above the largest carried size
};
// The product closest to 16 x dpi / 96 pixels without exceeding it, from the
// atlas's 16 and the count carried sizes; of equal products the one with the
// smaller factor. Below 16 pixels the atlas's 16.
GlyphScale ChooseGlyphScale(int dpi, const int* sizes, int count);
// 1 when a screen of dpi asks for cells larger than the atlas's: only then
// are the larger glyphs read at all.
int WantsLargerGlyphs(int dpi);
// How far below a Chinese cell's top the ASCII text beside it starts: the
// atlas's cells keep the one pixel they have always had at 96 dpi; a larger
// cell puts the font's ascent on the cell's baseline row, so that the ASCII
// text stands on the glyphs' baseline.
int TextTopInCell(int cellSize, int baselineRow, int ascent);
