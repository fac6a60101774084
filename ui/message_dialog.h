// The installer's own message box: Chinese text from the glyph atlas on top,
// English text below, one or two bilingual buttons. Dialog template 112.
#pragma once
#include <windows.h>

// kind 0: OK (1); kind 4: Yes (6) / No (7); other: OK (1) / Cancel (2).
// Escape and the close box give 2. english may be null; owner may be null.
int ShowMessage(const char* chinese, const char* english, int kind, HWND owner);

// --- The layout, pure so that the tests check it with any metrics ---

struct MessageLayoutInput {
    int ChineseWidth, ChineseHeight;    // MeasureMixedText of the Chinese text (tw, th)
    int EnglishWidth, EnglishHeight;    // extent of the English text, 0 x 0 when empty (ew, eh)
    int ButtonWidth, ButtonHeight;      // client size of the first button (W, H)
    int ChineseBytes;                   // byte length of the Chinese text
    int Kind;
    int DialogFrameX;                   // SM_CXDLGFRAME
    int ScreenWidth, ScreenHeight;      // SM_CXSCREEN, SM_CYSCREEN
    int CaptionHeight;                  // SM_CYCAPTION
};

struct MessageLayout {
    int X, Y, M;                        // content width and height, minimum width
    int Left, Top, Width, Height;       // the dialog window
    int FirstId, SecondId;              // SecondId 0 for kind 0
    POINT First, Second;                // client positions of the buttons
    int ChineseTop, ChineseHeight;      // control 1013 (x 0, client width)
    int EnglishTop, EnglishHeight;      // control 1028 (x 0, client width)
};

MessageLayout ComputeMessageLayout(const MessageLayoutInput& in);

// What a WM_COMMAND id does to the dialog: the result it ends with, or 0 to
// stay open.
int MessageCommandResult(int kind, int commandId);

// The English copy: at most 127 bytes, never ending in half a double-byte
// character of the ANSI code page. Returns the copied length.
int CopyEnglishText(char* out, int size, const char* english);
