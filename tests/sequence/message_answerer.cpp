#include "message_answerer.h"

namespace {

HWND FindOwnMessageDialog()
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", "Quorlin Install Message"))) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

int VisibleButtons(HWND dialog)
{
    const int ids[] = {IDOK, IDCANCEL, IDYES, IDNO};
    const int bits[] = {1, 2, 4, 8};
    int shown = 0;
    for (int i = 0; i < 4; ++i)
        if (IsWindowVisible(GetDlgItem(dialog, ids[i])))
            shown |= bits[i];
    return shown;
}

}  // namespace

MessageAnswerer::MessageAnswerer(int buttonId) : ButtonId(buttonId)
{
    InitializeCriticalSection(&Lock);
    Thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

MessageAnswerer::~MessageAnswerer()
{
    InterlockedExchange(&Stop, 1);
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    DeleteCriticalSection(&Lock);
}

std::vector<AnsweredMessage> MessageAnswerer::Answered()
{
    EnterCriticalSection(&Lock);
    std::vector<AnsweredMessage> copy = Messages;
    LeaveCriticalSection(&Lock);
    return copy;
}

DWORD WINAPI MessageAnswerer::Run(void* self)
{
    auto* answerer = static_cast<MessageAnswerer*>(self);
    while (!answerer->Stop) {
        if (HWND dialog = FindOwnMessageDialog())
            answerer->AnswerOne(dialog);
        else
            Sleep(5);
    }
    return 0;
}

void MessageAnswerer::AnswerOne(HWND dialog)
{
    AnsweredMessage message;
    char english[256] = "";
    GetDlgItemTextA(dialog, 1028, english, sizeof english);
    message.English = english;
    message.Buttons = VisibleButtons(dialog);
    EnterCriticalSection(&Lock);
    Messages.push_back(message);
    LeaveCriticalSection(&Lock);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, ButtonId)));
    // One answer per dialog: wait until it is gone.
    for (int i = 0; i < 2000 && IsWindow(dialog); ++i)
        Sleep(5);
}
