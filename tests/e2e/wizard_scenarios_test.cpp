// The real TarvoSetup.exe, worked from outside as a user would: its pages,
// messages, keys, folder browser, the installation and its result on disk.
// Every installation lasts at least 5 seconds, so three installing runs
// carry most of the disk checks; the other scenarios end without installing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <cstdio>
#include <ctime>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

#include "install/manifest.h"
#include "install/payload.h"
#include "render/atlas.h"
#include "shell/process_state.h"
#include "resources/resource_ids.h"
#include "tests/e2e/driver.h"

namespace {

constexpr DWORD Patience = 20000;        // for anything that should be prompt
constexpr DWORD InstallPatience = 120000;

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

// Paths compared the way the file system sees them: case and doubled
// backslashes do not matter.
std::string SamePath(std::string s)
{
    s = Lower(s);
    std::string out;
    for (char c : s)
        if (!(c == '\\' && !out.empty() && out.back() == '\\')) out += c;
    return out;
}

// A TEXT resource of the driver's own (the same payload the installer
// carries), inflated.
std::string DriverResourceText(WORD id)
{
    static unsigned char buffer[65536];
    AppInstance = GetModuleHandleA(nullptr);
    unsigned long length = 0;
    if (InflateResource(id, buffer, sizeof buffer, &length) != 0) return std::string();
    return std::string(reinterpret_cast<char*>(buffer), length);
}

DWORD FaceColour()
{
    DWORD c = GetSysColor(COLOR_BTNFACE);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

struct Wizard {
    InstallerRun Run{};
    HWND Main = nullptr;

    void Start()
    {
        ASSERT_TRUE(StartInstaller(ShippedFile("TarvoSetup.exe").c_str(), "C:\\", &Run))
            << "the wizard window did not appear";
        Main = Run.Main;
        ASSERT_TRUE(WaitUntil([&] { return VisiblePage(Main) == 0; }, Patience));
    }
    ~Wizard() { EndRun(&Run); }

    int OnPage(int page) { return WaitUntil([&] { return VisiblePage(Main) == page; }, Patience); }
    void Press(int id) { ClickButton(Main, id); }
    // Next from page-1 to page; page 1 is answered with answer first.
    void Forward(int page)
    {
        Press(IDC_NEXT);
        ASSERT_TRUE(OnPage(page)) << "Next did not lead to page " << page;
    }
    void Backward(int page)
    {
        Press(IDC_BACK);
        ASSERT_TRUE(OnPage(page)) << "Back did not lead to page " << page;
    }
    void Tick(int id, int ticked)
    {
        if (IsTicked(Main, id) != ticked) Press(id);
        ASSERT_TRUE(WaitUntil([&] { return IsTicked(Main, id) == ticked; }, Patience)) << id;
    }
    // From page 0 to page 3, answering the display test with answer.
    void WalkToLastPage(int answer)
    {
        Forward(1);
        Tick(answer, 1);
        Forward(2);
        Forward(3);
    }
    void ChooseLanguage(int index)
    {
        HWND combo = GetDlgItem(Main, IDC_LANGUAGE_COMBO);
        ASSERT_NE(Ask(combo, CB_SETCURSEL, index, 0), CB_ERR);
    }
    HWND Message(DWORD timeout = Patience) { return WaitForMessageDialog(Run, timeout); }
    DWORD Exit()
    {
        DWORD code = 12345;
        EXPECT_TRUE(WaitForExit(&Run, Patience, &code)) << "the installer did not end";
        return code;
    }
};

void Dismiss(HWND message, int button)
{
    ClickButton(message, button);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(message) || !IsWindowVisible(message); },
                          Patience));
}

// Differing pixels between the caption painted on button id and the same
// caption rendered by the installer's own code with the wizard's font; -1
// when the rendering holds no ink (the check would prove nothing).
int CaptionDifference(HWND main, int id, const char* caption)
{
    HWND button = GetDlgItem(main, id);
    RECT client;
    GetClientRect(button, &client);
    POINT origin{0, 0};
    ClientToScreen(button, &origin);
    RECT area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    RECT text;
    Image expected = RenderButtonCaption(caption, client.right, client.bottom, &text);
    if (expected.Pixels.empty()) return -1;
    Image want = Crop(expected, text.left, text.top, text.right - text.left, text.bottom - text.top);
    if (CountPixelsNot(want, FaceColour()) < 50) return -1;
    int difference = -1;
    // Painting may still be under way: allow it a moment to settle.
    WaitUntil([&] {
        Image shot;
        if (!CaptureScreen(area, &shot)) return false;
        difference = DifferingPixels(
            Crop(shot, text.left, text.top, text.right - text.left, text.bottom - text.top), want);
        return difference == 0;
    }, 3000);
    return difference;
}

std::string InstalledFile(const std::string& folder, const char* name)
{
    return folder + "\\" + name;
}

