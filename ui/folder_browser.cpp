// The folder browser: the platform's classic file-open dialog over template
// 168, in which only the folder list, the drive list, OK and Cancel remain.
// The dialog makes every folder the user opens the current directory, so at
// OK the hook simply takes the current directory.
#include "ui/folder_browser.h"

#include <commdlg.h>
#include <direct.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "resources/resource_ids.h"
#include "shell/environment.h"
#include "shell/paths.h"
#include "shell/system_library.h"
#include "ui/control_text.h"
#include "ui/owner_draw.h"
#include "ui/wizard_state.h"

namespace {

// The structure without the fields added later, so that older systems take
// it: 76 bytes in the 32-bit program (the tests also build it as 64-bit).
constexpr DWORD ClassicRequestSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void*) != 4 || ClassicRequestSize == 76, "classic OPENFILENAMEA layout");


constexpr int FolderListId = 1121;      // lst2 of the classic dialog

// The caption of template 168. Given as the title too: without one, Wine
// titles the classic dialog "Open File" instead of using the template's.
constexpr const char* BrowserTitle = "Choose Destination Directory";

UINT_PTR InitBrowser(HWND dialog)
{
    SetFocus(GetDlgItem(dialog, FolderListId));
    // Cancel is painted like the wizard's buttons, with its bilingual caption.
    // It stays a button: a click still sends IDCANCEL and closes with 0.
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    LONG style = GetWindowLongA(cancel, GWL_STYLE);
    SetWindowLongA(cancel, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
    SetCaptionTexts(dialog, BrowserCaptions);
    InvalidateRect(cancel, nullptr, TRUE);
    return 1;
}

UINT_PTR DrawBrowserItem(const DRAWITEMSTRUCT* item)
{
    switch (item->CtlID) {
    case IDC_BROWSER_DIRS_LABEL:
    case IDC_BROWSER_DRIVES_LABEL:
    case IDCANCEL:
        DrawOwnerControl(item, BrowserCaptions);
        return 1;
    default:
        return 0;   // the dialog paints its own folder and drive lists
    }
}

UINT_PTR AcceptFolder(HWND dialog)
{
    char current[MAX_PATH];
    char chosen[MAX_PATH];
    if (!_getcwd(current, MAX_PATH) || !ChosenFolderOf(current, CP_ACP, chosen))
        return 0;   // leave OK to the dialog's own handling
    lstrcpynA(InstallDir, chosen, MAX_PATH);
    EndDialog(dialog, 1);
    return 1;
}

} // namespace

OPENFILENAMEA BrowserRequest(HWND owner, char* file)
{
    OPENFILENAMEA request;
    ZeroMemory(&request, sizeof request);
    request.lStructSize = ClassicRequestSize;
    request.hwndOwner = owner;
    request.lpstrFile = file;
    // The hidden file-name field is never read (the folder is the current
    // directory at OK); 128 keeps it well inside the 260-byte buffer.
    request.nMaxFile = 128;
    request.Flags = BrowserFlags;
    request.lpstrTitle = BrowserTitle;
    request.lpfnHook = FolderBrowserHook;
    request.lpTemplateName = MAKEINTRESOURCEA(IDD_FOLDER_BROWSER);
    return request;
}

void BrowseForFolder(HWND dialog)
{
    // The dialog changes the current directory as the user navigates and
    // leaves it so despite OFN_NOCHANGEDIR: Microsoft's documentation says the
    // flag is ineffective for GetOpenFileName, and Wine ignores it too.
    char saved[MAX_PATH];
    int haveSaved = _getcwd(saved, MAX_PATH) != nullptr;

    char file[MAX_PATH];
    file[0] = 0;
    OPENFILENAMEA request = BrowserRequest(dialog, file);
    // The common dialogs are loaded when the browser is first opened.
    using OpenFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
    auto openDialog = SystemFunctionAs<OpenFunction>("COMDLG32.DLL", "GetOpenFileNameA");
    BOOL chosen = openDialog && openDialog(&request);

    if (haveSaved)
        _chdir(saved);
    if (!chosen)
        return;
    char destination[MAX_PATH];
    if (ComposeDestination(InstallDir, DefaultFolderName, destination))
        SetDlgItemTextA(dialog, IDC_DEST_EDIT, destination);
}

UINT_PTR CALLBACK FolderBrowserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitBrowser(dialog);
    case WM_DRAWITEM:
        return DrawBrowserItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        // OK by click or by Enter; the notification code plays no part.
        return LOWORD(wParam) == IDOK ? AcceptFolder(dialog) : 0;
    default:
        return 0;
    }
}

int ChosenFolderOf(const char* folder, UINT codePage, char* out)
{
    size_t length = strlen(folder);
    if (length >= MAX_PATH)
        return 0;
    memcpy(out, folder, length + 1);
    if (EndsWithBackslash(out, codePage))
        out[length - 1] = 0;
    return 1;
}

int ComposeDestination(const char* folder, const char* folderName, char* out)
{
    char composed[MAX_PATH];
    if (!FormatBounded(composed, sizeof composed, "%s\\%s", folder, folderName))
        return 0;
    memcpy(out, composed, strlen(composed) + 1);
    return 1;
}
