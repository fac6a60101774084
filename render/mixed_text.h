// Measuring and drawing MixedText: ASCII from the device context's font,
// double-byte GBK characters as square Chinese cells: 16x16 from the glyph
// atlas, or the larger ones the screen's dpi asks for (render/large_glyphs.h).
// Also the display-test line, the one text drawn with the system's own
// Chinese font.
#pragma once
#include <windows.h>

extern HFONT SampleFont;    // null when it cannot be created

// How far below the Chinese cells' top the context's ASCII characters start:
// one pixel beside the atlas's cells, on the glyphs' baseline beside larger
// ones.
int MixedTextTop(HDC dc);
// The height is the Chinese cell's side, whatever the text holds.
SIZE MeasureMixedText(HDC dc, const char* text);
// Chinese and ASCII alike in the context's text colour, over whatever lies
// beneath (the context's background colour plays no part; it and the text
// colour are as before afterwards).
SIZE DrawMixedText(HDC dc, int x, int y, const char* text);

// Sets SampleFont, 16 pixels high at 96 dpi and scaled with the screen's;
// returns 1.
int CreateSampleFont();
void DrawSampleText(HDC dc, int x, int y, const char* text, int length);
