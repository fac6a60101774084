// The installer as a screen reader hears it, by the window texts of the
// controls it draws, and as a high-contrast colour scheme shows it.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <string>

#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

// A caption as the pictures show it, and the English part that 9x gets,
// each with its access key. Spelled here, not taken from the installer's
// tables.
struct Caption {
    int Id;
    const wchar_t *Drawn, *English;
};
constexpr Caption Captions[] = {
    {IDCANCEL, L"取消 &Cancel", L"&Cancel"}, {IDC_BACK, L"退一步 &Back", L"&Back"},
    {IDC_NEXT, L"下一步 &Next", L"&Next"}, {IDC_BROWSE, L"改变 B&rowse ....", L"B&rowse ...."},
    {IDC_PATH_LABEL, L"安装路径： (Install Path)", L"(Install Path)"},
    {IDC_DESKTOP_ICONS, L"建立桌面图标？  (Place an icon on &Desktop)", L"(Place an icon on &Desktop)"},
    {IDC_AUTO_START, L"开机时自动启动？(&Auto-start on boot)", L"(&Auto-start on boot)"},
    {IDC_TITLE_LINE1, L"《Tarvo》 Tarvo", L"Tarvo Tarvo"},
    {IDC_TITLE_LINE2, L"中文输入引擎 Input Engine", L"Input Engine"},
    {IDC_TITLE_LINE3, L"安装程序", L""}, {IDC_SAMPLE_LINE, L"日出江花红胜火", L""},
    {IDC_DISPLAY_QUESTION, L"以上中文显示正确吗 (Is the Above Chinese Display OK)?",
     L"(Is the Above Chinese Display OK)?"},
    {IDC_DISPLAY_OK, L"正确(O&K)", L"(O&K)"}, {IDC_DISPLAY_NO, L"不正确(N&O)", L"(N&O)"},
    {IDC_LANGUAGE_LABEL, L"User Interface Language 用户界面语言", L"User Interface Language"},
    {IDC_LEFT_LABEL, L"", L""}, {IDOK, L"确认 &OK", L"&OK"}};
constexpr Caption AgreeInstall = {IDC_NEXT, L"同意/安装 Agree/&Install", L"Agree/&Install"};
constexpr Caption Languages[] = {{0, L"English 英文", L"English"},
                                 {1, L"Chinese(Simplified)  中文简体", L"Chinese(Simplified)"},
                                 {2, L"Chinese(Traditional) 中文繁体", L"Chinese(Traditional)"}};

std::string Text(HWND window, UINT message = WM_GETTEXT, WPARAM wParam = 512)
{
    WCHAR text[512] = L"";
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        Patient(5000), &got);
    return Utf8(text);
}

// Every visible owner-drawn button or painted check box of dialog against
// the table (the message's Chinese line is read by the run itself); printed.
void ExpectSpoken(HWND dialog, const std::string& where, bool nt, int page)
{
    printf("%s\n", where.c_str());
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        // Owner-drawn, or one of the painted check boxes 1004-1008 (1006 is a label).
        const bool drawn = (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW ||
                           (id >= IDC_DESKTOP_ICONS && id <= IDC_DISPLAY_NO);
        if (!IsWindowVisible(c) || !drawn || id == IDC_MSG_CHINESE) continue;
        const std::string text = Text(c);
        printf("  %5d  \"%s\"\n", id, text.c_str());
        const Caption* want = page == 3 && id == IDC_NEXT ? &AgreeInstall : nullptr;
        for (const Caption& row : Captions)
            if (!want && row.Id == id) want = &row;
        ASSERT_NE(want, nullptr) << where << ": control " << id << " is drawn but not expected";
        EXPECT_EQ(text, Utf8(nt ? want->Drawn : want->English)) << where << ", control " << id;
    }
    HWND combo = GetDlgItem(dialog, IDC_LANGUAGE_COMBO);
    for (int i = 0; page == 3 && i < 3; ++i) {
        const LRESULT language = Ask(combo, CB_GETITEMDATA, i, 0);
        ASSERT_TRUE(language >= 0 && language < 3) << "item " << i;
        const std::string text = Text(combo, CB_GETLBTEXT, i);
        printf("  %5d  item %d \"%s\"\n", IDC_LANGUAGE_COMBO, i, text.c_str());
        EXPECT_EQ(text, Utf8(nt ? Languages[language].Drawn : Languages[language].English));
    }
}

