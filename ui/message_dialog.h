// The installer's own message box: Chinese text from the glyph atlas on top,
// English text below, one or two bilingual buttons. Dialog template 112.
#pragma once
#include <windows.h>

// The message of every failed allocation.
constexpr const char* MemoryMessageCn = "内存不够。安装无法继续。";
constexpr const char* MemoryMessageEn = "Memory not enough!";

// kind MB_OK: OK (IDOK); MB_YESNO: Yes (IDYES) / No (IDNO), opening on No;
// MB_RETRYCANCEL: Retry (IDRETRY) / Cancel, Enter pressing Retry; any other:
// OK / Cancel. Escape and the close box give IDCANCEL. english may be null;
// owner may be null.
int ShowMessage(const char* chinese, const char* english, int kind, HWND owner);

// --- The layout, pure so that the tests check it with any metrics ---

struct MessageLayoutInput {
    int ChineseWidth, ChineseHeight;    // MeasureMixedText of the Chinese text
    int EnglishWidth, EnglishHeight;    // extent of the English text, 0 x 0 when empty
    int ButtonWidth, ButtonHeight;      // client size of the first button
    int ChineseBytes;                   // byte length of the Chinese text
    int Kind;
    int DialogFrameX;                   // SM_CXDLGFRAME
    int ScreenWidth, ScreenHeight;      // SM_CXSCREEN, SM_CYSCREEN
    int CaptionHeight;                  // SM_CYCAPTION
    RECT WorkArea;                      // SPI_GETWORKAREA: the window stays inside
};

struct MessageLayout {
    int ContentWidth, ContentHeight;    // what the texts and buttons need
    int MinimumWidth;                   // room for the buttons
    int Left, Top, Width, Height;       // the dialog window
    int FirstId, SecondId;              // SecondId 0 for kind 0
    POINT First, Second;                // client positions of the buttons
    int ChineseTop, ChineseHeight;      // control 1013 (x 0, client width)
    int EnglishTop, EnglishHeight;      // control 1028 (x 0, client width)
};

MessageLayout ComputeMessageLayout(const MessageLayoutInput& in);

// The widest a text may be so that the window fits the work area. A wider
// Chinese text is shown shortened in its middle (CutInMiddle); a wider
// English text is given this width and wraps onto its second line.
int MessageTextRoom(const MessageLayoutInput& in);

// text with its middle replaced by "...": about the first and the last
// keep / 2 bytes, cut between characters (MixedText rules). Writes at most
// size bytes, always terminated; returns the length.
int CutInMiddle(const char* text, int keep, char* out, int size);

// The buttons a kind shows, left to right; Second 0 for one button.
struct MessageButtons {
    int First, Second;
};
MessageButtons MessageButtonsOf(int kind);

// What a WM_COMMAND id does to the dialog: the result it ends with, or 0 to
// stay open. focusedId is the id of the dialog's focused control (0 for
// none): the dialog manager turns Enter into IDOK, which in a Yes/No
// question presses the focused button.
int MessageCommandResult(int kind, int commandId, int focusedId);

// The English copy: at most size - 1 bytes, never ending in half a double-byte
// character of the ANSI code page. Returns the copied length.
int CopyEnglishText(char* out, int size, const char* english);
