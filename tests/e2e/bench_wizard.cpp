// Benchmark, run by hand: TarvoSetup.exe worked from outside beside a trivial
// program that opens one dialog (trivial_dialog.exe), in the same prefix and
// in interleaved rounds, both programs in every round, the order alternating.
// Prints figures; judges nothing, and a slow machine only prints larger ones.
//
// Measured from this process:
// - start: CreateProcess until the first dialog is up and painted;
// - a page switch: the posted click of Next until the new page is visible,
//   the installer's thread is back in its message loop and nothing of the
//   dialog is left to paint (WaitForPaint). The first click comes a second
//   after page 0 is painted, as a person's would: in the first second after
//   start-up Wine's desktop process and the installer itself are still busy,
//   and a switch then measures that too (about twice its settled time here);
// - memory: VmRSS and VmHWM of the Linux process. Wine does not say which
//   Linux process runs a Windows one, but it shows the Windows command line
//   as the Linux one. Each program is started with a word of its own on its
//   command line (neither program reads its command line); the process whose
//   /proc/<pid>/cmdline holds it is the one, and its /proc/<pid>/status is
//   read through drive Z:. (The wineserver opens those files for us: it runs
//   as the same user.)
//
// usage: wizard_bench.exe [rounds] [start]   (default 10, at most 50; with
// "start" only the start-up and its memory, no pages and no installation.
// TarvoSetup.exe is taken from the folder above this program,
// trivial_dialog.exe from its own)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/resource_ids.h"
#include "tests/bench_clock.h"
#include "tests/e2e/driver.h"

namespace {

constexpr int DefaultRounds = 10;
constexpr int MaxRounds = 50;
constexpr DWORD Patience = 30000;
constexpr DWORD InstallPatience = 120000;
constexpr DWORD SettleMs = 1000;          // page 0 painted -> the first click
constexpr const char* TrivialTitle = "Trivial Dialog";
constexpr const char* BenchDestination = "C:\\tarvo_bench";

// One round's figures; a negative value was not measured.
struct Round {
    double TrivialStart, InstallerStart;    // ms
    double Switch[3];                       // ms: page 0->1, 1->2 (licences), 2->3
    double Floor;                           // ms: the same wait without a click
    double TrivialRss, InstallerRss;        // MiB, with the dialog up
    double InstallerPeak;                   // MiB, VmHWM when the result message is up
};

double NowMs()
{
    return 1000.0 * BenchSeconds();
}

// Polls pred every millisecond: WaitUntil's 20 ms steps are too coarse here.
template <class Pred>
int PollUntil(Pred pred, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start >= timeoutMs) return 0;
        Sleep(1);
    }
    return 1;
}

// ---- memory through /proc -------------------------------------------------------

// Reads at most capacity - 1 bytes of a file and terminates them. The byte count.
int ReadSmallFile(const char* path, char* out, int capacity)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int total = 0;
    DWORD got = 0;
    while (total < capacity - 1 &&
           ReadFile(file, out + total, static_cast<DWORD>(capacity - 1 - total), &got, nullptr) &&
           got > 0)
        total += static_cast<int>(got);
    CloseHandle(file);
    out[total] = 0;
    return total;
}

// The Linux pid of the process whose command line holds tag; 0 if none.
unsigned long FindLinuxPid(const char* tag)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned long pid = 0;
    do {
        char* end = nullptr;
        unsigned long candidate = strtoul(found.cFileName, &end, 10);
        if (candidate == 0 || *end) continue;
        char path[MAX_PATH], line[4096];
        snprintf(path, sizeof path, "Z:\\proc\\%lu\\cmdline", candidate);
        int length = ReadSmallFile(path, line, sizeof line);
        for (int i = 0; i < length; ++i)
            if (!line[i]) line[i] = ' ';   // arguments are NUL-separated
        if (length > 0 && strstr(line, tag)) pid = candidate;
    } while (!pid && FindNextFileA(search, &found));
    FindClose(search);
    return pid;
}

// A "Name:   1234 kB" line of /proc/<pid>/status in MiB; -1 if unreadable.
double StatusMiB(unsigned long pid, const char* name)
{
    if (!pid) return -1;
    char path[MAX_PATH], status[8192];
    snprintf(path, sizeof path, "Z:\\proc\\%lu\\status", pid);
    if (!ReadSmallFile(path, status, sizeof status)) return -1;
    const char* line = strstr(status, name);
    if (!line) return -1;
    return strtod(line + strlen(name), nullptr) / 1024.0;
}

// ---- the two programs -----------------------------------------------------------

int Launch(const char* exePath, const char* tag, InstallerRun* run)
{
    *run = InstallerRun{};
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    char commandLine[MAX_PATH + 64];
    snprintf(commandLine, sizeof commandLine, "\"%s\" %s", exePath, tag);
    return CreateProcessA(exePath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, "C:\\",
                          &startup, &run->Process) != 0;
}

