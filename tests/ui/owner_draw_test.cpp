// The painter's wiring, checked in pixels with the shipped atlas: caption
// positions, frames, focus rectangles, list items and check boxes.
#include <gtest/gtest.h>

#include <cstring>

#include "render/atlas.h"
#include "render/mixed_text.h"
#include "shell/process_state.h"
#include "test_support.h"
#include "ui/owner_draw.h"
#include "ui/wizard.h"

namespace {

constexpr COLORREF Magenta = RGB(255, 0, 255);

class PainterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The program's environment has loaded the atlas from resource 110.
        ASSERT_NE(nullptr, GlyphPlaneContext(0));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = AppInstance;
        wc.lpszClassName = "PainterTestParent";
        RegisterClassA(&wc);
        Parent = CreateWindowExA(0, "PainterTestParent", "painter", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                                 nullptr, AppInstance, nullptr);
        for (int id : {1, 2, 1001, 1012, 1013, 1020, 1021})
            CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, 0, 0, 1, 1, Parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr);
        // Strings that are not the items' texts: the painter must take those
        // from the item data.
        HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 10,
                                     100, Parent, reinterpret_cast<HMENU>(1031), AppInstance, nullptr);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("??"));
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("??"));
        HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_OWNERDRAWFIXED, 0, 0, 10, 100, Parent,
                                    reinterpret_cast<HMENU>(1019), AppInstance, nullptr);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("条款"));
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(Parent);
    }
    static HWND Parent;
};

HWND PainterTest::Parent;

// Pixels of the cell of code at (x0, y0) that are not ink/paper as the atlas says.
int GlyphMismatches(const Canvas& c, int x0, int y0, unsigned code, COLORREF ink, COLORREF paper)
{
    if (x0 < 0 || y0 < 0 || x0 + 16 > c.Width || y0 + 16 > c.Height)
        return -2;
    GlyphLocation g;
    LookupGlyph(code, &g);
    HDC plane = GlyphPlaneContext(g.Plane);
    int wrong = 0, inked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool isInk = GetPixel(plane, g.X + x, g.Y + y) == RGB(0, 0, 0);
            inked += isInk;
            wrong += c.Pixel(x0 + x, y0 + y) != (isInk ? ink : paper);
        }
    return inked ? wrong : -1;  // a blank cell would prove nothing
}

DRAWITEMSTRUCT Item(HWND parent, int id, HDC dc, RECT r, UINT state, UINT action = ODA_DRAWENTIRE)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.itemAction = action;
    item.itemState = state;
    item.hwndItem = GetDlgItem(parent, id);
    item.hDC = dc;
    item.rcItem = r;
    return item;
}

TEST_F(PainterTest, CaptionsSitWhereTheArithmeticPutsThem)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Canvas c(200, 60, Magenta);
    const RECT r{10, 20, 130, 44};
    DRAWITEMSTRUCT item = Item(Parent, 1012, c.Dc, r, 0);
    DrawOwnerControl(&item, WizardCaptions);
    POINT at = CaptionOrigin(r, SIZE{64, 16}, 1, 0);
    EXPECT_EQ(38, at.x);
    EXPECT_EQ(0, GlyphMismatches(c, at.x, at.y, 0xB0B2, RGB(0, 0, 0), face));      // 安
    EXPECT_EQ(0, GlyphMismatches(c, at.x + 48, at.y, 0xD0F2, RGB(0, 0, 0), face)); // 序
    EXPECT_EQ(face, c.Pixel(r.left, r.top));        // no frame on a label
    EXPECT_EQ(Magenta, c.Pixel(r.right, r.top));    // nothing outside the item

    // A pressed push button: caption 2 right, 1 down, frame colours swapped.
    c.Fill(Magenta);
    item = Item(Parent, 1, c.Dc, r, ODS_SELECTED);
    DrawOwnerControl(&item, MessageCaptions);
    at = CaptionOrigin(r, MeasureMixedText(c.Dc, "确认 OK"), 1, 1);
    EXPECT_EQ(0, GlyphMismatches(c, at.x, at.y, 0xC8B7, RGB(0, 0, 0), face));      // 确
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), c.Pixel(r.left + 1, r.top + 5));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), c.Pixel(r.right - 2, r.top + 5));
}

