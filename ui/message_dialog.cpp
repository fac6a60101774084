// The installer's own message box (dialog template 112): it sizes itself to
// its two texts, centres itself on the screen and returns the id of the
// button that closed it.
#include "ui/message_dialog.h"

#include "render/mixed_text.h"
#include "resources/resource_ids.h"
#include "shell/startup.h"
#include "ui/owner_draw.h"

namespace {

// The one message on screen: set by ShowMessage before the dialog exists,
// read by its initialisation. The Chinese text travels as the creation
// parameter and is not copied.
int MessageKind;
char EnglishCopy[128];

void ShowButton(HWND dialog, int id, POINT at, int width, int height)
{
    HWND button = GetDlgItem(dialog, id);
    ShowWindow(button, SW_SHOW);
    MoveWindow(button, at.x, at.y, width, height, TRUE);
}

void LayOutMessage(HWND dialog, const char* chinese)
{
    MessageLayoutInput in = {};
    in.Kind = MessageKind;
    in.ChineseBytes = lstrlenA(chinese);
    const int englishLength = lstrlenA(EnglishCopy);
    // Measured in the window's own context, with no font selected into it.
    HDC dc = GetDC(dialog);
    const SIZE tsize = MeasureMixedText(dc, chinese);
    in.ChineseWidth = tsize.cx;
    in.ChineseHeight = tsize.cy;
    SIZE esize;
    if (englishLength > 0 && GetTextExtentPointA(dc, EnglishCopy, englishLength, &esize)) {
        in.EnglishWidth = esize.cx;
        in.EnglishHeight = esize.cy;
    }
    ReleaseDC(dialog, dc);

    const int firstId = MessageKind == MB_YESNO ? IDYES : IDOK;
    in.ButtonWidth = 82;
    in.ButtonHeight = 12;
    if (HWND first = GetDlgItem(dialog, firstId)) {
        RECT client;
        GetClientRect(first, &client);
        in.ButtonWidth = client.right - client.left;
        in.ButtonHeight = client.bottom - client.top;
    }
    in.DialogFrameX = GetSystemMetrics(SM_CXDLGFRAME);
    in.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    in.CaptionHeight = GetSystemMetrics(SM_CYCAPTION);

    const MessageLayout layout = ComputeMessageLayout(in);
    SetWindowPos(dialog, nullptr, layout.Left, layout.Top, layout.Width, layout.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(dialog, &client);
    const int clientWidth = client.right;

    ShowButton(dialog, layout.FirstId, layout.First, in.ButtonWidth, in.ButtonHeight);
    if (layout.SecondId)
        ShowButton(dialog, layout.SecondId, layout.Second, in.ButtonWidth, in.ButtonHeight);

    HWND caption = GetDlgItem(dialog, IDC_MSG_CHINESE);
    SetWindowTextA(caption, chinese);
    MoveWindow(caption, 0, layout.ChineseTop, clientWidth, layout.ChineseHeight, TRUE);

    HWND english = GetDlgItem(dialog, IDC_MSG_ENGLISH);
    if (englishLength > 0) {
        SetWindowTextA(english, EnglishCopy);
        MoveWindow(english, 0, layout.EnglishTop, clientWidth, layout.EnglishHeight, TRUE);
    } else {
        ShowWindow(english, SW_HIDE);
    }
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LayOutMessage(dialog, lParam ? reinterpret_cast<const char*>(lParam) : "");
        return TRUE;
    case WM_DRAWITEM:
        DrawOwnerControl(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (const int result = MessageCommandResult(MessageKind, LOWORD(wParam)))
            EndDialog(dialog, result);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

MessageLayout ComputeMessageLayout(const MessageLayoutInput& in)
{
    const int tw = in.ChineseWidth, th = in.ChineseHeight;
    const int ew = in.EnglishWidth, eh = in.EnglishHeight;
    const int w = in.ButtonWidth, h = in.ButtonHeight;
    MessageLayout out = {};
    out.FirstId = in.Kind == MB_YESNO ? IDYES : IDOK;
    out.SecondId = in.Kind == MB_OK ? 0 : (in.Kind == MB_YESNO ? IDNO : IDCANCEL);
    out.M = in.Kind == MB_OK ? 2 * w : 3 * w;
    out.X = (tw > ew ? tw : ew) + 2 * in.DialogFrameX;
    if (in.ChineseBytes < 81)
        out.X += 2 * h;
    out.Y = 3 * (th + h) + 2 * eh;
    // Centred on X and Y, not on the final size: a window widened to M keeps
    // its left edge and buttons where X puts them.
    out.Left = (in.ScreenWidth - out.X) / 2;
    out.Top = (in.ScreenHeight - out.Y) / 2;
    out.Width = out.X > out.M ? out.X : out.M;
    out.Height = out.Y + in.CaptionHeight;
    if (in.Kind == MB_OK) {
        out.First = POINT{(out.X - w) / 2, out.Y - 2 * h};
    } else {
        const int x1 = (out.X - 7 * w / 3) / 2;
        const int y = out.Y - 3 * h / 2;
        out.First = POINT{x1, y};
        out.Second = POINT{x1 + 4 * w / 3, y};
    }
    out.ChineseTop = 2 * th / 3;
    out.ChineseHeight = 3 * th;
    out.EnglishTop = 3 * th + 2 * th / 3 + 5;
    out.EnglishHeight = 2 * eh;
    return out;
}

int MessageCommandResult(int kind, int commandId)
{
    // Escape and the close box arrive as IDCANCEL whatever buttons are shown.
    if (commandId == IDCANCEL)
        return IDCANCEL;
    // Otherwise only the buttons of this kind end the dialog. The dialog
    // manager turns Enter into IDOK; a Yes/No question must not be answered
    // with an id that is neither.
    switch (kind) {
    case MB_OK:
        return commandId == IDOK ? IDOK : 0;
    case MB_YESNO:
        return commandId == IDYES || commandId == IDNO ? commandId : 0;
    default:
        return commandId == IDOK ? IDOK : 0;
    }
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
