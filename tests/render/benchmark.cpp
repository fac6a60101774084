// Figures of the renderer (a program, not a test): the time LoadGlyphAtlas
// takes to inflate resource 110 and build its four planes, and the heap
// allocations made while captions and list items are painted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "render/atlas.h"
#include "render/mixed_text.h"
#include "shell/process_state.h"
#include "showcase.h"
#include "test_support.h"
#include "ui/owner_draw.h"

namespace {
volatile long Allocations;   // operator new and malloc calls of this program
}

void* operator new(std::size_t size)
{
    InterlockedIncrement(&Allocations);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

double Milliseconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// Bytes and blocks in use on the process heap, walked with HeapWalk.
void HeapInUse(SIZE_T* bytes, SIZE_T* blocks)
{
    *bytes = 0;
    *blocks = 0;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            *bytes += entry.cbData;
            ++*blocks;
        }
    HeapUnlock(heap);
}

}  // namespace

int main()
{
    AppInstance = GetModuleHandleA(nullptr);
    CreateSampleFont();

    // The first use of the screen's device context initialises the display
    // driver; timed apart so that the atlas figure is the atlas's own.
    {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        QueryPerformanceCounter(&b);
        std::printf("first screen DC and memory DC of the process: %.2f ms\n", Milliseconds(a, b));
    }

    const int runs = 50;
    double total = 0, best = 1e9, worst = 0, first = 0;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        const AtlasResult r = LoadGlyphAtlas();
        QueryPerformanceCounter(&b);
        if (r != AtlasOk) {
            std::printf("LoadGlyphAtlas failed: %d\n", r);
            return 1;
        }
        const double ms = Milliseconds(a, b);
        if (i == 0)
            first = ms;
        total += ms;
        best = ms < best ? ms : best;
        worst = ms > worst ? ms : worst;
    }
    std::printf("LoadGlyphAtlas (inflate 241664 bytes, 4 planes): first %.2f ms; mean %.2f ms, best %.2f ms, "
                "worst %.2f ms over %d runs\n", first, total / runs, best, worst, runs);

    HWND showcase = CreateShowcase(AppInstance);
    if (!showcase)
        return 1;
    HDC dc = GetDC(showcase);
    HWND ok = GetDlgItem(showcase, 1);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 1;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_FOCUS;
    item.hwndItem = ok;
    item.hDC = dc;
    item.rcItem = RECT{10, 10, 120, 38};
    DrawOwnerControl(&item, MessageCaptions);   // warm-up: first use of fonts and brushes

    // The heap walk does see a block that stays allocated.
    {
        SIZE_T bytes0, blocks0, bytes1, blocks1;
        HeapInUse(&bytes0, &blocks0);
        void* probe = HeapAlloc(GetProcessHeap(), 0, 100);
        HeapInUse(&bytes1, &blocks1);
        HeapFree(GetProcessHeap(), 0, probe);
        std::printf("control: one HeapAlloc(100) shows as +%lu bytes, +%lu blocks\n",
                    static_cast<unsigned long>(bytes1 - bytes0), static_cast<unsigned long>(blocks1 - blocks0));
    }

    const long newBefore = Allocations;
    SIZE_T bytesBefore, blocksBefore, bytesAfter, blocksAfter;
    HeapInUse(&bytesBefore, &blocksBefore);
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    for (int i = 0; i < 1000; ++i) {
        item.itemState = (i & 1) ? ODS_SELECTED : ODS_FOCUS;
        DrawOwnerControl(&item, MessageCaptions);
    }
    GdiFlush();
    QueryPerformanceCounter(&b);
    HeapInUse(&bytesAfter, &blocksAfter);
    std::printf("1000 caption paints of \"OK\": %.3f ms each; operator new calls %ld; process heap in use "
                "%lu -> %lu bytes, %lu -> %lu blocks\n",
                Milliseconds(a, b) / 1000, Allocations - newBefore, static_cast<unsigned long>(bytesBefore),
                static_cast<unsigned long>(bytesAfter), static_cast<unsigned long>(blocksBefore),
                static_cast<unsigned long>(blocksAfter));

    const long newBeforeShowcase = Allocations;
    HeapInUse(&bytesBefore, &blocksBefore);
    const int paints = ShowcasePaints;
    QueryPerformanceCounter(&a);
    for (int i = 0; i < 1000; ++i) {
        InvalidateRect(showcase, nullptr, TRUE);
        UpdateWindow(showcase);
    }
    QueryPerformanceCounter(&b);
    HeapInUse(&bytesAfter, &blocksAfter);
    std::printf("%d paints of the whole showcase (17 buttons and labels, 6 list items): %.3f ms each; "
                "operator new calls %ld; process heap %lu -> %lu bytes, %lu -> %lu blocks\n",
                ShowcasePaints - paints, Milliseconds(a, b) / 1000, Allocations - newBeforeShowcase,
                static_cast<unsigned long>(bytesBefore), static_cast<unsigned long>(bytesAfter),
                static_cast<unsigned long>(blocksBefore), static_cast<unsigned long>(blocksAfter));
    ReleaseDC(showcase, dc);
    DestroyWindow(showcase);
    FreeGlyphAtlas();
    return 0;
}
