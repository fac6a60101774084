// The painter of every owner-drawn control: push buttons with their 3-D
// frames, labels, the licence and language list items and the subclassed
// check boxes. Captions are MixedText, drawn through the glyph atlas; nothing
// is cached between paints.
#include "ui/owner_draw.h"

#include "render/mixed_text.h"
#include "render/screen_scale.h"
#include "resources/resource_ids.h"
#include "shell/environment.h"
#include "shell/system_library.h"
#include "ui/control_text.h"
#include "ui/wizard.h"

WNDPROC PreviousCheckBoxProc;

namespace {

// The two nested 3-D outlines, light at the top and left and dark at the
// bottom and right (the pens swap when pressed). Each is line pixels wide:
// one line of a 1-pixel pen per pixel of it, inset by d, so that 96 dpi
// draws exactly the one line it always drew.
void DrawOutlines(HDC dc, const RECT& r, HPEN light, HPEN dark, int line)
{
    SelectObject(dc, light);
    for (int d = line; d < 3 * line; ++d) {
        MoveToEx(dc, r.left + d, r.bottom - d - 1, nullptr);
        LineTo(dc, r.left + d, r.top + d);
        LineTo(dc, r.right - d - 1, r.top + d);
        SelectObject(dc, dark);
        LineTo(dc, r.right - d - 1, r.bottom - d - 1);
        LineTo(dc, r.left + d, r.bottom - d - 1);
        SelectObject(dc, light);
    }
}

// Outside the outlines, in the pen selected: the default frame (the whole
// outer edge and the inner bottom and right lines over the outlines), or
// the outer bottom and right edges alone.
void DrawOuterEdge(HDC dc, const RECT& r, int isDefault, int line)
{
    for (int d = 0; d < line; ++d) {
        if (isDefault) {
            MoveToEx(dc, r.left + d, r.bottom - d - 1, nullptr);
            LineTo(dc, r.left + d, r.top + d);
            LineTo(dc, r.right - d - 1, r.top + d);
            LineTo(dc, r.right - d - 1, r.bottom - d - 1);
            LineTo(dc, r.left + d, r.bottom - d - 1);
            const int e = line + d;
            MoveToEx(dc, r.left + e, r.bottom - e - 1, nullptr);
            LineTo(dc, r.right - e - 1, r.bottom - e - 1);
            LineTo(dc, r.right - e - 1, r.top + e);
        } else {
            MoveToEx(dc, r.left + 1, r.bottom - d - 1, nullptr);
            LineTo(dc, r.right - d - 1, r.bottom - d - 1);
            LineTo(dc, r.right - d - 1, r.top);
        }
    }
}

// A push button's frame; pens are created and deleted here. The default
// frame is drawn in the button-text colour, which every colour scheme sets
// apart from the face (black on the classic grey, white on a high-contrast
// black); the plain outer edge in the dark pen of the outlines.
void DrawButtonFrame(HDC dc, const RECT& r, int pressed, int isDefault)
{
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF sh = GetSysColor(COLOR_BTNSHADOW);
    HPEN light = CreatePen(PS_SOLID, 1, pressed ? sh : hi);
    HPEN dark = CreatePen(PS_SOLID, 1, pressed ? hi : sh);
    HPEN ink = isDefault ? CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT)) : nullptr;
    HGDIOBJ kept = SelectObject(dc, light);
    const int line = LineWidth(ScreenDpi);
    DrawOutlines(dc, r, light, dark, line);
    SelectObject(dc, isDefault ? ink : dark);
    DrawOuterEdge(dc, r, isDefault, line);
    SelectObject(dc, kept);
    DeleteObject(light);
    DeleteObject(dark);
    if (ink)
        DeleteObject(ink);
}

// A control's caption: its row's text, the Next button's by WizardState, or
// the control's own text. A dialog that keeps that text itself hands the
// painter its address as the control's user data: a window text of GBK bytes
// passes through the system's code page on the NT family and can come back as
// other bytes. windowText (ControlTextSize bytes) receives a window text.
const char* CaptionOf(const OwnerCaption& row, HWND control, char* windowText)
{
    if (const char* caption = RowCaption(row, WizardState))
        return caption;
    if (const LONG_PTR kept = GetWindowLongPtrA(control, GWLP_USERDATA))
        return reinterpret_cast<const char*>(kept);
    ReadControlText(control, windowText, ControlTextSize);
    return windowText;
}

