// Driving the real TarvoSetup.exe from another process, as a user would:
// starting it, finding its windows, clicking, typing, and reading back what
// its controls, the disk and its exit code say. Screenshots and PNG files,
// shortcut files, and the off-screen rendering of a caption for comparison.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "tests/patience.h"

// ---- the process --------------------------------------------------------

struct InstallerRun {
    PROCESS_INFORMATION Process;
    HWND Main;              // the wizard, null until it appeared
};

// Z:\... path of a file in the build tree; the build folder comes from the
// environment variable TARVO_BUILD (a Unix path, reached through drive Z:).
std::string BuildFile(const char* name);
// The same for the shipped programs and the test builds of the installer,
// from the build TARVO_SHIPPED names: another one when the tests are 64-bit
// programs driving the 32-bit ones.
std::string ShippedFile(const char* name);

// How a process is started beyond its path and folder: entries NAME=value
// that replace or add to the driver's own environment, and its arguments.
struct StartOptions {
    std::vector<std::string> Environment;
    std::string Arguments;      // after the program's quoted path
};

// Starts exePath with currentDir as its current directory, both UTF-8 (any
// name a profile folder may have). Returns 1 once the process runs; the main
// window is not waited for.
int StartProcess(const char* exePath, const char* currentDir, InstallerRun* run,
                 const StartOptions* options = nullptr);
// UTF-8 as UTF-16.
std::wstring Utf8ToWide(const std::string& text);
// StartProcess, then waits for the wizard window. 1 when it appeared.
int StartInstaller(const char* exePath, const char* currentDir, InstallerRun* run,
                   const StartOptions* options = nullptr);
// 1 when the process ended within timeoutMs; its exit code in *exitCode.
int WaitForExit(InstallerRun* run, DWORD timeoutMs, DWORD* exitCode);
// Ends a process that is still running and closes the handles.
void EndRun(InstallerRun* run);

// ---- windows --------------------------------------------------------------

extern const char* const WizardTitle;     // "Tarvo Chinese Input Engine Installer"
extern const char* const MessageTitle;    // "Quorlin Install Message"

// A visible top-level window of the process with this title (null: any) and
// class (null: any) whose owner is owner (null: any owner). Null if none.
HWND FindProcessWindow(DWORD pid, const char* title, const char* className, HWND owner);
HWND WaitForProcessWindow(DWORD pid, const char* title, const char* className, HWND owner,
                          DWORD timeoutMs);
HWND WaitForMessageDialog(const InstallerRun& run, DWORD timeoutMs);
// The folder browser: the enabled #32770 window owned by the wizard.
HWND WaitForFolderBrowser(const InstallerRun& run, DWORD timeoutMs);
// 1 when some visible window of the process exists.
int ProcessHasWindow(DWORD pid);

// Every limit of the driver (timeoutMs) is stretched by the session's speed
// factor (tests/patience.h).

// Polls pred every 20 ms until it holds or timeoutMs has passed.
template <class Pred>
int WaitUntil(Pred pred, DWORD timeoutMs)
{
    timeoutMs = Patient(timeoutMs);
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return 1;
        if (GetTickCount() - start >= timeoutMs) return 0;
        Sleep(20);
    }
}

// ---- painting -----------------------------------------------------------------

// 1 when the window or one of its visible descendants still has an update
// region, that is a WM_PAINT to come. A query of the window manager's state:
// no message reaches the window's thread.
int HasPendingPaint(HWND window);
// Waits until window's thread is back in a message loop (a sent WM_NULL
// returns only then) with nothing of window left to paint, twice in a row,
// so that a WM_PAINT under way when the first check ran has ended too.
// 1 when it happened within timeoutMs. Only after the expected effect of a
// posted click is visible: a sent WM_NULL may overtake a posted message.
int WaitForPaint(HWND window, DWORD timeoutMs);

// ---- acting -----------------------------------------------------------------

