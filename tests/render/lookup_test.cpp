// The arithmetic of the renderer and the painter: glyph lookup, caption
// placement, check-box geometry and the message dialog's layout.
#include <gtest/gtest.h>

#include <cstring>

#include "render/atlas.h"
#include "resources/resource_ids.h"
#include "ui/message_dialog.h"
#include "ui/owner_draw.h"

namespace {

struct Expected {
    unsigned Code;
    int Plane, X, Y;
};

int CellOf(const GlyphLocation& g)
{
    return g.Plane * 1888 + (g.Y / 16) * 32 + g.X / 16;
}

TEST(LookupGlyph, WorkedExamples)
{
    const Expected table[] = {
        {0xA1A1, 0, 0, 0},     {0xA1A2, 0, 16, 0},    {0xA1B6, 0, 336, 0},
        {0xA3BA, 0, 336, 96},  {0xA3C1, 0, 448, 96},  {0xA6A4, 0, 400, 224},
        {0xA8A1, 0, 288, 320}, {0xB0A1, 0, 288, 320}, {0xB0B2, 0, 48, 336},
        {0xBABA, 0, 368, 800}, {0xCEC4, 1, 400, 800}, {0xD6D0, 2, 336, 240},
        {0xD7B0, 2, 304, 272}, {0xF7FE, 3, 16, 880},  {0xE946, 3, 0, 896},
        {0xA9A4, 3, 16, 896},  {0x8140, 3, 496, 160}, {0xA100, 3, 496, 656},
        {0xBDA8, 0, 496, 928}, {0xBDA9, 1, 0, 0},
    };
    for (const Expected& e : table) {
        GlyphLocation g{-1, -1, -1};
        EXPECT_EQ(1, LookupGlyph(e.Code, &g));
        EXPECT_EQ(e.Plane, g.Plane) << std::hex << e.Code;
        EXPECT_EQ(e.X, g.X) << std::hex << e.Code;
        EXPECT_EQ(e.Y, g.Y) << std::hex << e.Code;
    }
}

TEST(LookupGlyph, RowsMapOntoTheirCells)
{
    // Rows 1-7 from cell 0, the hanzi from cell 658, 94 cells per row.
    for (unsigned lead = 0xA1; lead <= 0xA7; ++lead)
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            GlyphLocation g;
            LookupGlyph(lead * 256 + trail, &g);
            if (lead * 256 + trail == 0xA9A4)
                continue;
            EXPECT_EQ(static_cast<int>(94 * (lead - 0xA1) + trail - 0xA1), CellOf(g));
        }
    for (unsigned lead = 0xB0; lead <= 0xF7; ++lead)
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            GlyphLocation g;
            LookupGlyph(lead * 256 + trail, &g);
            ASSERT_EQ(static_cast<int>(658 + 94 * (lead - 0xB0) + trail - 0xA1), CellOf(g))
                << std::hex << lead * 256 + trail;
        }
    // The undefined end of row 55 stays on its blank cells.
    for (unsigned code = 0xD7FA; code <= 0xD7FE; ++code) {
        GlyphLocation g;
        LookupGlyph(code, &g);
        EXPECT_EQ(static_cast<int>(4413 + code - 0xD7FA), CellOf(g));
        EXPECT_EQ(2, g.Plane);
    }
}

TEST(LookupGlyph, RowsEightToFifteenBorrowHanziCells)
{
    GlyphLocation a, b;
    LookupGlyph(0xA9A5, &a);
    LookupGlyph(0xB1A5, &b);
    EXPECT_EQ(CellOf(b), CellOf(a));
    for (unsigned code = 0xA8A1; code <= 0xAFFE; code += 0x35) {
        if ((code & 0xFF) < 0xA1 || (code & 0xFF) == 0xFF || code == 0xA9A4)
            continue;
        LookupGlyph(code, &a);
        LookupGlyph(code + 0x0800, &b);
        EXPECT_EQ(CellOf(b), CellOf(a)) << std::hex << code;
    }
}

