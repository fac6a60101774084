// A small program for the driver's own tests: a modeless dialog with a push
// button, a check box, a list box and an edit box, run by a message loop that
// reports the Enter key the way the installer's loop sees it (WM_KEYDOWN
// taken from the queue, with the focused control's id).
#include <windows.h>
#include <cstdio>
#include "tests/e2e/e2e_ids.h"

static int Presses;

static INT_PTR CALLBACK ProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_PROBE_LIST, LB_ADDSTRING, 0, (LPARAM) "first item");
        SendDlgItemMessageA(dialog, IDC_PROBE_LIST, LB_ADDSTRING, 0,
                            (LPARAM) "second item, longer than one letter");
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PROBE_BUTTON && HIWORD(wParam) == BN_CLICKED) {
            char text[32];
            snprintf(text, sizeof text, "pressed %d", ++Presses);
            SetDlgItemTextA(dialog, IDC_PROBE_STATUS, text);
        } else if (LOWORD(wParam) == IDCANCEL) {
            PostQuitMessage(PROBE_EXIT_CODE);
        }
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROBE), nullptr, ProbeProc, 0);
    if (!dialog) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_F5)) {
            char text[32];
            snprintf(text, sizeof text, "key %d on %d", (int)msg.wParam, GetDlgCtrlID(GetFocus()));
            SetDlgItemTextA(dialog, IDC_PROBE_STATUS, text);
            continue;
        }
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    DestroyWindow(dialog);
    return static_cast<int>(msg.wParam);
}