// Every manifest file in folder, with the attributes its row asks for.
void ExpectManifestInstalled(const std::string& folder)
{
    int missing = 0, wrong = 0;
    for (const ManifestRow& row : InstallManifest) {
        DWORD a = Attributes(InstalledFile(folder, row.Entry.FileName));
        if (a == INVALID_FILE_ATTRIBUTES) {
            ADD_FAILURE() << "missing " << row.Entry.FileName;
            ++missing;
            continue;
        }
        bool readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0, hidden = (a & FILE_ATTRIBUTE_HIDDEN) != 0;
        if (readOnly != row.Entry.ReadOnly || hidden != row.Entry.Hidden) {
            ADD_FAILURE() << row.Entry.FileName << " read-only " << readOnly << " hidden " << hidden;
            ++wrong;
        }
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(wrong, 0);
}

void ExpectConfig(const std::string& folder, char useBmpFont, int forceLanguage)
{
    std::string ini = ReadFileBytes(InstalledFile(folder, "engine.ini"));
    std::string tail = std::string("[Config]\r\nUseBmpFont=") + useBmpFont +
                       "\r\n\r\n\r\nForceLanguage=" + std::to_string(forceLanguage) + "\r\n";
    ASSERT_GE(ini.size(), tail.size());
    EXPECT_EQ(ini.substr(ini.size() - tail.size()), tail);
    DWORD a = Attributes(InstalledFile(folder, "engine.ini"));
    EXPECT_TRUE((a & FILE_ATTRIBUTE_READONLY) && (a & FILE_ATTRIBUTE_HIDDEN));
}

void ExpectShortcut(const std::string& link, const std::string& target, const char* description)
{
    ShortcutInfo info;
    ASSERT_TRUE(ReadShortcut(link, &info)) << "no shortcut " << link;
    EXPECT_EQ(SamePath(info.Target), SamePath(target)) << link;
    EXPECT_EQ(SamePath(info.WorkingDir),
              SamePath(target.substr(0, target.find_last_of('\\'))))
        << link;
    EXPECT_EQ(info.Description, description) << link;
}

std::string ProgramsGroup() { return ShellFolder(CSIDL_PROGRAMS) + "\\Tarvo Chinese Input Engine"; }
std::string DesktopLink(const char* name) { return ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + name + ".lnk"; }
std::string StartupLink() { return ShellFolder(CSIDL_STARTUP) + "\\Tarvo Chinese Input Engine.lnk"; }

void RemoveShortcuts()
{
    RemoveTree(ProgramsGroup());
    RemoveTree(DesktopLink("Quorlin"));
    RemoveTree(DesktopLink("Tarvo Chinese Input Engine"));
    RemoveTree(StartupLink());
}

// Presses the forward button on page 3 and follows the installation to its
// result message; returns the message window (null if none came).
HWND InstallAndWait(Wizard& w, time_t* started, DWORD* elapsedMs)
{
    *started = time(nullptr);
    DWORD tick = GetTickCount();
    w.Press(IDC_NEXT);
    // During the installation only the navigation buttons go away.
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(w.Main, IDC_NEXT); }, Patience));
    HWND message = w.Message(InstallPatience);
    *elapsedMs = GetTickCount() - tick;
    return message;
}

void ExpectSuccessMessage(HWND message, time_t started, DWORD elapsedMs)
{
    ASSERT_NE(message, nullptr) << "no result message";
    time_t shown = time(nullptr);
    EXPECT_GE(shown - started, 5) << "result message before 5 whole seconds";
    EXPECT_GE(elapsedMs, 4000u);
    EXPECT_EQ(ControlText(message, IDC_MSG_ENGLISH), "Congratulations! Installation Success!");
    EXPECT_EQ(ChineseCaption(message, IDC_MSG_CHINESE), "祝贺您：安装顺利完成！");
    EXPECT_TRUE(IsShown(message, 1));
    EXPECT_FALSE(IsShown(message, 2));
}

}  // namespace

