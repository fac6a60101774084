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

// The first and last rows of ink in a part of a picture (every pixel that
// differs from the paper colour); Top -1 when there is none.
struct Rows {
    int Top = -1, Bottom = -1;
    int Height() const { return Bottom - Top + 1; }
};

Rows InkRows(const Image& image, DWORD paper, int left, int right, int top, int bottom)
{
    Rows rows;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (image.At(x, y) != paper) {
                if (rows.Top < 0) rows.Top = y;
                rows.Bottom = y;
            }
    return rows;
}

// A control's columns [left, right) on the paper of its top-left pixel.
Rows InkRows(const Image& image, int left, int right)
{
    return InkRows(image, image.At(0, 0), left, right, 0, image.Height);
}

// "安装路径： (Install Path)": the Chinese is what lies left of the widest
// gap between runs of inked columns (after the full-width colon); the
// English baseline is the row below the one most English columns end on (a
// parenthesis reaches lower); the capital is the run after "(".
struct LineMeasure {
    Rows Chinese, Capital;
    int Baseline = -1;
};

LineMeasure MeasureLabel(const Image& image)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0, start = -1; x <= image.Width; ++x) {
        const int ink = x < image.Width && InkRows(image, x, x + 1).Top >= 0;
        if (ink && start < 0) start = x;
        if (!ink && start >= 0) runs.push_back({start, x}), start = -1;
    }
    LineMeasure m;
    if (runs.size() < 4) return m;
    size_t gap = 0;
    for (size_t i = 1; i + 1 < runs.size(); ++i)
        if (runs[i + 1].first - runs[i].second > runs[gap + 1].first - runs[gap].second) gap = i;
    m.Chinese = InkRows(image, runs[0].first, runs[gap].second);
    m.Capital = InkRows(image, runs[gap + 2].first, runs[gap + 2].second);
    std::vector<int> ends(image.Height, 0);
    for (int x = runs[gap + 1].first; x < runs.back().second; ++x)
        if (const Rows column = InkRows(image, x, x + 1); column.Top >= 0) ++ends[column.Bottom];
    int most = 0;
    for (int y = 1; y < image.Height; ++y)
        if (ends[y] > ends[most]) most = y;
    m.Baseline = most + 1;
    return m;
}

// A window once painted, kept as build/screenshots/scale-<dpi>-<what>.png
// when what is given.
Image Picture(HWND wizard, HWND window, int dpi, const char* what = nullptr)
{
    Image image;
    EXPECT_TRUE(WaitForPaint(wizard, Patience));
    EXPECT_TRUE(CaptureWindow(window, &image));
    if (what) {
        const std::string path =
            BuildFile("screenshots") + "\\scale-" + std::to_string(dpi) + "-" + what + ".png";
        EXPECT_TRUE(WritePng(path.c_str(), image)) << path;
    }
    return image;
}

}  // namespace

// Page 0: "安装程序" alone, and "安装路径： (Install Path)", the Chinese nearly
// the cell's height (a glyph leaves a little of its cell blank), reaching
// below the English baseline by no more than a quarter of a cell, and above
// the English capitals. Then the Chinese licence: its first line the cell's
// height, and every line whole inside its item, none reaching the item's
// first or last row.
TEST(SystemsScale, ChineseGrowsOnTheEnglishBaselineAndLicenceLinesStayWhole)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const char* session = getenv("TARVO_DPI");
    ASSERT_NE(nullptr, session) << "the session's dpi is not named";
    ASSERT_EQ(atoi(session), dpi) << "the session's screen has another dpi";
    const int cell = 16 * dpi / 96;
    struct Running {
        InstallerRun Run{};
        ~Running() { EndRun(&Run); }
    } installer;
    ASSERT_TRUE(StartInstaller(InstallerPath().c_str(), "C:\\", &installer.Run));
    HWND wizard = installer.Run.Main;

    Picture(wizard, wizard, dpi, "page0");
    const Image titleImage = Picture(wizard, GetDlgItem(wizard, IDC_TITLE_LINE3), dpi);
    const Rows title = InkRows(titleImage, 0, titleImage.Width);
    const LineMeasure path = MeasureLabel(Picture(wizard, GetDlgItem(wizard, IDC_PATH_LABEL), dpi));
    const int below = path.Chinese.Bottom + 1 - path.Baseline;
    printf("%d dpi, cell %d: the third title line's Chinese %d pixels high; in the path label the "
           "Chinese %d, the capital I %d, the Chinese ends %d pixels below the English baseline and "
           "starts %d above the capital\n",
           dpi, cell, title.Height(), path.Chinese.Height(), path.Capital.Height(), below,
           path.Capital.Top - path.Chinese.Top);
    EXPECT_GE(title.Height(), cell - cell / 8);
    EXPECT_LE(title.Height(), cell);
    EXPECT_GE(path.Chinese.Height(), cell - cell / 8);
    EXPECT_GE(below, 0) << "the Chinese stands above the English baseline";
    EXPECT_LE(below, cell / 4) << "the Chinese hangs below the English baseline";
    EXPECT_LT(path.Chinese.Top, path.Capital.Top);

    ClickButton(wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return VisiblePage(wizard) == 1; }, Patience));
    ClickButton(wizard, IDC_DISPLAY_OK);
    ASSERT_TRUE(WaitUntil([&] { return IsTicked(wizard, IDC_DISPLAY_OK); }, Patience));
    ClickButton(wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return VisiblePage(wizard) == 2; }, Patience));
    ClickButton(wizard, IDC_ENGLISH_LICENCE);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_CN); }, Patience));
    Picture(wizard, wizard, dpi, "licence");

    HWND list = GetDlgItem(wizard, IDC_LICENCE_CN);
    const Image image = Picture(wizard, list, dpi);
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
    const Rows first = InkRows(image, paper, left, left + client.right, top, top + item);
    printf("%d dpi, cell %d: licence items %d pixels high, the first line's Chinese %d\n", dpi, cell,
           item, first.Height());
    EXPECT_GE(first.Height(), cell - cell / 8);
    for (int k = 0; (k + 1) * item <= client.bottom; ++k) {
        const int y = top + k * item;
        const Rows line = InkRows(image, paper, left, left + client.right, y, y + item);
        if (line.Top < 0) continue;     // an empty line
        EXPECT_GT(line.Top, y) << "line " << k << " touches the item above";
        EXPECT_LT(line.Bottom, y + item - 1) << "line " << k << " is cut by the item below";
    }
}
