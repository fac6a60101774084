// The real main dialog (template 113) with the wizard's procedure, created in
// this process: page switching, answers, licences, the install trigger, the
// Enter routing of the message loop and the folder browser. Modal dialogs
// (messages, the browser) are answered by a thread timer, which their own
// message loops dispatch.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <direct.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "shell/environment.h"
#include "render/mixed_text.h"
#include "shell/process_state.h"
#include "shell/startup.h"
#include "ui/owner_draw.h"
#include "ui/wizard.h"
#include "wizard_test_texts.h"

namespace {

// --- Answering modal dialogs -------------------------------------------------

struct CaughtMessage {
    std::string Chinese;
    std::string English;
};
std::vector<CaughtMessage> Caught;
HWND Answered;                          // the dialog last answered, until it closes
void (*BrowserAction)(HWND browser, int tick);
int BrowserTicks;

std::string ControlText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The message's Chinese line as GBK: on NT the caption holds it in UTF-16.
std::string ChineseCaption(HWND dialog, int id)
{
    WCHAR wide[1024] = L"";
    GetDlgItemTextW(dialog, id, wide, 1024);
    char gbk[2048] = "";
    WideCharToMultiByte(936, 0, wide, -1, gbk, sizeof gbk, nullptr, nullptr);
    return gbk;
}

BOOL CALLBACK AnswerWindow(HWND window, LPARAM)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") != 0 || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    if (window == Answered)
        return TRUE;
    if (GetDlgItem(window, IDC_MSG_CHINESE)) {
        Caught.push_back({ChineseCaption(window, IDC_MSG_CHINESE), ControlText(window, IDC_MSG_ENGLISH)});
        int button = IsWindowVisible(GetDlgItem(window, IDNO)) ? IDNO : IDOK;
        PostMessageA(window, WM_COMMAND, button, 0);
        Answered = window;
        return FALSE;
    }
    if (GetDlgItem(window, 1121) && BrowserAction) {
        BrowserAction(window, BrowserTicks++);
        return FALSE;
    }
    return TRUE;
}

VOID CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (Answered && !IsWindow(Answered))
        Answered = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), AnswerWindow, 0);
}

// --- The dialog under test --------------------------------------------------

