// Benchmark, run by hand: RunInstallation of the whole manifest into fresh
// folders beside the extraction floor measured in the same process (inflate
// every payload and write it with one fwrite, nothing else), with the memory
// the installation adds. Prints figures; judges nothing.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cstdlib>

#include "install/installation.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/shortcuts.h"
#include "shell/environment.h"
#include "shell/process_state.h"
#include "tests/bench_clock.h"
#include "ui/wizard.h"

namespace {

constexpr int Rounds = 5;

void FreshFolder(const char* kind, int round, char* out)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::snprintf(out, MAX_PATH, "%starvo_bench_%lu_%s%d", temp, GetCurrentProcessId(), kind,
                  round);
    CreateDirectoryA(out, nullptr);
}

// Seconds for the floor; 0 when a payload could not be written.
double ExtractionFloor(unsigned char* buffer, const char* folder)
{
    double start = BenchSeconds();
    for (const ManifestRow& row : InstallManifest) {
        unsigned long length = 0;
        if (InflateResource(row.Entry.ResourceId, buffer, ExtractionBufferSize, &length) != 0)
            return 0;
        char path[MAX_PATH];
        std::snprintf(path, sizeof path, "%s\\%s", folder, row.Entry.FileName);
        FILE* file = std::fopen(path, "wb");
        if (!file)
            return 0;
        size_t written = std::fwrite(buffer, 1, length, file);
        std::fclose(file);
        if (written != length)
            return 0;
    }
    return BenchSeconds() - start;
}

// The manifest alone through ExtractPayload: the floor plus the attributes.
double ManifestExtraction(unsigned char* buffer)
{
    double start = BenchSeconds();
    for (const ManifestRow& row : InstallManifest)
        ExtractPayload(row.Entry, buffer, ExtractionBufferSize, nullptr);
    return BenchSeconds() - start;
}

double Median(double* values, int count)
{
    std::sort(values, values + count);
    return values[count / 2];
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// Private memory committed by the process, walked region by region (Wine
// keeps no peak of it); sampled by the progress bar at every checkpoint.
SIZE_T PrivateCommitted()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < address)
            break;
    }
    return total;
}

WNDPROC BarProc;
bool Sampling;
SIZE_T PeakPrivate, PeakPagefile;

LRESULT CALLBACK SamplingBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS && Sampling) {
        PeakPrivate = std::max(PeakPrivate, PrivateCommitted());
        PeakPagefile = std::max(PeakPagefile, Memory().PagefileUsage);
    }
    return CallWindowProcA(BarProc, bar, message, wParam, lParam);
}