// The Overview's typical run: defaults everywhere, "正确(OK)", English.
TEST(Wizard, TypicalRunInstallsEverything)
{
    const std::string dest = "C:\\Tarvo";
    RemoveTree(dest);
    RemoveShortcuts();
    ASSERT_TRUE(DriverAtlasReady());

    Wizard w;
    w.Start();
    // Page 0 as it opens.
    EXPECT_EQ(ControlText(w.Main, IDC_DEST_EDIT), dest);
    EXPECT_TRUE(IsTicked(w.Main, IDC_DESKTOP_ICONS));
    EXPECT_FALSE(IsTicked(w.Main, IDC_AUTO_START));
    EXPECT_FALSE(IsShown(w.Main, IDC_BACK));
    EXPECT_FALSE(IsEnabled(w.Main, IDC_BACK));
    EXPECT_TRUE(IsShown(w.Main, IDC_NEXT));
    EXPECT_TRUE(IsShown(w.Main, IDCANCEL));
    EXPECT_FALSE(IsShown(w.Main, IDC_PROGRESS));
    EXPECT_EQ(CaptionDifference(w.Main, IDC_NEXT, "下一步 &Next"), 0);

    w.Forward(1);
    EXPECT_FALSE(IsTicked(w.Main, IDC_DISPLAY_OK));
    EXPECT_FALSE(IsTicked(w.Main, IDC_DISPLAY_NO));
    EXPECT_TRUE(IsShown(w.Main, IDC_BACK));
    w.Tick(IDC_DISPLAY_OK, 1);
    w.Forward(2);
    w.Forward(3);
    // The language list: English, Simplified, Traditional, English selected.
    HWND combo = GetDlgItem(w.Main, IDC_LANGUAGE_COMBO);
    EXPECT_TRUE(IsShown(w.Main, IDC_LANGUAGE_LABEL));
    ASSERT_EQ(Ask(combo, CB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Ask(combo, CB_GETITEMDATA, i, 0), i);
    EXPECT_EQ(Ask(combo, CB_GETCURSEL, 0, 0), 0);
    // The forward button's caption, without its focus mark.
    ASSERT_TRUE(FocusControl(w.Main, IDC_LANGUAGE_COMBO));
    EXPECT_EQ(CaptionDifference(w.Main, IDC_NEXT, "同意/安装 Agree/&Install"), 0);
    EXPECT_GT(CaptionDifference(w.Main, IDC_NEXT, "下一步 &Next"), 0);

    // The clock is read before the press, so it is not later than the
    // installer's own start time.
    time_t started = time(nullptr);
    DWORD tick = GetTickCount();
    w.Press(IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(w.Main, IDC_NEXT); }, Patience));
    // While installing: navigation hidden, the page-3 controls and the bar shown.
    EXPECT_TRUE(WaitUntil([&] { return IsShown(w.Main, IDC_PROGRESS); }, Patience));
    EXPECT_FALSE(IsShown(w.Main, IDC_BACK));
    EXPECT_FALSE(IsShown(w.Main, IDCANCEL));
    EXPECT_FALSE(IsShown(w.Main, IDC_WAIT_LABEL));
    EXPECT_TRUE(IsShown(w.Main, IDC_LANGUAGE_LABEL));
    EXPECT_TRUE(IsShown(w.Main, IDC_LANGUAGE_COMBO));
    HWND message = w.Message(InstallPatience);
    DWORD elapsed = GetTickCount() - tick;
    ExpectSuccessMessage(message, started, elapsed);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(Ask(GetDlgItem(w.Main, IDC_PROGRESS), PBM_GETPOS, 0, 0), 100);
    Dismiss(message, 1);
    EXPECT_EQ(w.Exit(), 0u);

    ExpectManifestInstalled(dest);
    EXPECT_TRUE(FolderExists(dest + "\\doc"));
    ExpectConfig(dest, '0', 0);
    // Bytes on disk: the atlas file is the inflated atlas resource.
    static unsigned char atlas[AtlasBufferSize];
    unsigned long length = 0;
    ASSERT_EQ(InflateResource(IDR_GLYPH_ATLAS, atlas, sizeof atlas, &length), 0);
    EXPECT_EQ(ReadFileBytes(InstalledFile(dest, "GlyphAtlas.bin")),
              std::string(reinterpret_cast<char*>(atlas), length));

    ExpectShortcut(ProgramsGroup() + "\\Tarvo Chinese Input Engine.lnk", dest + "\\TVO.exe",
                   "Tarvo Chinese Input Engine");
    ExpectShortcut(ProgramsGroup() + "\\Tarvo UnInstall.lnk", dest + "\\TVOUnInstall.exe",
                   "Tarvo UnInstall");
    ExpectShortcut(DesktopLink("Quorlin"), dest + "\\Quorlin.exe", "Quorlin");
    ExpectShortcut(DesktopLink("Tarvo Chinese Input Engine"), dest + "\\TVO.exe",
                   "Tarvo Chinese Input Engine");
    EXPECT_FALSE(FileExists(StartupLink()));
}

// An old word base in the destination: the question comes up during the
// installation, and an Enter that arrives at once, before the user chose
// anything, keeps the user's learned words.
TEST(Wizard, EnterAtOnceInTheWordBaseQuestionKeepsTheOldWordBase)
{
    const std::string dest = "C:\\e2e_old_words";
    RemoveTree(dest);
    ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
    const std::string oldIndex = "\x90 the user's learned words";
    for (const char* name : {"wordbase.idx", "WordFlat.igb"}) {
        HANDLE file = CreateFileA((dest + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
        DWORD written = 0;
        WriteFile(file, oldIndex.data(), static_cast<DWORD>(oldIndex.size()), &written, nullptr);
        CloseHandle(file);
    }

    Wizard w;
    w.Start();
    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, dest.c_str()));
    w.WalkToLastPage(IDC_DISPLAY_OK);
    w.Press(IDC_NEXT);
    HWND question = w.Message(InstallPatience);
    ASSERT_NE(question, nullptr) << "no word-base question";
    EXPECT_EQ(ControlText(question, IDC_MSG_ENGLISH),
              "Old CiKu (Word Base) is detected. Replace it with new CiKu?");
    SetForegroundWindow(question);
    ASSERT_TRUE(PressKey(VK_RETURN));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }, Patience)) << "Enter left it open";
    HWND result = w.Message(InstallPatience);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(ControlText(result, IDC_MSG_ENGLISH), "Congratulations! Installation Success!");
    Dismiss(result, 1);
    EXPECT_EQ(w.Exit(), 0u);
    EXPECT_TRUE(ReadFileBytes(dest + "\\wordbase.idx") == oldIndex)
        << "the old word base was replaced";
    RemoveTree(dest);
}

