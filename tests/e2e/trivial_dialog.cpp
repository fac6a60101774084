// The benchmark's anchor: the least a Win32 program with one dialog does.
// A modal dialog from a template the size of the wizard's, nothing else.
#include <windows.h>
#include "tests/e2e/e2e_ids.h"

static INT_PTR CALLBACK TrivialProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_TRIVIAL), nullptr, TrivialProc, 0) ==
                   IDOK
               ? 0
               : 1;
}
