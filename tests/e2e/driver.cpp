// The driver's edges: process, windows, input, controls, files, images.
#include "tests/e2e/driver.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "render/atlas.h"
#include "render/mixed_text.h"
#include "shell/process_state.h"
#include "tests/e2e/e2e_ids.h"
#include "tests/png_file.h"

const char* const WizardTitle = "Tarvo Chinese Input Engine Installer";
const char* const MessageTitle = "Quorlin Install Message";

// ---- the process ------------------------------------------------------------

namespace {
std::string FileUnder(const char* variable, const char* name)
{
    const char* build = getenv(variable);
    std::string path = "Z:";
    path += build ? build : "";
    path += "/";
    path += name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}
}  // namespace

std::string BuildFile(const char* name)
{
    return FileUnder("TARVO_BUILD", name);
}

std::string ShippedFile(const char* name)
{
    return FileUnder(getenv("TARVO_SHIPPED") ? "TARVO_SHIPPED" : "TARVO_BUILD", name);
}

namespace {

// The driver's environment with the given entries replacing those of the
// same name: a block of NUL-terminated entries, ending with an empty one.
std::string EnvironmentWith(const std::vector<std::string>& entries)
{
    std::string block;
    char* own = GetEnvironmentStringsA();
    for (const char* entry = own; *entry; entry += strlen(entry) + 1) {
        const char* equals = strchr(entry + 1, '=');
        size_t nameLength = equals ? static_cast<size_t>(equals - entry) + 1 : strlen(entry);
        bool replaced = false;
        for (const std::string& e : entries)
            replaced = replaced || _strnicmp(e.c_str(), entry, nameLength) == 0;
        if (!replaced) block.append(entry).push_back('\0');
    }
    FreeEnvironmentStringsA(own);
    for (const std::string& e : entries) block.append(e).push_back('\0');
    block.push_back('\0');
    return block;
}

}  // namespace

int StartProcess(const char* exePath, const char* currentDir, InstallerRun* run,
                 const StartOptions* options)
{
    *run = InstallerRun{};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const std::wstring exe = Utf8ToWide(exePath);
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (options && !options->Arguments.empty())
        commandLine += L" " + Utf8ToWide(options->Arguments);
    std::string environment;
    if (options && !options->Environment.empty())
        environment = EnvironmentWith(options->Environment);
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                        environment.empty() ? nullptr : &environment[0],
                        currentDir ? Utf8ToWide(currentDir).c_str() : nullptr, &startup,
                        &run->Process))
        return 0;
    WaitForInputIdle(run->Process.hProcess, Patient(10000));
    return 1;
}

std::wstring Utf8ToWide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0],
                                    static_cast<int>(wide.size()));
    wide.resize(units > 0 ? units - 1 : 0);
    return wide;
}

int StartInstaller(const char* exePath, const char* currentDir, InstallerRun* run,
                   const StartOptions* options)
{
    if (!StartProcess(exePath, currentDir, run, options)) return 0;
    run->Main = WaitForProcessWindow(run->Process.dwProcessId, WizardTitle, "#32770", nullptr,
                                     30000);
    return run->Main != nullptr;
}

int WaitForExit(InstallerRun* run, DWORD timeoutMs, DWORD* exitCode)
{
    if (!run->Process.hProcess) return 0;
    if (WaitForSingleObject(run->Process.hProcess, Patient(timeoutMs)) != WAIT_OBJECT_0) return 0;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(run->Process.hProcess, &code);
    if (exitCode) *exitCode = code;
    return 1;
}

void EndRun(InstallerRun* run)
{
    if (run->Process.hProcess) {
        if (WaitForSingleObject(run->Process.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(run->Process.hProcess, 99);
            WaitForSingleObject(run->Process.hProcess, Patient(10000));
        }
        CloseHandle(run->Process.hProcess);
        CloseHandle(run->Process.hThread);
    }
    *run = InstallerRun{};
}

// ---- windows ----------------------------------------------------------------

namespace {
struct WindowQuery {
    DWORD Pid;
    const char* Title;
    const char* ClassName;
    HWND Owner;
    int EnabledOnly;
    HWND Found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != query->Pid || !IsWindowVisible(window)) return TRUE;
    if (query->EnabledOnly && !IsWindowEnabled(window)) return TRUE;
    char text[256] = "";
    if (query->Title) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, query->Title) != 0) return TRUE;
    }
    if (query->ClassName) {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, query->ClassName) != 0) return TRUE;
    }
    if (query->Owner && GetWindow(window, GW_OWNER) != query->Owner) return TRUE;
    query->Found = window;
    return FALSE;
}

