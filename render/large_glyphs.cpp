// The larger Chinese glyphs: the stream of TEXT resource IDR_LARGE_GLYPHS
// read in place, the cells of the screen's size turned into one bitmap for
// the whole run, and the lookup of a code's cell.
#include "render/large_glyphs.h"

#include "install/payload.h"
#include "render/screen_scale.h"
#include "resources/resource_ids.h"

namespace {

// The cells in use; Size 0 while the atlas serves.
struct LargeGlyphSet {
    HBITMAP Bitmap;
    HDC Context;
    HGDIOBJ Previous;   // what the context held before the bitmap
    int Size, Baseline;
    int Count;
    unsigned char Codes[2 * LargeGlyphLimit];
};

LargeGlyphSet Glyphs;

unsigned ReadWord(const unsigned char* p)
{
    return p[0] | p[1] << 8;
}

unsigned long ReadLong(const unsigned char* p)
{
    return ReadWord(p) | static_cast<unsigned long>(ReadWord(p + 2)) << 16;
}

void* Allocate(unsigned long size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void Release(void* block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

// The bitmap of a plane of cells, selected into a context of its own.
int MakeBitmap(const unsigned char* bits, int width, int height)
{
    Glyphs.Bitmap = CreateBitmap(width, height, 1, 1, bits);
    HDC screen = GetDC(nullptr);
    Glyphs.Context = Glyphs.Bitmap ? CreateCompatibleDC(screen) : nullptr;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (!Glyphs.Context)
        return 0;
    Glyphs.Previous = SelectObject(Glyphs.Context, Glyphs.Bitmap);
    return 1;
}

// One plane of the stream, enlarged by factor, as the cells in use.
int UsePlane(const LargeGlyphStream& stream, const LargeGlyphPlane& plane, int factor)
{
    const int width = LargeGlyphsPerRow * plane.Size;
    const int height = (stream.Count + LargeGlyphsPerRow - 1) / LargeGlyphsPerRow * plane.Size;
    int made;
    if (factor == 1) {
        made = MakeBitmap(plane.Bits, width, height);
    } else {
        unsigned char* enlarged = static_cast<unsigned char*>(
            Allocate(LargeGlyphPlaneBytes(plane.Size, stream.Count) * factor * factor));
        made = enlarged != nullptr;
        if (made) {
            EnlargePlane(plane.Bits, width, height, factor, enlarged);
            made = MakeBitmap(enlarged, width * factor, height * factor);
        }
        Release(enlarged);
    }
    if (!made)
        return 0;
    Glyphs.Size = plane.Size * factor;
    Glyphs.Baseline = plane.Baseline * factor;
    Glyphs.Count = stream.Count;
    for (int i = 0; i < 2 * stream.Count; ++i)
        Glyphs.Codes[i] = stream.Codes[i];
    return 1;
}

}  // namespace

int LoadLargeGlyphs(int dpi)
{
    FreeLargeGlyphs();
    if (!WantsLargerGlyphs(dpi))
        return 0;
    unsigned char* buffer = static_cast<unsigned char*>(Allocate(LargeGlyphBufferSize));
    if (!buffer)
        return 0;
    // Whatever fails, the atlas's cells serve: smaller, but every character
    // is there.
    unsigned long length = 0;
    LargeGlyphStream stream;
    int used = 0;
    if (InflateResource(IDR_LARGE_GLYPHS, buffer, LargeGlyphBufferSize, &length) == 0 &&
        ReadLargeGlyphs(buffer, length, &stream)) {
        int sizes[LargeGlyphSizeLimit];
        for (int i = 0; i < stream.SizeCount; ++i)
            sizes[i] = stream.Planes[i].Size;
        const GlyphScale scale = ChooseGlyphScale(dpi, sizes, stream.SizeCount);
        for (int i = 0; i < stream.SizeCount && !used; ++i)
            if (stream.Planes[i].Size == scale.Size)
                used = UsePlane(stream, stream.Planes[i], scale.Factor);
    }
    Release(buffer);    // the bitmap keeps its own copy of the bits
    if (!used)
        FreeLargeGlyphs();
    return used;
}

void FreeLargeGlyphs()
{
    if (Glyphs.Context) {
        if (Glyphs.Previous)
            SelectObject(Glyphs.Context, Glyphs.Previous);
        DeleteDC(Glyphs.Context);
    }
    if (Glyphs.Bitmap)
        DeleteObject(Glyphs.Bitmap);
    Glyphs.Bitmap = nullptr;
    Glyphs.Context = nullptr;
    Glyphs.Previous = nullptr;
    Glyphs.Size = Glyphs.Baseline = Glyphs.Count = 0;
}

int ChineseCellSize()
{
    return Glyphs.Size ? Glyphs.Size : AtlasGlyphSize;
}

int ChineseBaseline()
{
    return Glyphs.Baseline;
}

int LargeGlyphCell(unsigned code, POINT* at)
{
    if (!Glyphs.Size)
        return 0;
    const int k = FindGlyphCode(Glyphs.Codes, Glyphs.Count, code);
    if (k < 0)
        return 0;
    at->x = k % LargeGlyphsPerRow * Glyphs.Size;
    at->y = k / LargeGlyphsPerRow * Glyphs.Size;
    return 1;
}

HDC LargeGlyphContext()
{
    return Glyphs.Context;
}

unsigned long LargeGlyphPlaneBytes(int size, int count)
{
    const unsigned long rowBytes = LargeGlyphsPerRow * size / 8;
    const unsigned long cellRows = (count + LargeGlyphsPerRow - 1) / LargeGlyphsPerRow;
    return rowBytes * cellRows * size;
}

int ReadLargeGlyphs(const unsigned char* data, unsigned long length, LargeGlyphStream* out)
{
    if (length < 4)
        return 0;
    out->Count = ReadWord(data);
    out->SizeCount = ReadWord(data + 2);
    out->Codes = data + 4;
    if (out->Count > LargeGlyphLimit || out->SizeCount > LargeGlyphSizeLimit)
        return 0;
    unsigned long at = 4 + 2 * out->Count;
    at += (4 - at % 4) % 4;
    if (at + 12ul * out->SizeCount > length)
        return 0;
    for (int i = 0; i < out->SizeCount; ++i, at += 12) {
        LargeGlyphPlane& plane = out->Planes[i];
        plane.Size = ReadWord(data + at);
        plane.Baseline = ReadWord(data + at + 2);
        const unsigned long offset = ReadLong(data + at + 4);
        const unsigned long bytes = ReadLong(data + at + 8);
        // A plane must be the one its size and count make, whole inside.
        if (plane.Size <= 0 || plane.Size > 255 || plane.Baseline > plane.Size ||
            bytes != LargeGlyphPlaneBytes(plane.Size, out->Count) || offset > length ||
            bytes > length - offset)
            return 0;
        plane.Bits = data + offset;
    }
    return 1;
}

int FindGlyphCode(const unsigned char* codes, int count, unsigned code)
{
    int low = 0, high = count - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const unsigned found = ReadWord(codes + 2 * middle);
        if (found == code)
            return middle;
        if (found < code)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return -1;
}

void EnlargePlane(const unsigned char* bits, int width, int height, int factor, unsigned char* out)
{
    const int rowBytes = width / 8;
    const int outBytes = rowBytes * factor;
    for (int y = 0; y < height; ++y) {
        unsigned char* first = out + y * factor * outBytes;
        for (int i = 0; i < outBytes; ++i)
            first[i] = 0;
        for (int x = 0; x < width; ++x) {
            if (!(bits[y * rowBytes + x / 8] & (0x80 >> (x % 8))))
                continue;
            for (int i = 0; i < factor; ++i) {
                const int to = x * factor + i;
                first[to / 8] |= 0x80 >> (to % 8);
            }
        }
        // The same row factor times.
        for (int i = outBytes; i < factor * outBytes; ++i)
            first[i] = first[i - outBytes];
    }
}