TEST_F(PainterTest, FramesDefaultButtonAndLabelsWithoutPaint)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Canvas c(300, 40, Magenta);
    const RECT r{0, 0, 260, 28};
    WizardState = 3;
    DRAWITEMSTRUCT item = Item(Parent, 1001, c.Dc, r, 0);
    DrawOwnerControl(&item, WizardCaptions);
    WizardState = 0;
    EXPECT_EQ(RGB(0, 0, 0), c.Pixel(0, 10));        // outer outline
    EXPECT_EQ(RGB(0, 0, 0), c.Pixel(259, 10));
    EXPECT_EQ(RGB(0, 0, 0), c.Pixel(258, 10));      // inner right line
    EXPECT_EQ(RGB(0, 0, 0), c.Pixel(70, 26));       // inner bottom line
    EXPECT_EQ(RGB(0, 0, 0), c.Pixel(70, 0));
    // Its caption at state 3 starts with 同.
    const POINT at = CaptionOrigin(r, MeasureMixedText(c.Dc, NextButtonCaption(3)), 1, 0);
    EXPECT_EQ(0, GlyphMismatches(c, at.x, at.y, 0xCDAC, RGB(0, 0, 0), face));

    c.Fill(Magenta);
    item = Item(Parent, 2, c.Dc, r, 0);
    DrawOwnerControl(&item, WizardCaptions);
    EXPECT_EQ(face, c.Pixel(0, 10));                 // outer top/left stay face
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), c.Pixel(259, 10));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), c.Pixel(1, 10));

    // 1020 paints nothing, not even with the focus; 1021 only the face.
    c.Fill(Magenta);
    item = Item(Parent, 1020, c.Dc, r, ODS_FOCUS);
    DrawOwnerControl(&item, WizardCaptions);
    item = Item(Parent, 1021, c.Dc, RECT{0, 0, 0, 0}, 0);
    int notMagenta = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 300; ++x)
            notMagenta += c.Pixel(x, y) != Magenta;
    EXPECT_EQ(0, notMagenta);
    item = Item(Parent, 1021, c.Dc, r, 0);
    DrawOwnerControl(&item, WizardCaptions);
    int notFace = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 260; ++x)
            notFace += c.Pixel(x, y) != face;
    EXPECT_EQ(0, notFace);
}

// In the message box, which has no default frame: a focused Cancel of the
// wizard wears that too.
TEST_F(PainterTest, FocusRectangleAndFocusChanges)
{
    Canvas plain(120, 30, Magenta), focused(120, 30, Magenta);
    const RECT r{0, 0, 100, 20};
    DRAWITEMSTRUCT item = Item(Parent, 2, plain.Dc, r, 0);
    DrawOwnerControl(&item, MessageCaptions);
    item = Item(Parent, 2, focused.Dc, r, ODS_FOCUS);
    DrawOwnerControl(&item, MessageCaptions);
    const RECT f = ButtonFocusRect(r);   // (10, 2, 90, 18)
    int onOutline = 0, elsewhere = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            if (plain.Pixel(x, y) != focused.Pixel(x, y)) {
                const bool edge = ((y == f.top || y == f.bottom - 1) && x >= f.left && x < f.right) ||
                                  ((x == f.left || x == f.right - 1) && y >= f.top && y < f.bottom);
                (edge ? onOutline : elsewhere) += 1;
            }
    EXPECT_GT(onOutline, 40);
    EXPECT_EQ(0, elsewhere);

    // Losing the focus repaints the whole control: no trace of the rectangle.
    item = Item(Parent, 2, focused.Dc, r, 0, ODA_FOCUS);
    DrawOwnerControl(&item, MessageCaptions);
    int left = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            left += plain.Pixel(x, y) != focused.Pixel(x, y);
    EXPECT_EQ(0, left);
}

