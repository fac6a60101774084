// Measuring and drawing MixedText: ASCII from the device context's font,
// double-byte GBK characters as 16x16 cells from the glyph atlas. Also the
// display-test line, the one text drawn with the system's own Chinese font.
#pragma once
#include <windows.h>

extern HFONT SampleFont;    // null when it cannot be created

SIZE MeasureMixedText(HDC dc, const char* text);
// selected: SRCPAINT for the Chinese cells instead of SRCAND.
SIZE DrawMixedText(HDC dc, int x, int y, const char* text, int selected);

int CreateSampleFont();     // sets SampleFont; returns 1
void DrawSampleText(HDC dc, int x, int y, const char* text, int length);
