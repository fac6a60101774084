// The driver's own pieces, checked against the probe program (another
// process, like the installer) before they are trusted with the installer.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <zlib.h>
#include <cstring>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_ids.h"

namespace {

std::string TempFile(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

unsigned long BigEndian(const std::string& bytes, size_t at)
{
    unsigned long v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// Reads back a PNG written by WritePng: every chunk's CRC, the header, and
// the inflated rows compared with the image.
void ExpectPngHolds(const std::string& png, const Image& image)
{
    ASSERT_GT(png.size(), 8u);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::string data;
    size_t at = 8;
    int sawHeader = 0, sawEnd = 0;
    while (at + 12 <= png.size()) {
        unsigned long length = BigEndian(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        std::string type = png.substr(at + 4, 4);
        std::string body = png.substr(at + 4, 4 + length);
        EXPECT_EQ(BigEndian(png, at + 8 + length),
                  crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size()))
            << type;
        if (type == "IHDR") {
            sawHeader = 1;
            EXPECT_EQ(BigEndian(png, at + 8), static_cast<unsigned long>(image.Width));
            EXPECT_EQ(BigEndian(png, at + 12), static_cast<unsigned long>(image.Height));
            EXPECT_EQ(png[at + 16], 8);   // bit depth
            EXPECT_EQ(png[at + 17], 2);   // RGB
        } else if (type == "IDAT") {
            data += png.substr(at + 8, length);
        } else if (type == "IEND") {
            sawEnd = 1;
        }
        at += 12 + length;
    }
    EXPECT_TRUE(sawHeader);
    EXPECT_TRUE(sawEnd);
    uLongf rawSize = static_cast<uLongf>(image.Height) * (image.Width * 3 + 1);
    std::string raw(rawSize, '\0');
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&raw[0]), &rawSize,
                         reinterpret_cast<const Bytef*>(data.data()), data.size()),
              Z_OK);
    ASSERT_EQ(rawSize, raw.size());
    int wrong = 0;
    for (int y = 0; y < image.Height; ++y) {
        const unsigned char* row =
            reinterpret_cast<const unsigned char*>(raw.data()) + y * (image.Width * 3 + 1);
        EXPECT_EQ(row[0], 0);
        for (int x = 0; x < image.Width; ++x) {
            DWORD p = (row[1 + 3 * x] << 16) | (row[2 + 3 * x] << 8) | row[3 + 3 * x];
            wrong += p != image.At(x, y);
        }
    }
    EXPECT_EQ(wrong, 0);
}

struct Probe {
    InstallerRun Run{};
    HWND Dialog = nullptr;
    void Start()
    {
        ASSERT_TRUE(StartProcess(BuildFile("tests/e2e_probe.exe").c_str(), "C:\\", &Run));
        Dialog = WaitForProcessWindow(Run.Process.dwProcessId, "Driver Probe", "#32770", nullptr,
                                      30000);
        ASSERT_NE(Dialog, nullptr);
    }
    ~Probe() { EndRun(&Run); }
    int StatusIs(const char* text)
    {
        return WaitUntil([&] { return ControlText(Dialog, IDC_PROBE_STATUS) == text; }, 5000);
    }
};

}  // namespace

