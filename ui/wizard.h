// The main dialog (template 113): four wizard pages, their navigation, and
// the install trigger. Owns WizardState and everything the user decides.
#pragma once
#include <windows.h>
#include <stddef.h>

extern int WizardState;             // 0..3 page, 99 installing, -1 quit
extern char InstallDir[MAX_PATH];   // destination, no trailing backslash
extern char WindowsDir[MAX_PATH];   // with trailing backslash
extern WCHAR WindowsDirWide[MAX_PATH];  // the same from the wide call, on NT (empty on 9x)
extern int ChineseDisplayOk;
extern int CreateDesktopIcons;
extern int AutoStart;
extern int ForceLanguage;           // 0 English, 1 Simplified, 2 Traditional
extern int LicenceLoaded;
extern int InstallationFailed;      // 1 once a failed installation's message was shown

INT_PTR CALLBACK WizardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void ShowPage(HWND dialog, int page);

constexpr int WizardInstalling = 99;
constexpr int WizardQuit = -1;

// The controls of each page; a row ends at its first 0, the table at a row
// whose first id is 0.
constexpr int PageRowSize = 16;
inline constexpr int PageTable[][PageRowSize] = {
    {1004, 1005, 1002, 1006, 1003},
    {1015, 1017, 1018, 1007, 1008},
    {1010, 1019, 1014},
    {1030, 1031},
    {0},
};

struct LanguageEntry {
    int Id;             // item data of the combo box entry, value of ForceLanguage
    const char* Text;   // MixedText, painted by the owner-draw code
    const char* Name;   // the entry's string in the combo box, for screen readers:
                        // English, which every code page spells
};
inline constexpr LanguageEntry LanguageList[] = {
    {0, "English 英文", "English"},
    {1, "Chinese(Simplified)  中文简体", "Chinese (Simplified)"},
    {2, "Chinese(Traditional) 中文繁体", "Chinese (Traditional)"},
};

// The display text of a LanguageList id; null for any other value.
const char* LanguageText(ULONG_PTR id);

// The licence texts inflate into a buffer of this size. The last byte is
// kept for the terminating NUL: a text that needs all of it is refused.
constexpr unsigned long LicenceBufferSize = 65536;
constexpr int LicenceLineLimit = 500;   // items added to the Chinese list at most
constexpr int LicenceItemSize = 260;    // bytes of one list item, its NUL included
// The Chinese licence's items, each with its NUL, kept for the life of the
// process: the list holds their addresses. Every item gives up its line's CR
// for its NUL but a cut one, and there are at most LicenceLineLimit items.
constexpr size_t LicenceStoreSize = LicenceBufferSize + LicenceLineLimit;

// --- Pure parts, also used by the tests ---

// Next item of the Chinese licence, starting at text[*position]: the bytes up
// to the next CR (one LF directly after it is skipped). Text after the last
// CR is not a line. A line longer than LicenceItemSize - 1 bytes continues in
// the next item, cut between characters (a byte with the top bit set starts
// a two-byte character). Copies the item into line (LicenceItemSize bytes)
// and returns 1; returns 0 when no item is left.
int NextLicenceLine(const char* text, size_t* position, char* line);

// "%c:\%s" from the drive letter of windowsDir and the folder name.
// 0 when it does not fit into MAX_PATH bytes.
int DefaultDestination(const char* windowsDir, const char* folderName, char* out);
// installDir + "\doc", with no doubled backslash. 0 when it does not fit.
int DocFolderOf(const char* installDir, UINT codePage, char* out);

// Centre of a window rectangle, in integer arithmetic.
POINT RectCentre(const RECT& rect);
