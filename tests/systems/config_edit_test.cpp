// engine.ini texts of other shapes than the shipped one (as a packager's
// own engine.ini may have), written in-process over a file as the extraction
// leaves it: every case is checked byte for byte, and the file ends
// read-only and hidden.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <string>

#include "install/config.h"
#include "tests/install/config_cases.h"
#include "tests/e2e/driver.h"

namespace {

std::string Folder()
{
    static std::string folder;
    if (folder.empty()) {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "systems_config_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

constexpr DWORD ReadOnlyAndHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
char Scratch[1 << 20];

// As extracted: read-only and hidden (hidden first, see the platform).
void WriteAsExtracted(const std::string& path, const std::string& bytes)
{
    WriteBytes(path, bytes);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), ReadOnlyAndHidden);
}

// The answers written into `before`; the result of the write in *written.
std::string Written(const std::string& path, const std::string& before, int displayOk,
                    int language, int* written)
{
    *written = WriteConfigText(path.c_str(), before.data(), before.size(), displayOk ? '0' : '1',
                               language, ReadOnlyAndHidden, Scratch, sizeof Scratch);
    return ReadFileBytes(path);
}

// The update of `before` with the display answer and language given.
std::string Updated(const std::string& before, int displayOk, int language)
{
    const std::string path = Folder() + "\\engine.ini";
    WriteAsExtracted(path, before);
    int written = 0;
    const std::string after = Written(path, before, displayOk, language, &written);
    EXPECT_EQ(written, 1);
    DWORD a = GetFileAttributesA(path.c_str());
    EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & ReadOnlyAndHidden) == ReadOnlyAndHidden)
        << "engine.ini not read-only and hidden after the update";
    return after;
}

}  // namespace

TEST(SystemsEditedConfig, ShippedShapeAndMissingPieces)
{
    // The shipped shape: the value changes in place, ForceLanguage appended.
    EXPECT_EQ(Updated("[Strings]\r\nA=b\r\n[Config]\r\nUseBmpFont=0\r\n\r\n", 0, 2),
              "[Strings]\r\nA=b\r\n[Config]\r\nUseBmpFont=1\r\n\r\n\r\nForceLanguage=2\r\n");
    // No [Config] at all: header, then both keys, at the end.
    EXPECT_EQ(Updated("[Strings]\r\nA=b\r\n", 1, 1),
              "[Strings]\r\nA=b\r\n\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=0\r\n\r\nForceLanguage=1\r\n");
    EXPECT_EQ(Updated("", 0, 0), "\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=0\r\n");
    // A last line without a line end: the appended text starts on its own line.
    EXPECT_EQ(Updated("[Config]\r\nX=1", 1, 2),
              "[Config]\r\nX=1\r\nUseBmpFont=0\r\n\r\nForceLanguage=2\r\n");
}

TEST(SystemsEditedConfig, LongerAndShorterKeyLines)
{
    // Longer old values: the whole value is replaced and the file shrinks.
    EXPECT_EQ(Updated("[Config]\r\nUseBmpFont=0000\r\nForceLanguage=12345\r\n", 0, 2),
              "[Config]\r\nUseBmpFont=1\r\nForceLanguage=2\r\n");
    // Indented keys keep their indentation.
    EXPECT_EQ(Updated("[Config]\r\n  UseBmpFont=0\r\n", 0, 1),
              "[Config]\r\n  UseBmpFont=1\r\n\r\nForceLanguage=1\r\n");
    // Shorter lines (empty values): the line holds exactly the new text, its
    // line end and the lines after it are kept.
    EXPECT_EQ(Updated("[Config]\r\nUseBmpFont=\r\nForceLanguage=\r\nNext=1\r\n", 1, 2),
              "[Config]\r\nUseBmpFont=0\r\nForceLanguage=2\r\nNext=1\r\n");
    // Line ends of a single LF are kept as they are.
    EXPECT_EQ(Updated("[Config]\nUseBmpFont=\nTail=2\n", 0, 0),
              "[Config]\nUseBmpFont=1\nTail=2\n\r\nForceLanguage=0\r\n");
}

TEST(SystemsEditedConfig, KeysInOtherSections)
{
    // A key of another section is not the engine's: it stays, and the
    // missing key goes into [Config].
    EXPECT_EQ(Updated("[Other]\r\nUseBmpFont=0\r\n[Config]\r\nX=1\r\n", 0, 0),
              "[Other]\r\nUseBmpFont=0\r\n[Config]\r\nX=1\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=0\r\n");
}

TEST(SystemsEditedConfig, LongLines)
{
    // A long value is replaced whole; a key name that only ends in
    // "ForceLanguage" is another key.
    const std::string ys(300, 'y'), zs(255, 'z'), xs(250, 'x');
    EXPECT_EQ(Updated("[Config]\r\nUseBmpFont=0" + ys + "\r\n" + zs + "ForceLanguage=0\r\n", 0, 2),
              "[Config]\r\nUseBmpFont=1\r\n" + zs + "ForceLanguage=0\r\n\r\nForceLanguage=2\r\n");
    EXPECT_EQ(Updated("[Config]\r\n" + xs + "UseBmpFont=0\r\n", 1, 0),
              "[Config]\r\n" + xs + "UseBmpFont=0\r\n\r\nUseBmpFont=0\r\n\r\nForceLanguage=0\r\n");
    // A 2000-byte line without any key: nothing written into it.
    const std::string long_line(2000, 'k');
    EXPECT_EQ(Updated("[Config]\r\n" + long_line + "\r\n", 1, 1),
              "[Config]\r\n" + long_line + "\r\n\r\nUseBmpFont=0\r\n\r\nForceLanguage=1\r\n");
}

namespace {

// `head`, then lines of text to 64 KiB, written to path; then the disk is
// filled to its last block.
void WriteAndFillDisk(const std::string& path, std::string head, const std::string& filler)
{
    while (head.size() < 65536) head += "Text=" + std::string(40, 's') + "\r\n";
    head.resize(65536 - 2);
    WriteBytes(path, head + "\r\n");
    HANDLE fill = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(fill, INVALID_HANDLE_VALUE);
    static const char block[4096] = {};
    DWORD written = sizeof block;
    while (WriteFile(fill, block, sizeof block, &written, nullptr) && written == sizeof block) {}
    CloseHandle(fill);
}

}  // namespace

// The disk is full while the update runs: the file reads exactly as before
// and the write says it failed; once there is room again, it reads exactly
// as intended.
TEST(SystemsEditedConfig, FullDiskEndsOldOrNew)
{
    if (!FolderExists("R:\\")) GTEST_SKIP() << "drive R: (a small file system) is not available";
    const std::string dir = "R:\\config_full", path = dir + "\\engine.ini";
    const std::string filler = "R:\\config_filler";
    RemoveTree(dir);
    DeleteFileA(filler.c_str());
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    for (const std::string head : {"[Config]\r\nUseBmpFont=1\r\n[Strings]\r\n",
                                   "[Config]\r\nUseBmpFont=0000\r\nForceLanguage=12345\r\n"}) {
        WriteAndFillDisk(path, head, filler);
        const std::string before = ReadFileBytes(path);
        int written = 1;
        EXPECT_TRUE(Written(path, before, 1, 2, &written) == before) << "the full disk left part of an update";
        EXPECT_EQ(written, 0);
        DeleteFileA(filler.c_str());
        EXPECT_TRUE(Written(path, before, 1, 2, &written) == UpdatedText(before, 1, 2))
            << "the update with room again";
        EXPECT_EQ(written, 1);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    RemoveTree(dir);
}
