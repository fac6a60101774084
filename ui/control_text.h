// The window texts of the controls the installer draws itself. A screen
// reader announces a control by its window text, while the painter draws
// the caption tables; each such control therefore carries the caption it
// draws as its window text, with "&" before its access key, which the dialog
// manager presses it by and a screen reader announces. The NT family gets it
// in UTF-16, converted from GBK here: the system's code page may be
// Japanese, Korean or UTF-8, which would turn GBK bytes into other
// characters. The 9x family, which keeps window texts in its code page and
// may not spell GBK, gets the English part.
#pragma once
#include <windows.h>

#include "ui/captions.h"

// caption without its Chinese: the double-byte characters dropped, each
// leaving a word break, and with them the runs of punctuation and blanks
// that stand between two of them (the "/" of "同意/安装"); blanks collapsed
// to one and trimmed. Written into out (size bytes, always terminated);
// returns the length.
int EnglishPart(const char* caption, char* out, int size);

// Where in caption the access key key stands: the byte index of its first
// single-byte occurrence, either case, so always in the English part. -1
// when key is 0 or caption lacks it.
int AccessKeyIndex(const char* caption, char key);
// caption with "&" before its access key (AccessKeyIndex); unchanged where
// it has none. Written into out (size bytes, always terminated); returns
// the length.
int MarkAccessKey(const char* caption, char key, char* out, int size);

// control's window text becomes caption, as above, with key marked.
void SetCaptionText(HWND control, const char* caption, char key);
// The same for every control of dialog whose row in table gives its caption
// (not the rows drawn from the control's own text); the Next button's
// follows WizardState.
void SetCaptionTexts(HWND dialog, const CaptionTable& table);
// control's window text becomes text, a Chinese text rather than a caption:
// UTF-16 on NT (empty when it cannot be converted), its bytes as they are on
// 9x, which keeps them so, and where a Chinese code page reads them.
void SetChineseText(HWND control, const char* text);
// A combo box item that shows caption: inserted at position, or appended
// when position is negative. The item's index, or a negative CB_ error.
LRESULT AddComboCaption(HWND combo, int position, const char* caption);
// A list box line that shows the Chinese text line, appended: UTF-16 on NT,
// its bytes on 9x, as SetChineseText. The line's index, or a negative LB_
// error.
LRESULT AddListLine(HWND list, const char* line);