// Destinations that cannot be made (empty, two levels deep) keep the wizard on
// page 3 and can be retried; then a new folder given with a trailing
// backslash, "不正确(NO)", Traditional, no Desktop icons, auto-start.
TEST(Wizard, FolderMessagesThenNewFolderWithTrailingBackslash)
{
    const std::string dest = "C:\\e2e_trail";
    RemoveTree(dest);
    RemoveTree("C:\\e2e_missing");
    RemoveShortcuts();

    Wizard w;
    w.Start();
    w.Tick(IDC_DESKTOP_ICONS, 0);
    w.Tick(IDC_AUTO_START, 1);
    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, ""));
    w.WalkToLastPage(IDC_DISPLAY_NO);
    w.ChooseLanguage(2);
    for (int attempt = 0; attempt < 2; ++attempt) {   // the second press retries
        w.Press(IDC_NEXT);
        HWND message = w.Message();
        ASSERT_NE(message, nullptr) << "no folder message, attempt " << attempt;
        EXPECT_EQ(ControlText(message, IDC_MSG_ENGLISH),
                  "Cannot create folder! Please check folder path.");
        EXPECT_EQ(ChineseCaption(message, IDC_MSG_CHINESE),
                  "无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。");
        Dismiss(message, 1);
        EXPECT_TRUE(w.OnPage(3));
        EXPECT_TRUE(IsShown(w.Main, IDC_NEXT));
        EXPECT_TRUE(IsShown(w.Main, IDC_BACK));
        EXPECT_TRUE(IsShown(w.Main, IDCANCEL));
        EXPECT_FALSE(IsShown(w.Main, IDC_PROGRESS));
    }
    // Back leads through every page; the answer is kept on the way.
    w.Backward(2);
    w.Backward(1);
    EXPECT_TRUE(IsTicked(w.Main, IDC_DISPLAY_NO));
    w.Backward(0);
    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, "C:\\e2e_missing\\deep"));
    w.WalkToLastPage(IDC_DISPLAY_NO);
    w.ChooseLanguage(2);
    w.Press(IDC_NEXT);
    HWND message = w.Message();
    ASSERT_NE(message, nullptr) << "no folder message for a folder two levels deep";
    Dismiss(message, 1);
    EXPECT_TRUE(w.OnPage(3));
    EXPECT_FALSE(FolderExists("C:\\e2e_missing"));

    w.Backward(2);
    w.Backward(1);
    w.Backward(0);
    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, (dest + "\\").c_str()));
    w.WalkToLastPage(IDC_DISPLAY_NO);
    w.ChooseLanguage(2);
    time_t started;
    DWORD elapsed;
    message = InstallAndWait(w, &started, &elapsed);
    ExpectSuccessMessage(message, started, elapsed);
    ASSERT_NE(message, nullptr);
    Dismiss(message, 1);
    EXPECT_EQ(w.Exit(), 0u);

    ExpectManifestInstalled(dest);
    EXPECT_TRUE(FolderExists(dest + "\\doc"));
    ExpectConfig(dest, '1', 2);
    ExpectShortcut(StartupLink(), dest + "\\TVO.exe", "Tarvo Chinese Input Engine");
    ExpectShortcut(ProgramsGroup() + "\\Tarvo UnInstall.lnk", dest + "\\TVOUnInstall.exe",
                   "Tarvo UnInstall");
    EXPECT_FALSE(FileExists(DesktopLink("Quorlin")));
    EXPECT_FALSE(FileExists(DesktopLink("Tarvo Chinese Input Engine")));
}

namespace {

// In the folder browser: opens the folder list entry whose name (without the
// brackets the list puts around folders) is name, as a double-click does.
int OpenListedFolder(HWND browser, const char* name)
{
    HWND list = GetDlgItem(browser, 1121);
    LRESULT count = Ask(list, LB_GETCOUNT, 0, 0, 0);
    std::wstring wanted = L"[";
    for (const char* p = name; *p; ++p) wanted += static_cast<wchar_t>(tolower(*p));
    wanted += L"]";
    for (int i = 0; i < count; ++i) {
        std::wstring item = ListItemText(list, i);
        for (wchar_t& c : item) c = static_cast<wchar_t>(towlower(c));
        if (item != wanted) continue;
        std::string before = ControlText(browser, 1088);
        Ask(list, LB_SETCURSEL, i, 0);
        PostMessageA(browser, WM_COMMAND, MAKEWPARAM(1121, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
        return WaitUntil([&] { return ControlText(browser, 1088) != before; }, Patience);
    }
    return 0;
}

HWND OpenBrowser(Wizard& w)
{
    w.Press(IDC_BROWSE);
    return WaitForFolderBrowser(w.Run, Patience);
}

void CloseBrowser(Wizard& w, HWND browser, int button)
{
    ClickButton(browser, button);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(browser); }, Patience));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(w.Main); }, Patience));
}

}  // namespace

