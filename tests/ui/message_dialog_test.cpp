// The message dialog run for real (template 112 and the shipped glyph atlas
// are linked into this program): a helper thread finds it, checks its
// layout, takes screenshots and presses its buttons or keys. Also the
// painter's GDI balance over many paints, and the showcase screenshot.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "render/atlas.h"
#include "render/mixed_text.h"
#include "resources/resource_ids.h"
#include "shell/process_state.h"
#include "showcase.h"
#include "test_support.h"
#include "ui/message_dialog.h"
#include "ui/owner_draw.h"

namespace {

const char* const Congratulations = "祝贺您：安装顺利完成！";
const char* const WordBaseQuestion = "安装目录有老词库。是否安装新词库(会冲掉老词库)?";
const char* const FilesInUse = "Tarvo 正在运行：3 个文件正在使用。请退出所有 Tarvo 程序，然后按“重试”。";

class Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        CreateSampleFont();
        ASSERT_EQ(AtlasOk, LoadGlyphAtlas());
    }
    void TearDown() override
    {
        FreeGlyphAtlas();
        if (SampleFont)
            DeleteObject(SampleFont);
    }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new Environment);

struct ThreadFind {
    HWND Found;
};

BOOL CALLBACK FindMessageWindow(HWND window, LPARAM data)
{
    char title[64];
    if (GetWindowTextA(window, title, sizeof title) && std::strcmp(title, "Quorlin Install Message") == 0 &&
        IsWindowVisible(window)) {
        reinterpret_cast<ThreadFind*>(data)->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMessageDialog(DWORD thread)
{
    for (int i = 0; i < 500; ++i) {
        ThreadFind find{nullptr};
        EnumThreadWindows(thread, FindMessageWindow, reinterpret_cast<LPARAM>(&find));
        if (find.Found) {
            Sleep(150);  // let it finish its first paint
            return find.Found;
        }
        Sleep(10);
    }
    return nullptr;
}

// What the helper thread saw of a dialog.
struct Observed {
    HWND Dialog = nullptr;
    RECT Window = {};
    bool Visible[8] = {};    // by button id 1, 2, 4, 6, 7
    POINT Button[8] = {};    // client positions
    SIZE ButtonSize = {};
    bool EnglishVisible = false;
    RECT Chinese = {}, English = {};
    std::string ChineseText;            // what the caption control was given
    int ShownWidth = 0;                 // its measured width
    bool OpenAfterIgnoredCommands = false;
    MessageLayout Expected = {};    // from inputs measured while the dialog lived
};

MessageLayout ExpectedLayout(HWND dialog, const char* chinese, const char* english, int kind, SIZE button,
                             int* chineseWidth);

// Runs ShowMessage on this thread while driver(dialog, observed) runs on a
// helper thread; returns ShowMessage's result.
int RunMessage(const char* chinese, const char* english, int kind, Observed& seen,
               const std::function<void(HWND, Observed&)>& driver)
{
    const DWORD self = GetCurrentThreadId();
    std::thread helper([&] {
        HWND dialog = WaitForMessageDialog(self);
        seen.Dialog = dialog;
        if (!dialog)
            return;
        GetWindowRect(dialog, &seen.Window);
        for (int id : {1, 2, 4, 6, 7}) {
            HWND button = GetDlgItem(dialog, id);
            seen.Visible[id] = IsWindowVisible(button) != 0;
            RECT r;
            GetWindowRect(button, &r);
            POINT p{r.left, r.top};
            ScreenToClient(dialog, &p);
            seen.Button[id] = p;
            if (seen.Visible[id])
                seen.ButtonSize = SIZE{r.right - r.left, r.bottom - r.top};
        }
        HWND englishControl = GetDlgItem(dialog, IDC_MSG_ENGLISH);
        seen.EnglishVisible = IsWindowVisible(englishControl) != 0;
        GetClientRect(englishControl, &seen.English);
        HWND caption = GetDlgItem(dialog, IDC_MSG_CHINESE);
        GetWindowRect(caption, &seen.Chinese);
        char text[600] = "";
        GetWindowTextA(caption, text, sizeof text);
        seen.ChineseText = text;
        seen.Expected = ExpectedLayout(dialog, text, english, kind, seen.ButtonSize, &seen.ShownWidth);
        driver(dialog, seen);
    });
    const int result = ShowMessage(chinese, english, kind, nullptr);
    helper.join();
    return result;
}

void Click(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PressKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// True when the dialog closed within about three seconds.
bool ClosesSoon(HWND dialog)
{
    for (int i = 0; i < 300 && IsWindow(dialog); ++i)
        Sleep(10);
    return !IsWindow(dialog);
}

void Screenshot(HWND dialog, const char* name)
{
    RECT r;
    GetWindowRect(dialog, &r);
    char path[MAX_PATH];
    ScreenshotPath(path, name);
    EXPECT_TRUE(CaptureScreenPng(path, r)) << path;
}

// The layout the dialog should have, from inputs measured here afresh.
MessageLayout ExpectedLayout(HWND dialog, const char* chinese, const char* english, int kind, SIZE button,
                             int* chineseWidth)
{
    MessageLayoutInput in = {};
    char copy[256];
    std::snprintf(copy, sizeof copy, "%.255s", english ? english : "");
    english = copy;
    HDC dc = GetDC(dialog);
    int tw = 0;
    for (const char* p = chinese; *p;) {
        if (static_cast<unsigned char>(*p) & 0x80) {
            tw += 16;
            p += (p[1] ? 2 : 1);
        } else {
            SIZE one;
            GetTextExtentPointA(dc, p, 1, &one);
            tw += one.cx;
            ++p;
        }
    }
    in.ChineseWidth = tw;
    *chineseWidth = tw;
    in.ChineseHeight = 16;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &in.WorkArea, 0);
    in.DialogFrameX = GetSystemMetrics(SM_CXDLGFRAME);
    if (english && *english) {
        SIZE e;
        GetTextExtentPointA(dc, english, lstrlenA(english), &e);
        // Wider than the room, the English text wraps onto its second line.
        in.EnglishWidth = e.cx < MessageTextRoom(in) ? e.cx : MessageTextRoom(in);
        in.EnglishHeight = e.cy;
    }
    ReleaseDC(dialog, dc);
    in.ButtonWidth = button.cx;
    in.ButtonHeight = button.cy;
    in.ChineseBytes = lstrlenA(chinese);
    in.Kind = kind;
    in.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    in.CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    return ComputeMessageLayout(in);
}

void ExpectLayout(const Observed& seen, const char* chinese, const char* english, int kind,
                  bool wholeText = true)
{
    ASSERT_NE(nullptr, seen.Dialog);
    // The template's 73 x 18 dialog units in pixels; the same for all buttons.
    const MessageLayout& l = seen.Expected;
    (void)kind;
    EXPECT_EQ(l.Left, seen.Window.left);
    EXPECT_EQ(l.Top, seen.Window.top);
    EXPECT_EQ(l.Width, seen.Window.right - seen.Window.left);
    EXPECT_EQ(l.Height, seen.Window.bottom - seen.Window.top);
    EXPECT_TRUE(seen.Visible[l.FirstId]);
    EXPECT_EQ(l.First.x, seen.Button[l.FirstId].x);
    EXPECT_EQ(l.First.y, seen.Button[l.FirstId].y);
    if (l.SecondId) {
        EXPECT_TRUE(seen.Visible[l.SecondId]);
        EXPECT_EQ(l.Second.x, seen.Button[l.SecondId].x);
        EXPECT_EQ(l.Second.y, seen.Button[l.SecondId].y);
    }
    int shown = 0;
    for (int id : {1, 2, 4, 6, 7})
        shown += seen.Visible[id];
    EXPECT_EQ(l.SecondId ? 2 : 1, shown);
    EXPECT_EQ(l.ChineseHeight, seen.Chinese.bottom - seen.Chinese.top);
    if (wholeText) {
        EXPECT_EQ(chinese, seen.ChineseText);
    }
    EXPECT_EQ(english && *english, seen.EnglishVisible);
    if (english && *english) {
        EXPECT_EQ(l.EnglishHeight, seen.English.bottom);
    }
}

TEST(MessageDialog, RunsWithoutChineseSupport)
{
    // The screenshots are meant to show a system that cannot display Chinese.
    EXPECT_EQ(1252u, GetACP());
    HDC dc = GetDC(nullptr);
    LOGFONTA font = {};
    font.lfCharSet = GB2312_CHARSET;
    struct Found {
        static int CALLBACK Each(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM data)
        {
            ++*reinterpret_cast<int*>(data);
            return 1;
        }
    };
    int faces = 0;
    EnumFontFamiliesExA(dc, &font, Found::Each, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(0, faces) << "a GB2312 face is installed";
}

TEST(MessageDialog, TemplateIsAsShipped)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_MESSAGE_DIALOG), reinterpret_cast<LPCSTR>(RT_DIALOG));
    ASSERT_NE(nullptr, found);
    const auto* t = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, found)));
    EXPECT_EQ(0x90C800C4u, t->style);   // with DS_3DLOOK
    EXPECT_EQ(7, t->cdit);   // OK, Yes, No, Retry, Cancel and the two texts
    EXPECT_EQ(330, t->cx);
    EXPECT_EQ(85, t->cy);
    EXPECT_EQ(0, t->x);
    EXPECT_EQ(0, t->y);
}