HWND FindWindowBy(DWORD pid, const char* title, const char* className, HWND owner, int enabled)
{
    WindowQuery query{pid, title, className, owner, enabled, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.Found;
}
}  // namespace

HWND FindProcessWindow(DWORD pid, const char* title, const char* className, HWND owner)
{
    return FindWindowBy(pid, title, className, owner, 0);
}

HWND WaitForProcessWindow(DWORD pid, const char* title, const char* className, HWND owner,
                          DWORD timeoutMs)
{
    // A process that has ended shows no more windows: no need to wait on.
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindProcessWindow(pid, title, className, owner);
        return found || (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0);
    }, timeoutMs);
    if (process) CloseHandle(process);
    return found;
}

HWND WaitForMessageDialog(const InstallerRun& run, DWORD timeoutMs)
{
    return WaitForProcessWindow(run.Process.dwProcessId, MessageTitle, "#32770", nullptr,
                                timeoutMs);
}

HWND WaitForFolderBrowser(const InstallerRun& run, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindWindowBy(run.Process.dwProcessId, nullptr, "#32770", run.Main, 1);
        return found != nullptr;
    }, timeoutMs);
    return found;
}

int ProcessHasWindow(DWORD pid)
{
    return FindProcessWindow(pid, nullptr, nullptr, nullptr) != nullptr;
}

// ---- painting -------------------------------------------------------------------

namespace {
BOOL CALLBACK FindPendingChild(HWND child, LPARAM found)
{
    RECT update;
    if (IsWindowVisible(child) && GetUpdateRect(child, &update, FALSE)) {
        *reinterpret_cast<int*>(found) = 1;
        return FALSE;
    }
    return TRUE;
}

// 1 when a sent WM_NULL came back within timeoutMs.
int ThreadAnswers(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}
}  // namespace

int HasPendingPaint(HWND window)
{
    RECT update;
    if (GetUpdateRect(window, &update, FALSE)) return 1;
    int found = 0;
    EnumChildWindows(window, FindPendingChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

int WaitForPaint(HWND window, DWORD timeoutMs)
{
    timeoutMs = Patient(timeoutMs);
    DWORD start = GetTickCount();
    int quiet = 0;
    for (;;) {
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs || !ThreadAnswers(window, timeoutMs - spent)) return 0;
        quiet = HasPendingPaint(window) ? 0 : quiet + 1;
        if (quiet == 2) return 1;
        if (!quiet) Sleep(1);
    }
}

// ---- acting ---------------------------------------------------------------------

void ClickButton(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PressCloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

int FocusControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control) return 0;
    SetForegroundWindow(dialog);
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    return WaitUntil([&] { return FocusOf(dialog) == control; }, 5000);
}

int PressKeyOn(HWND dialog, int id, WORD vk)
{
    return FocusControl(dialog, id) && PressKey(vk);
}

int PressKey(WORD vk, int withAlt)
{
    INPUT keys[4]{};
    UINT n = 0;
    for (WORD key : {static_cast<WORD>(VK_MENU), vk})
        if (key != VK_MENU || withAlt) {
            keys[n].type = INPUT_KEYBOARD;
            keys[n].ki.wVk = key;
            keys[n].ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
            ++n;
        }
    for (UINT i = n; i > 0; --i) {   // released in reverse order
        keys[n * 2 - i] = keys[i - 1];
        keys[n * 2 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    return SendInput(n * 2, keys, sizeof(INPUT)) == n * 2;
}

int SetControlText(HWND dialog, int id, const char* text)
{
    return Ask(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), 0) != 0;
}

// ---- reading ----------------------------------------------------------------------

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT fallback)
{
    DWORD_PTR result = 0;
    if (!window ||
        !SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, Patient(5000), &result))
        return fallback;
    return static_cast<LRESULT>(result);
}

int IsShown(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowVisible(control);
}

int IsEnabled(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowEnabled(control);
}