TEST(LookupGlyph, EveryCodeStaysInsideTheAtlas)
{
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        GlyphLocation g{-1, -1, -1};
        ASSERT_EQ(1, LookupGlyph(code, &g));
        ASSERT_TRUE(g.Plane >= 0 && g.Plane <= 3) << std::hex << code;
        ASSERT_TRUE(g.X >= 0 && g.X <= 496 && g.X % 16 == 0) << std::hex << code;
        ASSERT_TRUE(g.Y >= 0 && g.Y <= 928 && g.Y % 16 == 0) << std::hex << code;
    }
    // Only the low 16 bits of the code count.
    GlyphLocation high, low;
    LookupGlyph(0x1D6D0, &high);
    LookupGlyph(0xD6D0, &low);
    EXPECT_EQ(CellOf(low), CellOf(high));
}

TEST(CaptionPlacement, CentredPressedAndWide)
{
    const RECT button{10, 20, 130, 44};  // 120 x 24
    POINT at = CaptionOrigin(button, SIZE{74, 16}, 1, 0);
    EXPECT_EQ(10 + 23, at.x);
    EXPECT_EQ(20 + 4, at.y);
    at = CaptionOrigin(button, SIZE{74, 16}, 1, 1);
    EXPECT_EQ(10 + 25, at.x);
    EXPECT_EQ(20 + 5, at.y);
    at = CaptionOrigin(button, SIZE{75, 16}, 1, 0);
    EXPECT_EQ(10 + 22, at.x);
    at = CaptionOrigin(button, SIZE{75, 16}, 0, 0);
    EXPECT_EQ(10, at.x);
    // Wider than the control: truncation toward zero, starts left of it.
    at = CaptionOrigin(RECT{0, 0, 20, 10}, SIZE{25, 16}, 1, 0);
    EXPECT_EQ(-2, at.x);
    EXPECT_EQ(-3, at.y);
}

TEST(CaptionPlacement, FocusRectangle)
{
    const RECT focus = ButtonFocusRect(RECT{5, 7, 105, 27});  // 100 x 20
    EXPECT_EQ(15, focus.left);
    EXPECT_EQ(9, focus.top);
    EXPECT_EQ(95, focus.right);
    EXPECT_EQ(25, focus.bottom);
}

TEST(CheckBoxGeometry, WorkedExample)
{
    const CheckBoxGeometry g = CheckBoxLayout(300, 26);
    EXPECT_EQ(-2, g.Fill.left);
    EXPECT_EQ(-2, g.Fill.top);
    EXPECT_EQ(302, g.Fill.right);
    EXPECT_EQ(28, g.Fill.bottom);
    EXPECT_EQ(2, g.Box.left);
    EXPECT_EQ(4, g.Box.top);
    EXPECT_EQ(17, g.Box.right);
    EXPECT_EQ(18, g.Box.bottom);
    EXPECT_EQ(32, g.Caption.x);
    EXPECT_EQ(1, g.Caption.y);
    const RECT focus = CheckBoxFocusRect(g.Caption, SIZE{200, 16});
    EXPECT_EQ(31, focus.left);
    EXPECT_EQ(0, focus.top);
    EXPECT_EQ(235, focus.right);
    EXPECT_EQ(19, focus.bottom);
}

