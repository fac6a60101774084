// The installer's own Chinese where the system cannot change it, in a
// typical installation on NT 4: the bytes its drawing code gets (the licence
// lines and the message's line read from its memory, the language names by
// their ids) and the pictures. The Simplified Chinese system leaves its
// pictures for the Japanese and Korean ones, whose code pages would turn GBK
// bytes kept by a control into other bytes, and which must show the same.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <utility>

#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

struct OwnTexts {
    Image Licence, Languages[3], Message;
};

Image Painted(HWND wizard, HWND control)
{
    Image image;
    EXPECT_TRUE(WaitForPaint(wizard, 20000));
    EXPECT_TRUE(CaptureWindow(control, &image));
    return image;
}

// The part of a label's picture that is not its background: the label is as
// wide as the English text beneath it, which each system's font sizes.
Image Ink(const Image& image)
{
    int left = image.Width, top = image.Height, right = -1, bottom = -1;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            if (image.At(x, y) != image.At(0, 0)) {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
    return right < 0 ? Image() : Crop(image, left, top, right - left + 1, bottom - top + 1);
}

void LookAtOwnTexts(HWND wizard, int page, OwnTexts* seen)
{
    if (page == 2) {
        HWND list = GetDlgItem(wizard, IDC_LICENCE_CN);
        ClickButton(wizard, IDC_ENGLISH_LICENCE);   // the Chinese licence
        ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_CN); }, 20000));
        const std::string text = PayloadBytes(IDR_LICENCE_CN);
        int line = 0;
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2, ++line)
            EXPECT_EQ(DrawnListItem(list, line), text.substr(start, end - start)) << "line " << line;
        EXPECT_EQ(Ask(list, LB_GETCOUNT, 0, 0), line);
        seen->Licence = Painted(wizard, list);
    } else if (page == 3) {
        HWND combo = GetDlgItem(wizard, IDC_LANGUAGE_COMBO);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Ask(combo, CB_GETITEMDATA, i, 0), i) << "the language of item " << i;
            Ask(combo, CB_SETCURSEL, i, 0);
            seen->Languages[i] = Painted(wizard, combo);
        }
    }
}

std::string PicturePath(const char* what, const std::string& locale)
{
    return BuildFile("screenshots") + "\\own-text-" + what + "-" + locale + ".png";
}

// Simplified Chinese leaves its pictures for the Japanese and Korean cells,
// whose pictures must be the same PNG bytes (the same pixels, the same size).
void KeepOrCompare(const OwnTexts& seen)
{
    const std::string locale = LocaleName().substr(0, 5);
    const std::pair<const char*, const Image*> pictures[] = {
        {"licence", &seen.Licence}, {"english", &seen.Languages[0]},
        {"simplified", &seen.Languages[1]}, {"traditional", &seen.Languages[2]},
        {"message", &seen.Message}};
    for (const auto& [what, image] : pictures) {
        const std::string path = PicturePath(what, locale);
        ASSERT_TRUE(WritePng(path.c_str(), *image)) << path;
        if (locale != "ja_JP" && locale != "ko_KR") continue;
        const std::string expected = ReadFileBytes(PicturePath(what, "zh_CN"));
        ASSERT_FALSE(expected.empty()) << "no picture of the Simplified Chinese system";
        EXPECT_TRUE(ReadFileBytes(path) == expected) << what << " differs from Simplified Chinese";
    }
}

}  // namespace

TEST(SystemsOwnTexts, AsDrawn)
{
    InstallerRun probe;
    ASSERT_TRUE(StartInstaller(InstallerPath().c_str(), "C:\\", &probe));
    const int readable = ReadsMemoryOf(probe.Main);
    EndRun(&probe);
    if (!readable)
        GTEST_SKIP() << "this host cannot read the installer's memory (32-bit code runs under qemu)";
    ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", "nt40"));
    OwnTexts seen;
    RunChoices choices;
    choices.Destination = "C:\\systems_own_" + RunTag();
    RemoveTree(choices.Destination);
    choices.AtPage = [&](HWND wizard, int page) { LookAtOwnTexts(wizard, page, &seen); };
    choices.AtMessage = [&](HWND message) {
        EXPECT_EQ(DrawnCaption(message, IDC_MSG_CHINESE), "祝贺您：安装顺利完成！");
        seen.Message = Ink(Painted(message, GetDlgItem(message, IDC_MSG_CHINESE)));
    };
    DWORD code;
    EXPECT_EQ(InstallThroughWizard(InstallerPath().c_str(), choices, &code),
              "Congratulations! Installation Success!");
    RemoveTree(choices.Destination);
    SetVersionFor("TarvoSetup.exe", nullptr);
    KeepOrCompare(seen);
}
