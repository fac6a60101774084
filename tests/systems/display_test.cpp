// The display test as a user sees it: page 1's sample line drawn with the
// system's own fonts, on the NT family (TextOutA) and the 9x family (TextOutW
// through code page 936), saved as screenshots in <build>/screenshots. Which
// fonts the run has (TARVO_FONTS) decides whether the line can be right.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

constexpr DWORD Patience = 20000;
const wchar_t SampleLine[] = L"\u65E5\u51FA\u6C5F\u82B1\u7EA2\u80DC\u706B";   // 日出江花红胜火

std::string FontSet()
{
    const char* fonts = getenv("TARVO_FONTS");
    return fonts ? fonts : "latin";
}

// The sample font as the installer makes it; the count of the line's seven
// characters that it has glyphs for.
int SampleGlyphsPresent()
{
    LOGFONTA font{};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    lstrcpyA(font.lfFaceName, "Courier New");
    font.lfHeight = 16;
    font.lfWidth = 8;
    font.lfWeight = 400;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    font.lfCharSet = GB2312_CHARSET;
    HFONT handle = CreateFontIndirectA(&font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, handle);
    WORD glyphs[7] = {};
    char face[64] = "";
    GetTextFaceA(dc, sizeof face, face);
    int present = 0;
    if (GetGlyphIndicesW(dc, SampleLine, 7, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 7)
        for (WORD g : glyphs) present += g != 0xFFFF;
    printf("sample font resolves to \"%s\": %d of 7 glyphs\n", face, present);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(handle);
    return present;
}

struct PageOne {
    Image Window, Line;
};

// Page 1 of the installer under this Windows version, captured; the wizard is
// then left with Cancel (answer 0) or walked to the end with that answer.
PageOne CapturePageOne(const char* version, int answer, const std::string& destination)
{
    PageOne shot;
    EXPECT_TRUE(SetVersionFor("TarvoSetup.exe", version));
    InstallerRun run;
    if (!StartInstaller(InstallerPath().c_str(), "C:\\", &run)) {
        ADD_FAILURE() << "no wizard";
        EndRun(&run);
        return shot;
    }
    HWND main = run.Main;
    SetControlText(main, IDC_DEST_EDIT, destination.c_str());
    ClickButton(main, IDC_NEXT);
    EXPECT_TRUE(WaitUntil([&] { return VisiblePage(main) == 1; }, Patience));
    EXPECT_TRUE(WaitForPaint(main, Patience)) << "page 1 was not painted";
    CaptureWindow(main, &shot.Window);
    RECT line;
    GetWindowRect(GetDlgItem(main, IDC_SAMPLE_LINE), &line);
    CaptureScreen(line, &shot.Line);
    std::string name = BuildFile("screenshots") + "\\page1-" + FontSet() + "-" + LocaleName() +
                       "-" + version + ".png";
    EXPECT_TRUE(WritePng(name.c_str(), shot.Window)) << name;
    printf("screenshot %s\n", name.c_str());
    DWORD code = 12345;
    if (!answer) {
        ClickButton(main, IDCANCEL);
    } else {
        ClickButton(main, answer);
        EXPECT_TRUE(WaitUntil([&] { return IsTicked(main, answer); }, Patience));
        for (int page = 2; page <= 3; ++page) {
            ClickButton(main, IDC_NEXT);
            EXPECT_TRUE(WaitUntil([&] { return VisiblePage(main) == page; }, Patience));
        }
        ClickButton(main, IDC_NEXT);
        HWND message = WaitForMessageDialog(run, 120000);
        EXPECT_NE(message, nullptr);
        if (message) {
            EXPECT_EQ(ControlText(message, IDC_MSG_ENGLISH), "Congratulations! Installation Success!");
            ClickButton(message, IDOK);
        }
    }
    EXPECT_TRUE(WaitForExit(&run, Patience, &code));
    EXPECT_EQ(code, 0u);
    EndRun(&run);
    return shot;
}

DWORD FaceColour()
{
    DWORD c = GetSysColor(COLOR_BTNFACE);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace

TEST(SystemsDisplay, SampleLineOnBothFamilies)
{
    const bool cjk = FontSet() == "cjk";
    const int present = SampleGlyphsPresent();
    // The run has the fonts it claims to have.
    if (cjk)
        EXPECT_EQ(present, 7);
    else
        EXPECT_EQ(present, 0);

    const std::string dest = "C:\\systems_display_" + RunTag();
    RemoveTree(dest);
    PageOne nt = CapturePageOne("winxp", 0, dest);
    // On the 9x family the user answers "不正确(NO)" where the line cannot be
    // right, and the engine is told to use its bitmap font.
    PageOne nine = CapturePageOne("win98", cjk ? IDC_DISPLAY_OK : IDC_DISPLAY_NO, dest);
    SetVersionFor("TarvoSetup.exe", nullptr);
    ASSERT_FALSE(nt.Line.Pixels.empty());
    ASSERT_FALSE(nine.Line.Pixels.empty());
    const int ntInk = CountPixelsNot(nt.Line, FaceColour());
    const int nineInk = CountPixelsNot(nine.Line, FaceColour());
    const int apart = DifferingPixels(nt.Line, nine.Line);
    printf("sample line %dx%d: NT %d, 9x %d pixels not the face colour; %d differ\n",
           nt.Line.Width, nt.Line.Height, ntInk, nineInk, apart);
    // Something is drawn either way: boxes, wrong characters or the line.
    EXPECT_GT(ntInk, 50);
    EXPECT_GT(nineInk, 50);
    if (cjk && GetACP() == 936) {
        // A Chinese system with a Chinese font: both families draw the same line.
        EXPECT_EQ(apart, 0);
    }
    if (!cjk && GetACP() == 1252) {
        // An English system: the NT family draws the GBK bytes as Latin
        // characters, the 9x family the Chinese line in boxes.
        EXPECT_GT(apart, 0);
    }
    if (FolderExists(dest)) {
        std::string ini = ReadFileBytes(dest + "\\engine.ini");
        std::string tail = ConfigTail(cjk ? '0' : '1', 0);
        ASSERT_GE(ini.size(), tail.size());
        EXPECT_EQ(ini.substr(ini.size() - tail.size()), tail);
    } else {
        ADD_FAILURE() << "nothing installed";
    }
    RemoveShortcutsFrom(ShellPlaces());
    RemoveTree(dest);
}
