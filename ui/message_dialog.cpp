// The installer's own message box (dialog template 112): it sizes itself to
// its two texts, centres itself on the screen and returns the id of the
// button that closed it.
#include "ui/message_dialog.h"

#include "render/mixed_text.h"
#include "render/screen_scale.h"
#include "resources/resource_ids.h"
#include "shell/process_state.h"
#include "ui/control_text.h"
#include "ui/owner_draw.h"

namespace {

// The one message on screen: set by ShowMessage before the dialog exists,
// read by its initialisation. The Chinese text travels as the creation
// parameter and is not copied.
int MessageKind;
// The longest English message, the one naming the files in use, has 174
// bytes at most.
char EnglishCopy[256];

// The Chinese line as its control draws it when the caller's text is too
// wide for the screen: the caller's text shortened in its middle.
char ShortenedChinese[ControlTextSize];

void ShowButton(HWND dialog, int id, POINT at, int width, int height)
{
    HWND button = GetDlgItem(dialog, id);
    ShowWindow(button, SW_SHOW);
    MoveWindow(button, at.x, at.y, width, height, TRUE);
}

// The system's metrics and the kind: everything of the layout but the texts
// and the buttons.
MessageLayoutInput ScreenInput()
{
    MessageLayoutInput in = {};
    in.Kind = MessageKind;
    in.DialogFrameX = GetSystemMetrics(SM_CXDLGFRAME);
    in.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    in.CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &in.WorkArea, 0))
        in.WorkArea = RECT{0, 0, in.ScreenWidth, in.ScreenHeight};
    return in;
}

// The Chinese text as it is shown: whole, or, when it is wider than room (a
// folder message with a long path), without its middle rather than its ends.
const char* FitChinese(HDC dc, const char* chinese, int room, SIZE* size)
{
    *size = MeasureMixedText(dc, chinese);
    if (size->cx <= room)
        return chinese;
    for (int keep = lstrlenA(chinese) - 1; keep >= 0; --keep) {
        CutInMiddle(chinese, keep, ShortenedChinese, sizeof ShortenedChinese);
        *size = MeasureMixedText(dc, ShortenedChinese);
        if (size->cx <= room)
            break;
    }
    return ShortenedChinese;
}

// Measures both texts in the window's own context, with no font selected
// into it, and returns the Chinese text to show.
const char* MeasureTexts(HWND dialog, const char* chinese, MessageLayoutInput* in)
{
    const int room = MessageTextRoom(*in);
    HDC dc = GetDC(dialog);
    SIZE tsize;
    const char* shown = FitChinese(dc, chinese, room, &tsize);
    in->ChineseBytes = lstrlenA(shown);
    in->ChineseWidth = tsize.cx;
    in->ChineseHeight = tsize.cy;
    SIZE esize;
    const int englishLength = lstrlenA(EnglishCopy);
    if (englishLength > 0 && GetTextExtentPointA(dc, EnglishCopy, englishLength, &esize)) {
        in->EnglishWidth = esize.cx < room ? esize.cx : room;
        in->EnglishHeight = esize.cy;
    }
    ReleaseDC(dialog, dc);
    return shown;
}

// The size a button is laid out with where the dialog lacks its first one, at
// 96 dpi.
constexpr SIZE MissingButtonSize = {82, 12};

// The client size of the first button.
void MeasureButton(HWND dialog, MessageLayoutInput* in)
{
    in->ButtonWidth = ScaledPixels(MissingButtonSize.cx, ScreenDpi);
    in->ButtonHeight = ScaledPixels(MissingButtonSize.cy, ScreenDpi);
    if (HWND first = GetDlgItem(dialog, MessageButtonsOf(MessageKind).First)) {
        RECT client;
        GetClientRect(first, &client);
        in->ButtonWidth = client.right - client.left;
        in->ButtonHeight = client.bottom - client.top;
    }
}

void PlaceControls(HWND dialog, const MessageLayout& layout, const MessageLayoutInput& in,
                   const char* shown)
{
    RECT client;
    GetClientRect(dialog, &client);
    SetCaptionTexts(dialog, MessageCaptions);   // the buttons, for screen readers
    ShowButton(dialog, layout.FirstId, layout.First, in.ButtonWidth, in.ButtonHeight);
    if (layout.SecondId)
        ShowButton(dialog, layout.SecondId, layout.Second, in.ButtonWidth, in.ButtonHeight);

    // The painter draws the bytes kept here, for the life of the dialog, not
    // the window text: the NT family keeps that in Unicode and gives back
    // other bytes wherever its code page is not a Chinese or single-byte one.
    // The window text is still set, for whatever reads windows aloud.
    HWND caption = GetDlgItem(dialog, IDC_MSG_CHINESE);
    SetWindowLongPtrA(caption, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shown));
    SetChineseText(caption, shown);
    MoveWindow(caption, 0, layout.ChineseTop, client.right, layout.ChineseHeight, TRUE);

    HWND english = GetDlgItem(dialog, IDC_MSG_ENGLISH);
    if (EnglishCopy[0]) {
        SetWindowTextA(english, EnglishCopy);
        MoveWindow(english, 0, layout.EnglishTop, client.right, layout.EnglishHeight, TRUE);
    } else {
        ShowWindow(english, SW_HIDE);
    }
}