class WizardDialog : public ::testing::Test {
protected:
    HWND dialog = nullptr;
    UINT_PTR timer = 0;

    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        DetectEnvironment(GetModuleHandleA(nullptr));
        WizardState = 0;
        ForceLanguage = 0;
        LicenceLoaded = 0;
        InstallerIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_INSTALLER));
        Create();
        Caught.clear();
        Answered = nullptr;
        BrowserAction = nullptr;
        BrowserTicks = 0;
        timer = SetTimer(nullptr, 0, 40, AnswerTimer);
        ASSERT_NE(timer, 0u);
    }

    void Create()
    {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_WIZARD), nullptr,
                                    WizardDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        MainDialog = dialog;
    }

    void TearDown() override
    {
        if (timer)
            KillTimer(nullptr, timer);
        if (dialog)
            DestroyWindow(dialog);
        MainDialog = nullptr;
        BrowserAction = nullptr;
    }

    void Command(int id) { SendMessageA(dialog, WM_COMMAND, id, 0); }
    HWND Item(int id) { return GetDlgItem(dialog, id); }
    bool Visible(int id) { return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Checked(int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    // A click: the automatic check box toggles itself and notifies the dialog.
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    LRESULT ListCount() { return SendDlgItemMessageA(dialog, IDC_LICENCE_CN, LB_GETCOUNT, 0, 0); }

    void ExpectPageVisible(int page)
    {
        for (int row = 0; PageTable[row][0] != 0; ++row)
            for (int i = 0; PageTable[row][i] != 0; ++i) {
                int id = PageTable[row][i];
                if (id == IDC_LICENCE_CN || id == IDC_LICENCE_EN)
                    continue;
                EXPECT_EQ(Visible(id), row == page) << "control " << id << " on page " << page;
            }
        bool english = Checked(IDC_ENGLISH_LICENCE);
        EXPECT_EQ(Visible(IDC_LICENCE_EN), page == 2 && english) << "page " << page;
        EXPECT_EQ(Visible(IDC_LICENCE_CN), page == 2 && !english) << "page " << page;
    }

    void WalkToPage(int page)
    {
        if (page >= 1)
            Command(IDC_NEXT);
        if (page >= 2) {
            Click(IDC_DISPLAY_OK);
            Command(IDC_NEXT);
        }
        if (page >= 3)
            Command(IDC_NEXT);
        ASSERT_EQ(WizardState, page);
    }
};

TEST_F(WizardDialog, FreshStartShowsPageZeroWithItsDefaults)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(ControlText(dialog, IDC_DEST_EDIT), std::string(1, windows[0]) + ":\\Tarvo");
    ASSERT_GT(strlen(WindowsDir), 0u);
    EXPECT_EQ(WindowsDir[strlen(WindowsDir) - 1], '\\');
    EXPECT_TRUE(Checked(IDC_DESKTOP_ICONS));
    EXPECT_FALSE(Checked(IDC_AUTO_START));
    EXPECT_FALSE(Visible(IDC_BACK));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_BACK)));
    EXPECT_TRUE(Visible(IDC_NEXT));
    EXPECT_FALSE(Visible(IDC_PROGRESS));
    ExpectPageVisible(0);
    EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(InstallerIcon));
    EXPECT_NE(InstallerIcon, nullptr);

    // Language list in table order, English selected, ids as item data.
    ASSERT_EQ(SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETITEMDATA, i, 0), i);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETCURSEL, 0, 0), 0);

    // The four painted check boxes run through the painter's procedure, on
    // NT as Unicode windows, so that their captions are read unconverted.
    for (int id : {IDC_DESKTOP_ICONS, IDC_AUTO_START, IDC_DISPLAY_OK, IDC_DISPLAY_NO}) {
        EXPECT_TRUE(IsWindowUnicode(Item(id))) << id;
        EXPECT_EQ(GetWindowLongPtrW(Item(id), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(WideCheckBoxProc))
            << id;
    }
    EXPECT_NE(PreviousCheckBoxProc, nullptr);
    EXPECT_NE(PreviousCheckBoxProc, WideCheckBoxProc);
}

TEST_F(WizardDialog, ThePreselectedLanguageIsInsertedFirst)
{
    DestroyWindow(dialog);
    ForceLanguage = 2;
    Create();
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETITEMDATA, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETITEMDATA, 1, 0), 0);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETITEMDATA, 2, 0), 1);
}

TEST_F(WizardDialog, EachPageShowsOnlyItsOwnControls)
{
    for (int page : {1, 2, 3, 0, 2}) {
        WizardState = page;
        ShowPage(dialog, page);
        ExpectPageVisible(page);
        EXPECT_EQ(Visible(IDC_BACK), page != 0) << page;
        EXPECT_EQ(IsWindowEnabled(Item(IDC_BACK)) != 0, page != 0) << page;
        for (int id : {IDC_NEXT, IDCANCEL, IDC_TITLE_LINE1, IDC_PRODUCT_ICON, IDC_WEB_ADDRESS})
            EXPECT_TRUE(Visible(id)) << id;
    }
    // A page without a row hides every page control.
    WizardState = 3;
    ShowPage(dialog, 7);
    ExpectPageVisible(7);
    // While installing, Back is left as it is.
    WizardState = WizardInstalling;
    ShowPage(dialog, 0);
    EXPECT_TRUE(Visible(IDC_BACK));
}