// What the screen shows of window's client area (no border, no scroll bars)
// once the wizard is painted, saved as build/screenshots/high-contrast-
// <what>.png; its pixels that are not the black face.
int InkShown(HWND wizard, HWND window, const char* what)
{
    EXPECT_TRUE(WaitForPaint(wizard, 20000));
    RECT area;
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    Image image;
    EXPECT_TRUE(CaptureScreen(area, &image));
    EXPECT_TRUE(WritePng((BuildFile("screenshots") + "\\high-contrast-" + what + ".png").c_str(), image));
    return CountPixelsNot(image, 0);
}

// On NT, the Chinese title line "安装程序" (four characters of more than 20
// stroke pixels each) and the Chinese licence show ink on the black face,
// and a focused Cancel wears the default frame in the white button text.
void LookInHighContrast(HWND wizard, int page)
{
    ASSERT_TRUE(FocusControl(wizard, IDCANCEL));
    InkShown(wizard, wizard, ("cancel-page" + std::to_string(page)).c_str());
    Image cancel;
    ASSERT_TRUE(CaptureWindow(GetDlgItem(wizard, IDCANCEL), &cancel));
    EXPECT_EQ(cancel.At(0, cancel.Height / 2), 0xFFFFFFu) << "page " << page;
    EXPECT_EQ(cancel.At(cancel.Width / 2, 0), 0xFFFFFFu) << "page " << page;
    if (page == 0) {
        InkShown(wizard, wizard, "page0");
        EXPECT_GT(InkShown(wizard, GetDlgItem(wizard, IDC_TITLE_LINE3), "title"), 80);
    } else if (page == 2) {
        ClickButton(wizard, IDC_ENGLISH_LICENCE);   // the Chinese licence
        ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_CN); }, 20000));
        InkShown(wizard, wizard, "page2");
        EXPECT_GT(InkShown(wizard, GetDlgItem(wizard, IDC_LICENCE_CN), "licence"), 500);
    }
}

}  // namespace

// A typical run on NT and on win98 under a high-contrast scheme (black
// faces, white button text, yellow window text), set for the session and
// set back however the case ends.
TEST(SystemsAccessibility, ReadAsDrawnAndSeenInHighContrast)
{
    static const int elements[] = {COLOR_BTNFACE, COLOR_WINDOW, COLOR_BTNTEXT, COLOR_WINDOWTEXT};
    static const COLORREF scheme[] = {0, 0, RGB(255, 255, 255), RGB(255, 255, 0)};
    struct Colours {
        COLORREF Saved[4] = {GetSysColor(elements[0]), GetSysColor(elements[1]),
                             GetSysColor(elements[2]), GetSysColor(elements[3])};
        ~Colours() { SetSysColors(4, elements, Saved); }
    } saved;
    ASSERT_TRUE(SetSysColors(4, elements, scheme));
    for (const char* version : {static_cast<const char*>(nullptr), "win98"}) {
        const std::string tag = version ? version : "NT";
        ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", version));
        RunChoices choices;
        choices.OnNt = !version;
        choices.Destination = "C:\\systems_spoken_" + tag + "_" + RunTag();
        choices.AtPage = [&](HWND wizard, int page) {
            ExpectSpoken(wizard, "[" + tag + "] page " + std::to_string(page), !version, page);
            if (!version) LookInHighContrast(wizard, page);
        };
        choices.AtMessage = [&](HWND message) {
            ExpectSpoken(message, "[" + tag + "] result message", !version, -1);
        };
        DWORD code = 12345;
        std::string chinese;   // in UTF-16 on NT, the GBK bytes on 9x
        EXPECT_EQ(InstallThroughWizard(InstallerPath().c_str(), choices, &code, &chinese),
                  "Congratulations! Installation Success!");
        EXPECT_EQ(chinese, "祝贺您：安装顺利完成！");
        RemoveTree(choices.Destination);
    }
    SetVersionFor("TarvoSetup.exe", nullptr);
}
