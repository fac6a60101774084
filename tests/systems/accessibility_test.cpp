// The installer as a screen reader hears it and as a high-contrast colour
// scheme shows it. A screen reader announces a control by its window text:
// every control the installer paints itself must carry the caption it draws,
// in UTF-16 on the NT family and as its English part on the 9x family, whose
// code page may not spell GBK. Under a scheme with black faces the Chinese
// from the glyph atlas must still show ink.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

constexpr DWORD Patience = 20000;

// A caption as the pictures show it, and its English part. Spelled here,
// not taken from the installer's tables.
struct Caption {
    int Id;
    const wchar_t* Drawn;
    const wchar_t* English;
};

constexpr Caption WizardCaptions[] = {
    {IDCANCEL, L"取消 Cancel", L"Cancel"},
    {IDC_BACK, L"退一步 Back", L"Back"},
    {IDC_NEXT, L"下一步 Next", L"Next"},
    {IDC_BROWSE, L"改变 Browse ....", L"Browse ...."},
    {IDC_PATH_LABEL, L"安装路径： (Install Path)", L"(Install Path)"},
    {IDC_DESKTOP_ICONS, L"建立桌面图标？  (Place an icon on Desktop)", L"(Place an icon on Desktop)"},
    {IDC_AUTO_START, L"开机时自动启动？(Auto-start on boot)", L"(Auto-start on boot)"},
    {IDC_TITLE_LINE1, L"《Tarvo》 Tarvo", L"Tarvo Tarvo"},
    {IDC_TITLE_LINE2, L"中文输入引擎 Input Engine", L"Input Engine"},
    {IDC_TITLE_LINE3, L"安装程序", L""},
    {IDC_DISPLAY_QUESTION, L"以上中文显示正确吗 (Is the Above Chinese Display OK)?",
     L"(Is the Above Chinese Display OK)?"},
    {IDC_SAMPLE_LINE, L"日出江花红胜火", L""},
    {IDC_DISPLAY_OK, L"正确(OK)", L"(OK)"},
    {IDC_DISPLAY_NO, L"不正确(NO)", L"(NO)"},
    {IDC_LANGUAGE_LABEL, L"User Interface Language 用户界面语言", L"User Interface Language"},
    {IDC_LEFT_LABEL, L"", L""},    // paints nothing
};
constexpr Caption AgreeInstall = {IDC_NEXT, L"同意/安装 Agree/Install", L"Agree/Install"};
// By item data.
constexpr Caption LanguageNames[] = {
    {0, L"English 英文", L"English"},
    {1, L"Chinese(Simplified)  中文简体", L"Chinese(Simplified)"},
    {2, L"Chinese(Traditional) 中文繁体", L"Chinese(Traditional)"},
};
constexpr Caption MessageCaptions[] = {
    {IDOK, L"确认 OK", L"OK"},
    {IDCANCEL, L"取消 Cancel", L"Cancel"},
    {IDYES, L"是 Yes", L"Yes"},
    {IDNO, L"否 No", L"No"},
};

const Caption* Find(const Caption* table, size_t count, int id)
{
    for (size_t i = 0; i < count; ++i)
        if (table[i].Id == id) return &table[i];
    return nullptr;
}

// The controls the installer paints itself: owner-drawn buttons and the four
// check boxes it subclasses.
bool DrawnByInstaller(HWND control)
{
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0) return false;
    const int id = GetDlgCtrlID(control);
    return (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW ||
           id == IDC_DESKTOP_ICONS || id == IDC_AUTO_START || id == IDC_DISPLAY_OK ||
           id == IDC_DISPLAY_NO;
}

std::vector<HWND> VisibleChildren(HWND dialog)
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) found.push_back(child);
    return found;
}

std::wstring WindowText(HWND control)
{
    WCHAR text[512] = L"";
    DWORD_PTR got = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        Patient(5000), &got);
    return text;
}