// Browse to an existing folder that already holds the destination: the
// destination is used as it is (no "doc"); "正确(OK)", Simplified Chinese.
TEST(Wizard, BrowseToFolderAndInstallIntoExistingDestination)
{
    const std::string parent = "C:\\e2e_browse", dest = parent + "\\Tarvo";
    RemoveTree(parent);
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));

    Wizard w;
    w.Start();
    HWND browser = OpenBrowser(w);
    ASSERT_NE(browser, nullptr) << "no folder browser";
    // Only folders and drives: the file controls, Help and Read Only stay hidden.
    for (int id : {1090, 1152, 1120, 1089, 1136, 1038, 1040})
        EXPECT_FALSE(IsShown(browser, id)) << id;
    for (int id : {1088, 1121, 1137, IDOK, IDCANCEL, 1008, 1010})
        EXPECT_TRUE(IsShown(browser, id)) << id;
    ASSERT_TRUE(OpenListedFolder(browser, "e2e_browse"));
    CloseBrowser(w, browser, IDOK);
    EXPECT_EQ(SamePath(ControlText(w.Main, IDC_DEST_EDIT)), SamePath(dest));
    EXPECT_EQ(Lower(ControlText(w.Main, IDC_DEST_EDIT)).find("\\\\"), std::string::npos);

    w.WalkToLastPage(IDC_DISPLAY_OK);
    w.ChooseLanguage(1);
    time_t started;
    DWORD elapsed;
    HWND message = InstallAndWait(w, &started, &elapsed);
    ExpectSuccessMessage(message, started, elapsed);
    ASSERT_NE(message, nullptr);
    Dismiss(message, 1);
    EXPECT_EQ(w.Exit(), 0u);

    ExpectManifestInstalled(dest);
    EXPECT_FALSE(FolderExists(dest + "\\doc"));
    ExpectConfig(dest, '0', 1);
}

// Browse to a drive root gives "C:\Tarvo" (no doubled backslash); Browse
// then Cancel leaves the field as it was; each browse appends the name once.
TEST(Wizard, BrowseToDriveRootAndBrowseThenCancel)
{
    RemoveTree("C:\\e2e_browse");
    ASSERT_TRUE(CreateDirectoryA("C:\\e2e_browse", nullptr));
    Wizard w;
    w.Start();
    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, "D:\\elsewhere"));
    HWND browser = OpenBrowser(w);
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(OpenListedFolder(browser, "e2e_browse"));
    ASSERT_TRUE(OpenListedFolder(browser, ".."));
    EXPECT_EQ(Lower(ControlText(browser, 1088)), "c:\\");
    CloseBrowser(w, browser, IDOK);
    EXPECT_EQ(ControlText(w.Main, IDC_DEST_EDIT), "C:\\Tarvo");

    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, "C:\\keep me"));
    browser = OpenBrowser(w);
    ASSERT_NE(browser, nullptr);
    OpenListedFolder(browser, "e2e_browse");
    CloseBrowser(w, browser, IDCANCEL);
    EXPECT_EQ(ControlText(w.Main, IDC_DEST_EDIT), "C:\\keep me");

    // A second OK: the name is appended to the folder of this run only.
    browser = OpenBrowser(w);
    ASSERT_NE(browser, nullptr);
    // Browsing leaves no trace on the process: the browser opens again in the
    // folder the installer was started in, not in the one visited last.
    std::string opened = ControlText(browser, 1088);
    EXPECT_EQ(Lower(opened), "c:\\");
    CloseBrowser(w, browser, IDOK);
    std::string expected = opened;
    if (!expected.empty() && expected.back() == '\\') expected.pop_back();
    EXPECT_EQ(SamePath(ControlText(w.Main, IDC_DEST_EDIT)), SamePath(expected + "\\Tarvo"));
    EXPECT_EQ(ControlText(w.Main, IDC_DEST_EDIT).find("Tarvo\\Tarvo"), std::string::npos);
    w.Press(IDCANCEL);
    EXPECT_EQ(w.Exit(), 0u);
}

// Page 1 asks for an answer; the two answers exclude each other.
TEST(Wizard, DisplayTestNeedsOneAnswer)
{
    Wizard w;
    w.Start();
    w.Forward(1);
    for (int round = 0; round < 2; ++round) {
        w.Press(IDC_NEXT);
        HWND message = w.Message();
        ASSERT_NE(message, nullptr) << "no question message, round " << round;
        EXPECT_EQ(ControlText(message, IDC_MSG_ENGLISH), "Please select a choice.");
        EXPECT_EQ(ChineseCaption(message, IDC_MSG_CHINESE), "请您回答提问.");
        Dismiss(message, 1);
        EXPECT_TRUE(w.OnPage(1));
        if (round == 0) {
            w.Press(IDC_DISPLAY_OK);
            ASSERT_TRUE(WaitUntil([&] { return IsTicked(w.Main, IDC_DISPLAY_OK); }, Patience));
            w.Press(IDC_DISPLAY_NO);
            ASSERT_TRUE(WaitUntil([&] { return IsTicked(w.Main, IDC_DISPLAY_NO); }, Patience));
            EXPECT_TRUE(WaitUntil([&] { return !IsTicked(w.Main, IDC_DISPLAY_OK); }, Patience));
            w.Press(IDC_DISPLAY_NO);   // unticking the ticked answer leaves none
            ASSERT_TRUE(WaitUntil([&] { return !IsTicked(w.Main, IDC_DISPLAY_NO); }, Patience));
            EXPECT_FALSE(IsTicked(w.Main, IDC_DISPLAY_OK));
        }
    }
    w.Tick(IDC_DISPLAY_NO, 1);
    w.Forward(2);
    w.Press(IDCANCEL);
    EXPECT_EQ(w.Exit(), 0u);
}