// Starts the program and waits for its dialog, painted. Milliseconds, or -1.
double StartPainted(const char* exePath, const char* tag, const char* title, InstallerRun* run)
{
    double start = NowMs();
    if (!Launch(exePath, tag, run)) return -1;
    // Blocks until the program first waits for input, which spares the
    // program being measured a millisecond poll through its whole start.
    WaitForInputIdle(run->Process.hProcess, Patience);
    DWORD pid = run->Process.dwProcessId;
    if (!PollUntil([&] { return (run->Main = FindProcessWindow(pid, title, "#32770", nullptr)) != nullptr; },
                   Patience))
        return -1;
    if (!WaitForPaint(run->Main, Patience)) return -1;
    return NowMs() - start;
}

void TrivialRound(const char* exePath, const char* tag, Round* round)
{
    InstallerRun run;
    round->TrivialStart = StartPainted(exePath, tag, TrivialTitle, &run);
    if (round->TrivialStart >= 0)
        round->TrivialRss = StatusMiB(FindLinuxPid(tag), "VmRSS:");
    if (run.Main) PostMessageA(run.Main, WM_COMMAND, IDCANCEL, 0);
    WaitForExit(&run, Patience, nullptr);
    EndRun(&run);
}

// Next, until the page is visible and painted. Milliseconds, or -1. With
// click 0 a WM_NULL is posted instead and the page stays: the same waiting
// with nothing to wait for, the measurement's own floor.
double SwitchPage(HWND main, int page, int click)
{
    double start = NowMs();
    if (click)
        ClickButton(main, IDC_NEXT);
    else
        PostMessageA(main, WM_NULL, 0, 0);
    // A sent WM_NULL waits while the click is handled, so the installer is
    // not polled all along; one that overtook the posted click comes back at
    // once and is sent again.
    if (!PollUntil([&] { return Ask(main, WM_NULL, 0, 0) == 0 && VisiblePage(main) == page; },
                   Patience))
        return -1;
    if (!WaitForPaint(main, Patience)) return -1;
    return NowMs() - start;
}

void InstallerRound(const char* exePath, const char* tag, int startOnly, Round* round)
{
    RemoveTree(BenchDestination);
    InstallerRun run;
    round->InstallerStart = StartPainted(exePath, tag, WizardTitle, &run);
    unsigned long pid = round->InstallerStart >= 0 ? FindLinuxPid(tag) : 0;
    round->InstallerRss = StatusMiB(pid, "VmRSS:");
    HWND main = run.Main;
    if (startOnly) {
        if (main) PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    } else if (round->InstallerStart >= 0 && SetControlText(main, IDC_DEST_EDIT, BenchDestination) &&
        WaitForPaint(main, Patience)) {
        Sleep(SettleMs);
        round->Floor = SwitchPage(main, 0, 0);
        round->Switch[0] = SwitchPage(main, 1, 1);
        ClickButton(main, IDC_DISPLAY_OK);
        if (round->Switch[0] >= 0 && PollUntil([&] { return IsTicked(main, IDC_DISPLAY_OK); }, Patience) &&
            WaitForPaint(main, Patience)) {
            round->Switch[1] = SwitchPage(main, 2, 1);
            if (round->Switch[1] >= 0) round->Switch[2] = SwitchPage(main, 3, 1);
        }
        if (round->Switch[2] >= 0) {
            ClickButton(main, IDC_NEXT);
            HWND message = WaitForMessageDialog(run, InstallPatience);
            if (message) {
                round->InstallerPeak = StatusMiB(pid, "VmHWM:");
                ClickButton(message, 1);
            }
        }
    }
    if (!WaitForExit(&run, Patience, nullptr) && main) PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    WaitForExit(&run, Patience, nullptr);
    EndRun(&run);
    RemoveTree(BenchDestination);
}

// ---- figures --------------------------------------------------------------------

// min / median / max of the measured values (negative ones are left out).
void PrintSpread(const char* label, const double* values, int count, const char* unit)
{
    double sorted[MaxRounds];
    int n = 0;
    for (int i = 0; i < count; ++i)
        if (values[i] >= 0) sorted[n++] = values[i];
    if (n == 0) {
        printf("  %-44s not measured\n", label);
        return;
    }
    std::sort(sorted, sorted + n);
    double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    printf("  %-44s %8.2f / %8.2f / %8.2f%s%s", label, sorted[0], median, sorted[n - 1],
           *unit ? " " : "", unit);
    if (n < count) printf("   (%d of %d rounds)", n, count);
    printf("\n");
}

// Same-round a / b or a - b for every round where both were measured.
void Combine(const double* a, const double* b, int count, int ratio, double* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = a[i] < 0 || b[i] <= 0 ? -1 : ratio ? a[i] / b[i] : a[i] - b[i];
}

void Column(const Round* rounds, int count, double Round::*field, double* out)
{
    for (int i = 0; i < count; ++i) out[i] = rounds[i].*field;
}

