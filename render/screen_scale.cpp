// The screen's dpi, read once, and the scaling arithmetic of the painter.
#include "render/screen_scale.h"

#include <windows.h>

int ScreenDpi = BaseDpi;

int ReadScreenDpi()
{
    HDC screen = GetDC(nullptr);
    if (screen) {
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        if (dpi > 0)
            ScreenDpi = dpi;
        ReleaseDC(nullptr, screen);
    }
    return ScreenDpi;
}

int ScaledPixels(int pixels, int dpi)
{
    return (pixels * dpi + BaseDpi / 2) / BaseDpi;
}

int LineWidth(int dpi)
{
    const int width = ScaledPixels(1, dpi);
    return width > 1 ? width : 1;
}

GlyphScale ChooseGlyphScale(int dpi, const int* sizes, int count)
{
    const int wanted = ScaledPixels(AtlasGlyphSize, dpi);
    GlyphScale best = {AtlasGlyphSize, 1};
    for (int i = -1; i < count; ++i) {
        const int size = i < 0 ? AtlasGlyphSize : sizes[i];
        if (size <= 0 || size > wanted)
            continue;
        const int factor = wanted / size;
        const int product = size * factor;
        const int bestProduct = best.Size * best.Factor;
        if (product > bestProduct || (product == bestProduct && factor < best.Factor))
            best = GlyphScale{size, factor};
    }
    return best;
}

int WantsLargerGlyphs(int dpi)
{
    return ScaledPixels(AtlasGlyphSize, dpi) > AtlasGlyphSize;
}

int TextTopInCell(int cellSize, int baselineRow, int ascent)
{
    return cellSize == AtlasGlyphSize ? 1 : baselineRow - ascent;
}
