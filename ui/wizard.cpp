// The main dialog: page switching, the user's answers and the install
// trigger. Painting belongs to the owner-draw code, messages to ShowMessage,
// the Browse button to the folder browser, the licence texts to their unit.
#include "ui/wizard.h"

#include <direct.h>
#include <string.h>
#include <time.h>

#include "install/destination.h"
#include "install/files_in_use.h"
#include "install/installation.h"
#include "render/large_glyphs.h"
#include "render/screen_scale.h"
#include "resources/resource_ids.h"
#include "shell/environment.h"
#include "shell/paths.h"
#include "shell/process_state.h"
#include "shell/wide_system.h"
#include "ui/control_text.h"
#include "ui/folder_browser.h"
#include "ui/licence_text.h"
#include "ui/message_dialog.h"
#include "ui/owner_draw.h"

namespace {

constexpr int MinimumInstallSeconds = 5;

// ---------------------------------------------------------------------------
// Initialisation

void FillWindowsDir()
{
    UINT length = GetWindowsDirectoryA(WindowsDir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        // Cannot happen on a working system; C:\ keeps every later path sane.
        lstrcpynA(WindowsDir, "C:\\", MAX_PATH);
        return;
    }
    if (!EndsWithBackslash(WindowsDir, CP_ACP) && length + 1 < MAX_PATH) {
        WindowsDir[length] = '\\';
        WindowsDir[length + 1] = 0;
    }
    // On NT the wide call too: what it gives reaches the system unchanged.
    UINT units = OsInfo.IsNt ? WideWindowsDirectory(WindowsDirWide, MAX_PATH) : 0;
    if (units == 0 || units + 1 >= MAX_PATH)
        WindowsDirWide[0] = 0;
    else if (WindowsDirWide[units - 1] != L'\\')
        JoinWide(WindowsDirWide + units, MAX_PATH - units, {L"\\"});
}

// The items' strings are what screen readers read, never what is drawn:
// the painter draws the Chinese from LanguageList by item data, as the
// system's code page could turn GBK bytes kept by the box into other ones.
void FillLanguageCombo(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, IDC_LANGUAGE_COMBO);
    for (const LanguageEntry& entry : LanguageList) {
        LRESULT index = AddComboCaption(combo, entry.Id == ForceLanguage ? 0 : -1, entry.Text);
        if (index >= 0)
            SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_SETITEMDATA, index, entry.Id);
    }
    SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_SETCURSEL, 0, 0);
    // The selection field takes its height from the dialog's font, not from
    // the item height: a larger Chinese cell would be cut at its bottom.
    if (const int field = SelectionFieldHeight(ChineseCellSize(), ScreenDpi))
        SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
}

void SubclassCheckBoxes(HWND dialog)
{
    // All four are standard buttons with the same procedure, so one variable
    // keeps it for the four. Each gets its caption as its window text while
    // the standard procedure alone has it.
    constexpr int boxes[] = {IDC_DESKTOP_ICONS, IDC_AUTO_START, IDC_DISPLAY_OK, IDC_DISPLAY_NO};
    for (int id : boxes) {
        HWND box = GetDlgItem(dialog, id);
        const CheckBoxCaption* caption = CheckBoxCaptionFor(id);
        SetCaptionText(box, caption->Text, caption->AccessKey);
        SubclassCheckBox(box);
    }
}

void InitWizard(HWND dialog)
{
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(InstallerIcon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(InstallerIcon));
    FillWindowsDir();
    char destination[MAX_PATH];
    if (DefaultDestination(WindowsDir, DefaultFolderName, destination))
        SetDlgItemTextA(dialog, IDC_DEST_EDIT, destination);
    CheckDlgButton(dialog, IDC_DESKTOP_ICONS, BST_CHECKED);
    HWND back = GetDlgItem(dialog, IDC_BACK);
    ShowWindow(back, SW_HIDE);
    EnableWindow(back, FALSE);
    FillLanguageCombo(dialog);
    SetCaptionTexts(dialog, WizardCaptions);
    SubclassCheckBoxes(dialog);
}


// ---------------------------------------------------------------------------
// Navigation

void ShowControl(HWND dialog, int id, int show)
{
    ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

int IsLicenceText(int id)
{
    return id == IDC_LICENCE_CN || id == IDC_LICENCE_EN;
}

// A focused control that a page switch hid passes the focus to Next. Under
// Wine the dialog manager gives it to the first tab stop (Back) instead, and
// Enter would then walk the wizard backwards.
void KeepFocusVisible(HWND dialog, HWND focused)
{
    if (focused && IsChild(dialog, focused) && !IsWindowVisible(focused))
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_NEXT)), TRUE);
}