// A mouse click on a button as the button itself sees it (BM_CLICK, posted,
// so that a long command handler does not block the driver).
void ClickButton(HWND dialog, int id);
// The window's close box (the system command it sends).
void PressCloseBox(HWND window);
// Gives the keyboard focus to control id of dialog (WM_NEXTDLGCTL) and waits
// until the dialog's thread reports it. 1 on success.
int FocusControl(HWND dialog, int id);
// Real key input (SendInput) after giving the focus to control id: one
// press and release of vk. 1 when the focus could be given.
int PressKeyOn(HWND dialog, int id, WORD vk);
// One press and release of vk for whatever has the focus now; with withAlt,
// while Alt is held down (an access key).
int PressKey(WORD vk, int withAlt = 0);
// Replaces the text of an edit box (WM_SETTEXT).
int SetControlText(HWND dialog, int id, const char* text);

// ---- reading ----------------------------------------------------------------

// SendMessageTimeout: a busy target yields fallback instead of a hang.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT fallback = -1);
int IsShown(HWND dialog, int id);
int IsEnabled(HWND dialog, int id);
int IsTicked(HWND dialog, int id);
std::string ControlText(HWND dialog, int id);     // WM_GETTEXT, ANSI
// The Chinese line of a message as GBK bytes. An installer that sees the NT
// family (onNt) sets it in UTF-16, read here through the wide call and
// converted back, whatever this system's code page; on 9x it sets the bytes
// through the ANSI call, which the ANSI call gives back.
std::string ChineseCaption(HWND dialog, int id, int onNt = 1);
std::wstring ListItemText(HWND list, int index);  // LB_GETTEXT through the W call
// The bytes the installer draws a caption or a licence line from, read from
// its memory: the text a control's user data points to (the message's
// Chinese line), or the one an item's data points to (a licence line). Not
// what the control's text turns them into on the way out.
std::string DrawnCaption(HWND dialog, int id);
std::string DrawnListItem(HWND list, int index);
// 1 when this host reads the memory of window's process where that process
// sees it: not where 32-bit code runs under qemu-user, whose guest addresses
// are not the host's.
int ReadsMemoryOf(HWND window);
// The wizard page shown: 0..3 by the visible page controls, -1 when none is.
int VisiblePage(HWND wizard);
// The focused window of the thread that owns window.
HWND FocusOf(HWND window);

// ---- files --------------------------------------------------------------------

// Attributes, or INVALID_FILE_ATTRIBUTES.
DWORD Attributes(const std::string& path);
int FileExists(const std::string& path);
int FolderExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);
// Removes a folder tree, clearing read-only and hidden first. Missing is fine.
// A path in the ANSI code page, or in UTF-16 for what that cannot spell.
void RemoveTree(const std::string& path);
void RemoveTree(const std::wstring& path);
std::string ShellFolder(int csidl);

struct ShortcutInfo {
    std::string Target, WorkingDir, Description;
};
// Loads a .lnk through IShellLinkA and IPersistFile::Load. 1 on success.
int ReadShortcut(const std::string& linkPath, ShortcutInfo* info);

// ---- images -------------------------------------------------------------------

struct Image {
    int Width = 0, Height = 0;
    std::vector<DWORD> Pixels;   // 0x00RRGGBB, top row first
    DWORD At(int x, int y) const { return Pixels[y * Width + x]; }
};

// What is on the screen inside the rectangle (screen coordinates).
int CaptureScreen(const RECT& area, Image* image);
int CaptureWindow(HWND window, Image* image);
Image Crop(const Image& image, int x, int y, int width, int height);
// 8-bit RGB PNG, zlib-compressed. 1 on success.
int WritePng(const char* path, const Image& image);
// Count of pixels that differ between two images of the same size.
int DifferingPixels(const Image& a, const Image& b);
int CountPixelsNot(const Image& image, DWORD colour);

// The wizard's dialog font (MS Sans Serif 8 as this system resolves it),
// taken from a hidden dialog of the driver's own made from a template with
// the same font. Lives until the process ends.
HFONT WizardFont();
// A caption as an owner-drawn push button of width x height paints it: the
// button face and the text centred with the dialog font, Chinese cells from
// the glyph atlas. A letter after "&" is the access key: the system's own
// DrawText underlines it, as it does a standard button's. *textArea receives
// the text's rectangle in the button.
Image RenderButtonCaption(const char* caption, int width, int height, RECT* textArea);
// The atlas of the driver's own resources, loaded once. 1 when it is there.
int DriverAtlasReady();
