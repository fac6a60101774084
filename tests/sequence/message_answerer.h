// Answers the installer's message dialogs from a helper thread, as a user
// would: finds the dialog by its title, notes what it shows, presses a button.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct AnsweredMessage {
    std::string English;    // text of control 1028
    int Buttons;            // visible buttons: 1 OK, 2 Cancel, 4 Yes, 8 No
};

class MessageAnswerer {
public:
    explicit MessageAnswerer(int buttonId);     // IDOK, IDYES, IDNO, ...
    ~MessageAnswerer();
    MessageAnswerer(const MessageAnswerer&) = delete;
    MessageAnswerer& operator=(const MessageAnswerer&) = delete;

    // What was answered so far; call after the code under test returned.
    std::vector<AnsweredMessage> Answered();

private:
    static DWORD WINAPI Run(void* self);
    void AnswerOne(HWND dialog);

    int ButtonId;
    volatile LONG Stop = 0;
    HANDLE Thread = nullptr;
    CRITICAL_SECTION Lock;
    std::vector<AnsweredMessage> Messages;
};

constexpr int OkShown = 1, CancelShown = 2, YesShown = 4, NoShown = 8;