double MiB(SIZE_T bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int main()
{
    AppInstance = GetModuleHandleA(nullptr);
    DetectEnvironment(AppInstance);
    InitCommonControls();
    HWND window = CreateWindowExA(0, "STATIC", "benchmark", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100,
                                  nullptr, nullptr, AppInstance, nullptr);
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 10, 10, 380, 20, window,
                               reinterpret_cast<HMENU>(1026), AppInstance, nullptr);
    if (!bar) {
        std::printf("no progress bar (error %lu): is the run's Wine session up (ctest -R wine.setup)?\n",
                    GetLastError());
        return 1;
    }
    BarProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SamplingBarProc)));
    MainDialog = window;
    std::snprintf(WindowsDir, MAX_PATH, "%s", ModuleDir);   // no AuxSet1.bin beside us
    std::wcscpy(WindowsDirWide, ModuleDirWide);
    CreateDesktopIcons = 1;
    AutoStart = 1;
    ChineseDisplayOk = 1;
    ForceLanguage = 0;

    // Memory: the first installation, against what the process held before.
    FreshFolder("run", 0, InstallDir);
    SIZE_T privateBefore = PrivateCommitted();
    PROCESS_MEMORY_COUNTERS before = Memory();
    Sampling = true;
    double firstStart = BenchSeconds();
    int firstResult = RunInstallation();
    double first = BenchSeconds() - firstStart;
    Sampling = false;
    PROCESS_MEMORY_COUNTERS after = Memory();

    auto* buffer = static_cast<unsigned char*>(std::malloc(ExtractionBufferSize));
    if (!buffer) {
        std::printf("no memory for the floor's buffer\n");
        return 1;
    }
    double runs[Rounds], floors[Rounds], extractions[Rounds];
    int allInstalled = firstResult;
    for (int round = 1; round <= Rounds; ++round) {
        char folder[MAX_PATH];
        FreshFolder("floor", round, folder);
        floors[round - 1] = ExtractionFloor(buffer, folder);
        FreshFolder("extract", round, InstallDir);
        extractions[round - 1] = ManifestExtraction(buffer);
        FreshFolder("run", round, InstallDir);
        double start = BenchSeconds();
        allInstalled &= RunInstallation();
        runs[round - 1] = BenchSeconds() - start;
    }
    std::free(buffer);

    // Two parts of the run measured alone: the five shortcuts it saves and
    // its fifteen progress positions.
    char links[MAX_PATH];
    WCHAR target[MAX_PATH], link[MAX_PATH];
    FreshFolder("links", 0, links);
    std::swprintf(target, MAX_PATH, L"%hs\\TVO.exe", InstallDir);
    double linkStart = BenchSeconds();
    for (int i = 0; i < 5; ++i) {
        std::swprintf(link, MAX_PATH, L"%hs\\link%d.lnk", links, i);
        CreateShellLink(target, link, L"benchmark");
    }
    double linkTime = BenchSeconds() - linkStart;
    double progressStart = BenchSeconds();
    for (int position = 0; position < 15; ++position)
        SetProgress(position * 7);
    double progressTime = BenchSeconds() - progressStart;
    DestroyWindow(window);

    double runMedian = Median(runs, Rounds), floorMedian = Median(floors, Rounds);
    double runBest = runs[0], floorBest = floors[0];   // sorted by Median
    std::printf("RunInstallation, %d entries, result %d (all rounds %d)\n", ManifestSize,
                firstResult, allInstalled);
    std::printf("first (cold) run          %7.1f ms\n", first * 1000);
    std::printf("RunInstallation  median   %7.1f ms   best %7.1f ms   (%d rounds)\n",
                runMedian * 1000, runBest * 1000, Rounds);
    std::printf("extraction floor median   %7.1f ms   best %7.1f ms\n", floorMedian * 1000,
                floorBest * 1000);
    std::printf("ExtractPayload per entry   %7.1f ms (median: the floor plus attributes)\n",
                Median(extractions, Rounds) * 1000);
    std::printf("ratio (medians)           %7.3f   (target 1.35 at most)\n",
                floorMedian > 0 ? runMedian / floorMedian : 0.0);
    std::printf("of a run: 5 shortcuts %.1f ms, 15 progress positions %.1f ms\n",
                linkTime * 1000, progressTime * 1000);
    std::printf("ratio without the shortcuts %.3f\n",
                floorMedian > 0 ? (runMedian - linkTime) / floorMedian : 0.0);
    std::printf("private committed: before %.1f MiB, peak at the checkpoints %.1f MiB, "
                "added %.1f MiB (target %.1f MiB at most)\n",
                MiB(privateBefore), MiB(PeakPrivate), MiB(PeakPrivate - privateBefore),
                MiB(ExtractionBufferSize) + 4.0);
    std::printf("pagefile usage: before %.1f MiB, peak at the checkpoints %.1f MiB\n",
                MiB(before.PagefileUsage), MiB(PeakPagefile));
    std::printf("working set: before %.1f MiB, peak %.1f MiB (includes the mapped payload)\n",
                MiB(before.WorkingSetSize), MiB(after.PeakWorkingSetSize));
    return allInstalled ? 0 : 1;
}