TEST(MessageDialog, OkKindReturnsOneAndIgnoresOtherCommands)
{
    Observed seen;
    const char* english = "Congratulations! Installation Success!";
    const int result = RunMessage(Congratulations, english, MB_OK, seen, [](HWND dialog, Observed& s) {
        Screenshot(dialog, "message_congratulations.png");
        for (int id : {3, 4, 5, 6, 7, 1013})
            SendMessageA(dialog, WM_COMMAND, id, 0);
        Sleep(50);
        s.OpenAfterIgnoredCommands = IsWindow(dialog) && IsWindowVisible(dialog);
        Click(dialog, 1);
    });
    EXPECT_EQ(1, result);
    EXPECT_TRUE(seen.OpenAfterIgnoredCommands);
    ExpectLayout(seen, Congratulations, english, MB_OK);
}

TEST(MessageDialog, YesNoKindReturnsTheAnswer)
{
    const char* english = "Old CiKu (Word Base) is detected. Replace it with new CiKu?";
    Observed seen;
    int result = RunMessage(WordBaseQuestion, english, MB_YESNO, seen, [](HWND dialog, Observed&) {
        Screenshot(dialog, "message_word_base.png");
        Click(dialog, 6);
    });
    EXPECT_EQ(6, result);
    ExpectLayout(seen, WordBaseQuestion, english, MB_YESNO);
    // Yes sits left of No, a third of a button apart.
    EXPECT_LT(seen.Button[6].x, seen.Button[7].x);

    Observed no;
    result = RunMessage(WordBaseQuestion, english, MB_YESNO, no, [](HWND dialog, Observed&) { Click(dialog, 7); });
    EXPECT_EQ(7, result);

    // Escape as a real key press, through the dialog's own loop.
    Observed escape;
    result = RunMessage(WordBaseQuestion, english, MB_YESNO, escape, [](HWND dialog, Observed&) {
        SetForegroundWindow(dialog);
        Sleep(50);
        PressKey(VK_ESCAPE);
        if (!ClosesSoon(dialog))
            Click(dialog, 7);  // keeps the run going; the result then shows the key was lost
    });
    EXPECT_EQ(2, result);
}

