// The installer on a screen of more than 96 dpi (its session's, TARVO_DPI),
// measured in pictures of page 0 and of the Chinese licence: the Chinese is
// about 16 x dpi / 96 pixels high and stands on the English text's baseline,
// and no licence line is cut by its item. Pictures in build/screenshots/.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

constexpr DWORD Patience = 20000;

// The rows and columns of the ink in a part of a picture: every pixel that
// differs from the paper colour. Top -1 when there is none.
struct InkBox {
    int Top = -1, Bottom = -1, Left = -1, Right = -1;
    int Height() const { return Bottom - Top + 1; }
};

InkBox InkOf(const Image& image, DWORD paper, int left, int right, int top, int bottom)
{
    InkBox box;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (image.At(x, y) != paper) {
                if (box.Top < 0 || y < box.Top) box.Top = y;
                if (y > box.Bottom) box.Bottom = y;
                if (box.Left < 0 || x < box.Left) box.Left = x;
                if (x > box.Right) box.Right = x;
            }
    return box;
}

// A control's ink: on the paper of its top-left pixel, the columns left to
// right of the whole height.
InkBox InkOf(const Image& image, int left, int right)
{
    return InkOf(image, image.At(0, 0), left, right, 0, image.Height);
}

// Runs of columns with ink, [first, last + 1).
std::vector<std::pair<int, int>> InkRuns(const Image& image)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0, start = -1; x <= image.Width; ++x) {
        const int ink = x < image.Width && InkOf(image, x, x + 1).Top >= 0;
        if (ink && start < 0) start = x;
        if (!ink && start >= 0) {
            runs.push_back({start, x});
            start = -1;
        }
    }
    return runs;
}

// A label drawn as Chinese, a full-width colon and " (English)": the
// Chinese is what lies left of the widest gap between ink runs (the one after
// the colon); of the English, the baseline is the row below the one that
// most of its columns end on (a parenthesis reaches lower), and the capital
// is the run after the opening parenthesis.
struct LineMeasure {
    InkBox Chinese, Capital;
    int Baseline = -1;
};

LineMeasure MeasureLabel(const Image& image)
{
    LineMeasure m;
    const auto runs = InkRuns(image);
    if (runs.size() < 4) return m;
    size_t gap = 0;
    for (size_t i = 1; i + 1 < runs.size(); ++i)
        if (runs[i + 1].first - runs[i].second > runs[gap + 1].first - runs[gap].second) gap = i;
    m.Chinese = InkOf(image, runs[0].first, runs[gap].second);
    m.Capital = InkOf(image, runs[gap + 2].first, runs[gap + 2].second);
    std::vector<int> ends(image.Height + 1, 0);
    for (int x = runs[gap + 1].first; x < runs.back().second; ++x) {
        const InkBox column = InkOf(image, x, x + 1);
        if (column.Top >= 0) ++ends[column.Bottom];
    }
    int most = 0;
    for (int y = 1; y < image.Height; ++y)
        if (ends[y] > ends[most]) most = y;
    m.Baseline = most + 1;
    return m;
}

Image Picture(HWND wizard, int id)
{
    Image image;
    EXPECT_TRUE(WaitForPaint(wizard, Patience));
    EXPECT_TRUE(CaptureWindow(GetDlgItem(wizard, id), &image));
    return image;
}

void Keep(const Image& image, const char* what, int dpi)
{
    const std::string path = BuildFile("screenshots") + "\\scale-" + std::to_string(dpi) + "-" + what + ".png";
    EXPECT_TRUE(WritePng(path.c_str(), image)) << path;
}

// The whole wizard as the screen shows it.
void KeepWizard(HWND wizard, const char* what, int dpi)
{
    Image image;
    ASSERT_TRUE(WaitForPaint(wizard, Patience));
    ASSERT_TRUE(CaptureWindow(wizard, &image));
    Keep(image, what, dpi);
}

