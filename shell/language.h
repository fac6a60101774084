// The three languages of the installer and its engine. The values are the
// engine's own: ForceLanguage is written into engine.ini as this digit.
#pragma once

enum Language {
    LanguageEnglish = 0,
    LanguageSimplified = 1,     // GBK texts
    LanguageTraditional = 2,    // Big5 texts
};

// The code pages of the installer's own Chinese texts, whatever the system's.
constexpr unsigned GbkCodePage = 936;     // captions, messages, the licence, Simplified names
constexpr unsigned Big5CodePage = 950;    // the Traditional Chinese shortcut names
