// Window texts and list items from the installer's own texts: UTF-16
// converted from GBK on the NT family, the English part of a caption or the
// bytes of a Chinese text on the 9x family. SendMessageW is looked up, not
// imported: Windows 95 and NT 3.51 must load the installer, and its import
// list stays as they know it.
#include "ui/control_text.h"

#include "shell/environment.h"
#include "shell/system_library.h"
#include "shell/wide_system.h"
#include "ui/owner_draw.h"
#include "ui/wizard_state.h"

namespace {

// Room for the longest caption (54 bytes) twice over.
constexpr int CaptionTextSize = 128;

// In a MixedText a byte from 0x80 on starts a double-byte character.
bool IsHighByte(char c)
{
    return (static_cast<unsigned char>(c) & 0x80) != 0;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasLetterOrDigit(const char* run, int length)
{
    for (int i = 0; i < length; ++i) {
        const char lower = AsciiLower(run[i]);
        if ((lower >= '0' && lower <= '9') || (lower >= 'a' && lower <= 'z'))
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

// The one place a GBK text becomes UTF-16 for the system: on the NT family.
// 0 on 9x, and on an NT without East Asian support, which has no code page
// 936.
int WideText(const char* text, WCHAR* wide, int units)
{
    return OsInfo.IsNt && WidenText(text, GbkCodePage, wide, units);
}

using SendFunction = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

// An item message of an ANSI list or combo box with text in UTF-16, which
// the NT family keeps as it is; CB_ERR (LB_ERR) where the call is missing.
LRESULT SendWide(HWND box, UINT message, WPARAM wParam, const WCHAR* text)
{
    auto send = SystemFunctionAs<SendFunction>("USER32.DLL", "SendMessageW");
    return send ? send(box, message, wParam, reinterpret_cast<LPARAM>(text)) : CB_ERR;
}

}  // namespace

int EnglishPart(const char* caption, char* out, int size)
{
    if (size <= 0)
        return 0;
    BlankCollapser english{out, size, 0, false};
    bool afterChinese = false;
    for (int i = 0; caption[i];) {
        if (IsHighByte(caption[i])) {
            english.Put(' ');
            afterChinese = true;
            i += caption[i + 1] ? 2 : 1;    // a lone lead byte ends the text
            continue;
        }
        int end = i;
        while (caption[end] && !IsHighByte(caption[end]))
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

int AccessKeyIndex(const char* caption, char key)
{
    if (!key)
        return -1;
    for (int i = 0; caption[i];) {
        if (IsHighByte(caption[i])) {
            i += caption[i + 1] ? 2 : 1;
            continue;
        }
        if (AsciiLower(caption[i]) == AsciiLower(key))
            return i;
        ++i;
    }
    return -1;
}

int MarkAccessKey(const char* caption, char key, char* out, int size)
{
    if (size <= 0)
        return 0;
    const int at = AccessKeyIndex(caption, key);
    int n = 0;
    // By whole characters: a text cut by out never ends in half of one.
    for (int i = 0; caption[i];) {
        const int step = IsHighByte(caption[i]) && caption[i + 1] ? 2 : 1;
        const int mark = i == at;
        if (n + mark + step >= size)
            break;
        if (mark)
            out[n++] = '&';
        for (int k = 0; k < step; ++k)
            out[n++] = caption[i++];
    }
    out[n] = '\0';
    return n;
}

void SetCaptionText(HWND control, const char* caption, char key)
{
    char marked[CaptionTextSize];
    MarkAccessKey(caption, key, marked, sizeof marked);
    WCHAR wide[CaptionTextSize];
    if (WideText(marked, wide, CaptionTextSize) && WideSetWindowText(control, wide))
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
            SetCaptionText(control, caption, RowAccessKey(table.Rows[i], WizardState));
    }
}

void SetChineseText(HWND control, const char* text)
{
    WCHAR wide[ControlTextSize];
    if (WideText(text, wide, ControlTextSize) && WideSetWindowText(control, wide))
        return;
    SetWindowTextA(control, OsInfo.IsNt ? "" : text);
}

LRESULT AddComboCaption(HWND combo, int position, const char* caption)
{
    const UINT message = position < 0 ? CB_ADDSTRING : CB_INSERTSTRING;
    const WPARAM at = position < 0 ? 0 : static_cast<WPARAM>(position);
    WCHAR wide[CaptionTextSize];
    if (WideText(caption, wide, CaptionTextSize))
        return SendWide(combo, message, at, wide);
    char english[CaptionTextSize];
    EnglishPart(caption, english, sizeof english);
    return SendMessageA(combo, message, at, reinterpret_cast<LPARAM>(english));
}

LRESULT AddListLine(HWND list, const char* line)
{
    WCHAR wide[ControlTextSize];
    if (WideText(line, wide, ControlTextSize))
        return SendWide(list, LB_ADDSTRING, 0, wide);
    return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(OsInfo.IsNt ? "" : line));
}