namespace {

// Each line of the Chinese licence as another process (a screen reader)
// reads it through the wide LB_GETTEXT: the line itself, in UTF-16.
void ExpectLinesReadFromOutside(HWND list, const std::string& licence)
{
    int index = 0, wrong = 0;
    for (size_t start = 0, end; (end = licence.find('\r', start)) != std::string::npos;
         start = end + 2, ++index) {
        WCHAR line[256] = L"";
        MultiByteToWideChar(936, 0, licence.data() + start, static_cast<int>(end - start), line, 255);
        wrong += ListItemText(list, index) != line;
    }
    EXPECT_EQ(wrong, 0) << "lines of " << index << " read otherwise";
}

}  // namespace

// Page 2 opens on English, switches to the 63-line Chinese list (loaded
// once), whose lines another process reads; Back through every page keeps
// what was chosen.
TEST(Wizard, LicencePageAndBackKeepTheAnswers)
{
    const std::string dest = "C:\\e2e_kept";
    RemoveTree(dest);
    Wizard w;
    w.Start();
    w.Tick(IDC_DESKTOP_ICONS, 0);
    w.Tick(IDC_AUTO_START, 1);
    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, dest.c_str()));
    w.Forward(1);
    w.Tick(IDC_DISPLAY_NO, 1);
    w.Forward(2);
    HWND list = GetDlgItem(w.Main, IDC_LICENCE_CN);
    const std::string english = DriverResourceText(IDR_LICENCE_EN);
    const std::string chinese = DriverResourceText(IDR_LICENCE_CN);
    ASSERT_FALSE(english.empty());
    int chineseLines = 0;
    for (char c : chinese) chineseLines += c == '\r';
    EXPECT_EQ(chineseLines, 63);
    for (int visit = 0; visit < 2; ++visit) {
        EXPECT_TRUE(IsTicked(w.Main, IDC_ENGLISH_LICENCE)) << "visit " << visit;
        EXPECT_TRUE(IsShown(w.Main, IDC_LICENCE_EN));
        EXPECT_FALSE(IsShown(w.Main, IDC_LICENCE_CN));
        EXPECT_EQ(ControlText(w.Main, IDC_LICENCE_EN), english);
        w.Tick(IDC_ENGLISH_LICENCE, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsShown(w.Main, IDC_LICENCE_CN); }, Patience));
        EXPECT_FALSE(IsShown(w.Main, IDC_LICENCE_EN));
        EXPECT_EQ(Ask(list, LB_GETCOUNT, 0, 0), chineseLines) << "visit " << visit;
        if (visit == 0) ExpectLinesReadFromOutside(list, chinese);
        w.Backward(1);
        EXPECT_TRUE(IsTicked(w.Main, IDC_DISPLAY_NO));
        EXPECT_FALSE(IsTicked(w.Main, IDC_DISPLAY_OK));
        w.Forward(2);
    }
    w.Forward(3);
    w.ChooseLanguage(2);
    w.Backward(2);
    w.Backward(1);
    EXPECT_TRUE(IsTicked(w.Main, IDC_DISPLAY_NO));
    w.Backward(0);
    EXPECT_EQ(ControlText(w.Main, IDC_DEST_EDIT), dest);
    EXPECT_FALSE(IsTicked(w.Main, IDC_DESKTOP_ICONS));
    EXPECT_TRUE(IsTicked(w.Main, IDC_AUTO_START));
    EXPECT_FALSE(IsShown(w.Main, IDC_BACK));
    EXPECT_FALSE(IsEnabled(w.Main, IDC_BACK));
    // Entering page 1 from page 0 starts without an answer.
    w.Forward(1);
    EXPECT_FALSE(IsTicked(w.Main, IDC_DISPLAY_NO));
    EXPECT_FALSE(IsTicked(w.Main, IDC_DISPLAY_OK));
    w.Tick(IDC_DISPLAY_OK, 1);
    w.Forward(2);
    w.Forward(3);
    EXPECT_EQ(Ask(GetDlgItem(w.Main, IDC_LANGUAGE_COMBO), CB_GETCURSEL, 0, 0), 2);
    w.Press(IDCANCEL);
    EXPECT_EQ(w.Exit(), 0u);
    EXPECT_FALSE(FolderExists(dest));
}

// Cancel, Escape and the close box on every page end at once, install nothing.
TEST(Wizard, CancelEscapeAndCloseBoxOnEveryPage)
{
    constexpr int focusFor[4] = {IDC_DEST_EDIT, IDC_DISPLAY_OK, IDC_ENGLISH_LICENCE,
                                 IDC_LANGUAGE_COMBO};
    const char* ways[3] = {"cancel", "escape", "closebox"};
    for (int page = 0; page < 4; ++page)
        for (int way = 0; way < 3; ++way) {
            SCOPED_TRACE(std::string("page ") + std::to_string(page) + " " + ways[way]);
            std::string dest = "C:\\e2e_quit_" + std::to_string(page) + "_" + ways[way];
            RemoveTree(dest);
            Wizard w;
            w.Start();
            ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, dest.c_str()));
            if (page >= 1) w.Forward(1);
            if (page >= 2) {
                w.Tick(IDC_DISPLAY_OK, 1);
                w.Forward(2);
            }
            if (page >= 3) w.Forward(3);
            if (way == 0) w.Press(IDCANCEL);
            if (way == 1) {
                ASSERT_TRUE(PressKeyOn(w.Main, focusFor[page], VK_ESCAPE));
            }
            if (way == 2) PressCloseBox(w.Main);
            EXPECT_EQ(w.Exit(), 0u);
            EXPECT_FALSE(FolderExists(dest));
        }
}