// The controls of page shown, every other page's hidden. The two licence
// texts stand in the licence page's row but show one at a time (ShowLicence):
// showing both first and hiding one again costs a scroll-bar update of the
// full list on every visit.
void ShowPageControls(HWND dialog, int page)
{
    for (int row = 0; PageTable[row][0] != 0; ++row)
        for (int i = 0; i < PageRowSize && PageTable[row][i] != 0; ++i)
            if (!IsLicenceText(PageTable[row][i]))
                ShowControl(dialog, PageTable[row][i], row == page);
    ShowControl(dialog, IDC_LICENCE_CN, 0);
    ShowControl(dialog, IDC_LICENCE_EN, 0);
}

// The licence the English box asks for, the texts loaded on the first visit.
// Filled while hidden: a visible list redraws its scroll bar for every line
// added, and a visible edit box lays the text out on screen. 0 when they
// could not be loaded: the page then shows both controls, as its row does.
int ShowLicence(HWND dialog)
{
    if (!LicenceLoaded) {
        if (!LoadLicences(dialog)) {
            ShowControl(dialog, IDC_LICENCE_CN, 1);
            ShowControl(dialog, IDC_LICENCE_EN, 1);
            return 0;
        }
        LicenceLoaded = 1;
    }
    const int english = IsDlgButtonChecked(dialog, IDC_ENGLISH_LICENCE) == BST_CHECKED;
    ShowControl(dialog, english ? IDC_LICENCE_EN : IDC_LICENCE_CN, 1);
    return 1;
}

// Back is hidden and disabled on the first page, shown and enabled on the others.
void ShowBack(HWND dialog, int page)
{
    HWND back = GetDlgItem(dialog, IDC_BACK);
    ShowWindow(back, page == PageOptions ? SW_HIDE : SW_SHOW);
    EnableWindow(back, page != PageOptions);
}

void Repaint(HWND dialog)
{
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

// Every change of WizardState: the state, and for a page the page on screen.
void ChangeState(HWND dialog, int state)
{
    WizardState = state;
    if (ShowingPages(state))
        ShowPage(dialog, state);
}

void ToggleAnswer(HWND dialog, int clicked)
{
    int other = clicked == IDC_DISPLAY_OK ? IDC_DISPLAY_NO : IDC_DISPLAY_OK;
    if (IsDlgButtonChecked(dialog, clicked) == BST_CHECKED)
        CheckDlgButton(dialog, other, BST_UNCHECKED);
    InvalidateRect(GetDlgItem(dialog, clicked), nullptr, FALSE);
    InvalidateRect(GetDlgItem(dialog, other), nullptr, FALSE);
}

void EnterDisplayTest(HWND dialog)
{
    ChangeState(dialog, PageDisplayTest);
    CheckDlgButton(dialog, IDC_DISPLAY_OK, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_DISPLAY_NO, BST_UNCHECKED);
    InvalidateRect(GetDlgItem(dialog, IDC_DISPLAY_OK), nullptr, FALSE);
    InvalidateRect(GetDlgItem(dialog, IDC_DISPLAY_NO), nullptr, FALSE);
}

void LeaveDisplayTest(HWND dialog)
{
    int ok = IsDlgButtonChecked(dialog, IDC_DISPLAY_OK) == BST_CHECKED;
    int no = IsDlgButtonChecked(dialog, IDC_DISPLAY_NO) == BST_CHECKED;
    ChineseDisplayOk = ok;
    if (!ok && !no) {
        ShowMessage("请您回答提问.", "Please select a choice.", MB_OK, dialog);
        return;
    }
    SendDlgItemMessageA(dialog, IDC_ENGLISH_LICENCE, BM_SETCHECK, BST_CHECKED, 0);
    ChangeState(dialog, PageLicence);
}

void GoBack(HWND dialog)
{
    // Only from a page: a command queued before the installation started
    // must not walk the state down from WizardInstalling.
    if (WizardState <= PageOptions || WizardState >= PageCount)
        return;
    ChangeState(dialog, WizardState - 1);
}

// ---------------------------------------------------------------------------
// The install trigger

void ShowFolderMessage(HWND dialog)
{
    ShowMessage("无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。",
                "Cannot create folder! Please check folder path.", MB_OK, dialog);
}

// Reads the destination field into InstallDir, or refuses it, with nothing
// made, unless it is a full path with room behind it for every file: a
// relative one would resolve against wherever the installer was started,
// and a folder too long for its files would be made for an installation
// that fails part-way. The length is asked first: a copy into a short
// buffer may stop at a character boundary and look short.
int ReadDestination(HWND dialog)
{
    HWND edit = GetDlgItem(dialog, IDC_DEST_EDIT);
    if (GetWindowTextLengthA(edit) >= MAX_PATH)
        return 0;
    // The destination goes on in the ANSI code page: on NT, where the box
    // holds UTF-16, a folder that code page cannot spell is refused.
    WCHAR wide[MAX_PATH + 1];
    if (OsInfo.IsNt && (!WideWindowText(edit, wide, MAX_PATH + 1) || !SpelledInAnsi(wide)))
        return 0;
    char typed[MAX_PATH + 1], tidied[MAX_PATH + 1];
    GetDlgItemTextA(dialog, IDC_DEST_EDIT, typed, sizeof typed);
    lstrcpynA(tidied, typed, sizeof tidied);
    if (lstrlenA(typed) >= MAX_PATH || !TidyDestination(tidied, CP_ACP))
        return 0;
    // Blanks and dots the system would drop are dropped where the user sees it.
    if (strcmp(tidied, typed) != 0)
        SetDlgItemTextA(dialog, IDC_DEST_EDIT, tidied);
    if (CheckDestination(tidied, CP_ACP) != DestinationUsable)
        return 0;
    lstrcpynA(InstallDir, tidied, MAX_PATH);
    StripTrailingBackslashes(InstallDir, CP_ACP);
    return 1;
}

// 1 when InstallDir exists or was created (with its "doc" subfolder).
int PrepareDestination(HWND dialog)
{
    char folder[MAX_PATH];
    if (StandaloneFolder(folder, InstallDir) && _chdir(folder) == 0)
        return 1;
    if (!CreateDirectoryA(folder, nullptr)) {
        ShowFolderMessage(dialog);
        return 0;
    }
    char doc[MAX_PATH];
    if (DocFolderOf(InstallDir, CP_ACP, doc))
        CreateDirectoryA(doc, nullptr);   // an empty extra; its failure does not matter
    return 1;
}

void ReadOptions(HWND dialog)
{
    CreateDesktopIcons = IsDlgButtonChecked(dialog, IDC_DESKTOP_ICONS) == BST_CHECKED;
    AutoStart = IsDlgButtonChecked(dialog, IDC_AUTO_START) == BST_CHECKED;
    LRESULT selected = SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETCURSEL, 0, 0);
    LRESULT language = SendDlgItemMessageA(dialog, IDC_LANGUAGE_COMBO, CB_GETITEMDATA, selected, 0);
    if (selected != CB_ERR && language != CB_ERR)
        ForceLanguage = static_cast<int>(language);
}