// Under the access key of caption, drawn at at in colour, the line the
// system's DrawText draws under a "&" letter: from the letter's left edge to
// one pixel short of its advance, one pixel below the font's ascent (the
// ASCII of MixedText starts MixedTextTop below at), as thick as a frame line.
void UnderlineAccessKey(HDC dc, POINT at, const char* caption, int index, COLORREF colour)
{
    char before[ControlTextSize];
    lstrcpynA(before, caption, index + 1 < ControlTextSize ? index + 1 : ControlTextSize);
    SIZE letter;
    TEXTMETRICA metrics;
    if (!GetTextExtentPointA(dc, caption + index, 1, &letter) || !GetTextMetricsA(dc, &metrics))
        return;
    const int left = at.x + MeasureMixedText(dc, before).cx;
    const int y = at.y + MixedTextTop(dc) + metrics.tmAscent + 1;
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ kept = SelectObject(dc, pen);
    for (int d = 0; d < LineWidth(ScreenDpi); ++d) {
        MoveToEx(dc, left, y + d, nullptr);
        LineTo(dc, left + letter.cx - 1, y + d);
    }
    SelectObject(dc, kept);
    DeleteObject(pen);
}

// In the colours a standard control of its kind has, so that every colour
// scheme reads: a push button's in the button-text colour, a label's in the
// window-text colour (DefWindowProc's answer to WM_CTLCOLORSTATIC), both on
// the button face. The context's colours come back for the focus rectangle.
// key is underlined where showKey says (ODS_NOACCEL: hidden until Alt).
void DrawCaption(HDC dc, const OwnerCaption& row, const char* caption, POINT at, char key, int showKey)
{
    const COLORREF colour = GetSysColor(row.Frame ? COLOR_BTNTEXT : COLOR_WINDOWTEXT);
    const COLORREF ink = SetTextColor(dc, colour);
    const COLORREF paper = SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    if (row.Source != CaptionSampleLine) {
        DrawMixedText(dc, at.x, at.y, caption);
        const int index = showKey ? AccessKeyIndex(caption, key) : -1;
        if (index >= 0)
            UnderlineAccessKey(dc, at, caption, index, colour);
    } else if (SampleFont) {
        HGDIOBJ previous = SelectObject(dc, SampleFont);
        DrawSampleText(dc, at.x, at.y, caption, lstrlenA(caption));
        SelectObject(dc, previous);
    }
    SetTextColor(dc, ink);
    SetBkColor(dc, paper);
}

// How far inside its item a list item's text starts, right and down.
int ListItemInset(int dpi)
{
    return ScaledPixels(2, dpi);
}

// The text of a list item by its item data; null when there is none to draw.
const char* ListItemText(int isCombo, ULONG_PTR itemData)
{
    return isCombo ? LanguageText(itemData) : reinterpret_cast<const char*>(itemData);
}

// 1 when the focus is on another push button of control's dialog.
int OtherPushButtonFocused(HWND control, const CaptionTable& captions)
{
    HWND focus = GetFocus();
    return focus && focus != control && GetParent(focus) == GetParent(control) &&
           IsPushButton(captions, GetDlgCtrlID(focus));
}

// The background and the colours of a list item: the combo box's selected
// one in the highlight colours, every other one the window text on the
// window, as a standard list shows them.
void FillListItem(HDC dc, const RECT& r, int isCombo, int selected)
{
    if (isCombo) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        SetBkColor(dc, back);
        HBRUSH brush = CreateSolidBrush(back);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    } else {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
}

}  // namespace

POINT CaptionOrigin(const RECT& item, SIZE caption, int centred, int pressed, int dpi)
{
    // C++ division truncates toward zero: a caption wider than the control
    // starts left of it, as it always has.
    POINT at;
    at.x = centred ? item.left + (item.right - item.left - caption.cx) / 2 : item.left;
    at.y = item.top + (item.bottom - item.top - caption.cy) / 2;
    if (pressed) {
        at.x += ScaledPixels(2, dpi);
        at.y += ScaledPixels(1, dpi);
    }
    return at;
}

int SelectionFieldHeight(int cellSize, int dpi)
{
    return cellSize == AtlasGlyphSize ? 0 : cellSize + 2 * ListItemInset(dpi);
}

RECT ButtonFocusRect(const RECT& item)
{
    const int dx = (item.right - item.left) / 10;
    const int dy = (item.bottom - item.top) / 8;
    return RECT{item.left + dx, item.top + dy, item.right - dx, item.bottom - dy};
}

