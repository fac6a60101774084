// The process: start-up order, the message loop with its Enter-key routing,
// and teardown. Owns the handles of shell/process_state.h.
#pragma once
#include <windows.h>

#include "resources/resource_ids.h"

// What Enter presses when the focus is on no push button: the wizard's Next.
constexpr int DefaultButtonId = IDC_NEXT;

// The process's exit codes.
constexpr int ExitNormal = 0;               // installed, cancelled, or handed to a running copy
constexpr int ExitStartFailed = 1;          // no wizard: the glyph atlas could not be decoded or drawn
constexpr int ExitInstallationFailed = 2;   // an installation failed; its message was shown

// One installer at a time: two copies would write the same folders and the
// same temporary names. A plain name, without the namespace prefixes that
// came with Terminal Services: NT 4.0 and older and the 9x family allow no
// backslash in an object's name. Where Terminal Services run (Windows 2000
// and later), such a name lives in the logon's own namespace: the rule holds
// within one logon, not across two.
constexpr const char* RunningMutexName = "TarvoSetupRunning";

// Runs the whole installer; the result is the process exit code. A second
// start while one runs brings the running one's wizard to the front and
// ends at once with ExitNormal, having written nothing.
int RunInstaller(HINSTANCE instance);

// The one message loop of the program, with the Enter-key routing. Runs
// until WizardState is negative or a quit message arrives.
void RunMessageLoop();

// The Enter key: which command it posts and whether the key message is
// dropped. Pure: takes what the loop learned about the focused window, and
// listOpen, 1 when that window is a combo box whose list is dropped down.
// There Enter belongs to the box, which takes the highlighted item and
// closes its list, as every drop-down does: nothing is posted.
struct EnterRoute {
    int Command;    // wParam of the posted WM_COMMAND; 0 posts none
    int DropKey;    // 1: key goes neither to the dialog manager nor to dispatch
};
EnterRoute RouteEnterKey(int haveFocus, const char* className, LONG style, int controlId,
                         int listOpen);