// Enter given to a button through the dialog's own loop, the way the dialog
// manager sees a key press there: the focus moves first, then the key.
std::function<void(HWND, Observed&)> EnterOn(int id)
{
    return [id](HWND dialog, Observed&) {
        HWND button = GetDlgItem(dialog, id);
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
        PostMessageA(button, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(button, WM_KEYUP, VK_RETURN, 0);
    };
}

TEST(MessageDialog, EnterPressesTheFocusedButton)
{
    Observed ok, yes, no;
    EXPECT_EQ(1, RunMessage(Congratulations, "Congratulations! Installation Success!", MB_OK, ok, EnterOn(1)));
    EXPECT_EQ(7, RunMessage(WordBaseQuestion, "Replace it?", MB_YESNO, no, EnterOn(7)));
    EXPECT_EQ(6, RunMessage(WordBaseQuestion, "Replace it?", MB_YESNO, yes, EnterOn(6)));
}

// The question about files in use: Retry left of Cancel, and an Enter with
// no click presses Retry.
TEST(MessageDialog, RetryCancelKindRetriesOnEnter)
{
    const char* english = "Tarvo is running: notes2.igb, kbhook.dll and TVO.exe are in use. Please "
                          "quit all Tarvo applications, then press Retry.";
    Observed seen;
    const int result = RunMessage(FilesInUse, english, MB_RETRYCANCEL, seen, [](HWND dialog, Observed&) {
        Screenshot(dialog, "message_files_in_use.png");
        SetForegroundWindow(dialog);
        Sleep(50);
        PressKey(VK_RETURN);
        if (!ClosesSoon(dialog))
            Click(dialog, IDCANCEL);  // keeps the run going; the result then shows the key was lost
    });
    EXPECT_EQ(IDRETRY, result);
    ExpectLayout(seen, FilesInUse, english, MB_RETRYCANCEL);
    EXPECT_LT(seen.Button[IDRETRY].x, seen.Button[IDCANCEL].x);
}

TEST(MessageDialog, OtherKindsOfferOkAndCancel)
{
    Observed seen;
    int result = RunMessage("请您回答提问.", "Please select a choice.", MB_OKCANCEL, seen,
                            [](HWND dialog, Observed&) {
                                Screenshot(dialog, "message_ok_cancel.png");
                                Click(dialog, 2);
                            });
    EXPECT_EQ(2, result);
    ExpectLayout(seen, "请您回答提问.", "Please select a choice.", MB_OKCANCEL);
    Observed ok;
    result = RunMessage("请您回答提问.", nullptr, 3, ok, [](HWND dialog, Observed&) { Click(dialog, 1); });
    EXPECT_EQ(1, result);
    ExpectLayout(ok, "请您回答提问.", nullptr, 3);
    EXPECT_FALSE(ok.EnglishVisible);
}

TEST(MessageDialog, EightyOneByteRuleAndLongTexts)
{
    // 40 characters (80 bytes) get the extra width 2 H; one byte more does not.
    char eighty[128] = "";
    for (int i = 0; i < 40; ++i)
        std::strcat(eighty, "安");
    char eightyOne[128];
    std::snprintf(eightyOne, sizeof eightyOne, "%s.", eighty);
    Observed a, b;
    RunMessage(eighty, "", MB_OK, a, [](HWND dialog, Observed&) { Click(dialog, 1); });
    RunMessage(eightyOne, "", MB_OK, b, [](HWND dialog, Observed&) { Click(dialog, 1); });
    ExpectLayout(a, eighty, "", MB_OK);
    ExpectLayout(b, eightyOne, "", MB_OK);
    EXPECT_FALSE(a.EnglishVisible);
    const int widthA = a.Window.right - a.Window.left, widthB = b.Window.right - b.Window.left;
    // The extra 2 H outweighs the width of the added full stop.
    EXPECT_GT(widthA, widthB);

    // A folder message with a path of 259 bytes, far wider than the screen:
    // it is shown shortened in its middle with both ends kept, the window
    // stays inside the work area, and the English copy (cut at 127
    // characters) wraps within the room.
    std::string path = "C:\\Tarvo";
    while (path.size() < 259)
        path += "\\another-level-of-folders";
    path.resize(259);
    const std::string folder = "无法建目录(" + path + ")!";
    char english[300];
    std::memset(english, 'E', sizeof english - 1);
    english[sizeof english - 1] = '\0';
    Observed c;
    RunMessage(folder.c_str(), english, MB_OK, c, [](HWND dialog, Observed&) {
        Screenshot(dialog, "message_long_path.png");
        Click(dialog, 1);
    });
    english[127] = '\0';
    ExpectLayout(c, folder.c_str(), english, MB_OK, false);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(c.Window.left, work.left);
    EXPECT_LE(c.Window.right, work.right);
    EXPECT_GE(c.Window.top, work.top);
    EXPECT_LE(c.Window.bottom, work.bottom);
    const std::string& shown = c.ChineseText;
    const size_t dots = shown.find("...");
    ASSERT_NE(dots, std::string::npos) << shown;
    const std::string tail = shown.substr(dots + 3);
    EXPECT_GT(dots, 40u);
    EXPECT_GT(tail.size(), 40u);
    EXPECT_EQ(folder.substr(0, dots), shown.substr(0, dots));
    EXPECT_EQ(folder.substr(folder.size() - tail.size()), tail);
    // The caption control is as wide as the window's client area and holds
    // the shortened text whole.
    EXPECT_LE(c.ShownWidth, c.Chinese.right - c.Chinese.left);
}

// Balance of GDI objects over many paints of everything the painter draws.
TEST(Painter, ThousandPaintsLeakNoGdiObject)
{
    HWND showcase = CreateShowcase(GetModuleHandleA(nullptr));
    ASSERT_NE(nullptr, showcase);
    // The counter sees objects come and go.
    const int base = LiveGdiObjects();
    HPEN pens[3];
    for (HPEN& pen : pens)
        pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_EQ(base + 3, LiveGdiObjects());
    for (HPEN pen : pens)
        DeleteObject(pen);
    EXPECT_EQ(base, LiveGdiObjects());

    const int before = ShowcasePaints;
    const int objectsBefore = LiveGdiObjects();
    HWND boxes[4];
    int n = 0;
    for (int id : {1004, 1005, 1007, 1008})
        boxes[n++] = GetDlgItem(showcase, id);
    for (int i = 0; i < 1000; ++i) {
        InvalidateRect(showcase, nullptr, TRUE);
        UpdateWindow(showcase);
        for (HWND box : boxes) {
            InvalidateRect(box, nullptr, TRUE);
            UpdateWindow(box);
        }
    }
    const int objectsAfter = LiveGdiObjects();
    std::printf("GDI objects before %d, after 1000 paints %d\n", objectsBefore, objectsAfter);
    EXPECT_EQ(1000, ShowcasePaints - before);
    EXPECT_GT(objectsBefore, 0);
    EXPECT_EQ(objectsBefore, objectsAfter);
    DestroyWindow(showcase);
}

TEST(Painter, ShowcaseScreenshot)
{
    HWND showcase = CreateShowcase(GetModuleHandleA(nullptr));
    ASSERT_NE(nullptr, showcase);
    for (int i = 0; i < 20; ++i) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(20);
    }
    char path[MAX_PATH];
    ScreenshotPath(path, "showcase.png");
    RECT r;
    GetWindowRect(showcase, &r);
    EXPECT_TRUE(CaptureScreenPng(path, r));
    DestroyWindow(showcase);
}

}  // namespace