// The caller's text lives until ShowMessage returns, that is for the whole
// life of the dialog.
void LayOutMessage(HWND dialog, const char* chinese)
{
    MessageLayoutInput in = ScreenInput();
    const char* shown = MeasureTexts(dialog, chinese, &in);
    MeasureButton(dialog, &in);
    const MessageLayout layout = ComputeMessageLayout(in);
    SetWindowPos(dialog, nullptr, layout.Left, layout.Top, layout.Width, layout.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceControls(dialog, layout, in, shown);
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LayOutMessage(dialog, lParam ? reinterpret_cast<const char*>(lParam) : "");
        // A question opens on No, the answer that changes nothing: an Enter
        // typed ahead or repeated from the key that started the installation
        // must not answer Yes. Retry is what Enter presses in its pair.
        if (MessageKind == MB_YESNO || MessageKind == MB_RETRYCANCEL) {
            SetFocus(GetDlgItem(dialog, MessageKind == MB_YESNO ? IDNO : IDRETRY));
            return FALSE;
        }
        return TRUE;
    case WM_DRAWITEM:
        DrawOwnerControl(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), MessageCaptions);
        return TRUE;
    case WM_COMMAND: {
        HWND focus = GetFocus();
        const int focusedId = focus && IsChild(dialog, focus) ? GetDlgCtrlID(focus) : 0;
        if (const int result = MessageCommandResult(MessageKind, LOWORD(wParam), focusedId))
            EndDialog(dialog, result);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

// Only a window that would leave the work area moves: texts that fit keep
// their centring.
void KeepInside(const RECT& work, MessageLayout* out)
{
    if (out->Left + out->Width > work.right)
        out->Left = work.right - out->Width;
    if (out->Left < work.left)
        out->Left = work.left;
    if (out->Top + out->Height > work.bottom)
        out->Top = work.bottom - out->Height;
    if (out->Top < work.top)
        out->Top = work.top;
}

// One button centred, its own height above the bottom; or two, a third of a
// button apart, centred as a pair.
void PlaceButtons(const MessageLayoutInput& in, MessageLayout* out)
{
    const int width = in.ButtonWidth, height = in.ButtonHeight;
    if (in.Kind == MB_OK) {
        out->First = POINT{(out->ContentWidth - width) / 2, out->ContentHeight - 2 * height};
        return;
    }
    const int pairWidth = 7 * width / 3;
    const int first = (out->ContentWidth - pairWidth) / 2;
    const int top = out->ContentHeight - 3 * height / 2;
    out->First = POINT{first, top};
    out->Second = POINT{first + 4 * width / 3, top};
}

}  // namespace

// The proportions are the message box's own, in units of its texts' line
// heights and its buttons' size: a Chinese line gets three line heights with
// two thirds of one above it, the English two lines (it may wrap) five pixels
// below, and two buttons stand a third of a button apart.
MessageLayout ComputeMessageLayout(const MessageLayoutInput& in)
{
    const int chineseLine = in.ChineseHeight, englishLine = in.EnglishHeight;
    const int buttonWidth = in.ButtonWidth, buttonHeight = in.ButtonHeight;
    const int widestText = in.ChineseWidth > in.EnglishWidth ? in.ChineseWidth : in.EnglishWidth;
    // A Chinese text shorter than this many bytes (forty characters) gets a
    // margin of a button height on either side.
    constexpr int ShortChineseBytes = 81;
    MessageLayout out = {};
    const MessageButtons buttons = MessageButtonsOf(in.Kind);
    out.FirstId = buttons.First;
    out.SecondId = buttons.Second;
    out.MinimumWidth = (in.Kind == MB_OK ? 2 : 3) * buttonWidth;
    out.ContentWidth = widestText + 2 * in.DialogFrameX;
    if (in.ChineseBytes < ShortChineseBytes)
        out.ContentWidth += 2 * buttonHeight;
    // Texts narrowed to the room still get no wider a window than the work area.
    const int workWidth = in.WorkArea.right - in.WorkArea.left;
    if (out.ContentWidth > workWidth)
        out.ContentWidth = workWidth;
    out.ContentHeight = 3 * (chineseLine + buttonHeight) + 2 * englishLine;
    // Centred on the content, not on the final size: a window widened to its
    // minimum keeps its left edge and buttons where the content puts them.
    out.Left = (in.ScreenWidth - out.ContentWidth) / 2;
    out.Top = (in.ScreenHeight - out.ContentHeight) / 2;
    out.Width = out.ContentWidth > out.MinimumWidth ? out.ContentWidth : out.MinimumWidth;
    out.Height = out.ContentHeight + in.CaptionHeight;
    KeepInside(in.WorkArea, &out);
    PlaceButtons(in, &out);
    // Between the Chinese line's box and the English text: 5 pixels of the
    // 16-pixel line of 96 dpi, and as much of a larger line.
    const int englishGap = 5 * chineseLine / 16;
    const int aboveChinese = 2 * chineseLine / 3;
    out.ChineseTop = aboveChinese;
    out.ChineseHeight = 3 * chineseLine;
    out.EnglishTop = out.ChineseHeight + aboveChinese + englishGap;
    out.EnglishHeight = 2 * englishLine;
    return out;
}

int MessageTextRoom(const MessageLayoutInput& in)
{
    return in.WorkArea.right - in.WorkArea.left - 2 * in.DialogFrameX;
}

int CutInMiddle(const char* text, int keep, char* out, int size)
{
    static const char dots[] = "...";
    const int length = lstrlenA(text);
    if (keep < 0)
        keep = 0;
    // A text that needs no cut stays whole.
    if (keep >= length && length < size) {
        lstrcpynA(out, text, size);
        return length;
    }
    if (keep > length)
        keep = length;
    // Room for the dots and the terminator.
    if (keep > size - 4)
        keep = size - 4;
    if (keep < 0) {
        if (size > 0)
            out[0] = '\0';
        return 0;
    }
    const int head = WholeCharacterLength(text, keep / 2);
    // The tail starts at the first character boundary that leaves at most
    // keep - keep / 2 bytes.
    int tail = 0;
    while (tail < length && length - tail > keep - keep / 2)
        tail += (static_cast<unsigned char>(text[tail]) & 0x80) && tail + 1 < length ? 2 : 1;
    int n = 0;
    for (int i = 0; i < head; ++i)
        out[n++] = text[i];
    for (const char* d = dots; *d; ++d)
        out[n++] = *d;
    for (int i = tail; i < length; ++i)
        out[n++] = text[i];
    out[n] = '\0';
    return n;
}

MessageButtons MessageButtonsOf(int kind)
{
    switch (kind) {
    case MB_OK: return {IDOK, 0};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK, IDCANCEL};
    }
}

