// Window texts and combo box items from the installer's own captions: UTF-16
// converted from GBK on the NT family, the English part on the 9x family.
// SendMessageW is looked up, not imported: Windows 95 and NT 3.51 must load
// the installer, and its import list stays as they know it.
#include "ui/control_text.h"

#include "shell/environment.h"
#include "shell/system_library.h"
#include "shell/wide_system.h"
#include "ui/wizard_state.h"

namespace {

// Room for the longest caption (54 bytes) twice over.
constexpr int CaptionTextSize = 128;

bool IsLeadByte(char c)
{
    return (static_cast<unsigned char>(c) & 0x80) != 0;
}

bool HasLetterOrDigit(const char* run, int length)
{
    for (int i = 0; i < length; ++i) {
        const char lower = static_cast<char>(run[i] | 0x20);
        if ((run[i] >= '0' && run[i] <= '9') || (lower >= 'a' && lower <= 'z'))
            return true;
    }
    return false;
}

// Writes a blank only between two other characters, never two in a row.
struct BlankCollapser {
    char* Out;
    int Size;
    int Length;
    bool Blank;

    void Put(char c)
    {
        if (c == ' ') {
            Blank = Length > 0;
            return;
        }
        if (Blank && Length + 1 < Size)
            Out[Length++] = ' ';
        Blank = false;
        if (Length + 1 < Size)
            Out[Length++] = c;
    }
};

// The caption as the NT family is given it: UTF-16 converted from GBK. 0 on
// 9x, and on an NT without East Asian support, which has no code page 936:
// the English part serves there.
int WideCaption(const char* caption, WCHAR* wide)
{
    return OsInfo.IsNt && WidenText(caption, CaptionCodePage, wide, CaptionTextSize);
}

}  // namespace

int EnglishPart(const char* caption, char* out, int size)
{
    if (size <= 0)
        return 0;
    BlankCollapser english{out, size, 0, false};
    bool afterChinese = false;
    for (int i = 0; caption[i];) {
        if (IsLeadByte(caption[i])) {
            english.Put(' ');
            afterChinese = true;
            i += caption[i + 1] ? 2 : 1;    // a lone lead byte ends the text
            continue;
        }
        int end = i;
        while (caption[end] && !IsLeadByte(caption[end]))
            ++end;
        const bool betweenChinese = afterChinese && caption[end];
        if (!betweenChinese || HasLetterOrDigit(caption + i, end - i))
            for (int k = i; k < end; ++k)
                english.Put(caption[k]);
        i = end;
    }
    out[english.Length] = '\0';
    return english.Length;
}

int KeepMnemonic(const char* old, const char* caption, char* out, int size)
{
    char letter = 0;
    for (const char* p = old; *p && !letter; ++p)
        if (*p == '&')
            letter = *++p == '&' ? 0 : *p;     // "&&" is an ampersand
    int n = 0;
    for (int i = 0; caption[i] && n + 2 < size;) {
        const int step = IsLeadByte(caption[i]) && caption[i + 1] ? 2 : 1;
        if (step == 1 && letter && (caption[i] | 0x20) == (letter | 0x20)) {
            out[n++] = '&';
            letter = 0;
        }
        for (int k = 0; k < step; ++k)
            out[n++] = caption[i++];
    }
    out[n] = '\0';
    return n;
}

void SetCaptionText(HWND control, const char* caption)
{
    char old[CaptionTextSize] = "", marked[CaptionTextSize];
    GetWindowTextA(control, old, sizeof old);
    KeepMnemonic(old, caption, marked, sizeof marked);
    WCHAR wide[CaptionTextSize];
    if (WideCaption(marked, wide) && WideSetWindowText(control, wide))
        return;
    char english[CaptionTextSize];
    EnglishPart(marked, english, sizeof english);
    SetWindowTextA(control, english);
}

void SetCaptionTexts(HWND dialog, const CaptionTable& table)
{
    for (size_t i = 0; i < table.Count; ++i) {
        const char* caption = RowCaption(table.Rows[i], WizardState);
        HWND control = GetDlgItem(dialog, table.Rows[i].Id);
        if (caption && control)
            SetCaptionText(control, caption);
    }
}

LRESULT AddComboCaption(HWND combo, int position, const char* caption)
{
    const UINT message = position < 0 ? CB_ADDSTRING : CB_INSERTSTRING;
    const WPARAM at = position < 0 ? 0 : static_cast<WPARAM>(position);
    using SendFunction = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
    WCHAR wide[CaptionTextSize];
    // The box is an ANSI window, but the NT family keeps its items in
    // UTF-16 and takes them from the wide call as they are.
    if (WideCaption(caption, wide))
        if (auto send = SystemFunctionAs<SendFunction>("USER32.DLL", "SendMessageW"))
            return send(combo, message, at, reinterpret_cast<LPARAM>(wide));
    char english[CaptionTextSize];
    EnglishPart(caption, english, sizeof english);
    return SendMessageA(combo, message, at, reinterpret_cast<LPARAM>(english));
}