class SystemsScale : public ::testing::Test {
protected:
    void SetUp() override
    {
        HDC screen = GetDC(nullptr);
        Dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        const char* session = getenv("TARVO_DPI");
        ASSERT_NE(nullptr, session) << "the session's dpi is not named";
        ASSERT_EQ(atoi(session), Dpi) << "the session's screen has another dpi";
        Cell = 16 * Dpi / 96;
        ASSERT_TRUE(StartInstaller(InstallerPath().c_str(), "C:\\", &Run));
        Wizard = Run.Main;
    }
    void TearDown() override { EndRun(&Run); }

    int Dpi = 0, Cell = 0;
    InstallerRun Run = {};
    HWND Wizard = nullptr;
};

}  // namespace

// "安装程序" alone, and "安装路径： (Install Path)": the Chinese nearly the
// cell's height (a glyph leaves a little of its cell blank), reaching below
// the English baseline by no more than a quarter of a cell, and above the
// English capitals.
TEST_F(SystemsScale, ChineseGrowsOnTheEnglishBaseline)
{
    KeepWizard(Wizard, "page0", Dpi);
    const Image titleImage = Picture(Wizard, IDC_TITLE_LINE3);
    const InkBox title = InkOf(titleImage, 0, titleImage.Width);
    const LineMeasure path = MeasureLabel(Picture(Wizard, IDC_PATH_LABEL));
    const int below = path.Chinese.Bottom + 1 - path.Baseline;
    printf("%d dpi, cell %d: the third title line's Chinese %d pixels high; in the path label the Chinese %d, "
           "the capital I %d, the Chinese ends %d pixels below the English baseline and starts %d above "
           "the capital\n",
           Dpi, Cell, title.Height(), path.Chinese.Height(), path.Capital.Height(), below,
           path.Capital.Top - path.Chinese.Top);
    EXPECT_GE(title.Height(), Cell - Cell / 8);
    EXPECT_LE(title.Height(), Cell);
    EXPECT_GE(path.Chinese.Height(), Cell - Cell / 8);
    EXPECT_GE(below, 0) << "the Chinese stands above the English baseline";
    EXPECT_LE(below, Cell / 4) << "the Chinese hangs below the English baseline";
    EXPECT_LT(path.Chinese.Top, path.Capital.Top);
}

// The Chinese licence: its first line the cell's height, and every line
// whole inside its item, none reaching the item's first or last row.
TEST_F(SystemsScale, LicenceLinesWhole)
{
    ClickButton(Wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return VisiblePage(Wizard) == 1; }, Patience));
    ClickButton(Wizard, IDC_DISPLAY_OK);
    ASSERT_TRUE(WaitUntil([&] { return IsTicked(Wizard, IDC_DISPLAY_OK); }, Patience));
    ClickButton(Wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return VisiblePage(Wizard) == 2; }, Patience));
    ClickButton(Wizard, IDC_ENGLISH_LICENCE);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(Wizard, IDC_LICENCE_CN); }, Patience));
    KeepWizard(Wizard, "licence", Dpi);

    HWND list = GetDlgItem(Wizard, IDC_LICENCE_CN);
    const Image image = Picture(Wizard, IDC_LICENCE_CN);
    RECT frame, client;
    GetWindowRect(list, &frame);
    GetClientRect(list, &client);
    POINT origin = {0, 0};
    ClientToScreen(list, &origin);
    const int left = origin.x - frame.left, top = origin.y - frame.top;
    const int item = static_cast<int>(Ask(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(item, 0);
    // On the window colour, which the items' inset shows at the client's corner.
    const DWORD paper = image.At(left, top);
    // The first line's own height, the rows of its item only.
    const InkBox first = InkOf(image, paper, left, left + client.right, top, top + item);
    printf("%d dpi, cell %d: licence items %d pixels high, the first line's Chinese %d\n", Dpi, Cell,
           item, first.Height());
    EXPECT_GE(first.Height(), Cell - Cell / 8);
    for (int k = 0; (k + 1) * item <= client.bottom; ++k) {
        const int y = top + k * item;
        const InkBox line = InkOf(image, paper, left, left + client.right, y, y + item);
        if (line.Top < 0) continue;     // an empty line
        EXPECT_GT(line.Top, y) << "line " << k << " touches the item above";
        EXPECT_LT(line.Bottom, y + item - 1) << "line " << k << " is cut by the item below";
    }
}