CheckBoxGeometry CheckBoxLayout(int clientWidth, int clientHeight, int dpi)
{
    const int grow = ScaledPixels(2, dpi);
    CheckBoxGeometry g;
    g.Fill = RECT{-grow, -grow, clientWidth + grow, clientHeight + grow};
    const int s = g.Fill.bottom - g.Fill.top;
    RECT box{g.Fill.left, g.Fill.top, g.Fill.left + s, g.Fill.bottom};
    const int shrink = s / 4;
    box.left += shrink;
    box.top += shrink;
    box.right -= shrink;
    box.bottom -= shrink;
    box.top -= ScaledPixels(1, dpi);
    box.left -= s / 8;
    box.right -= s / 7;
    box.bottom -= ScaledPixels(3, dpi);
    g.Box = box;
    g.Caption.x = 2 * box.right - box.left;
    g.Caption.y = g.Fill.top + ScaledPixels(3, dpi);
    return g;
}

RECT CheckBoxFocusRect(POINT caption, SIZE extent, int dpi)
{
    const int one = ScaledPixels(1, dpi);
    return RECT{caption.x - one, caption.y - one, caption.x + extent.cx + ScaledPixels(3, dpi),
                caption.y + extent.cy + ScaledPixels(2, dpi)};
}

int WholeCharacterLength(const char* text, int length)
{
    int i = 0;
    while (i < length) {
        const int step = (static_cast<unsigned char>(text[i]) & 0x80) ? 2 : 1;
        if (i + step > length)
            break;
        i += step;
    }
    return i;
}

int ReadControlText(HWND control, char* buffer, int size)
{
    // No room even for the terminator: nothing may be written.
    if (size <= 0)
        return 0;
    int n = GetWindowTextA(control, buffer, size);
    if (n < 0)
        n = 0;
    if (n > size - 1)
        n = size - 1;
    // Only a text that the buffer cut short can end in half a character; a
    // lone lead byte that the text itself ends with is drawn as it is.
    if (GetWindowTextLengthA(control) > n)
        n = WholeCharacterLength(buffer, n);
    buffer[n] = '\0';
    return n;
}

void DrawOwnerControl(const DRAWITEMSTRUCT* item, const CaptionTable& captions)
{
    if (item->CtlType != ODT_BUTTON)
        return;
    const int id = GetDlgCtrlID(item->hwndItem);
    const OwnerCaption& row = OwnerCaptionFor(captions, id);
    if (row.Source == CaptionNothing)
        return;
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    // A focus change repaints the whole control, so a focus rectangle that is
    // no longer wanted is painted over rather than XORed away.
    if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS)) {
        const int pressed = (item->itemState & ODS_SELECTED) != 0;
        char windowText[ControlTextSize];
        const char* caption = CaptionOf(row, item->hwndItem, windowText);
        FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        if (row.Frame)
            DrawButtonFrame(dc, r, pressed,
                            WearsDefaultFrame(captions, id, (item->itemState & ODS_FOCUS) != 0,
                                              OtherPushButtonFocused(item->hwndItem, captions)));
        const SIZE extent = MeasureMixedText(dc, caption);
        DrawCaption(dc, row, caption, CaptionOrigin(r, extent, row.Centred, pressed, ScreenDpi),
                    RowAccessKey(row, WizardState), !(item->itemState & ODS_NOACCEL));
    }
    // The focus came to or left a push button: the default button may gain
    // or lose its frame, once the focus has settled.
    if ((item->itemAction & ODA_FOCUS) && row.Frame && captions.DefaultButton &&
        id != captions.DefaultButton)
        InvalidateRect(GetDlgItem(GetParent(item->hwndItem), captions.DefaultButton), nullptr, FALSE);
    if (item->itemState & ODS_FOCUS) {
        const RECT focus = ButtonFocusRect(r);
        DrawFocusRect(dc, &focus);
    }
}