int MessageCommandResult(int kind, int commandId, int focusedId)
{
    // Escape and the close box arrive as IDCANCEL whatever buttons are shown.
    if (commandId == IDCANCEL)
        return IDCANCEL;
    // Otherwise only the buttons of this kind end the dialog.
    const MessageButtons buttons = MessageButtonsOf(kind);
    if (kind != MB_YESNO && kind != MB_RETRYCANCEL)
        return commandId == buttons.First ? commandId : 0;
    if (commandId == buttons.First || commandId == buttons.Second)
        return commandId;
    // Enter arrives as IDOK: it presses the focused button. A question has
    // no answer while neither has the focus; Retry is its pair's default.
    if (commandId != IDOK)
        return 0;
    if (focusedId == buttons.First || focusedId == buttons.Second)
        return focusedId;
    return kind == MB_RETRYCANCEL ? IDRETRY : 0;
}

int CopyEnglishText(char* out, int size, const char* english)
{
    if (size <= 0)
        return 0;
    int n = 0;
    if (english) {
        while (n < size - 1 && english[n]) {
            if (IsDBCSLeadByte(static_cast<BYTE>(english[n]))) {
                if (n + 1 >= size - 1 || !english[n + 1])
                    break;
                out[n] = english[n];
                ++n;
            }
            out[n] = english[n];
            ++n;
        }
    }
    out[n] = '\0';
    return n;
}

int ShowMessage(const char* chinese, const char* english, int kind, HWND owner)
{
    MessageKind = kind;
    CopyEnglishText(EnglishCopy, sizeof EnglishCopy, english);
    return static_cast<int>(DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_MESSAGE_DIALOG), owner,
                                            MessageDialogProc, reinterpret_cast<LPARAM>(chinese)));
}
