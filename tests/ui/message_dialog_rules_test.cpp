// The message dialog's pure parts: its layout, the middle cut of a long
// Chinese text, which commands close it, and the English copy.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/message_dialog.h"

namespace {

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
    // Retry is what Enter presses, unless the focus stands on Cancel.
    EXPECT_EQ(4, MessageCommandResult(MB_RETRYCANCEL, 4, 0));
    EXPECT_EQ(4, MessageCommandResult(MB_RETRYCANCEL, 1, 0));
    EXPECT_EQ(2, MessageCommandResult(MB_RETRYCANCEL, 1, 2));
    EXPECT_EQ(0, MessageCommandResult(MB_RETRYCANCEL, 6, 0));
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