std::wstring ComboItem(HWND combo, int index)
{
    WCHAR text[512] = L"";
    DWORD_PTR got = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        Patient(5000), &got);
    return text;
}

// Every visible control of dialog that the installer paints: its window text
// against the caption the table gives its id (nextOnPage: the Next button's
// caption there), printed as read.
void ExpectSpoken(HWND dialog, const char* where, const Caption* table, size_t count, bool nt,
                  const Caption* next = nullptr)
{
    printf("%s\n", where);
    for (HWND control : VisibleChildren(dialog)) {
        const int id = GetDlgCtrlID(control);
        const std::wstring text = WindowText(control);
        if (!DrawnByInstaller(control) || id == IDC_MSG_CHINESE) continue;
        printf("  %5d  \"%s\"\n", id, Utf8(text).c_str());
        const Caption* expected = next && id == next->Id ? next : Find(table, count, id);
        if (!expected) {
            ADD_FAILURE() << where << ": control " << id << " is drawn but has no caption here";
            continue;
        }
        EXPECT_EQ(Utf8(text), Utf8(nt ? expected->Drawn : expected->English))
            << where << ", control " << id;
    }
}

void ExpectLanguageNames(HWND wizard, bool nt)
{
    HWND combo = GetDlgItem(wizard, IDC_LANGUAGE_COMBO);
    printf("  %5d  items:", IDC_LANGUAGE_COMBO);
    for (int i = 0; i < 3; ++i) {
        const std::wstring text = ComboItem(combo, i);
        printf(" \"%s\"", Utf8(text).c_str());
        const Caption* name = Find(LanguageNames, 3, static_cast<int>(Ask(combo, CB_GETITEMDATA, i, 0)));
        ASSERT_NE(name, nullptr) << "item " << i;
        EXPECT_EQ(Utf8(text), Utf8(nt ? name->Drawn : name->English)) << "language item " << i;
    }
    printf("\n");
}

// A typical installation under version (null: the prefix's own, the NT
// family), reading every page and the result message.
void ReadEveryPageAloud(const char* version)
{
    const bool nt = version == nullptr;
    const std::string tag = nt ? "NT" : version;
    ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", version));
    RunChoices choices;
    choices.OnNt = nt;
    choices.Destination = "C:\\systems_spoken_" + tag + "_" + RunTag();
    RemoveTree(choices.Destination);
    choices.AtPage = [&](HWND wizard, int page) {
        const std::string where = "[" + tag + "] page " + std::to_string(page);
        ExpectSpoken(wizard, where.c_str(), WizardCaptions, std::size(WizardCaptions), nt,
                     page == 3 ? &AgreeInstall : nullptr);
        if (page == 3) ExpectLanguageNames(wizard, nt);
    };
    choices.AtMessage = [&](HWND message) {
        const std::string where = "[" + tag + "] result message";
        ExpectSpoken(message, where.c_str(), MessageCaptions, std::size(MessageCaptions), nt);
        // Its Chinese line is read by the run itself (below): in UTF-16 on
        // NT, as the GBK bytes on 9x, which is what a Chinese 9x spells.
        const std::wstring line = WindowText(GetDlgItem(message, IDC_MSG_CHINESE));
        printf("  %5d  \"%s\"%s\n", IDC_MSG_CHINESE, Utf8(line).c_str(),
               nt ? "" : " (GBK bytes through code page 1252)");
    };
    DWORD code = 12345;
    std::string chinese;
    EXPECT_EQ(InstallThroughWizard(InstallerPath().c_str(), choices, &code, &chinese),
              "Congratulations! Installation Success!");
    EXPECT_EQ(chinese, "祝贺您：安装顺利完成！");
    EXPECT_EQ(code, 0u);
    RemoveTree(choices.Destination);
}

