// The glyph atlas: TEXT resource 110 inflated into four monochrome bitmaps,
// each kept selected into a memory device context for the whole run, and the
// arithmetic that maps a GBK code to its 16x16 cell.
#include "render/atlas.h"

#include "install/payload.h"
#include "resources/resource_ids.h"

namespace {

struct AtlasPlane {
    HBITMAP Bitmap;
    HDC Context;
    HGDIOBJ Previous;   // what the context held before the plane's bitmap
};

AtlasPlane Planes[AtlasPlanes];

constexpr int CellsPerRow = 32;
constexpr int CellRowsPerPlane = 59;

}  // namespace

int LookupGlyph(unsigned code, GlyphLocation* location)
{
    code &= 0xFFFF;
    // Two glyphs outside the GB2312 rows have cells of their own: 0xE946
    // (U+9555, a GBK hanzi) and 0xA9A4 (U+2500, the box-drawing line); the
    // formula below would send both to other hanzi.
    if (code == 0xE946) {
        *location = {3, 0, 896};
        return 1;
    }
    if (code == 0xA9A4) {
        *location = {3, 16, 896};
        return 1;
    }
    const int t = static_cast<int>((code - 0xA0A0u) & 0xFFFFu);
    const int c = 96 * (t / 256) + t % 256;
    // Rows 1-7 fill cells from 0, the hanzi from 658; the 96-wide rows of c
    // lose their two unused positions (0xA0 and 0xFF) per row.
    int g = code < 0xB0A1 ? (c - 97) - 2 * ((c - 97) / 96)
                          : (c - 879) - 2 * ((c - 1537) / 96);
    g &= 0xFFFF;
    const int row = g / CellsPerRow;
    int plane = row / CellRowsPerPlane;
    if (plane > AtlasPlanes - 1)
        plane = AtlasPlanes - 1;
    location->Plane = plane;
    location->X = 16 * (g % CellsPerRow);
    location->Y = 16 * (row % CellRowsPerPlane);
    return 1;
}

AtlasResult LoadGlyphAtlas()
{
    FreeGlyphAtlas();   // a second load must not leak the first one's planes
    unsigned char* buffer = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), 0, AtlasBufferSize));
    if (!buffer)
        return AtlasNoMemory;
    unsigned long length = 0;
    if (InflateResource(IDR_GLYPH_ATLAS, buffer, AtlasBufferSize, &length) != 0) {
        HeapFree(GetProcessHeap(), 0, buffer);
        return AtlasInflateFailed;  // nothing built yet
    }
    // A plane that fails stops the loop, but the planes built before it stay:
    // FreeGlyphAtlas, which teardown calls in every case, releases them all.
    // A shorter resource is accepted: the planes then show whatever the rest
    // of the buffer holds, but never read past it.
    AtlasResult result = AtlasOk;
    HDC screen = GetDC(nullptr);
    for (int k = 0; k < AtlasPlanes; ++k) {
        AtlasPlane& plane = Planes[k];
        plane.Bitmap = CreateBitmap(AtlasPlaneWidth, AtlasPlaneHeight, 1, 1, buffer + k * AtlasPlaneBytes);
        if (!plane.Bitmap) {
            result = AtlasPlaneFailed;
            break;
        }
        plane.Context = CreateCompatibleDC(screen);
        if (!plane.Context) {
            result = AtlasPlaneFailed;
            break;
        }
        plane.Previous = SelectObject(plane.Context, plane.Bitmap);
    }
    if (screen)
        ReleaseDC(nullptr, screen);
    HeapFree(GetProcessHeap(), 0, buffer);   // the bitmaps keep their own copy
    return result;
}

void FreeGlyphAtlas()
{
    for (AtlasPlane& plane : Planes) {
        if (plane.Context) {
            if (plane.Previous)
                SelectObject(plane.Context, plane.Previous);
            DeleteDC(plane.Context);
        }
        if (plane.Bitmap)
            DeleteObject(plane.Bitmap);
        plane = {};
    }
}

HDC GlyphPlaneContext(int plane)
{
    if (plane < 0 || plane >= AtlasPlanes)
        return nullptr;
    return Planes[plane].Context;
}
