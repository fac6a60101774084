// The larger Chinese glyphs: the characters of the installer's own texts at
// cell sizes above the atlas's 16 pixels, made by the build from an outline
// font (tools/payload/large_glyphs.py, which also describes the stream) and
// carried as TEXT resource IDR_LARGE_GLYPHS. At start-up the cells the
// screen's dpi asks for become one monochrome bitmap in a memory device
// context, enlarged by a whole number above the largest carried size; at
// 96 dpi the resource is not even read. Owns that bitmap and the codes.
#pragma once
#include <windows.h>

constexpr unsigned long LargeGlyphBufferSize = 524288;  // the inflated stream, with room
constexpr int LargeGlyphLimit = 2048;       // characters a stream may hold
constexpr int LargeGlyphSizeLimit = 8;      // cell sizes a stream may hold
constexpr int LargeGlyphsPerRow = 32;       // cells side by side in a plane

// One cell size of the inflated stream.
struct LargeGlyphPlane {
    int Size;                   // cell width and height in pixels
    int Baseline;               // the font's baseline: the top of this row of a cell
    const unsigned char* Bits;  // the plane's rows, as CreateBitmap takes them
};

// The inflated stream, read in place.
struct LargeGlyphStream {
    int Count;                          // characters
    const unsigned char* Codes;         // Count little-endian 16-bit codes, ascending
    int SizeCount;
    LargeGlyphPlane Planes[LargeGlyphSizeLimit];
};

// Makes the cells a screen of dpi asks for; at 96 dpi it reads nothing.
// 1 when larger cells are in use, 0 when the atlas's serve (also where the
// larger ones could not be made).
int LoadLargeGlyphs(int dpi);
void FreeLargeGlyphs();         // safe when nothing was loaded, and twice
// The side of a Chinese cell as it is drawn: the atlas's 16, or the larger
// size in use.
int ChineseCellSize();
// The baseline row of the larger cells in use.
int ChineseBaseline();
// The top-left corner of code's cell in LargeGlyphContext; 0 when no larger
// cell is in use or the texts had no such character.
int LargeGlyphCell(unsigned code, POINT* at);
HDC LargeGlyphContext();

// --- Pure parts, also used by the tests ---

// Reads the header of an inflated stream of length bytes. 1 when it holds
// at most LargeGlyphLimit codes, at most LargeGlyphSizeLimit sizes and every
// plane lies whole inside the stream.
int ReadLargeGlyphs(const unsigned char* data, unsigned long length, LargeGlyphStream* out);
// The bytes of a plane of cells of size pixels holding count characters.
unsigned long LargeGlyphPlaneBytes(int size, int count);
// Where code's cell is among count ascending codes (little-endian 16-bit
// values); -1 when it is not there.
int FindGlyphCode(const unsigned char* codes, int count, unsigned code);
// A 1-bit plane of width x height pixels (rows of width / 8 bytes, width a
// multiple of 16) with every pixel made factor x factor pixels, into out:
// rows of width x factor / 8 bytes, height x factor of them.
void EnlargePlane(const unsigned char* bits, int width, int height, int factor, unsigned char* out);