// A high-contrast scheme as Windows offers them: black faces, white button
// text, yellow window text. Set for the session, so that an installer
// started afterwards takes it; the colours before are given back however
// the case ends.
class HighContrast {
public:
    HighContrast()
    {
        for (int i = 0; i < Count; ++i) saved_[i] = GetSysColor(Elements[i]);
        EXPECT_TRUE(SetSysColors(Count, Elements, Scheme));
    }
    ~HighContrast() { SetSysColors(Count, Elements, saved_); }

private:
    static constexpr int Count = 12;
    static constexpr int Elements[Count] = {
        COLOR_BTNFACE, COLOR_WINDOW, COLOR_BTNTEXT, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
        COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW,
        COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_WINDOWFRAME};
    static constexpr COLORREF Scheme[Count] = {
        RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 0, 255),
        RGB(255, 255, 255), RGB(0, 255, 0), RGB(255, 255, 255), RGB(128, 128, 128),
        RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 255, 255)};
    COLORREF saved_[Count];
};

std::string ShotPath(const std::string& what)
{
    return BuildFile("screenshots") + "\\high-contrast-" + what + ".png";
}

// What the screen shows of window once the installer has painted it,
// saved for a person to look at.
Image Shot(HWND wizard, HWND window, const std::string& what)
{
    Image image;
    EXPECT_TRUE(WaitForPaint(wizard, Patience)) << what;
    EXPECT_TRUE(CaptureWindow(window, &image)) << what;
    EXPECT_TRUE(WritePng(ShotPath(what).c_str(), image)) << what;
    return image;
}

// The list's items without its border and scroll bars.
Image ClientShot(HWND wizard, HWND list, const std::string& what)
{
    EXPECT_TRUE(WaitForPaint(wizard, Patience)) << what;
    RECT client;
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Image image;
    EXPECT_TRUE(CaptureScreen(client, &image)) << what;
    EXPECT_TRUE(WritePng(ShotPath(what).c_str(), image)) << what;
    return image;
}

}  // namespace

TEST(SystemsAccessibility, EveryDrawnControlIsSpokenAsDrawn)
{
    ReadEveryPageAloud(nullptr);
    ReadEveryPageAloud("win98");
    SetVersionFor("TarvoSetup.exe", nullptr);
}

TEST(SystemsAccessibility, ChineseShowsInHighContrast)
{
    ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", nullptr));
    HighContrast scheme;
    InstallerRun run;
    ASSERT_TRUE(StartInstaller(InstallerPath().c_str(), "C:\\", &run));
    HWND main = run.Main;
    auto reach = [&](int page) { return WaitUntil([&] { return VisiblePage(main) == page; }, Patience); };
    Shot(main, main, "page0");
    // "安装程序": four characters of 20 stroke pixels and more each.
    EXPECT_GT(CountPixelsNot(Shot(main, GetDlgItem(main, IDC_TITLE_LINE3), "title"), 0), 80)
        << "the Chinese title line shows no ink on the black face";
    ClickButton(main, IDC_NEXT);
    ASSERT_TRUE(reach(1));
    ClickButton(main, IDC_DISPLAY_OK);
    EXPECT_TRUE(WaitUntil([&] { return IsTicked(main, IDC_DISPLAY_OK); }, Patience));
    Shot(main, main, "page1");
    ClickButton(main, IDC_NEXT);
    ASSERT_TRUE(reach(2));
    ClickButton(main, IDC_ENGLISH_LICENCE);   // the Chinese licence
    ASSERT_TRUE(WaitUntil([&] { return IsShown(main, IDC_LICENCE_CN); }, Patience));
    Shot(main, main, "page2");
    EXPECT_GT(CountPixelsNot(ClientShot(main, GetDlgItem(main, IDC_LICENCE_CN), "licence"), 0), 500)
        << "the Chinese licence shows no ink on the black face";
    ClickButton(main, IDC_NEXT);
    ASSERT_TRUE(reach(3));
    Shot(main, main, "page3");
    ClickButton(main, IDCANCEL);
    DWORD code = 12345;
    EXPECT_TRUE(WaitForExit(&run, Patience, &code));
    EXPECT_EQ(code, 0u);
    EndRun(&run);
}