// Enter presses the focused wizard button; anywhere else it presses Next once.
TEST(Wizard, EnterKeyPressesTheFocusedButtonOrNext)
{
    Wizard w;
    w.Start();
    ASSERT_TRUE(SetControlText(w.Main, IDC_DEST_EDIT, "C:\\e2e_enter"));
    // In the edit box: Next, once (a second Next would ask for an answer).
    ASSERT_TRUE(PressKeyOn(w.Main, IDC_DEST_EDIT, VK_RETURN));
    ASSERT_TRUE(w.OnPage(1));
    EXPECT_EQ(w.Message(1000), nullptr);
    EXPECT_TRUE(w.OnPage(1));
    // On Back: Back.
    ASSERT_TRUE(PressKeyOn(w.Main, IDC_BACK, VK_RETURN));
    ASSERT_TRUE(w.OnPage(0));
    // On a check box: Next, and the box keeps its state.
    ASSERT_TRUE(PressKeyOn(w.Main, IDC_DESKTOP_ICONS, VK_RETURN));
    ASSERT_TRUE(w.OnPage(1));
    w.Backward(0);
    EXPECT_TRUE(IsTicked(w.Main, IDC_DESKTOP_ICONS));
    w.Forward(1);
    w.Tick(IDC_DISPLAY_OK, 1);
    ASSERT_TRUE(PressKeyOn(w.Main, IDC_DISPLAY_OK, VK_RETURN));
    ASSERT_TRUE(w.OnPage(2));
    w.Backward(1);
    w.Backward(0);
    // On Browse: the folder browser; its Cancel leaves the field alone.
    ASSERT_TRUE(PressKeyOn(w.Main, IDC_BROWSE, VK_RETURN));
    HWND browser = WaitForFolderBrowser(w.Run, Patience);
    ASSERT_NE(browser, nullptr) << "Enter on Browse opened no browser";
    CloseBrowser(w, browser, IDCANCEL);
    EXPECT_EQ(ControlText(w.Main, IDC_DEST_EDIT), "C:\\e2e_enter");
    EXPECT_EQ(VisiblePage(w.Main), 0);
    // On Cancel: the end.
    ASSERT_TRUE(PressKeyOn(w.Main, IDCANCEL, VK_RETURN));
    EXPECT_EQ(w.Exit(), 0u);
    EXPECT_FALSE(FolderExists("C:\\e2e_enter"));
}

namespace {

// The access key in a control's window text as a screen reader reads it (the
// wide call): the letter after its "&" in upper case, which is its virtual
// key; 0 for none. *text gets the window text in UTF-8.
WORD AccessKey(HWND control, std::string* text = nullptr)
{
    WCHAR wide[256] = L"";
    DWORD_PTR got = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL,
                        Patient(5000), &got);
    char utf8[512] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    if (text) *text = utf8;
    const WCHAR* mark = wcschr(wide, L'&');
    return static_cast<WORD>(mark ? towupper(mark[1]) : 0);
}

// Every push button and check box of dialog that a user can reach, printed
// with its window text: each has an access key, no two the same.
void ExpectAccessKeys(HWND dialog, const char* where)
{
    printf("%s\n", where);
    std::string keys, text;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char className[16] = "";
        GetClassNameA(c, className, sizeof className);
        if (_stricmp(className, "Button") != 0 || !IsWindowVisible(c) || !IsWindowEnabled(c) ||
            (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
            continue;
        const char key = static_cast<char>(AccessKey(c, &text));
        printf("  %5d  \"%s\"\n", GetDlgCtrlID(c), text.c_str());
        EXPECT_TRUE(key && keys.find(key) == std::string::npos) << where << ", " << GetDlgCtrlID(c);
        keys += key;
    }
}

// Alt and the access key that control id's window text gives.
void UseAccessKey(HWND dialog, int id)
{
    const WORD key = AccessKey(GetDlgItem(dialog, id));
    ASSERT_NE(key, 0) << "control " << id << " has no access key";
    SetForegroundWindow(dialog);
    ASSERT_TRUE(PressKey(key, 1));
}

}  // namespace