// The access key's underline is all that a hidden keyboard cue
// (ODS_NOACCEL, which Wine never sends) takes away: one row of ink.
TEST_F(PainterTest, AccessKeyUnderlineGoesWithHiddenCues)
{
    Canvas shown(120, 30, Magenta), hidden(120, 30, Magenta);
    const RECT r{0, 0, 100, 26};    // as tall as the wizard's buttons
    DRAWITEMSTRUCT item = Item(Parent, 2, shown.Dc, r, 0);
    DrawOwnerControl(&item, MessageCaptions);
    item = Item(Parent, 2, hidden.Dc, r, ODS_NOACCEL);
    DrawOwnerControl(&item, MessageCaptions);
    int row = -1, inRow = 0, elsewhere = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            if (shown.Pixel(x, y) == hidden.Pixel(x, y)) continue;
            if (row < 0) row = y;
            ++(y == row ? inRow : elsewhere);
        }
    EXPECT_GE(inRow, 3);
    EXPECT_EQ(0, elsewhere);
}

TEST_F(PainterTest, LongWindowTextIsDrawnWhole)
{
    // 60 characters, 120 bytes: beyond the 79 bytes a caption buffer holds.
    char text[200] = "";
    for (int i = 0; i < 59; ++i)
        std::strcat(text, "安");
    std::strcat(text, "完");
    HWND caption = GetDlgItem(Parent, 1013);
    SetWindowTextA(caption, text);
    Canvas c(1000, 30, Magenta);
    const RECT r{0, 0, 1000, 24};
    DRAWITEMSTRUCT item = Item(Parent, 1013, c.Dc, r, 0);
    DrawOwnerControl(&item, MessageCaptions);
    const POINT at = CaptionOrigin(r, SIZE{960, 16}, 1, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(0, GlyphMismatches(c, at.x, at.y, 0xB0B2, RGB(0, 0, 0), face));
    EXPECT_EQ(0, GlyphMismatches(c, at.x + 59 * 16, at.y, 0xCDEA, RGB(0, 0, 0), face));  // 完, the last
}

TEST_F(PainterTest, ReadControlTextNeverSplitsACharacter)
{
    HWND caption = GetDlgItem(Parent, 1013);
    SetWindowTextA(caption, "a安装");  // 5 bytes
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(3, ReadControlText(caption, buffer, 5));  // "a" and 安; the half of 装 is dropped
    EXPECT_STREQ("a\xB0\xB2", buffer);
    EXPECT_EQ(5, ReadControlText(caption, buffer, 8));
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(0, ReadControlText(caption, buffer, 0));
    EXPECT_EQ('#', buffer[0]);
}

TEST_F(PainterTest, ListAndComboItems)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    Canvas c(300, 30, Magenta);
    const RECT r{0, 0, 280, 23};
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = 1031;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_SELECTED;
    item.itemID = 0;
    item.itemData = 2;  // "Chinese(Traditional) 中文繁体"
    item.hwndItem = GetDlgItem(Parent, 1031);
    item.hDC = c.Dc;
    item.rcItem = r;
    DrawListItem(1031, 1, &item, Parent);
    const int traditionalWidth = MeasureMixedText(c.Dc, "Chinese(Traditional) ").cx;
    EXPECT_EQ(0, GlyphMismatches(c, 2 + traditionalWidth, 2, 0xD6D0, highlightText, highlight));  // 中
    EXPECT_EQ(highlight, c.Pixel(279, 22));
    EXPECT_EQ(Magenta, c.Pixel(281, 5));
    EXPECT_EQ(OPAQUE, GetBkMode(c.Dc));  // the DC state is restored

    // Unselected: window colour, strokes in the window-text colour.
    c.Fill(Magenta);
    item.itemState = 0;
    item.itemID = 1;
    item.itemData = 0;  // "English 英文"
    DrawListItem(1031, 1, &item, Parent);
    const int englishWidth = MeasureMixedText(c.Dc, "English ").cx;
    EXPECT_EQ(0, GlyphMismatches(c, 2 + englishWidth, 2, 0xD3A2, GetSysColor(COLOR_WINDOWTEXT), window));  // 英
    // No selection: the empty field, background only.
    c.Fill(Magenta);
    item.itemID = static_cast<UINT>(-1);
    DrawListItem(1031, 1, &item, Parent);
    int notWindow = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 280; ++x)
            notWindow += c.Pixel(x, y) != window;
    EXPECT_EQ(0, notWindow);

    // The licence list: the window-text colour on the window colour.
    c.Fill(Magenta);
    item.CtlType = ODT_LISTBOX;
    item.CtlID = 1019;
    item.itemID = 0;
    item.itemData = SendMessageA(GetDlgItem(Parent, 1019), LB_GETITEMDATA, 0, 0);
    item.hwndItem = GetDlgItem(Parent, 1019);
    DrawListItem(1019, 0, &item, Parent);
    EXPECT_EQ(0, GlyphMismatches(c, 2, 2, 0xCCF5, GetSysColor(COLOR_WINDOWTEXT), window));  // 条

    MEASUREITEMSTRUCT measure = {};
    EXPECT_EQ(1, MeasureListItem(1019, &measure));
    EXPECT_EQ(23u, measure.itemHeight);
    EXPECT_EQ(1024u, measure.itemWidth);
    EXPECT_EQ(1, MeasureListItem(1031, &measure));
    EXPECT_EQ(0, MeasureListItem(1002, &measure));
}

