// English and Simplified Chinese shortcut names (literals come out as GBK).
#include "install/shortcut_names.h"

constexpr ShortcutNames EnglishShortcutNames = {
    "Tarvo Chinese Input Engine", "Tarvo UnInstall", "Quorlin", 1252};
constexpr ShortcutNames SimplifiedShortcutNames = {
    "Tarvo中文输入引擎", "Tarvo输入引擎卸载", "Tarvo文本编辑", GbkCodePage};

const ShortcutNames& ShortcutNamesFor(int systemLanguage)
{
    switch (systemLanguage) {
    case LanguageSimplified: return SimplifiedShortcutNames;
    case LanguageTraditional: return TraditionalShortcutNames;
    default: return EnglishShortcutNames;
    }
}
