// The window texts of the controls the installer draws itself. A screen
// reader announces a control by its window text, while the painter draws
// the caption tables; each such control therefore carries the caption it
// draws as its window text. The NT family gets it in UTF-16, converted from
// GBK here: the system's code page may be Japanese, Korean or UTF-8, which
// would turn GBK bytes into other characters. The 9x family, which keeps
// window texts in its code page and may not spell GBK, gets the English part.
#pragma once
#include <windows.h>

#include "ui/captions.h"

// The code page of every caption: GBK.
constexpr UINT CaptionCodePage = 936;

// caption without its Chinese: the double-byte characters dropped, each
// leaving a word break, and with them the runs of punctuation and blanks
// that stand between two of them (the "/" of "同意/安装"); blanks collapsed
// to one and trimmed. Written into out (size bytes, always terminated);
// returns the length.
int EnglishPart(const char* caption, char* out, int size);

// caption with the mnemonic of old kept: '&' before the first of its
// single-byte characters that is the letter old marks ("&Cancel": C), so
// that Alt and that letter still press the control. caption unchanged where
// old marks none or caption lacks the letter. Written into out (size bytes,
// always terminated); returns the length.
int KeepMnemonic(const char* old, const char* caption, char* out, int size);

// control's window text becomes caption, as above, keeping the mnemonic of
// the text it had (the folder browser's "&Cancel").
void SetCaptionText(HWND control, const char* caption);
// The same for every control of dialog whose row in table gives its caption
// (not the rows drawn from the control's own text); the Next button's
// follows WizardState.
void SetCaptionTexts(HWND dialog, const CaptionTable& table);
// A combo box item that shows caption: inserted at position, or appended
// when position is negative. The item's index, or a negative CB_ error.
LRESULT AddComboCaption(HWND combo, int position, const char* caption);