TEST_F(WizardDialog, DisplayAnswersAreExclusiveAndNextInsistsOnOne)
{
    WalkToPage(1);
    EXPECT_FALSE(Checked(IDC_DISPLAY_OK));
    EXPECT_FALSE(Checked(IDC_DISPLAY_NO));
    Command(IDC_NEXT);
    EXPECT_EQ(WizardState, 1);
    ASSERT_EQ(Caught.size(), 1u);
    EXPECT_EQ(Caught[0].Chinese, "请您回答提问.");
    EXPECT_EQ(Caught[0].English, "Please select a choice.");

    Click(IDC_DISPLAY_OK);
    EXPECT_TRUE(Checked(IDC_DISPLAY_OK));
    Click(IDC_DISPLAY_NO);
    EXPECT_TRUE(Checked(IDC_DISPLAY_NO));
    EXPECT_FALSE(Checked(IDC_DISPLAY_OK));
    Click(IDC_DISPLAY_NO);      // unticking the ticked one leaves none
    EXPECT_FALSE(Checked(IDC_DISPLAY_NO));
    EXPECT_FALSE(Checked(IDC_DISPLAY_OK));
    Command(IDC_NEXT);
    EXPECT_EQ(WizardState, 1);
    EXPECT_EQ(Caught.size(), 2u);

    Click(IDC_DISPLAY_NO);
    Command(IDC_NEXT);
    EXPECT_EQ(WizardState, 2);
    EXPECT_EQ(ChineseDisplayOk, 0);
}

TEST_F(WizardDialog, WalkingBackKeepsAnswersAndEnteringFromPageZeroClearsThem)
{
    WalkToPage(2);
    EXPECT_EQ(ChineseDisplayOk, 1);
    EXPECT_TRUE(Checked(IDC_ENGLISH_LICENCE));      // page 2 opens on the English text
    ExpectPageVisible(2);
    Click(IDC_ENGLISH_LICENCE);                     // the Chinese list instead
    EXPECT_TRUE(Visible(IDC_LICENCE_CN));
    EXPECT_FALSE(Visible(IDC_LICENCE_EN));

    Click(IDC_AUTO_START);
    Command(IDC_BACK);
    EXPECT_EQ(WizardState, 1);
    ExpectPageVisible(1);
    EXPECT_TRUE(Checked(IDC_DISPLAY_OK));           // the answer given is kept
    Command(IDC_NEXT);
    EXPECT_EQ(WizardState, 2);
    EXPECT_TRUE(Checked(IDC_ENGLISH_LICENCE));
    EXPECT_TRUE(Visible(IDC_LICENCE_EN));

    Command(IDC_NEXT);
    EXPECT_EQ(WizardState, 3);
    ExpectPageVisible(3);
    for (int expected : {2, 1, 0, 0}) {
        Command(IDC_BACK);
        EXPECT_EQ(WizardState, expected);
        ExpectPageVisible(expected);
    }
    EXPECT_FALSE(Visible(IDC_BACK));
    EXPECT_TRUE(Checked(IDC_AUTO_START));           // options are untouched by paging
    EXPECT_TRUE(Checked(IDC_DESKTOP_ICONS));

    Command(IDC_NEXT);
    EXPECT_EQ(WizardState, 1);
    EXPECT_FALSE(Checked(IDC_DISPLAY_OK));
    EXPECT_TRUE(Caught.empty());
}

TEST_F(WizardDialog, LicencesLoadOnceAndAReloadDoesNotDoubleTheChineseList)
{
    WalkToPage(2);
    EXPECT_EQ(LicenceLoaded, 1);
    ASSERT_EQ(ListCount(), TestChineseLines);
    // The painter's text is the item's data, not a string of the list's own.
    const LRESULT first = SendDlgItemMessageA(dialog, IDC_LICENCE_CN, LB_GETITEMDATA, 0, 0);
    ASSERT_NE(first, LB_ERR);
    EXPECT_STREQ(reinterpret_cast<const char*>(first), TestChineseFirstLine);
    EXPECT_EQ(GetWindowTextLengthA(Item(IDC_LICENCE_EN)), TestEnglishBytes);

    Command(IDC_BACK);
    Command(IDC_NEXT);
    EXPECT_EQ(ListCount(), TestChineseLines);
    // A new loading attempt (as after a failed one) starts from an empty list.
    LicenceLoaded = 0;
    ShowPage(dialog, 2);
    EXPECT_EQ(ListCount(), TestChineseLines);
    EXPECT_EQ(LicenceLoaded, 1);
}

