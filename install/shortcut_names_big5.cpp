// Traditional Chinese shortcut names. This file alone is compiled with the
// Big5 execution character set, so its literals come out as Big5 bytes.
#include "install/shortcut_names.h"

constexpr ShortcutNames TraditionalShortcutNames = {
    "Tarvo中文輸入引擎", "Tarvo輸入引擎卸載", "Tarvo文本編輯", Big5CodePage};
