// Retrying a file call that another program's brief hold made fail.
#include "install/brief_hold.h"

namespace {

// The pause answers the system as the installation's progress does: what
// other threads and processes send is handled, and what needs painting is
// painted, while no input is taken, so that no click reaches the wizard in
// the middle of an installation.
void PauseAnswering(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        // A peek with any filter hands over the messages sent to this
        // thread, and tells the system that the windows still answer.
        while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageA(&message);
        const DWORD passed = GetTickCount() - start;
        if (passed >= milliseconds)
            return;
        const DWORD rest = milliseconds - passed;
        Sleep(rest < 20 ? rest : 20);
    }
}

}  // namespace

void (*HoldPause)(DWORD milliseconds) = PauseAnswering;

int IsHoldError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

int WaitOutHold(HoldWait* wait)
{
    if (!IsHoldError(GetLastError()) || wait->Waited >= HoldBudget)
        return 0;
    HoldPause(HoldStep);
    wait->Waited += HoldStep;
    return 1;
}