TEST_F(WizardDialog, CancelEndsTheWizardOnAnyPageWithoutAQuestion)
{
    for (int page = 0; page < 4; ++page) {
        WizardState = 0;
        ShowPage(dialog, 0);
        WalkToPage(page);
        Command(IDCANCEL);
        EXPECT_EQ(WizardState, WizardQuit) << page;
    }
    EXPECT_TRUE(Caught.empty());
}

TEST_F(WizardDialog, ADestinationThatCannotBeCreatedKeepsTheWizardOnPageThree)
{
    WalkToPage(3);
    for (const char* destination : {"", "C:\\tarvo-missing-parent\\deeper"}) {
        Caught.clear();
        SetDlgItemTextA(dialog, IDC_DEST_EDIT, destination);
        Command(IDC_NEXT);
        EXPECT_EQ(WizardState, 3) << destination;
        ASSERT_EQ(Caught.size(), 1u) << destination;
        EXPECT_EQ(Caught[0].Chinese,
                  "无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。");
        EXPECT_EQ(Caught[0].English, "Cannot create folder! Please check folder path.");
        for (int id : {IDC_NEXT, IDC_BACK, IDCANCEL, IDC_LANGUAGE_COMBO})
            EXPECT_TRUE(Visible(id)) << id;
        EXPECT_TRUE(IsWindowEnabled(Item(IDC_BACK)));
    }
    EXPECT_EQ(GetFileAttributesA("C:\\tarvo-missing-parent"), INVALID_FILE_ATTRIBUTES);
    Command(IDC_BACK);
    EXPECT_EQ(WizardState, 2);
}

TEST_F(WizardDialog, InstallTriggerCreatesTheFolderReadsTheOptionsAndWaitsFiveSeconds)
{
    char base[MAX_PATH];
    snprintf(base, sizeof base, "C:\\wizard-trigger-%lu", GetCurrentProcessId());
    std::string destination = std::string(base) + "\\";    // trailing backslash on purpose
    WalkToPage(3);
    Click(IDC_DESKTOP_ICONS);                   // untick
    Click(IDC_AUTO_START);                      // tick
    SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_SETCURSEL, 2, 0);
    SetDlgItemTextA(dialog, IDC_DEST_EDIT, destination.c_str());

    time_t start = time(nullptr);
    Command(IDC_NEXT);
    time_t end = time(nullptr);

    EXPECT_EQ(WizardState, WizardQuit);
    EXPECT_GE(end - start, 5);
    EXPECT_STREQ(InstallDir, base);
    EXPECT_EQ(CreateDesktopIcons, 0);
    EXPECT_EQ(AutoStart, 1);
    EXPECT_EQ(ForceLanguage, 2);
    DWORD doc = GetFileAttributesA((std::string(base) + "\\doc").c_str());
    ASSERT_NE(doc, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(doc & FILE_ATTRIBUTE_DIRECTORY);
    for (int id : {IDC_NEXT, IDC_BACK, IDCANCEL, IDC_WAIT_LABEL})
        EXPECT_FALSE(Visible(id)) << id;
    EXPECT_TRUE(Visible(IDC_LANGUAGE_LABEL));
    EXPECT_TRUE(Visible(IDC_LANGUAGE_COMBO));
    // The last message is the result; this test program carries no payload,
    // so the installation itself fails.
    ASSERT_FALSE(Caught.empty());
    EXPECT_EQ(Caught.back().Chinese, "安装失败！请检查一下系统后，再重新安装。谢谢！");
    EXPECT_EQ(Caught.back().English,
              "Installation failed. Please check your system (quit all Tarvo applications) and try again.");
}