// The installer's and the trivial dialog's figures, then what each round's
// pair gives: the difference where a label is given, and the ratio.
void PrintPair(const Round* rounds, int count, double Round::*installerField,
               double Round::*trivialField, const char* unit, const char* differenceLabel,
               const char* ratioLabel)
{
    double trivial[MaxRounds] = {}, installer[MaxRounds] = {}, both[MaxRounds] = {};
    Column(rounds, count, installerField, installer);
    Column(rounds, count, trivialField, trivial);
    PrintSpread("TarvoSetup.exe, page 0", installer, count, unit);
    PrintSpread("trivial dialog", trivial, count, unit);
    if (differenceLabel) {
        Combine(installer, trivial, count, 0, both);
        PrintSpread(differenceLabel, both, count, unit);
    }
    Combine(installer, trivial, count, 1, both);
    PrintSpread(ratioLabel, both, count, "");
}

void PrintSwitches(const Round* rounds, int count)
{
    printf("page switch, Next posted -> new page handled and painted\n");
    const char* names[3] = {"page 0 -> 1", "page 1 -> 2 (first licence load)", "page 2 -> 3"};
    double values[MaxRounds];
    for (int s = 0; s < 3; ++s) {
        for (int i = 0; i < count; ++i) values[i] = rounds[i].Switch[s];
        PrintSpread(names[s], values, count, "ms");
    }
    Column(rounds, count, &Round::Floor, values);
    PrintSpread("no click, the same waiting (floor)", values, count, "ms");
}

void PrintPeak(const Round* rounds, int count)
{
    double trivial[MaxRounds], installer[MaxRounds], both[MaxRounds];
    printf("peak resident memory (VmHWM) of TarvoSetup.exe, taken at the result message\n");
    Column(rounds, count, &Round::InstallerPeak, installer);
    Column(rounds, count, &Round::TrivialRss, trivial);
    PrintSpread("peak while installing", installer, count, "MiB");
    Combine(installer, trivial, count, 0, both);
    PrintSpread("minus the trivial dialog's VmRSS (same round)", both, count, "MiB");
}

void PrintFigures(const Round* rounds, int count, int startOnly)
{
    printf("\n%d rounds                                       min /   median /      max\n", count);
    printf("start -> first dialog painted\n");
    PrintPair(rounds, count, &Round::InstallerStart, &Round::TrivialStart, "ms", nullptr,
              "ratio TarvoSetup / trivial (same round)");
    if (!startOnly) PrintSwitches(rounds, count);
    printf("resident memory (VmRSS) with the first dialog up\n");
    PrintPair(rounds, count, &Round::InstallerRss, &Round::TrivialRss, "MiB",
              "difference (same round)", "ratio (same round)");
    if (!startOnly) PrintPeak(rounds, count);
}

void PrintRound(int index, const Round& r)
{
    printf("round %2d  start %6.1f / %6.1f ms  switches %5.1f %5.1f %5.1f floor %5.1f ms  "
           "rss %4.1f / %4.1f MiB  peak %4.1f MiB\n",
           index, r.InstallerStart, r.TrivialStart, r.Switch[0], r.Switch[1], r.Switch[2],
           r.Floor, r.InstallerRss, r.TrivialRss, r.InstallerPeak);
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    int count = argc > 1 ? atoi(argv[1]) : DefaultRounds;
    int startOnly = argc > 2 && strcmp(argv[2], "start") == 0;
    if (count < 1 || count > MaxRounds || (argc > 2 && !startOnly)) {
        fprintf(stderr, "usage: wizard_bench.exe [rounds 1..%d] [start]\n", MaxRounds);
        return 2;
    }
    char own[MAX_PATH], installer[MAX_PATH], trivial[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    char* slash = length > 0 && length < MAX_PATH ? strrchr(own, '\\') : nullptr;
    if (!slash) return 2;
    *slash = 0;
    snprintf(trivial, sizeof trivial, "%s\\trivial_dialog.exe", own);
    snprintf(installer, sizeof installer, "%s\\..\\TarvoSetup.exe", own);

    printf("TarvoSetup.exe beside trivial_dialog.exe, %d interleaved rounds after one warm-up;\n"
           "the first click %lu ms after page 0 is painted\n",
           count, SettleMs);
    printf("per round: start TarvoSetup / trivial, switches 0->1 1->2 2->3 and the floor, "
           "rss TarvoSetup / trivial, peak\n");
    static Round rounds[MaxRounds + 1];
    for (int i = 0; i <= count; ++i) {
        Round& r = rounds[i];
        r = Round{-1, -1, {-1, -1, -1}, -1, -1, -1, -1};
        char tag[48], installerTag[48];
        snprintf(tag, sizeof tag, "bench-tag-%lu-%d-t", GetCurrentProcessId(), i);
        snprintf(installerTag, sizeof installerTag, "bench-tag-%lu-%d-i", GetCurrentProcessId(), i);
        if (i % 2) {
            InstallerRound(installer, installerTag, startOnly, &r);
            TrivialRound(trivial, tag, &r);
        } else {
            TrivialRound(trivial, tag, &r);
            InstallerRound(installer, installerTag, startOnly, &r);
        }
        if (i == 0)
            printf("warm-up   (not counted)\n");
        else
            PrintRound(i, r);
    }
    PrintFigures(rounds + 1, count, startOnly);
    return 0;
}