void HideNavigation(HWND dialog)
{
    constexpr int hidden[] = {IDC_NEXT, IDC_BACK, IDCANCEL, IDC_WAIT_LABEL};
    for (int id : hidden) {
        HWND control = GetDlgItem(dialog, id);
        ShowWindow(control, SW_HIDE);
        UpdateWindow(control);
    }
    // The loop does not run during the installation: repaint the places the
    // buttons leave now, or they would stay on screen.
    UpdateWindow(dialog);
}

void KeepPointerInside(HWND window)
{
    POINT pointer;
    RECT frame;
    if (!GetCursorPos(&pointer) || !GetWindowRect(window, &frame))
        return;
    if (!PtInRect(&frame, pointer)) {
        POINT centre = RectCentre(frame);
        SetCursorPos(centre.x, centre.y);
    }
}

// The result is never shown sooner than five whole seconds after the start.
// No messages are dispatched meanwhile.
void WaitMinimum(time_t start)
{
    for (;;) {
        time_t now = time(nullptr);
        if (now < start)    // the clock was set back: count from now
            start = now;
        if (now - start >= MinimumInstallSeconds)
            return;
        Sleep(10);
    }
}

// 1 once no file that the installation would replace or delete is in use,
// 0 when the user would rather not quit Tarvo's programs now. Asked before
// anything is made, written or deleted: an engine still running would keep
// its old program beside the new dictionaries.
int FilesFree(HWND dialog)
{
    FilesInUse found;
    while (FindFilesInUse(&found)) {
        char chinese[256], english[256];
        if (!FilesInUseMessage(found, chinese, sizeof chinese, english, sizeof english) ||
            ShowMessage(chinese, english, MB_RETRYCANCEL, dialog) != IDRETRY)
            return 0;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    }
    return 1;
}