TEST(CaptionTable, PlacementAndSources)
{
    const CaptionTable& wizard = WizardCaptions;
    const CaptionTable& message = MessageCaptions;
    const CaptionTable& browser = BrowserCaptions;
    // Left-aligned labels; everything else is centred.
    for (int id : {IDC_PATH_LABEL, IDC_WAIT_LABEL})
        EXPECT_FALSE(OwnerCaptionFor(wizard, id).Centred) << id;
    for (int id : {IDC_BROWSER_DIRS_LABEL, IDC_BROWSER_DRIVES_LABEL})
        EXPECT_FALSE(OwnerCaptionFor(browser, id).Centred) << id;
    for (int id : {IDCANCEL, IDC_BACK, IDC_NEXT, IDC_BROWSE, IDC_TITLE_LINE1, IDC_TITLE_LINE2,
                   IDC_TITLE_LINE3, IDC_DISPLAY_QUESTION, IDC_SAMPLE_LINE, IDC_LANGUAGE_LABEL, 4242})
        EXPECT_TRUE(OwnerCaptionFor(wizard, id).Centred) << id;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDC_MSG_CHINESE})
        EXPECT_TRUE(OwnerCaptionFor(message, id).Centred) << id;
    for (int id : {IDCANCEL, IDC_BACK, IDC_NEXT, IDC_BROWSE, 4242})
        EXPECT_TRUE(OwnerCaptionFor(wizard, id).Frame) << id;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
        EXPECT_TRUE(OwnerCaptionFor(message, id).Frame) << id;
    for (int id : {IDC_PATH_LABEL, IDC_TITLE_LINE1, IDC_DISPLAY_QUESTION, IDC_SAMPLE_LINE,
                   IDC_WAIT_LABEL, IDC_LANGUAGE_LABEL})
        EXPECT_FALSE(OwnerCaptionFor(wizard, id).Frame) << id;
    EXPECT_FALSE(OwnerCaptionFor(message, IDC_MSG_CHINESE).Frame);
    EXPECT_EQ(CaptionWindowText, OwnerCaptionFor(message, IDC_MSG_CHINESE).Source);
    EXPECT_EQ(CaptionWindowText, OwnerCaptionFor(wizard, 4242).Source);
    EXPECT_EQ(CaptionNothing, OwnerCaptionFor(wizard, IDC_LEFT_LABEL).Source);
    EXPECT_EQ(CaptionEmpty, OwnerCaptionFor(wizard, IDC_WAIT_LABEL).Source);
    EXPECT_EQ(CaptionSampleLine, OwnerCaptionFor(wizard, IDC_SAMPLE_LINE).Source);
    // The texts are GBK bytes: 确 is C8 B7, 日 C8 D5.
    EXPECT_STREQ("\xC8\xB7\xC8\xCF OK", OwnerCaptionFor(message, IDOK).Text);
    EXPECT_EQ(14, static_cast<int>(std::strlen(OwnerCaptionFor(wizard, IDC_SAMPLE_LINE).Text)));
    EXPECT_EQ(0, std::memcmp("\xC8\xD5", OwnerCaptionFor(wizard, IDC_SAMPLE_LINE).Text, 2));
    // Only the wizard has a default button, and an id means one thing per table.
    EXPECT_EQ(IDC_NEXT, wizard.DefaultButton);
    EXPECT_EQ(0, message.DefaultButton + browser.DefaultButton);
    EXPECT_STREQ("\xB4\xC5\xC5\xCC (Drives):", OwnerCaptionFor(browser, IDC_BROWSER_DRIVES_LABEL).Text);
    EXPECT_EQ(CaptionWindowText, OwnerCaptionFor(wizard, IDC_ENGLISH_LICENCE).Source);
}

TEST(CaptionTable, NextButtonFollowsWizardState)
{
    for (int state : {-1, 0, 1, 2})
        EXPECT_STREQ("\xCF\xC2\xD2\xBB\xB2\xBD Next", NextButtonCaption(state)) << state;
    for (int state : {3, 99})
        EXPECT_NE(nullptr, std::strstr(NextButtonCaption(state), "Agree/Install")) << state;
    EXPECT_NE(nullptr, std::strstr(CheckBoxCaptionFor(1004), "  (Place an icon on Desktop)"));
    EXPECT_NE(nullptr, std::strstr(CheckBoxCaptionFor(1008), "(NO)"));
    EXPECT_EQ(nullptr, CheckBoxCaptionFor(1010));
}

TEST(ControlText, NeverEndsInHalfACharacter)
{
    EXPECT_EQ(2, WholeCharacterLength("ab\xD6\xD0", 3));
    EXPECT_EQ(4, WholeCharacterLength("ab\xD6\xD0", 4));
    EXPECT_EQ(0, WholeCharacterLength("\xD6", 1));
    EXPECT_EQ(1, WholeCharacterLength("a\x80" "A", 2));
    EXPECT_EQ(3, WholeCharacterLength("a\x80" "A", 3));
}