// What a keyboard user does: Tab and Space, the access keys of every page,
// the browser and the result message, the language taken from the open list
// with Enter, and Enter to install. The default frame (the outer edge in the
// button-text colour) follows the focus to a push button, and back to Next.
TEST(Wizard, KeysAloneInstall)
{
    const std::string dest = "C:\\Tarvo";   // the default: nothing is typed
    RemoveTree(dest);
    RemoveShortcuts();
    Wizard w;
    w.Start();
    SetForegroundWindow(w.Main);
    auto tabTo = [&](int id) {
        return PressKey(VK_TAB) && WaitUntil([&] { return GetDlgCtrlID(FocusOf(w.Main)) == id; }, Patience);
    };
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);    // images hold 0x00RRGGBB
    auto framed = [&](int id) {
        Image b;
        return WaitForPaint(w.Main, Patience) && CaptureWindow(GetDlgItem(w.Main, id), &b) &&
               b.At(0, b.Height / 2) == RGB(GetBValue(ink), GetGValue(ink), GetRValue(ink));
    };
    ExpectAccessKeys(w.Main, "page 0");
    ASSERT_TRUE(tabTo(IDC_BROWSE));     // from the destination
    EXPECT_TRUE(framed(IDC_BROWSE) && !framed(IDC_NEXT));
    ASSERT_TRUE(tabTo(IDC_DESKTOP_ICONS));
    EXPECT_TRUE(framed(IDC_NEXT) && !framed(IDC_BROWSE));
    ASSERT_TRUE(PressKey(VK_SPACE));
    EXPECT_TRUE(WaitUntil([&] { return !IsTicked(w.Main, IDC_DESKTOP_ICONS); }, Patience));
    UseAccessKey(w.Main, IDC_AUTO_START);
    EXPECT_TRUE(WaitUntil([&] { return IsTicked(w.Main, IDC_AUTO_START); }, Patience));
    UseAccessKey(w.Main, IDC_BROWSE);
    HWND browser = WaitForFolderBrowser(w.Run, Patience);
    ASSERT_NE(browser, nullptr) << "no folder browser";
    UseAccessKey(browser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }, Patience));
    UseAccessKey(w.Main, IDC_NEXT);
    ASSERT_TRUE(w.OnPage(1));

    ExpectAccessKeys(w.Main, "page 1");
    UseAccessKey(w.Main, IDC_DISPLAY_NO);
    EXPECT_TRUE(WaitUntil([&] { return IsTicked(w.Main, IDC_DISPLAY_NO); }, Patience));
    ASSERT_TRUE(WaitUntil([&] { return GetDlgCtrlID(FocusOf(w.Main)) == IDC_DISPLAY_NO; }, Patience));
    ASSERT_TRUE(PressKey(VK_RETURN));   // on a check box: Next
    ASSERT_TRUE(w.OnPage(2));

    ExpectAccessKeys(w.Main, "page 2");
    UseAccessKey(w.Main, IDC_ENGLISH_LICENCE);
    EXPECT_TRUE(tabTo(IDC_LICENCE_CN)) << "Tab did not leave the English box for the licence";
    UseAccessKey(w.Main, IDC_NEXT);
    ASSERT_TRUE(w.OnPage(3));

    ExpectAccessKeys(w.Main, "page 3");
    ASSERT_TRUE(tabTo(IDCANCEL));
    EXPECT_TRUE(framed(IDCANCEL) && !framed(IDC_NEXT));
    ASSERT_TRUE(tabTo(IDC_LANGUAGE_COMBO));
    EXPECT_TRUE(framed(IDC_NEXT) && !framed(IDCANCEL));
    HWND combo = GetDlgItem(w.Main, IDC_LANGUAGE_COMBO);
    ASSERT_TRUE(PressKey(VK_F4) && PressKey(VK_DOWN));
    ASSERT_TRUE(WaitUntil([&] { return Ask(combo, CB_GETDROPPEDSTATE, 0, 0) == TRUE; }, Patience));
    ASSERT_TRUE(PressKey(VK_RETURN));
    EXPECT_TRUE(WaitUntil([&] { return Ask(combo, CB_GETDROPPEDSTATE, 0, 0) == FALSE; }, Patience));
    EXPECT_TRUE(WaitForPaint(w.Main, Patience));    // what Enter set off has run
    ASSERT_TRUE(IsShown(w.Main, IDC_NEXT)) << "Enter in the open list started the installation";
    EXPECT_EQ(Ask(combo, CB_GETCURSEL, 0, 0), 1);
    ASSERT_TRUE(PressKey(VK_RETURN));   // the list closed: install

    HWND message = w.Message(InstallPatience);
    ASSERT_NE(message, nullptr) << "no result message";
    ExpectAccessKeys(message, "result message");
    UseAccessKey(message, IDOK);
    EXPECT_EQ(w.Exit(), 0u);
    ExpectConfig(dest, '1', 1);
    ExpectShortcut(StartupLink(), dest + "\\TVO.exe", "Tarvo Chinese Input Engine");
    EXPECT_FALSE(FileExists(DesktopLink("Quorlin")));
}

// A build whose atlas resource does not inflate ends with 1, showing nothing.
TEST(Wizard, DamagedAtlasEndsWithCodeOneBeforeAnyWindow)
{
    InstallerRun run;
    ASSERT_TRUE(StartProcess(ShippedFile("tests/TarvoSetupBadAtlas.exe").c_str(), "C:\\", &run));
    int sawWindow = 0;
    DWORD code = 12345;
    int ended = WaitUntil([&] {
        sawWindow |= ProcessHasWindow(run.Process.dwProcessId);
        return WaitForExit(&run, 0, &code) != 0;
    }, Patience);
    EXPECT_TRUE(ended);
    EXPECT_EQ(code, 1u);
    EXPECT_FALSE(sawWindow);
    EndRun(&run);
}
