// The painter's arithmetic and tables: caption placement, check-box
// geometry, the caption tables, window texts cut between characters, and
// the English part of a caption.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resources/resource_ids.h"
#include "ui/control_text.h"
#include "ui/owner_draw.h"

namespace {

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
    EXPECT_NE(nullptr, std::strstr(CheckBoxCaptionFor(1004)->Text, "  (Place an icon on Desktop)"));
    EXPECT_NE(nullptr, std::strstr(CheckBoxCaptionFor(1008)->Text, "(NO)"));
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

// The access key stands on its letter's first single-byte occurrence, in
// the English part; the message box's buttons (one or two at a time, the
// wizard's pages are walked end to end) have keys in their captions, each
// its own.
TEST(ControlText, AccessKeysMarkTheirLetters)
{
    char out[64];
    MarkAccessKey("改变 Browse ....", 'R', out, sizeof out);
    EXPECT_STREQ(out, "改变 B&rowse ....");
    MarkAccessKey("\xB0\x61 a", 'A', out, sizeof out);    // 0x61 is "a" as a trail byte
    EXPECT_STREQ(out, "\xB0\x61 &a");
    MarkAccessKey("取消 Cancel", 'Z', out, sizeof out);
    EXPECT_STREQ(out, "取消 Cancel");
    MarkAccessKey("取消 Cancel", 'C', out, 7);    // no room for the letter after its mark
    EXPECT_STREQ(out, "取消 ");
    std::string keys;
    for (size_t i = 0; i < MessageCaptions.Count; ++i) {
        const OwnerCaption& row = MessageCaptions.Rows[i];
        if (!row.Frame) continue;
        EXPECT_GE(AccessKeyIndex(row.Text, row.AccessKey), 0) << row.Id;
        EXPECT_EQ(keys.find(row.AccessKey), std::string::npos) << row.Id;
        keys += row.AccessKey;
    }
}

// The 9x family's window texts: shipped captions are read through whole
// runs (systems.accessibility); here the cut at the buffer and a lone lead
// byte, which no shipped caption has.
TEST(ControlText, EnglishPartStopsAtTheBufferAndAtALoneLeadByte)
{
    char out[6] = "#####";
    EXPECT_EQ(5, EnglishPart("同意/安装 Agree/Install", out, sizeof out));
    EXPECT_STREQ("Agree", out);
    EXPECT_EQ(3, EnglishPart(" a  b\xD6", out, sizeof out));
    EXPECT_STREQ("a b", out);
    EXPECT_EQ(0, EnglishPart("Agree", out, 0));
    EXPECT_STREQ("a b", out);   // no room: nothing written
}

}  // namespace
