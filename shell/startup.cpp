// Start-up in its fixed order, the message loop and the release of every
// object that lives for the whole run.
#include "shell/startup.h"

#include <commctrl.h>
#include <string.h>

#include "render/atlas.h"
#include "render/large_glyphs.h"
#include "render/mixed_text.h"
#include "render/screen_scale.h"
#include "resources/resource_ids.h"
#include "shell/environment.h"
#include "shell/process_state.h"
#include "shell/system_library.h"
#include "ui/message_dialog.h"
#include "ui/wizard.h"

namespace {

void RegisterProgressClass()
{
    // Template 113 names the progress-bar class; it must exist before the
    // dialog is created, or the creation fails. The Ex form needs comctl32
    // 4.70; the older systems register every class with the plain one.
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    using Init = void(WINAPI*)();
    auto initEx = SystemFunctionAs<InitEx>("COMCTL32.DLL", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS;
    if (!initEx || !initEx(&controls)) {
        auto init = SystemFunctionAs<Init>("COMCTL32.DLL", "InitCommonControls");
        if (init)
            init();
    }
}

void Teardown()
{
    if (MainDialog) {
        DestroyWindow(MainDialog);
        MainDialog = nullptr;
    }
    FreeGlyphAtlas();
    FreeLargeGlyphs();
    if (SampleFont) {
        DeleteObject(SampleFont);
        SampleFont = nullptr;
    }
    FreeSystemLibraries();
}

int IsComboBox(const char* className)
{
    return _stricmp(className, "ComboBox") == 0;
}

// 1 when the key message was consumed by the routing.
int RouteEnter()
{
    HWND focus = GetFocus();
    char className[100];
    int haveClass = 0;
    LONG style = 0;
    int id = 0;
    int listOpen = 0;
    if (focus) {
        haveClass = GetClassNameA(focus, className, sizeof className) > 0;
        className[sizeof className - 1] = 0;
        style = GetWindowLongA(focus, GWL_STYLE);
        id = GetWindowLongA(focus, GWL_ID);
        listOpen = haveClass && IsComboBox(className) &&
                   SendMessageA(focus, CB_GETDROPPEDSTATE, 0, 0) != 0;
    }
    EnterRoute route =
        RouteEnterKey(focus != nullptr, haveClass ? className : nullptr, style, id, listOpen);
    if (route.Command)
        PostMessageA(MainDialog, WM_COMMAND, static_cast<WPARAM>(route.Command), 0);
    return route.DropKey;
}

} // namespace

EnterRoute RouteEnterKey(int haveFocus, const char* className, LONG style, int controlId,
                         int listOpen)
{
    EnterRoute route = {DefaultButtonId, 0};
    if (haveFocus && className && listOpen && IsComboBox(className))
        return EnterRoute{0, 0};
    if (!haveFocus || !className || _stricmp(className, "button") != 0)
        return route;
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return route;
    default:
        route.Command = controlId;
        route.DropKey = 1;
        return route;
    }
}

void RunMessageLoop()
{
    MSG message;
    while (WizardState >= 0) {
        // 0 is the quit message; -1 (an invalid call) would repeat forever.
        if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            break;
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && RouteEnter())
            continue;
        if (!IsDialogMessageA(MainDialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

namespace {

// The running copy's wizard, or the message or browser it shows, in front.
void ShowRunningWizard()
{
    HWND wizard = FindWindowA("#32770", WIZARD_TITLE);   // the dialog class
    if (!wizard)
        return;     // the first copy is still starting: its wizard comes by itself
    if (IsIconic(wizard))
        ShowWindow(wizard, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(wizard));
}

int RunWizard(HINSTANCE instance)
{
    DetectEnvironment(instance);
    ForceLanguage = LanguageEnglish;
    AppInstance = instance;
    ReadScreenDpi();
    CreateSampleFont();

    switch (LoadGlyphAtlas()) {
    case AtlasOk:
        break;
    case AtlasNoMemory:
        ShowMessage(MemoryMessageCn, MemoryMessageEn, MB_OK, nullptr);
        Teardown();
        return ExitStartFailed;
    case AtlasInflateFailed:
    case AtlasPlaneFailed:
        // No window: nothing has been shown, and nothing may look like success.
        Teardown();
        return ExitStartFailed;
    }
    // Above 96 dpi the Chinese grows with the rest; where its larger cells
    // cannot be made, the atlas's serve.
    LoadLargeGlyphs(ScreenDpi);

    WizardState = PageOptions;
    InstallerIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_INSTALLER));
    RegisterProgressClass();
    MainDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_WIZARD), nullptr,
                                    WizardDialogProc, 0);
    if (!MainDialog) {
        // Nothing to show the user with; end as orderly as after a run.
        Teardown();
        return ExitStartFailed;
    }
    RunMessageLoop();
    Teardown();
    return InstallationFailed ? ExitInstallationFailed : ExitNormal;
}

} // namespace

int RunInstaller(HINSTANCE instance)
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    // A mutex that cannot be made leaves the installer as it was without it.
    HANDLE running = CreateMutexA(nullptr, FALSE, RunningMutexName);
    if (running && GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowRunningWizard();
        CloseHandle(running);
        return ExitNormal;
    }
    const int exitCode = RunWizard(instance);
    if (running)
        CloseHandle(running);
    return exitCode;
}