void InstallTrigger(HWND dialog)
{
    ShowPage(dialog, PageLanguage);
    // No page while the destination is checked: a command queued meanwhile
    // (a second click, Enter) moves nothing.
    ChangeState(dialog, WizardInstalling);
    const int usable = ReadDestination(dialog);
    if (!usable)
        ShowFolderMessage(dialog);
    if (!usable || !FilesFree(dialog) || !PrepareDestination(dialog)) {
        ChangeState(dialog, PageLanguage);
        return;
    }
    ReadOptions(dialog);
    HideNavigation(dialog);
    time_t start = time(nullptr);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    KeepPointerInside(dialog);
    int installed = RunInstallation();
    WaitMinimum(start);
    if (installed)
        ShowMessage("祝贺您：安装顺利完成！", "Congratulations! Installation Success!", MB_OK, dialog);
    else
        ShowMessage("安装失败！请检查一下系统后，再重新安装。谢谢！",
                    "Installation failed. Please check your system (quit all Tarvo applications) "
                    "and try again.",
                    MB_OK, dialog);
    InstallationFailed = !installed;
    ChangeState(dialog, WizardQuit);
}

void GoForward(HWND dialog)
{
    switch (WizardState) {
    case PageOptions: EnterDisplayTest(dialog); break;
    case PageDisplayTest: LeaveDisplayTest(dialog); break;
    case PageLicence: ChangeState(dialog, PageLanguage); break;
    case PageLanguage: InstallTrigger(dialog); break;
    default: break;     // installing or quitting
    }
}

void WizardCommand(HWND dialog, int id, int notification)
{
    switch (id) {
    case IDC_BACK: GoBack(dialog); break;
    case IDCANCEL: ChangeState(dialog, WizardQuit); break;
    case IDC_DESKTOP_ICONS:
    case IDC_AUTO_START: InvalidateRect(GetDlgItem(dialog, id), nullptr, FALSE); break;
    case IDC_DISPLAY_OK:
    case IDC_DISPLAY_NO: ToggleAnswer(dialog, id); break;
    case IDC_ENGLISH_LICENCE:
        // A click (or Space, or its access key) on its own page: its focus
        // notifications come while the focus moves on, into a licence text
        // among others, which showing the page again would hide under the
        // focus (the dialog then hands the focus back to the box, and Tab
        // could never leave it); and hiding the focused box on the way to
        // another page must not bring page 2 back.
        if (notification == BN_CLICKED && WizardState == PageLicence)
            ShowPage(dialog, PageLicence);
        break;
    case IDC_BROWSE: BrowseForFolder(dialog); break;
    case IDC_NEXT: GoForward(dialog); break;
    default: break;
    }
}

void DrawWizardItem(HWND dialog, const DRAWITEMSTRUCT* item)
{
    if (item->CtlID == IDC_LICENCE_CN)
        DrawListItem(IDC_LICENCE_CN, 0, item, dialog);
    else if (item->CtlID == IDC_LANGUAGE_COMBO)
        DrawListItem(IDC_LANGUAGE_COMBO, 1, item, dialog);
    else
        DrawOwnerControl(item, WizardCaptions);
}

} // namespace

// ---------------------------------------------------------------------------

INT_PTR CALLBACK WizardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitWizard(dialog);
        return TRUE;    // the dialog manager focuses the first tab stop
    case WM_DRAWITEM:
        DrawWizardItem(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        return MeasureListItem(static_cast<int>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam),
                               ScreenDpi);
    case WM_COMMAND:
        // By control id: every notification runs the handler, which only
        // the English box's tells apart.
        WizardCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}

void ShowPage(HWND dialog, int page)
{
    HWND focused = GetFocus();
    // What the Next button is read as follows what it draws.
    const OwnerCaption& next = OwnerCaptionFor(WizardCaptions, IDC_NEXT);
    SetCaptionText(GetDlgItem(dialog, IDC_NEXT), RowCaption(next, WizardState),
                   RowAccessKey(next, WizardState));
    ShowPageControls(dialog, page);
    if (page == PageLicence && !ShowLicence(dialog))
        return;
    if (ShowingPages(WizardState)) {
        ShowBack(dialog, page);
        KeepFocusVisible(dialog, focused);
    }
    Repaint(dialog);
}

// ---------------------------------------------------------------------------
// Pure parts


const char* LanguageText(ULONG_PTR id)
{
    for (const LanguageEntry& entry : LanguageList)
        if (static_cast<ULONG_PTR>(entry.Id) == id)
            return entry.Text;
    return nullptr;
}


POINT RectCentre(const RECT& rect)
{
    POINT centre;
    centre.x = rect.left + (rect.right - rect.left) / 2;
    centre.y = rect.top + (rect.bottom - rect.top) / 2;
    return centre;
}
