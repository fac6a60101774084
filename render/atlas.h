// The 16x16 glyph atlas: four monochrome planes of 512x944 pixels, each
// selected into a memory device context, and the GBK code -> cell arithmetic.
#pragma once
#include <windows.h>

struct GlyphLocation {
    int Plane;  // 0..3
    int X;      // multiple of 16, 0..496
    int Y;      // multiple of 16, 0..928
};

constexpr int AtlasPlanes = 4;
constexpr int AtlasPlaneWidth = 512;
constexpr int AtlasPlaneHeight = 944;
constexpr int AtlasPlaneBytes = 60416;
constexpr int AtlasBytes = 241664;
// 300 KB: the shipped atlas with room to spare, so that an atlas grown by a
// few cells still inflates; a larger one fails rather than overrun.
constexpr unsigned long AtlasBufferSize = 307200;

// Pure: every 16-bit code yields a location inside the atlas. Returns 1.
int LookupGlyph(unsigned code, GlyphLocation* location);

enum AtlasResult { AtlasOk, AtlasNoMemory, AtlasInflateFailed, AtlasPlaneFailed };
AtlasResult LoadGlyphAtlas();
void FreeGlyphAtlas();              // safe after a partial build, and twice
HDC GlyphPlaneContext(int plane);   // null while the plane does not exist