TEST_F(WizardDialog, AnExistingDestinationGetsNoDocFolder)
{
    char base[MAX_PATH];
    snprintf(base, sizeof base, "C:\\wizard-existing-%lu", GetCurrentProcessId());
    CreateDirectoryA(base, nullptr);    // may remain from an earlier run in this prefix
    RemoveDirectoryA((std::string(base) + "\\doc").c_str());
    ASSERT_NE(GetFileAttributesA(base), INVALID_FILE_ATTRIBUTES);
    WalkToPage(3);
    SetDlgItemTextA(dialog, IDC_DEST_EDIT, base);
    Command(IDC_NEXT);
    EXPECT_EQ(WizardState, WizardQuit);
    EXPECT_EQ(GetFileAttributesA((std::string(base) + "\\doc").c_str()), INVALID_FILE_ATTRIBUTES);
}

// --- Enter routing through the real message loop ----------------------------

TEST_F(WizardDialog, EnterPressesTheFocusedButtonOrElseNextExactlyOnce)
{
    auto pressEnter = [&](int focusId) {
        SetFocus(Item(focusId));
        ASSERT_EQ(GetFocus(), Item(focusId));
        PostMessageA(Item(focusId), WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostQuitMessage(0);
        RunMessageLoop();
    };
    pressEnter(IDC_DEST_EDIT);      // the edit box: Next, once
    EXPECT_EQ(WizardState, 1);
    pressEnter(IDC_BACK);           // Back clicks itself
    EXPECT_EQ(WizardState, 0);
    pressEnter(IDC_DESKTOP_ICONS);  // a check box: Next
    EXPECT_EQ(WizardState, 1);
    EXPECT_TRUE(Checked(IDC_DESKTOP_ICONS));
    Click(IDC_DISPLAY_OK);
    pressEnter(IDC_DISPLAY_OK);     // to the licence page
    EXPECT_EQ(WizardState, 2);
    EXPECT_EQ(GetFocus(), Item(IDC_NEXT));  // the hidden answer passed the focus on
    pressEnter(IDC_ENGLISH_LICENCE);    // a focused page control hidden by the page switch
    EXPECT_EQ(WizardState, 3);
    ExpectPageVisible(3);
    EXPECT_EQ(GetFocus(), Item(IDC_NEXT));
    pressEnter(IDCANCEL);           // Cancel quits; the loop stops at once
    EXPECT_EQ(WizardState, WizardQuit);
    MSG left;
    EXPECT_TRUE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the unused quit
}

TEST_F(WizardDialog, AQuitMessageEndsTheLoopOnAPage)
{
    PostQuitMessage(0);
    RunMessageLoop();
    EXPECT_EQ(WizardState, 0);
    EXPECT_TRUE(IsWindow(dialog));
}

// This program carries no glyph atlas: start-up must end before any window.
TEST(StartUp, AnAtlasThatCannotBeInflatedEndsWithExitCodeOneAndNoWindow)
{
    MainDialog = nullptr;
    EXPECT_EQ(RunInstaller(GetModuleHandleA(nullptr)), 1);
    EXPECT_EQ(MainDialog, nullptr);
    EXPECT_EQ(SampleFont, nullptr);     // released on the way out
    EXPECT_EQ(FindWindowA("#32770", "Tarvo Chinese Input Engine Installer"), nullptr);
}

// --- The folder browser -----------------------------------------------------

std::string CurrentDir()
{
    char dir[MAX_PATH] = "";
    _getcwd(dir, MAX_PATH);
    return dir;
}

void PressOk(HWND browser, int)
{
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(browser, IDOK)));
}

void PressCancel(HWND browser, int)
{
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(browser, IDCANCEL)));
}

struct BrowserLook {
    bool Seen;
    bool HiddenOnes;
    bool VisibleOnes;
    bool CancelOwnerDrawn;
    bool ListFocused;
    std::string Title;
} Look;

