// Helpers of the rendering tests: 24-bit pixel canvases, synthetic atlas
// modules and a small PNG writer for screenshots.
#pragma once
#include <windows.h>

#include <vector>

#include "tests/png_file.h"

// A memory device context over a top-down 24-bit DIB whose pixels the test reads.
struct Canvas {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Previous = nullptr;
    unsigned char* Bits = nullptr;
    int Width = 0, Height = 0, Stride = 0;

    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF colour);
};

// The cell bits of a 241,664-byte atlas image: true where the cell has ink.
bool AtlasInk(const std::vector<unsigned char>& atlas, unsigned code, int x, int y);

// A pseudo-random atlas image: every cell different, both polarities present.
std::vector<unsigned char> SyntheticAtlas();

// zlib stream of the bytes.
std::vector<unsigned char> Compress(const std::vector<unsigned char>& bytes);

// A copy of this test program whose TEXT resource 110 is stream (removed
// when stream is null), loaded as a data file. name must be unique.
HMODULE ModuleWithAtlas(const std::vector<unsigned char>* stream, const char* name);

// Captures a screen rectangle through the screen DC and writes it as PNG.
bool CaptureScreenPng(const char* path, const RECT& screenRect);
// <TARVO_BUILD>/screenshots/<name>, or the temp folder when unset.
void ScreenshotPath(char* out, const char* name);

// GDI objects of this process: GetGuiResources, or under Wine (where that
// call reports 0) the live entries of the process's GDI handle table.
int LiveGdiObjects();
