// The names of the installer's shortcuts in the three languages that
// SystemLanguage selects: English, Simplified Chinese as GBK bytes and
// Traditional Chinese as Big5 bytes.
#pragma once
#include <windows.h>

#include "shell/language.h"

struct ShortcutNames {
    const char* Engine;     // the programs group, and every shortcut to TVO.exe
    const char* Uninstall;  // TVOUnInstall.exe
    const char* Editor;     // Quorlin.exe
    UINT CodePage;          // of the three names: GbkCodePage, Big5CodePage (English: ASCII)
};

extern const ShortcutNames EnglishShortcutNames;
extern const ShortcutNames SimplifiedShortcutNames;     // GBK
extern const ShortcutNames TraditionalShortcutNames;    // Big5, its own translation unit

// The names in a Language; any other value gives English.
const ShortcutNames& ShortcutNamesFor(int systemLanguage);
