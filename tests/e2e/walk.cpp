// The unattended typical run: walks TarvoSetup.exe through its four pages
// with the defaults and "正确(OK)", installs, saves a PNG of every page, the
// progress bar and the result message, and prints what was installed.
//
// usage: tarvo_walk.exe <TarvoSetup.exe> <folder for the PNG files>
#include <shlobj.h>
#include <cstdio>
#include <string>

#include "install/manifest.h"
#include "resources/resource_ids.h"
#include "tests/e2e/driver.h"

namespace {

constexpr DWORD Patience = 30000;
constexpr DWORD InstallPatience = 120000;
std::string ShotFolder;
int Failures;

void Fail(const char* what)
{
    printf("FAILED: %s\n", what);
    ++Failures;
}

// Captures what the screen shows of window into a PNG file.
void Capture(HWND window, const char* name)
{
    Image image;
    std::string path = ShotFolder + "\\" + name;
    if (CaptureWindow(window, &image) && WritePng(path.c_str(), image))
        printf("screenshot %s (%dx%d)\n", name, image.Width, image.Height);
    else
        Fail(name);
}

// A page is shot only once it is fully painted: its thread back in its
// message loop and nothing of it left to paint. A fixed pause raced with
// the licence page, whose first showing takes longest.
void Shot(HWND window, const char* name)
{
    if (!WaitForPaint(window, Patience)) Fail("the window was not painted in time");
    Capture(window, name);
}

// The progress bar at 100 as the screen shows it: its right end has the
// colour of its filled left end, which is not the face colour of an empty bar.
int ProgressFullOnScreen(HWND main)
{
    Image bar;
    if (!CaptureWindow(GetDlgItem(main, IDC_PROGRESS), &bar) || bar.Width < 12 || bar.Height < 4)
        return 0;
    DWORD face = GetSysColor(COLOR_BTNFACE);
    face = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    int y = bar.Height / 2;
    DWORD left = bar.At(4, y), right = bar.At(bar.Width - 5, y);
    return left == right && left != face;
}

int Page(HWND main, int page)
{
    return WaitUntil([&] { return VisiblePage(main) == page; }, Patience);
}

void Forward(HWND main, int page)
{
    ClickButton(main, IDC_NEXT);
    if (!Page(main, page)) Fail("Next did not reach the next page");
}

std::string AttributeText(DWORD a)
{
    std::string text;
    text += (a & FILE_ATTRIBUTE_READONLY) ? 'R' : '-';
    text += (a & FILE_ATTRIBUTE_HIDDEN) ? 'H' : '-';
    return text;
}

void ReportFiles(const std::string& dest)
{
    printf("\nInstalled into %s:\n", dest.c_str());
    int found = 0;
    for (const ManifestRow& row : InstallManifest) {
        std::string path = dest + "\\" + row.Entry.FileName;
        DWORD a = Attributes(path);
        if (a == INVALID_FILE_ATTRIBUTES) {
            printf("  MISSING %s\n", row.Entry.FileName);
            continue;
        }
        ++found;
        WIN32_FILE_ATTRIBUTE_DATA data;
        unsigned long size = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
                                 ? data.nFileSizeLow : 0;
        int asked = row.Entry.ReadOnly == ((a & FILE_ATTRIBUTE_READONLY) != 0) &&
                    row.Entry.Hidden == ((a & FILE_ATTRIBUTE_HIDDEN) != 0);
        printf("  %s %10lu  %s%s\n", AttributeText(a).c_str(), size, row.Entry.FileName,
               asked ? "" : "   <- attributes differ from the manifest");
    }
    printf("  %d of %d files; doc folder %s\n", found,
           static_cast<int>(sizeof InstallManifest / sizeof InstallManifest[0]),
           FolderExists(dest + "\\doc") ? "present" : "absent");
    if (found != static_cast<int>(sizeof InstallManifest / sizeof InstallManifest[0]))
        Fail("files missing");

    std::string ini = ReadFileBytes(dest + "\\engine.ini");
    size_t config = ini.rfind("[Config]");
    printf("\nengine.ini (%s), its [Config] section:\n",
           AttributeText(Attributes(dest + "\\engine.ini")).c_str());
    if (config == std::string::npos) {
        Fail("no [Config] section");
        return;
    }
    std::string section = ini.substr(config);
    size_t start = 0;
    while (start < section.size()) {
        size_t end = section.find('\n', start);
        std::string line = section.substr(start, end == std::string::npos ? std::string::npos
                                                                            : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        printf("  %s\n", line.c_str());
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

void ReportLinks(const char* title, const std::string& folder)
{
    printf("\n%s (%s):\n", title, folder.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.lnk").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        printf("  (no shortcuts)\n");
        return;
    }
    do {
        ShortcutInfo info;
        if (ReadShortcut(folder + "\\" + found.cFileName, &info))
            printf("  %s -> %s (in %s)\n", found.cFileName, info.Target.c_str(),
                   info.WorkingDir.c_str());
        else
            printf("  %s (unreadable)\n", found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: tarvo_walk.exe <TarvoSetup.exe> <folder for the PNG files>\n");
        return 2;
    }
    ShotFolder = argv[2];
    CreateDirectoryA(ShotFolder.c_str(), nullptr);
    setvbuf(stdout, nullptr, _IONBF, 0);

    InstallerRun run;
    if (!StartInstaller(argv[1], "C:\\", &run)) {
        printf("FAILED: the wizard did not appear\n");
        EndRun(&run);
        return 1;
    }
    HWND main = run.Main;
    std::string dest = ControlText(main, IDC_DEST_EDIT);
    printf("wizard open, destination %s\n", dest.c_str());
    Shot(main, "1-destination.png");
    Forward(main, 1);
    ClickButton(main, IDC_DISPLAY_OK);
    if (!WaitUntil([&] { return IsTicked(main, IDC_DISPLAY_OK); }, Patience)) Fail("answer");
    Shot(main, "2-display-test.png");
    Forward(main, 2);
    Shot(main, "3-licence.png");
    Forward(main, 3);
    FocusControl(main, IDC_LANGUAGE_COMBO);   // the caption without a focus mark
    Shot(main, "4-language.png");

    DWORD started = GetTickCount();
    ClickButton(main, IDC_NEXT);
    if (!WaitUntil([&] { return IsShown(main, IDC_PROGRESS); }, Patience)) Fail("progress bar");
    // The installer's thread stays out of its message loop until the result
    // message: wait for the full bar on screen with nothing left to paint.
    if (!WaitUntil([&] { return ProgressFullOnScreen(main) && !HasPendingPaint(main); },
                   InstallPatience))
        Fail("the progress bar did not reach its end");
    Capture(main, "5-progress.png");
    HWND message = WaitForMessageDialog(run, InstallPatience);
    if (!message) {
        Fail("no result message");
        EndRun(&run);
        return 1;
    }
    printf("result message after %lu ms: %s\n", GetTickCount() - started,
           ControlText(message, IDC_MSG_ENGLISH).c_str());
    Shot(message, "6-result.png");
    ClickButton(message, 1);
    DWORD code = 12345;
    if (!WaitForExit(&run, Patience, &code)) Fail("the installer did not end");
    printf("installer exit code %lu\n", code);
    if (code != 0) Fail("exit code");
    EndRun(&run);

    ReportFiles(dest);
    ReportLinks("Start Menu group", ShellFolder(CSIDL_PROGRAMS) + "\\Tarvo Chinese Input Engine");
    ReportLinks("Desktop", ShellFolder(CSIDL_DESKTOPDIRECTORY));
    ReportLinks("Startup", ShellFolder(CSIDL_STARTUP));
    printf("\n%s\n", Failures ? "unattended run: FAILED" : "unattended run: done");
    return Failures ? 1 : 0;
}