int IsTicked(HWND dialog, int id)
{
    return Ask(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    LRESULT length = Ask(control, WM_GETTEXTLENGTH, 0, 0, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = Ask(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), 0);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string ChineseCaption(HWND dialog, int id, int onNt)
{
    if (!onNt) return ControlText(dialog, id);
    HWND control = GetDlgItem(dialog, id);
    WCHAR wide[1024] = L"";
    DWORD_PTR got = 0;
    if (control)
        SendMessageTimeoutW(control, WM_GETTEXT, sizeof wide / sizeof wide[0],
                            reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, Patient(5000), &got);
    char gbk[2048] = "";
    WideCharToMultiByte(936, 0, wide, -1, gbk, sizeof gbk, nullptr, nullptr);
    return gbk;
}

std::wstring ListItemText(HWND list, int index)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, index, 0, SMTO_NORMAL, Patient(5000), &length) ||
        static_cast<LRESULT>(length) < 0)
        return std::wstring();
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL,
                        Patient(5000), &got);
    text.resize(static_cast<LRESULT>(got) > 0 ? got : 0);
    return text;
}

namespace {

// A NUL-terminated string at address in the process that owns window, read
// in pieces that never cross a 64-byte boundary, so that the end of its
// page cannot fail the read. At most 4096 bytes.
std::string RemoteString(HWND window, ULONG_PTR address)
{
    std::string text;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = address ? OpenProcess(PROCESS_VM_READ, FALSE, pid) : nullptr;
    if (!process) return text;
    for (bool ended = false; !ended && text.size() < 4096;) {
        char piece[64];
        const SIZE_T size = 64 - address % 64;
        SIZE_T got = 0;
        if (!ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), piece, size, &got) || !got)
            break;
        for (SIZE_T i = 0; i < got && !ended; ++i) {
            if (piece[i] == 0) ended = true;
            else text += piece[i];
        }
        address += got;
    }
    CloseHandle(process);
    return text;
}

}  // namespace

std::string DrawnCaption(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return RemoteString(control, static_cast<ULONG_PTR>(GetWindowLongPtrA(control, GWLP_USERDATA)));
}

int ReadsMemoryOf(HWND window)
{
    const LONG_PTR module = GetWindowLongPtrA(window, GWLP_HINSTANCE);
    return RemoteString(window, static_cast<ULONG_PTR>(module)).rfind("MZ", 0) == 0;
}

std::string DrawnListItem(HWND list, int index)
{
    const LRESULT data = Ask(list, LB_GETITEMDATA, index, 0, 0);
    return data == LB_ERR ? std::string() : RemoteString(list, static_cast<ULONG_PTR>(data));
}

int VisiblePage(HWND wizard)
{
    constexpr int marker[4] = {1002, 1007, 1010, 1031};   // one control of each page
    for (int page = 0; page < 4; ++page)
        if (IsShown(wizard, marker[page])) return page;
    return -1;
}

// ---- files --------------------------------------------------------------------------

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesA(path.c_str());
}

int FileExists(const std::string& path)
{
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

int FolderExists(const std::string& path)
{
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

void RemoveTree(const std::string& path)
{
    // The system's code page spells the tests' own paths.
    const int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(units > 0 ? units : 1, L'\0');
    if (units > 0 && MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], units))
        RemoveTree(wide.substr(0, units - 1));
}

void RemoveTree(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L".."))
                RemoveTree(path + L"\\" + found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) return std::string();
    return path;
}

int ReadShortcut(const std::string& linkPath, ShortcutInfo* info)
{
    if (FAILED(CoInitialize(nullptr))) return 0;
    int ok = 0;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH];
            if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) &&
                SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[MAX_PATH] = "";
                WIN32_FIND_DATAA data;
                if (SUCCEEDED(link->GetPath(text, MAX_PATH, &data, SLGP_RAWPATH)))
                    info->Target = text;
                text[0] = 0;
                link->GetWorkingDirectory(text, MAX_PATH);
                info->WorkingDir = text;
                text[0] = 0;
                link->GetDescription(text, MAX_PATH);
                info->Description = text;
                ok = 1;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return ok;
}

// ---- images -----------------------------------------------------------------------