MessageLayoutInput Metrics(int tw, int ew, int eh, int bytes, int kind)
{
    MessageLayoutInput in = {};
    in.ChineseWidth = tw;
    in.ChineseHeight = 16;
    in.EnglishWidth = ew;
    in.EnglishHeight = eh;
    in.ButtonWidth = 110;
    in.ButtonHeight = 29;
    in.ChineseBytes = bytes;
    in.Kind = kind;
    in.DialogFrameX = 3;
    in.ScreenWidth = 1024;
    in.ScreenHeight = 768;
    in.CaptionHeight = 19;
    in.WorkArea = RECT{0, 0, 1024, 738};
    return in;
}

TEST(MessageLayout, OkKindShortText)
{
    const MessageLayout l = ComputeMessageLayout(Metrics(176, 250, 16, 22, MB_OK));
    EXPECT_EQ(250 + 6 + 58, l.ContentWidth);
    EXPECT_EQ(3 * (16 + 29) + 32, l.ContentHeight);
    EXPECT_EQ(220, l.MinimumWidth);
    EXPECT_EQ((1024 - 314) / 2, l.Left);
    EXPECT_EQ((768 - 167) / 2, l.Top);
    EXPECT_EQ(314, l.Width);
    EXPECT_EQ(167 + 19, l.Height);
    EXPECT_EQ(IDOK, l.FirstId);
    EXPECT_EQ(0, l.SecondId);
    EXPECT_EQ((314 - 110) / 2, l.First.x);
    EXPECT_EQ(167 - 58, l.First.y);
    EXPECT_EQ(10, l.ChineseTop);
    EXPECT_EQ(48, l.ChineseHeight);
    EXPECT_EQ(63, l.EnglishTop);
    EXPECT_EQ(32, l.EnglishHeight);
}

TEST(MessageLayout, EightyOneByteRule)
{
    EXPECT_EQ(500 + 6 + 58, ComputeMessageLayout(Metrics(500, 0, 0, 80, MB_OK)).ContentWidth);
    EXPECT_EQ(500 + 6, ComputeMessageLayout(Metrics(500, 0, 0, 81, MB_OK)).ContentWidth);
}

TEST(MessageLayout, TwoButtonsAndNarrowTexts)
{
    // Yes/No with no English: X below the minimum 3 W; the window is M wide
    // but centring and buttons follow X.
    const MessageLayout l = ComputeMessageLayout(Metrics(32, 0, 0, 4, MB_YESNO));
    EXPECT_EQ(32 + 6 + 58, l.ContentWidth);
    EXPECT_EQ(330, l.MinimumWidth);
    EXPECT_EQ(330, l.Width);
    EXPECT_EQ((1024 - 96) / 2, l.Left);
    EXPECT_EQ(3 * 45, l.ContentHeight);
    EXPECT_EQ(IDYES, l.FirstId);
    EXPECT_EQ(IDNO, l.SecondId);
    const int x1 = (96 - 7 * 110 / 3) / 2;  // negative: truncation toward zero
    EXPECT_EQ(x1, l.First.x);
    EXPECT_EQ(x1 + 4 * 110 / 3, l.Second.x);
    EXPECT_EQ(135 - 3 * 29 / 2, l.First.y);
    EXPECT_EQ(l.First.y, l.Second.y);
    EXPECT_EQ(0, l.EnglishHeight);
    const MessageLayout other = ComputeMessageLayout(Metrics(32, 0, 0, 4, MB_OKCANCEL));
    EXPECT_EQ(IDOK, other.FirstId);
    EXPECT_EQ(IDCANCEL, other.SecondId);
    EXPECT_EQ(IDCANCEL, ComputeMessageLayout(Metrics(32, 0, 0, 4, 77)).SecondId);
}

TEST(MessageLayout, TextsWiderThanTheScreenStayInsideTheWorkArea)
{
    // The work area leaves 100 pixels on the left to a task bar.
    MessageLayoutInput in = Metrics(0, 0, 16, 150, MB_OK);
    in.WorkArea = RECT{100, 0, 1024, 738};
    const int room = MessageTextRoom(in);
    EXPECT_EQ(924 - 6, room);
    // The caller narrows both texts to the room; the window then fills the
    // work area's width exactly.
    in.ChineseWidth = room;
    in.EnglishWidth = room;
    const MessageLayout l = ComputeMessageLayout(in);
    EXPECT_EQ(924, l.ContentWidth);
    EXPECT_EQ(100, l.Left);
    EXPECT_EQ(924, l.Width);
    EXPECT_EQ((924 - 110) / 2, l.First.x);
    // A shortened text under 81 bytes gets its extra 2 H only within the room.
    in.ChineseBytes = 60;
    EXPECT_EQ(924, ComputeMessageLayout(in).ContentWidth);
}

