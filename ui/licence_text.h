// The two licence texts of the licence page: inflated from their resources,
// the Chinese one cut into list items that the wizard keeps for the life of
// the process, the English one given to its edit box.
#pragma once
#include <windows.h>
#include <stddef.h>

// The licence texts inflate into a buffer of this size. The last byte is
// kept for the terminating NUL: a text that needs all of it is refused.
constexpr unsigned long LicenceBufferSize = 65536;
constexpr int LicenceLineLimit = 500;   // items added to the Chinese list at most
constexpr int LicenceItemSize = 260;    // bytes of one list item, its NUL included
// The Chinese licence's items, each with its NUL, kept for the life of the
// process: the list holds their addresses. Every item gives up its line's CR
// for its NUL but a cut one, and there are at most LicenceLineLimit items.
constexpr size_t LicenceStoreSize = LicenceBufferSize + LicenceLineLimit;

// Fills the Chinese list (IDC_LICENCE_CN) and the English edit box
// (IDC_LICENCE_EN) of dialog. 1 when both texts are in their controls; the
// memory message is shown when no buffer could be had.
int LoadLicences(HWND dialog);

// --- Pure part, also used by the tests ---

// Next item of the Chinese licence, starting at text[*position]: the bytes up
// to the next CR (one LF directly after it is skipped). Text after the last
// CR is not a line. A line longer than LicenceItemSize - 1 bytes continues in
// the next item, cut between characters (a byte with the top bit set starts
// a two-byte character). Copies the item into line (LicenceItemSize bytes)
// and returns 1; returns 0 when no item is left.
int NextLicenceLine(const char* text, size_t* position, char* line);
