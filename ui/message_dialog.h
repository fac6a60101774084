// The installer's own message box: Chinese text from the glyph atlas on top,
// English text below, one or two bilingual buttons. Dialog template 112.
#pragma once
#include <windows.h>

// kind 0: OK (1); kind 4: Yes (6) / No (7); other: OK (1) / Cancel (2).
// Escape and the close box give 2. english may be null; owner may be null.
int ShowMessage(const char* chinese, const char* english, int kind, HWND owner);