TEST_F(PainterTest, CheckBoxBoxCaptionFocusAndClicks)
{
    HWND box = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0,
                               100, 300, 26, Parent, reinterpret_cast<HMENU>(1004), AppInstance, nullptr);
    ASSERT_NE(nullptr, box);
    PreviousCheckBoxProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckBoxProc)));
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(Parent);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Canvas c(320, 30, Magenta), reference(320, 30, face);
    PaintCheckBox(box, c.Dc);
    RECT frame{2, 4, 17, 18};
    DrawFrameControl(reference.Dc, &frame, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    int boxWrong = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 32; ++x)
            boxWrong += c.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(0, boxWrong);
    EXPECT_EQ(0, GlyphMismatches(c, 32, 1, 0xBDA8, RGB(0, 0, 0), face));  // 建
    EXPECT_EQ(Magenta, c.Pixel(5, 28));   // the fill ends at H + 2

    // The focus rectangle appears only with the keyboard focus.
    SetFocus(box);
    ASSERT_EQ(box, GetFocus());
    Canvas focused(320, 30, Magenta);
    PaintCheckBox(box, focused.Dc);
    const SIZE extent = MeasureMixedText(focused.Dc, CheckBoxCaptionFor(1004)->Text);
    const RECT f = CheckBoxFocusRect(POINT{32, 1}, extent);
    int onOutline = 0, elsewhere = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 320; ++x)
            if (c.Pixel(x, y) != focused.Pixel(x, y)) {
                const bool edge = ((y == f.top || y == f.bottom - 1) && x >= f.left && x < f.right) ||
                                  ((x == f.left || x == f.right - 1) && y >= f.top && y < f.bottom);
                (edge ? onOutline : elsewhere) += 1;
            }
    EXPECT_GT(onOutline, 20);
    EXPECT_EQ(0, elsewhere);

    // Disabled: the inactive box.
    SetFocus(Parent);
    EnableWindow(box, FALSE);
    Canvas disabled(320, 30, Magenta), inactive(320, 30, face);
    PaintCheckBox(box, disabled.Dc);
    frame = RECT{2, 4, 17, 18};
    DrawFrameControl(inactive.Dc, &frame, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    boxWrong = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 32; ++x)
            boxWrong += disabled.Pixel(x, y) != inactive.Pixel(x, y);
    EXPECT_EQ(0, boxWrong);
    EnableWindow(box, TRUE);

    // A press invalidates the box (with erase) before the standard
    // procedure sees it; the click still toggles it.
    UpdateWindow(box);
    SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    RECT pending;
    EXPECT_TRUE(GetUpdateRect(box, &pending, FALSE));
    SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    DestroyWindow(box);
}

}  // namespace
