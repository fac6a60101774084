#include "showcase.h"

#include "render/mixed_text.h"
#include "ui/owner_draw.h"
#include "ui/wizard.h"

int ShowcasePaints;

namespace {

// One owner-drawn button painted by DrawOwnerControl into the showcase's
// own paint context, with a chosen item state and wizard state.
struct Sample {
    int Id;
    int X, Y, W, H;
    UINT State;
    int Wizard;
};

constexpr Sample Buttons[] = {
    {1, 10, 10, 110, 28, 0, 0},
    {1, 130, 10, 110, 28, ODS_SELECTED, 0},
    {2, 250, 10, 110, 28, ODS_FOCUS, 0},
    {6, 370, 10, 110, 28, 0, 0},
    {7, 490, 10, 110, 28, ODS_SELECTED | ODS_FOCUS, 0},
    {3, 10, 48, 110, 28, 0, 1},
    {1001, 130, 48, 150, 28, 0, 0},
    {1001, 290, 48, 190, 28, ODS_FOCUS, 3},
    {1003, 490, 48, 130, 28, ODS_SELECTED, 0},
    {1006, 10, 88, 200, 24, 0, 0},
    {1009, 220, 88, 180, 24, 0, 0},
    {1011, 410, 88, 210, 24, 0, 0},
    {1012, 10, 116, 120, 24, 0, 0},
    {1030, 140, 116, 300, 24, 0, 0},
    {1021, 450, 116, 170, 24, 0, 0},
    {1017, 10, 144, 460, 24, 0, 0},
    {1018, 470, 144, 150, 30, 0, 0},
};

constexpr int CheckBoxIds[] = {1004, 1005, 1007, 1008};
constexpr int ComboId = 1031, ListId = 1019;

const char* const LanguageItems[] = {"English 英文", "Chinese(Simplified)  中文简体",
                                     "Chinese(Traditional) 中文繁体"};
const char* const LicenceLines[] = {"本软件受版权法保护。 This software is protected.",
                                    "安装即表示您同意以下条款。"};

void PaintSamples(HWND window, HDC dc)
{
    const int savedState = WizardState;
    for (const Sample& s : Buttons) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = s.Id;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = s.State;
        item.hwndItem = GetDlgItem(window, s.Id);
        item.hDC = dc;
        item.rcItem = RECT{s.X, s.Y, s.X + s.W, s.Y + s.H};
        WizardState = s.Wizard;
        // The message box's buttons with its table, the rest with the wizard's.
        const bool message = s.Id == IDOK || s.Id == IDYES || s.Id == IDNO;
        DrawOwnerControl(&item, message ? MessageCaptions : WizardCaptions);
    }
    WizardState = savedState;
    // Combo items: selected, unselected, and the empty selection field;
    // then two licence lines.
    struct ListSample {
        int Id, IsCombo, Item, Y;
        UINT State;
    };
    const ListSample lists[] = {
        {ComboId, 1, 0, 300, ODS_SELECTED}, {ComboId, 1, 1, 323, 0}, {ComboId, 1, 2, 346, 0},
        {ComboId, 1, -1, 369, 0},           {ListId, 0, 0, 300, 0},  {ListId, 0, 1, 323, 0},
    };
    for (const ListSample& l : lists) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = l.IsCombo ? ODT_COMBOBOX : ODT_LISTBOX;
        item.CtlID = l.Id;
        item.itemID = static_cast<UINT>(l.Item);
        if (l.Item >= 0)
            item.itemData = l.IsCombo ? static_cast<ULONG_PTR>(l.Item)
                                      : reinterpret_cast<ULONG_PTR>(LicenceLines[l.Item]);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = l.State;
        item.hwndItem = GetDlgItem(window, l.Id);
        item.hDC = dc;
        const int x = l.IsCombo ? 10 : 300;
        item.rcItem = RECT{x, l.Y, x + 280, l.Y + 23};
        DrawListItem(l.Id, l.IsCombo, &item, window);
    }
}

LRESULT CALLBACK ShowcaseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        PaintSamples(window, dc);
        SelectObject(dc, font);
        EndPaint(window, &paint);
        ++ShowcasePaints;
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return 1;
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateShowcase(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ShowcaseProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "TarvoShowcase";
    RegisterClassA(&wc);   // a second call fails harmlessly
    HWND window = CreateWindowExA(0, "TarvoShowcase", "Tarvo controls", WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0,
                                  640, 400, nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    // Hidden controls that give the samples their ids (and window texts).
    for (const Sample& s : Buttons)
        if (!GetDlgItem(window, s.Id))
            CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, 0, 0, 1, 1, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.Id)), instance, nullptr);
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 10, 100,
                                 window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ComboId)), instance, nullptr);
    for (const char* text : LanguageItems)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 10, 100, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(ListId)), instance, nullptr);
    for (const char* text : LicenceLines)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    // The four check boxes, real and subclassed as the wizard does it.
    int y = 184;
    for (int id : CheckBoxIds) {
        HWND box = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY,
                                   14, y, 400, 26, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   instance, nullptr);
        PreviousCheckBoxProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckBoxProc)));
        y += 28;
    }
    SendDlgItemMessageA(window, 1004, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(window, 1007, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(GetDlgItem(window, 1005), FALSE);
    SetForegroundWindow(window);
    SetFocus(GetDlgItem(window, 1007));
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    return window;
}
