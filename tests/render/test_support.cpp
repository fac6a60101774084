#include "test_support.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <winternl.h>

#include "render/atlas.h"

Canvas::Canvas(int width, int height, COLORREF fill) : Width(width), Height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = static_cast<unsigned char*>(bits);
    Stride = (width * 3 + 3) & ~3;
    Dc = CreateCompatibleDC(nullptr);
    Previous = SelectObject(Dc, Bitmap);
    Fill(fill);
}

Canvas::~Canvas()
{
    SelectObject(Dc, Previous);
    DeleteDC(Dc);
    DeleteObject(Bitmap);
}

COLORREF Canvas::Pixel(int x, int y) const
{
    GdiFlush();
    const unsigned char* p = Bits + y * Stride + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void Canvas::Fill(COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, Width, Height};
    FillRect(Dc, &all, brush);
    DeleteObject(brush);
    GdiFlush();
}

bool AtlasInk(const std::vector<unsigned char>& atlas, unsigned code, int x, int y)
{
    GlyphLocation g;
    LookupGlyph(code, &g);
    const int px = g.X + x, py = g.Y + y;
    const unsigned char byte = atlas[g.Plane * AtlasPlaneBytes + py * 64 + px / 8];
    return (byte & (0x80 >> (px % 8))) == 0;  // a clear bit is ink
}

std::vector<unsigned char> SyntheticAtlas()
{
    std::vector<unsigned char> atlas(AtlasBytes);
    unsigned state = 0x2545F491u;
    for (unsigned char& b : atlas) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<unsigned char>(state >> 11);
    }
    return atlas;
}

std::vector<unsigned char> Compress(const std::vector<unsigned char>& bytes)
{
    uLongf size = compressBound(bytes.size());
    std::vector<unsigned char> out(size);
    compress2(out.data(), &size, bytes.data(), bytes.size(), 6);
    out.resize(size);
    return out;
}

HMODULE ModuleWithAtlas(const std::vector<unsigned char>* stream, const char* name)
{
    char self[MAX_PATH], folder[MAX_PATH], path[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    GetTempPathA(sizeof folder, folder);
    snprintf(path, sizeof path, "%s%s", folder, name);
    if (!CopyFileA(self, path, FALSE))
        return nullptr;
    HANDLE update = BeginUpdateResourceA(path, FALSE);
    if (!update)
        return nullptr;
    if (stream)
        UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(110), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                        const_cast<unsigned char*>(stream->data()), static_cast<DWORD>(stream->size()));
    else
        UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(110), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                        nullptr, 0);
    if (!EndUpdateResourceA(update, FALSE))
        return nullptr;
    return LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

bool CaptureScreenPng(const char* path, const RECT& whole)
{
    // Only what is on the screen can be captured.
    RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT r;
    if (!IntersectRect(&r, &whole, &screenRect))
        return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    Canvas canvas(w, h, RGB(0, 0, 0));
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = canvas.Bits + y * canvas.Stride + x * 3;
            unsigned char* q = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    return WritePng(path, rgb.data(), w, h);
}

void ScreenshotPath(char* out, const char* name)
{
    const char* build = getenv("TARVO_BUILD");
    char folder[MAX_PATH];
    if (build && *build) {
        // The build tree is a Unix path; Wine maps / to drive Z:.
        snprintf(folder, sizeof folder, "Z:%s\\screenshots", build);
        for (char* p = folder; *p; ++p)
            if (*p == '/')
                *p = '\\';
    } else {
        GetTempPathA(sizeof folder, folder);
    }
    CreateDirectoryA(folder, nullptr);
    snprintf(out, MAX_PATH, "%s\\%s", folder, name);
}

int LiveGdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported)
        return static_cast<int>(reported);
    // Wine keeps the table behind PEB.GdiSharedHandleTable (offset 0x94 of
    // the 32-bit PEB, 0xF8 of the 64-bit one): 65,536 entries of 24 bytes,
    // the type byte at offset 14 is 0 for a free entry.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"   // the TEB read through fs:
    const unsigned char* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
    const size_t tableField = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const unsigned char* table = *reinterpret_cast<const unsigned char* const*>(peb + tableField);
    if (!table)
        return -1;
    int live = 0;
    for (int i = 0; i < 0x10000; ++i)
        live += table[i * 24 + 14] != 0;
    return live;
}
