// Measuring and drawing MixedText: ASCII from the device context's font,
// double-byte GBK characters as 16x16 cells from the glyph atlas. Also the
// display-test line, the one text drawn with the system's own Chinese font.
#pragma once
#include <windows.h>

extern HFONT SampleFont;    // null when it cannot be created

SIZE MeasureMixedText(HDC dc, const char* text);
// Chinese and ASCII alike in the context's text colour, over whatever lies
// beneath (the context's background colour plays no part; it and the text
// colour are as before afterwards).
SIZE DrawMixedText(HDC dc, int x, int y, const char* text);

int CreateSampleFont();     // sets SampleFont; returns 1
void DrawSampleText(HDC dc, int x, int y, const char* text, int length);