TEST(Driver, ClicksReadsAndTypesIntoAnotherProcess)
{
    Probe probe;
    probe.Start();
    HWND dialog = probe.Dialog;
    EXPECT_EQ(ControlText(dialog, IDC_PROBE_STATUS), "idle");

    ClickButton(dialog, IDC_PROBE_BUTTON);
    EXPECT_TRUE(probe.StatusIs("pressed 1"));
    ClickButton(dialog, IDC_PROBE_CHECK);
    EXPECT_TRUE(WaitUntil([&] { return IsTicked(dialog, IDC_PROBE_CHECK); }, 5000));
    ClickButton(dialog, IDC_PROBE_CHECK);
    EXPECT_TRUE(WaitUntil([&] { return !IsTicked(dialog, IDC_PROBE_CHECK); }, 5000));

    HWND list = GetDlgItem(dialog, IDC_PROBE_LIST);
    EXPECT_EQ(Ask(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ListItemText(list, 1), L"second item, longer than one letter");

    ASSERT_TRUE(SetControlText(dialog, IDC_PROBE_EDIT, "C:\\Some Folder\\"));
    EXPECT_EQ(ControlText(dialog, IDC_PROBE_EDIT), "C:\\Some Folder\\");

    // Keys come through the probe's queue with the focus where the driver put it.
    ASSERT_TRUE(PressKeyOn(dialog, IDC_PROBE_EDIT, VK_RETURN));
    EXPECT_TRUE(probe.StatusIs("key 13 on 914"));
    ASSERT_TRUE(PressKeyOn(dialog, IDC_PROBE_BUTTON, VK_F5));
    EXPECT_TRUE(probe.StatusIs("key 116 on 911"));
    EXPECT_TRUE(IsShown(dialog, IDC_PROBE_LIST));
    EXPECT_TRUE(IsEnabled(dialog, IDC_PROBE_EDIT));

    PressCloseBox(dialog);
    DWORD code = 0;
    ASSERT_TRUE(WaitForExit(&probe.Run, 20000, &code));
    EXPECT_EQ(code, static_cast<DWORD>(PROBE_EXIT_CODE));
}

TEST(Driver, EscapeKeyReachesTheDialogManager)
{
    Probe probe;
    probe.Start();
    ASSERT_TRUE(PressKeyOn(probe.Dialog, IDC_PROBE_CHECK, VK_ESCAPE));
    DWORD code = 0;
    ASSERT_TRUE(WaitForExit(&probe.Run, 20000, &code));
    EXPECT_EQ(code, static_cast<DWORD>(PROBE_EXIT_CODE));
}

TEST(Driver, ScreenshotShowsTheWindowAndSurvivesPng)
{
    Probe probe;
    probe.Start();
    Sleep(300);
    Image shot;
    ASSERT_TRUE(CaptureWindow(probe.Dialog, &shot));
    RECT r;
    GetWindowRect(probe.Dialog, &r);
    EXPECT_EQ(shot.Width, r.right - r.left);
    EXPECT_EQ(shot.Height, r.bottom - r.top);
    // The dialog's face colour fills most of it; the button and list differ.
    DWORD face = GetSysColor(COLOR_BTNFACE);
    face = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    int notFace = CountPixelsNot(shot, face);
    EXPECT_GT(notFace, 100);
    EXPECT_LT(notFace, shot.Width * shot.Height / 2);

    std::string path = TempFile("e2e-probe.png");
    ASSERT_TRUE(WritePng(path.c_str(), shot));
    ExpectPngHolds(ReadFileBytes(path), shot);
    DeleteFileA(path.c_str());
}

// What the pictures and the benchmark rely on: a pending paint in another
// process is seen, and the wait ends only once that process has painted.
TEST(Driver, WaitsUntilAnotherProcessHasPainted)
{
    Probe probe;
    probe.Start();
    ASSERT_TRUE(WaitForPaint(probe.Dialog, 20000));
    EXPECT_FALSE(HasPendingPaint(probe.Dialog));
    // With the probe's thread held, an invalidated child stays unpainted.
    ASSERT_NE(SuspendThread(probe.Run.Process.hThread), static_cast<DWORD>(-1));
    InvalidateRect(GetDlgItem(probe.Dialog, IDC_PROBE_LIST), nullptr, TRUE);
    EXPECT_TRUE(HasPendingPaint(probe.Dialog));
    EXPECT_FALSE(WaitForPaint(probe.Dialog, 300));
    ResumeThread(probe.Run.Process.hThread);
    EXPECT_TRUE(WaitForPaint(probe.Dialog, 20000));
    EXPECT_FALSE(HasPendingPaint(probe.Dialog));
}

TEST(Driver, ReadsBackAShortcut)
{
    std::string link = TempFile("e2e-probe.lnk");
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkA* shell = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkA, reinterpret_cast<void**>(&shell))));
    shell->SetPath("C:\\windows\\notepad.exe");
    shell->SetWorkingDirectory("C:\\windows");
    shell->SetDescription("Probe Link");
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    EXPECT_TRUE(SUCCEEDED(file->Save(wide, TRUE)));
    file->Release();
    shell->Release();
    CoUninitialize();

    ShortcutInfo info;
    ASSERT_TRUE(ReadShortcut(link, &info));
    EXPECT_STREQ(CharLowerA(&info.Target[0]), "c:\\windows\\notepad.exe");
    EXPECT_EQ(info.WorkingDir, "C:\\windows");
    EXPECT_EQ(info.Description, "Probe Link");
    EXPECT_FALSE(ReadShortcut(TempFile("no-such.lnk"), &info));
    DeleteFileA(link.c_str());
}

TEST(Driver, RendersACaptionWithTheAtlasAndTheWizardFont)
{
    ASSERT_TRUE(DriverAtlasReady());
    HFONT font = WizardFont();
    ASSERT_NE(font, nullptr);
    LOGFONTA logFont{};
    ASSERT_TRUE(GetObjectA(font, sizeof logFont, &logFont));
    EXPECT_STREQ(logFont.lfFaceName, "MS Sans Serif");

    RECT next{}, agree{};
    Image a = RenderButtonCaption("下一步 Next", 160, 26, &next);
    Image b = RenderButtonCaption("同意/安装 Agree/Install", 160, 26, &agree);
    ASSERT_EQ(a.Width, 160);
    EXPECT_EQ(next.bottom - next.top, 16);
    EXPECT_EQ(next.top, 5);
    EXPECT_EQ((next.left + next.right) / 2, 80);
    // Three Chinese cells and the ASCII word carry ink; the two captions differ.
    DWORD face = GetSysColor(COLOR_BTNFACE);
    face = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_GT(CountPixelsNot(Crop(a, next.left, next.top, 48, 16), face), 30);
    EXPECT_GT(CountPixelsNot(Crop(a, next.left + 48, next.top, next.right - next.left - 48, 16),
                             face), 10);
    EXPECT_GT(DifferingPixels(a, b), 100);
}