void DrawListItem(int controlId, int isCombo, const DRAWITEMSTRUCT* item, HWND dialog)
{
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    SaveDC(dc);
    const int selected = (item->itemState & ODS_SELECTED) != 0;
    FillListItem(dc, r, isCombo, selected);
    const LRESULT count =
        SendDlgItemMessageA(dialog, controlId, isCombo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    // The empty selection field of the combo box has no item and no text.
    const char* text = ListItemText(isCombo, item->itemData);
    if (count > 0 && item->itemID < static_cast<UINT>(count) && text) {
        const int inset = ListItemInset(ScreenDpi);
        RECT inner = r;
        InflateRect(&inner, -inset, -inset);
        DrawMixedText(dc, inner.left, inner.top, text);
    }
    // The licence's current line while the list has the focus, as a standard
    // list marks it; the whole item is drawn anew for every focus change.
    if (!isCombo && (item->itemState & ODS_FOCUS))
        DrawFocusRect(dc, &r);
    RestoreDC(dc, -1);
}

int MeasureListItem(int controlId, MEASUREITEMSTRUCT* measure, int dpi)
{
    if (controlId != IDC_LICENCE_CN && controlId != IDC_LANGUAGE_COMBO)
        return 0;
    measure->itemHeight = ScaledPixels(23, dpi);
    measure->itemWidth = 1024;
    return 1;
}

void PaintCheckBox(HWND checkBox, HDC dc)
{
    const int checked = SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    RECT client;
    GetClientRect(checkBox, &client);
    const CheckBoxGeometry g =
        CheckBoxLayout(client.right - client.left, client.bottom - client.top, ScreenDpi);
    FillRect(dc, &g.Fill, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    UINT state = DFCS_BUTTONCHECK;
    if (checked)
        state |= DFCS_CHECKED;
    if (!IsWindowEnabled(checkBox))
        state |= DFCS_INACTIVE;
    RECT box = g.Box;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
    char windowText[ControlTextSize];
    const CheckBoxCaption* row = CheckBoxCaptionFor(GetDlgCtrlID(checkBox));
    const char* caption = row ? row->Text : windowText;
    if (!row)
        ReadControlText(checkBox, windowText, sizeof windowText);
    const SIZE extent = MeasureMixedText(dc, caption);
    // In the window-text colour, DefWindowProc's answer to WM_CTLCOLORSTATIC;
    // the context's own colour comes back for the focus rectangle.
    const COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF ink = SetTextColor(dc, colour);
    DrawMixedText(dc, g.Caption.x, g.Caption.y, caption);
    SetTextColor(dc, ink);
    // The access key as a standard box shows it: hidden only where the
    // system keeps keyboard cues until Alt (Windows 2000 and later; older
    // systems answer 0 to a message they do not know, and show it).
    const int index = row ? AccessKeyIndex(caption, row->AccessKey) : -1;
    if (index >= 0 && !(SendMessageA(checkBox, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL))
        UnderlineAccessKey(dc, g.Caption, caption, index, colour);
    if (GetFocus() == checkBox) {
        const RECT focus = CheckBoxFocusRect(g.Caption, extent, ScreenDpi);
        DrawFocusRect(dc, &focus);
    }
}

namespace {

using CallProcFunction = LRESULT(WINAPI*)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
using SetProcFunction = LONG_PTR(WINAPI*)(HWND, int, LONG_PTR);

// CallWindowProcW, for the boxes subclassed as Unicode windows.
CallProcFunction CallWideProc;

// Both subclass procedures: pass hands a message on to the standard
// procedure in the character set the box was subclassed with.
LRESULT CheckBoxMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, CallProcFunction pass)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintCheckBox(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
        InvalidateRect(window, nullptr, TRUE);
        break;
    default:
        break;
    }
    const LRESULT result = pass(PreviousCheckBoxProc, window, message, wParam, lParam);
    // The standard procedure paints state, focus and text changes straight
    // away, outside WM_PAINT; repaint over them so its check box never stays
    // shown.
    switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONUP:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
        InvalidateRect(window, nullptr, FALSE);
        break;
    default:
        break;
    }
    return result;
}

}  // namespace

LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!PreviousCheckBoxProc)
        return DefWindowProcA(window, message, wParam, lParam);
    return CheckBoxMessage(window, message, wParam, lParam, CallWindowProcA);
}

LRESULT CALLBACK WideCheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CheckBoxMessage(window, message, wParam, lParam, CallWideProc);
}

void SubclassCheckBox(HWND box)
{
    // 32-bit headers make SetWindowLongPtrW a macro for SetWindowLongW.
    constexpr const char* SetProcName = sizeof(void*) == 4 ? "SetWindowLongW" : "SetWindowLongPtrW";
    SetProcFunction setWide = nullptr;
    if (OsInfo.IsNt) {
        setWide = SystemFunctionAs<SetProcFunction>("USER32.DLL", SetProcName);
        CallWideProc = SystemFunctionAs<CallProcFunction>("USER32.DLL", "CallWindowProcW");
    }
    const LONG_PTR previous = setWide && CallWideProc
        ? setWide(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WideCheckBoxProc))
        : SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckBoxProc));
    if (previous)
        PreviousCheckBoxProc = reinterpret_cast<WNDPROC>(previous);
}