// Opens the subfolder "inner" of the folder shown, then highlights another
// entry without opening it, then presses OK.
void OpenInnerThenOk(HWND browser, int tick)
{
    HWND list = GetDlgItem(browser, 1121);
    if (tick == 0) {
        Look.Seen = true;
        Look.HiddenOnes = true;
        for (int id : {1090, 1152, 1120, 1089, 1136, 1091, 1038, 1040, 65535})
            Look.HiddenOnes = Look.HiddenOnes && !IsWindowVisible(GetDlgItem(browser, id));
        Look.VisibleOnes = true;
        for (int id : {1088, 1121, 1137, IDOK, IDCANCEL, 1008, 1010})
            Look.VisibleOnes = Look.VisibleOnes && IsWindowVisible(GetDlgItem(browser, id));
        Look.CancelOwnerDrawn =
            (GetWindowLongA(GetDlgItem(browser, IDCANCEL), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
        Look.ListFocused = GetFocus() == list;
        char title[64] = "";
        GetWindowTextA(browser, title, sizeof title);
        Look.Title = title;
        int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char item[MAX_PATH] = "";
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
            if (strstr(item, "inner")) {
                SendMessageA(list, LB_SETCURSEL, i, 0);
                SendMessageA(browser, WM_COMMAND, MAKEWPARAM(1121, LBN_DBLCLK),
                             reinterpret_cast<LPARAM>(list));
                break;
            }
        }
    } else if (tick == 1) {
        SendMessageA(list, LB_SETCURSEL, 0, 0);     // highlighted, not opened
        PressOk(browser, tick);
    }
}

TEST_F(WizardDialog, BrowseTakesTheOpenFolderAndPutsTheCurrentDirectoryBack)
{
    char base[MAX_PATH];
    snprintf(base, sizeof base, "C:\\wizard-browse-%lu", GetCurrentProcessId());
    CreateDirectoryA(base, nullptr);
    CreateDirectoryA((std::string(base) + "\\inner").c_str(), nullptr);
    ASSERT_EQ(_chdir(base), 0);
    std::string before = CurrentDir();

    Look = BrowserLook();
    BrowserAction = OpenInnerThenOk;
    Command(IDC_BROWSE);
    EXPECT_TRUE(Look.Seen);
    EXPECT_TRUE(Look.HiddenOnes);
    EXPECT_TRUE(Look.VisibleOnes);
    EXPECT_TRUE(Look.CancelOwnerDrawn);
    EXPECT_TRUE(Look.ListFocused);
    EXPECT_EQ(Look.Title, "Choose Destination Directory");
    EXPECT_EQ(_stricmp(InstallDir, (std::string(base) + "\\inner").c_str()), 0) << InstallDir;
    EXPECT_EQ(_stricmp(ControlText(dialog, IDC_DEST_EDIT).c_str(),
                       (std::string(base) + "\\inner\\Tarvo").c_str()), 0)
        << ControlText(dialog, IDC_DEST_EDIT);
    EXPECT_EQ(CurrentDir(), before);

    // A second run appends the folder name once, to the folder of that run.
    BrowserTicks = 0;
    BrowserAction = PressOk;
    Command(IDC_BROWSE);
    EXPECT_EQ(_stricmp(ControlText(dialog, IDC_DEST_EDIT).c_str(), (std::string(base) + "\\Tarvo").c_str()), 0)
        << ControlText(dialog, IDC_DEST_EDIT);
}

TEST_F(WizardDialog, BrowsingADriveRootGivesNoDoubledBackslash)
{
    ASSERT_EQ(_chdir("C:\\"), 0);
    BrowserAction = PressOk;
    Command(IDC_BROWSE);
    EXPECT_STREQ(InstallDir, "C:");
    EXPECT_EQ(ControlText(dialog, IDC_DEST_EDIT), "C:\\Tarvo");
}

TEST_F(WizardDialog, BrowseCancelLeavesTheDestinationUnchanged)
{
    SetDlgItemTextA(dialog, IDC_DEST_EDIT, "E:\\Typed\\By\\Hand");
    strcpy(InstallDir, "before");
    BrowserAction = PressCancel;
    Command(IDC_BROWSE);
    EXPECT_GE(BrowserTicks, 1);
    EXPECT_EQ(ControlText(dialog, IDC_DEST_EDIT), "E:\\Typed\\By\\Hand");
    EXPECT_STREQ(InstallDir, "before");
}

} // namespace