TEST(MessageLayout, CutInMiddleKeepsBothEndsAndWholeCharacters)
{
    // A folder message in small: 安, a path in brackets with 装 in it (GBK
    // B0B2 and D7B0).
    const char* text = "\xB0\xB2(C:\\folder\\deeper\\\xD7\xB0)!";
    char out[64];
    EXPECT_EQ(11 + 3 + 11, CutInMiddle(text, 22, out, sizeof out));
    EXPECT_STREQ("\xB0\xB2(C:\\folde...deeper\\\xD7\xB0)!", out);
    // A cut through 装 or 安 leaves out the whole character.
    EXPECT_EQ(3 + 3 + 2, CutInMiddle(text, 6, out, sizeof out));
    EXPECT_STREQ("\xB0\xB2(...)!", out);
    EXPECT_EQ(0 + 3 + 2, CutInMiddle(text, 3, out, sizeof out));
    EXPECT_STREQ("...)!", out);
    // A small buffer bounds the result; no room at all gives nothing.
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(2 + 3 + 2, CutInMiddle(text, 24, out, 9));
    EXPECT_STREQ("\xB0\xB2...)!", out);
    EXPECT_EQ('#', out[8]);
    EXPECT_EQ(0, CutInMiddle(text, 24, out, 3));
    EXPECT_STREQ("", out);
    // Keeping more than the text has reads nothing past it and repeats nothing.
    EXPECT_EQ(2, CutInMiddle("ab", 4, out, sizeof out));
    EXPECT_STREQ("ab", out);
    EXPECT_EQ(0, CutInMiddle("", 4, out, sizeof out));
    EXPECT_STREQ("", out);
}

TEST(MessageDialogCommands, OnlyShownButtonsAndEscapeClose)
{
    EXPECT_EQ(1, MessageCommandResult(MB_OK, 1, 0));
    EXPECT_EQ(2, MessageCommandResult(MB_OK, 2, 0));
    EXPECT_EQ(6, MessageCommandResult(MB_YESNO, 6, 0));
    EXPECT_EQ(7, MessageCommandResult(MB_YESNO, 7, 0));
    EXPECT_EQ(2, MessageCommandResult(MB_YESNO, 2, 0));
    // Enter (IDOK) in a question presses the focused button, and nothing else.
    EXPECT_EQ(0, MessageCommandResult(MB_YESNO, 1, 0));
    EXPECT_EQ(6, MessageCommandResult(MB_YESNO, 1, 6));
    EXPECT_EQ(7, MessageCommandResult(MB_YESNO, 1, 7));
    EXPECT_EQ(0, MessageCommandResult(MB_YESNO, 4, 7));
    EXPECT_EQ(1, MessageCommandResult(MB_OKCANCEL, 1, 0));
    EXPECT_EQ(2, MessageCommandResult(MB_OKCANCEL, 2, 0));
    for (int kind : {MB_OK, MB_YESNO, MB_OKCANCEL})
        for (int id : {3, 4, 5, 1013, 1028, 0})
            EXPECT_EQ(0, MessageCommandResult(kind, id, 0)) << kind << " " << id;
}

TEST(MessageDialogEnglish, CutAt127WithoutOverflow)
{
    char longText[300];
    std::memset(longText, 'e', sizeof longText - 1);
    longText[sizeof longText - 1] = '\0';
    char out[128 + 8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(127, CopyEnglishText(out, 128, longText));
    EXPECT_EQ('\0', out[127]);
    EXPECT_EQ('#', out[128]);  // nothing written past the 128-byte copy
    EXPECT_EQ(0, CopyEnglishText(out, 128, nullptr));
    EXPECT_STREQ("", out);
    EXPECT_EQ(5, CopyEnglishText(out, 128, "Hello"));
    EXPECT_STREQ("Hello", out);
}

}  // namespace
