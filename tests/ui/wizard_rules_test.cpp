// The wizard's and the shell's pure rules: Enter-key routing, licence lines,
// path composition, the page and language tables.
#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "install/destination.h"
#include "shell/paths.h"
#include "shell/startup.h"
#include "ui/folder_browser.h"
#include "ui/licence_text.h"
#include "ui/wizard.h"

namespace {

TEST(EnterRouting, PushAndOwnerDrawnButtonsClickThemselvesAndSwallowTheKey)
{
    // Push button 0, default push 1, group box 7, user 8, owner-drawn 11.
    for (LONG type : {0L, 1L, 7L, 8L, 11L}) {
        EnterRoute route = RouteEnterKey(1, "Button", WS_CHILD | WS_TABSTOP | type, 3, 0);
        EXPECT_EQ(route.Command, 3) << "style " << type;
        EXPECT_EQ(route.DropKey, 1) << "style " << type;
    }
    EXPECT_EQ(RouteEnterKey(1, "BUTTON", BS_OWNERDRAW, 2, 0).Command, 2);     // Cancel quits
    EXPECT_EQ(RouteEnterKey(1, "button", BS_OWNERDRAW, 1003, 0).Command, 1003);
}

TEST(EnterRouting, CheckBoxesAndRadioButtonsPressNextAndKeepTheKey)
{
    for (LONG type : {2L, 3L, 4L, 5L, 6L, 9L}) {
        EnterRoute route = RouteEnterKey(1, "Button", WS_CHILD | BS_NOTIFY | type, 1004, 0);
        EXPECT_EQ(route.Command, DefaultButtonId) << "style " << type;
        EXPECT_EQ(route.DropKey, 0) << "style " << type;
    }
    // A button's kind is its type bits alone: one with its text on the left
    // or drawn like a push button is still a check box.
    EXPECT_EQ(RouteEnterKey(1, "Button", BS_AUTOCHECKBOX | BS_PUSHLIKE, 1004, 0).Command, DefaultButtonId);
    EXPECT_EQ(RouteEnterKey(1, "Button", BS_AUTOCHECKBOX | BS_LEFTTEXT, 1004, 0).Command, DefaultButtonId);
}

TEST(EnterRouting, OtherClassesNoFocusAndFailedQueriesPressNext)
{
    for (const char* name : {"Edit", "ListBox", "ComboBox", "#32770", "Buttons", ""}) {
        EnterRoute route = RouteEnterKey(1, name, 0, 1002, 0);
        EXPECT_EQ(route.Command, DefaultButtonId) << name;
        EXPECT_EQ(route.DropKey, 0) << name;
    }
    EXPECT_EQ(RouteEnterKey(1, nullptr, BS_OWNERDRAW, 3, 0).Command, DefaultButtonId);
    EnterRoute none = RouteEnterKey(0, "Button", BS_OWNERDRAW, 3, 0);
    EXPECT_EQ(none.Command, DefaultButtonId);
    EXPECT_EQ(none.DropKey, 0);
}

// All items NextLicenceLine yields for text.
std::string Lines(const char* text)
{
    std::string joined;
    char line[LicenceItemSize];
    size_t position = 0;
    while (NextLicenceLine(text, &position, line)) {
        EXPECT_LT(strlen(line), static_cast<size_t>(LicenceItemSize));
        joined += "[" + std::string(line) + "]";
    }
    return joined;
}

TEST(LicenceLines, OneItemPerCarriageReturnEmptyLinesIncluded)
{
    EXPECT_EQ(Lines("one\r\ntwo\r\n"), "[one][two]");
    EXPECT_EQ(Lines("one\r\n\r\n\r\nfour\r\n"), "[one][][][four]");
    EXPECT_EQ(Lines("\r\n"), "[]");
    EXPECT_EQ(Lines(""), "");
}

TEST(LicenceLines, TextAfterTheLastCarriageReturnIsNotALine)
{
    EXPECT_EQ(Lines("one\r\ntail"), "[one]");
    EXPECT_EQ(Lines("no line end"), "");
}

TEST(LicenceLines, OnlyOneLineFeedIsSkippedAndABareCarriageReturnEndsALine)
{
    EXPECT_EQ(Lines("a\r\n\nb\r\n"), "[a][\nb]");
    EXPECT_EQ(Lines("a\rb\r"), "[a][b]");
}

TEST(LicenceLines, OverlongLinesContinueInTheNextItemWithoutSplittingACharacter)
{
    // 258 ASCII bytes, then a double-byte character that would end at 260.
    std::string text(258, 'x');
    text += "\xD6\xD0";
    text += "yz\r\n";
    char line[LicenceItemSize];
    size_t position = 0;
    ASSERT_EQ(NextLicenceLine(text.c_str(), &position, line), 1);
    EXPECT_EQ(std::string(line), std::string(258, 'x'));
    ASSERT_EQ(NextLicenceLine(text.c_str(), &position, line), 1);
    EXPECT_STREQ(line, "\xD6\xD0yz");
    EXPECT_EQ(NextLicenceLine(text.c_str(), &position, line), 0);

    std::string ascii(600, 'a');
    ascii += "\r\n";
    EXPECT_EQ(Lines(ascii.c_str()), "[" + std::string(259, 'a') + "][" + std::string(259, 'a') + "][" +
                                        std::string(82, 'a') + "]");
}

TEST(Paths, TrailingBackslashIsFoundByCharacterNotByByte)
{
    EXPECT_EQ(EndsWithBackslash("C:\\", 1252), 1);
    EXPECT_EQ(EndsWithBackslash("C:\\Tarvo", 1252), 0);
    EXPECT_EQ(EndsWithBackslash("", 1252), 0);
    // In GBK 0x81 0x5C is one character whose second byte is a backslash.
    EXPECT_EQ(EndsWithBackslash("C:\\\x81\x5C", 936), 0);
    EXPECT_EQ(EndsWithBackslash("C:\\\x81\x5C\\", 936), 1);
    EXPECT_EQ(EndsWithBackslash("C:\\\x81\x5C", 1252), 1);

    char path[MAX_PATH] = "D:\\Apps\\\\";
    StripTrailingBackslashes(path, 1252);
    EXPECT_STREQ(path, "D:\\Apps");
    char gbk[MAX_PATH] = "D:\\\x81\x5C";
    StripTrailingBackslashes(gbk, 936);
    EXPECT_STREQ(gbk, "D:\\\x81\x5C");
}

// What the install trigger takes before anything is written: a full path,
// a drive's root or a share included, that leaves room behind it for the
// manifest's longest name, "TarvoInputEngineGuide.chm" (25 characters).
TEST(Paths, DestinationIsAFullPathWithRoomForEveryFile)
{
    for (const char* usable : {"C:\\Tarvo", "d:\\", "C:\\Tarvo\\", "\\\\server\\share",
                               "\\\\server\\share\\Tarvo"})
        EXPECT_EQ(CheckDestination(usable, 1252), DestinationUsable) << usable;
    for (const char* relative : {"", "Tarvo", "Tarvo\\doc", "C:Tarvo", "C:", "\\Tarvo", "1:\\Tarvo",
                                 "\\\\server", "\\\\server\\", "\\\\\\share"})
        EXPECT_EQ(CheckDestination(relative, 1252), DestinationNotFullPath) << relative;
    // In GBK 0x81 0x5C is one character: the server name has no share after it.
    EXPECT_EQ(CheckDestination("\\\\srv\x81\\", 936), DestinationNotFullPath);
    EXPECT_EQ(CheckDestination("\\\\srv\x81\\\\share", 936), DestinationUsable);

    const std::string longest = "C:\\" + std::string(230, 'd');   // 233 + 1 + 25 = 259
    EXPECT_EQ(CheckDestination(longest.c_str(), 1252), DestinationUsable);
    EXPECT_EQ(CheckDestination((longest + "\\\\").c_str(), 1252), DestinationUsable);
    EXPECT_EQ(CheckDestination((longest + "d").c_str(), 1252), DestinationTooLong);
    EXPECT_EQ(CheckDestination(("C:\\" + std::string(400, 'd')).c_str(), 1252), DestinationTooLong);
}

// A destination as the system reads it: blanks around the text and blanks
// and dots at the end of every name go, the last name's too; a name of
// nothing else is refused but the last, which goes, and "..". A drive's own
// folder ("C:Tarvo") never becomes the root's.
TEST(Paths, DestinationLosesWhatTheSystemWouldDrop)
{
    const char* const tidied[][2] = {
        {"C:\\Tarvo ", "C:\\Tarvo"},          {"  C:\\Tarvo.", "C:\\Tarvo"},
        {"C:\\My Apps \\Tarvo. .", "C:\\My Apps\\Tarvo"}, {"C:\\a.b\\", "C:\\a.b\\"},
        {"C:\\Tarvo .\\", "C:\\Tarvo\\"},     {"\\\\server \\share\\x", "\\\\server\\share\\x"},
        {"D:\\Programs\\ ", "D:\\Programs\\"}, {"C:\\Tarvo\\. .", "C:\\Tarvo\\"},
    };
    for (const auto& row : tidied) {
        char path[MAX_PATH];
        strcpy(path, row[0]);
        EXPECT_EQ(TidyDestination(path, 1252), 1) << row[0];
        EXPECT_STREQ(path, row[1]) << row[0];
    }
    for (const char* refused : {"C:\\ \\Tarvo", "C:\\..\\Tarvo", "C:\\Tarvo\\..", "C:\\. .\\x"}) {
        char path[MAX_PATH];
        strcpy(path, refused);
        EXPECT_EQ(TidyDestination(path, 1252), 0) << refused;
    }
    for (const char* relative : {"C:Tarvo", "C: \\Tarvo", "C:.\\Tarvo", "D: \\"}) {
        char path[MAX_PATH];
        strcpy(path, relative);
        EXPECT_TRUE(!TidyDestination(path, 1252) || CheckDestination(path, 1252) == DestinationNotFullPath)
            << relative << " became " << path;
    }
    // 0x81 0x5C is one GBK character: its trail byte ends no name.
    char gbk[MAX_PATH] = "C:\\\x81\x5C. \\Tarvo";
    EXPECT_EQ(TidyDestination(gbk, 936), 1);
    EXPECT_STREQ(gbk, "C:\\\x81\x5C\\Tarvo");
}

TEST(Paths, DefaultDestinationTakesTheDriveOfTheWindowsFolder)
{
    char out[MAX_PATH];
    ASSERT_EQ(DefaultDestination("C:\\windows\\", "Tarvo", out), 1);
    EXPECT_STREQ(out, "C:\\Tarvo");
    ASSERT_EQ(DefaultDestination("E:\\WINNT\\", "Tarvo", out), 1);
    EXPECT_STREQ(out, "E:\\Tarvo");
}

TEST(Paths, DocFolderHasNoDoubledBackslash)
{
    char out[MAX_PATH];
    ASSERT_EQ(DocFolderOf("C:\\Tarvo", 1252, out), 1);
    EXPECT_STREQ(out, "C:\\Tarvo\\doc");
    ASSERT_EQ(DocFolderOf("C:\\Tarvo\\", 1252, out), 1);
    EXPECT_STREQ(out, "C:\\Tarvo\\doc");
    ASSERT_EQ(DocFolderOf("C:\\\x81\x5C", 936, out), 1);
    EXPECT_STREQ(out, "C:\\\x81\x5C\\doc");

    std::string longest(MAX_PATH - 5, 'a');    // + "\doc" = 259 bytes: fits
    ASSERT_EQ(DocFolderOf(longest.c_str(), 1252, out), 1);
    EXPECT_EQ(strlen(out), static_cast<size_t>(MAX_PATH - 1));
    std::string tooLong(MAX_PATH - 4, 'a');
    out[0] = 0;
    EXPECT_EQ(DocFolderOf(tooLong.c_str(), 1252, out), 0);
}

TEST(Paths, BrowsedFolderLosesOneTrailingBackslashAndGainsTheFolderName)
{
    struct Case { const char* open; const char* chosen; const char* edit; };
    const Case cases[] = {
        {"D:\\Apps", "D:\\Apps", "D:\\Apps\\Tarvo"},
        {"D:\\", "D:", "D:\\Tarvo"},
        {"\\\\server\\share\\", "\\\\server\\share", "\\\\server\\share\\Tarvo"},
    };
    for (const Case& c : cases) {
        char chosen[MAX_PATH];
        char edit[MAX_PATH];
        ASSERT_EQ(ChosenFolderOf(c.open, 1252, chosen), 1) << c.open;
        EXPECT_STREQ(chosen, c.chosen);
        ASSERT_EQ(ComposeDestination(chosen, "Tarvo", edit), 1) << c.open;
        EXPECT_STREQ(edit, c.edit);
    }
}

// The classic dialog (76-byte request, no Explorer look) over template 168,
// asked for long names: without OFN_LONGNAMES the classic dialog of Windows
// 95 and later lists "Program Files" as PROGRA~1, which Wine does not show.
TEST(FolderBrowser, RequestsTheClassicDialogWithLongNames)
{
    char file[MAX_PATH] = "";
    const OPENFILENAMEA request = BrowserRequest(nullptr, file);
    if (sizeof(void*) == 4) {
        EXPECT_EQ(request.lStructSize, 76u);
    }
    EXPECT_EQ(request.Flags, 0x86Cu | OFN_LONGNAMES);
    EXPECT_EQ(request.Flags & OFN_EXPLORER, 0u);
    EXPECT_EQ(request.lpTemplateName, MAKEINTRESOURCEA(168));
    EXPECT_EQ(request.lpfnHook, FolderBrowserHook);
}

TEST(Paths, AFolderTooLongForTheDestinationIsRefusedAndTheOutputUntouched)
{
    char edit[MAX_PATH] = "unchanged";
    std::string fits(MAX_PATH - 7, 'f');        // + "\Tarvo" = 259 bytes
    ASSERT_EQ(ComposeDestination(fits.c_str(), "Tarvo", edit), 1);
    EXPECT_EQ(strlen(edit), static_cast<size_t>(MAX_PATH - 1));

    strcpy(edit, "unchanged");
    std::string tooLong(MAX_PATH - 6, 'f');
    EXPECT_EQ(ComposeDestination(tooLong.c_str(), "Tarvo", edit), 0);
    EXPECT_STREQ(edit, "unchanged");
}

TEST(Tables, EveryPageControlBelongsToExactlyOnePageRow)
{
    int rows = 0;
    int seen[64] = {};
    int count = 0;
    for (; PageTable[rows][0] != 0; ++rows) {
        int ids = 0;
        while (ids < PageRowSize && PageTable[rows][ids] != 0) {
            for (int i = 0; i < count; ++i)
                EXPECT_NE(seen[i], PageTable[rows][ids]) << "in two rows";
            seen[count++] = PageTable[rows][ids];
            ++ids;
        }
        EXPECT_LT(ids, PageRowSize) << "row " << rows << " must end with 0";
    }
    EXPECT_EQ(rows, 4);
    // The navigation buttons and the progress bar stand in no row.
    for (int id : {3, 1001, 2, 1026, 1021})
        for (int i = 0; i < count; ++i)
            EXPECT_NE(seen[i], id);
}

TEST(Tables, LanguageIdsAreTheConfigurationValuesAndTextsAreGbk)
{
    ASSERT_EQ(sizeof LanguageList / sizeof LanguageList[0], 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(LanguageList[i].Id, i);
    // 英 is D3 A2 in GBK; two blanks precede the Chinese of the second entry.
    EXPECT_STREQ(LanguageList[0].Text, "English \xD3\xA2\xCE\xC4");
    EXPECT_EQ(strncmp(LanguageList[1].Text, "Chinese(Simplified)  \xD6\xD0", 23), 0);
    EXPECT_EQ(strncmp(LanguageList[2].Text, "Chinese(Traditional) \xD6\xD0", 23), 0);
}

} // namespace
