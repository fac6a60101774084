// The main dialog (template 113): four wizard pages, their navigation, and
// the install trigger. Owns the state of ui/wizard_state.h.
#pragma once
#include <windows.h>

#include "resources/resource_ids.h"
#include "shell/language.h"
#include "ui/wizard_state.h"

INT_PTR CALLBACK WizardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Shows the controls of page and hides every other page's. WizardState is not
// changed; Back follows the page only while ShowingPages(WizardState).
void ShowPage(HWND dialog, int page);

// The controls of each page, a row per WizardPage; a row ends at its first 0,
// the table at a row whose first id is 0.
constexpr int PageRowSize = 16;
inline constexpr int PageTable[][PageRowSize] = {
    {IDC_DESKTOP_ICONS, IDC_AUTO_START, IDC_DEST_EDIT, IDC_PATH_LABEL, IDC_BROWSE},
    {IDC_SAMPLE_FRAME, IDC_DISPLAY_QUESTION, IDC_SAMPLE_LINE, IDC_DISPLAY_OK, IDC_DISPLAY_NO},
    {IDC_ENGLISH_LICENCE, IDC_LICENCE_CN, IDC_LICENCE_EN},
    {IDC_LANGUAGE_LABEL, IDC_LANGUAGE_COMBO},
    {0},
};

struct LanguageEntry {
    Language Id;        // item data of the combo box entry, value of ForceLanguage
    const char* Text;   // MixedText, painted by the owner-draw code and, for
                        // screen readers, the item's string (ui/control_text.h)
};
inline constexpr LanguageEntry LanguageList[] = {
    {LanguageEnglish, "English 英文"},
    {LanguageSimplified, "Chinese(Simplified)  中文简体"},
    {LanguageTraditional, "Chinese(Traditional) 中文繁体"},
};

// The display text of a LanguageList id; null for any other value.
const char* LanguageText(ULONG_PTR id);

// --- Pure parts, also used by the tests ---

// Centre of a window rectangle, in integer arithmetic.
POINT RectCentre(const RECT& rect);