int CaptureScreen(const RECT& area, Image* image)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int ok = 0;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        if (ok) {
            image->Width = width;
            image->Height = height;
            const DWORD* pixel = static_cast<const DWORD*>(bits);
            image->Pixels.assign(pixel, pixel + width * height);
            for (DWORD& p : image->Pixels) p &= 0xFFFFFF;
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

int CaptureWindow(HWND window, Image* image)
{
    RECT area;
    if (!GetWindowRect(window, &area)) return 0;
    return CaptureScreen(area, image);
}

Image Crop(const Image& image, int x, int y, int width, int height)
{
    Image part;
    part.Width = width;
    part.Height = height;
    part.Pixels.assign(static_cast<size_t>(width) * height, 0);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            int sx = x + col, sy = y + row;
            if (sx >= 0 && sy >= 0 && sx < image.Width && sy < image.Height)
                part.Pixels[row * width + col] = image.At(sx, sy);
        }
    return part;
}

int WritePng(const char* path, const Image& image)
{
    if (image.Width <= 0 || image.Height <= 0) return 0;
    std::vector<unsigned char> rgb;
    rgb.reserve(image.Pixels.size() * 3);
    for (DWORD p : image.Pixels) {
        rgb.push_back(static_cast<unsigned char>((p >> 16) & 0xFF));
        rgb.push_back(static_cast<unsigned char>((p >> 8) & 0xFF));
        rgb.push_back(static_cast<unsigned char>(p & 0xFF));
    }
    return WritePng(path, rgb.data(), image.Width, image.Height);
}

int DifferingPixels(const Image& a, const Image& b)
{
    if (a.Width != b.Width || a.Height != b.Height) return -1;
    int count = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) count += a.Pixels[i] != b.Pixels[i];
    return count;
}

int CountPixelsNot(const Image& image, DWORD colour)
{
    int count = 0;
    for (DWORD p : image.Pixels) count += p != colour;
    return count;
}

// ---- the caption as the installer paints it -------------------------------------

namespace {
INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}
}  // namespace

HFONT WizardFont()
{
    static HWND fontDialog;
    if (!fontDialog)
        fontDialog = CreateDialogParamA(GetModuleHandleA(nullptr),
                                        MAKEINTRESOURCEA(IDD_E2E_FONT_PROBE), nullptr, QuietDialog,
                                        0);
    return fontDialog ? reinterpret_cast<HFONT>(SendMessageA(fontDialog, WM_GETFONT, 0, 0))
                      : nullptr;
}

int DriverAtlasReady()
{
    static int state = -1;
    if (state < 0) {
        AppInstance = GetModuleHandleA(nullptr);
        state = LoadGlyphAtlas() == AtlasOk;
    }
    return state;
}

Image RenderButtonCaption(const char* caption, int width, int height, RECT* textArea)
{
    Image image;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!memory || !bitmap || !DriverAtlasReady()) {
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
        return image;
    }
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HGDIOBJ oldFont = SelectObject(memory, WizardFont());
    RECT all = {0, 0, width, height};
    FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
    // The colours the dialog manager gives a button's device context.
    SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(memory, GetSysColor(COLOR_BTNFACE));
    std::string drawn(caption);
    const size_t key = drawn.find('&');
    if (key != std::string::npos) drawn.erase(key, 1);
    SIZE size = MeasureMixedText(memory, drawn.c_str());
    int x = (width - size.cx) / 2, y = (height - size.cy) / 2;
    DrawMixedText(memory, x, y, drawn.c_str());
    if (key != std::string::npos) {
        // The system's underline: DrawText of the letter with its "&" where
        // MixedText put it (ASCII one pixel down), clipped to the rows below
        // the font's ascent, which hold nothing else of a letter that has no
        // descender.
        TEXTMETRICA metrics;
        GetTextMetricsA(memory, &metrics);
        const int left = x + MeasureMixedText(memory, drawn.substr(0, key).c_str()).cx;
        RECT letter = {left, y + 1, left + 1, y + 1};
        const char marked[3] = {'&', drawn[key], 0};
        IntersectClipRect(memory, 0, y + 1 + metrics.tmAscent, width, height);
        SetBkMode(memory, TRANSPARENT);
        DrawTextA(memory, marked, 2, &letter, DT_SINGLELINE | DT_NOCLIP | DT_LEFT | DT_TOP);
        SelectClipRgn(memory, nullptr);
    }
    GdiFlush();
    if (textArea) *textArea = RECT{x, y, x + size.cx, y + size.cy};
    image.Width = width;
    image.Height = height;
    const DWORD* pixel = static_cast<const DWORD*>(bits);
    image.Pixels.assign(pixel, pixel + width * height);
    for (DWORD& p : image.Pixels) p &= 0xFFFFFF;
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return image;
}
