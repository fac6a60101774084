// The generated payload as the installer sees it: every manifest resource
// inflated through InflateResource from this program's own resources, and
// the files checked against the formats the installer and the engine rely on.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "install/manifest.h"
#include "install/payload.h"
#include "render/atlas.h"
#include "shell/process_state.h"
#include "tests/patience.h"

namespace {

std::vector<unsigned char>& Buffer()
{
    static std::vector<unsigned char> buffer(ExtractionBufferSize);
    return buffer;
}

// Inflates TEXT resource id into a string; fails the test when it does not.
std::string Inflated(WORD id)
{
    AppInstance = GetModuleHandleA(nullptr);
    unsigned long length = 0;
    int code = InflateResource(id, Buffer().data(), ExtractionBufferSize, &length);
    EXPECT_EQ(code, Z_OK) << "resource " << id;
    if (code != Z_OK)
        return std::string();
    return std::string(reinterpret_cast<const char*>(Buffer().data()), length);
}

// The stored bytes of TEXT resource id, empty when it is missing.
std::string Stored(WORD id)
{
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(id), "TEXT");
    if (!found)
        return std::string();
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(self, found)));
    return std::string(bytes, SizeofResource(self, found));
}

WORD IdOf(const char* fileName)
{
    for (const ManifestRow& row : InstallManifest)
        if (std::strcmp(row.Entry.FileName, fileName) == 0)
            return row.Entry.ResourceId;
    ADD_FAILURE() << fileName << " is not in the manifest";
    return 0;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> CrLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

// Every CR is followed by LF and every LF preceded by CR.
bool OnlyCrLf(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

// High bytes come in pairs: a lead byte in [leadLo, 0xFE] and a trail byte
// in [trailLo, 0xFE]. With GB2312 bounds this is what the atlas can draw.
bool DoubleBytePairs(const std::string& text, unsigned leadLo, unsigned trailLo)
{
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = text[i];
        if (c < 0x80)
            continue;
        if (i + 1 == text.size() || c < leadLo || c == 0xFF)
            return false;
        unsigned char t = text[++i];
        if (t < trailLo || t == 0xFF)
            return false;
    }
    return true;
}

unsigned Le16(const std::string& s, size_t at)
{
    return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}

unsigned long Le32(const std::string& s, size_t at)
{
    return Le16(s, at) | static_cast<unsigned long>(Le16(s, at + 2)) << 16;
}

unsigned long Be32(const std::string& s, size_t at)
{
    unsigned long v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}

}  // namespace

TEST(PayloadResources, EveryManifestEntryIsOneLevel9StreamThatInflates)
{
    unsigned long total = 0;
    for (const ManifestRow& row : InstallManifest) {
        const WORD id = row.Entry.ResourceId;
        std::string stored = Stored(id);
        ASSERT_GE(stored.size(), 2u) << row.Entry.FileName << " (" << id << ") missing";
        EXPECT_EQ(static_cast<unsigned char>(stored[0]), 0x78) << id;
        EXPECT_EQ(static_cast<unsigned char>(stored[1]), 0xDA) << id;
        std::string data = Inflated(id);
        EXPECT_FALSE(data.empty()) << row.Entry.FileName;
        total += data.size();
    }
    // The whole payload fits the one extraction buffer many times over, but
    // is not a token amount either.
    EXPECT_GT(total, 30000000ul);
}

TEST(PayloadResources, LargeFilesHaveTheirRealSizesAndRealisticContent)
{
    const struct { const char* name; size_t size; } big[] = {
        {"wordbase.idx", 19306937}, {"corner.bin", 6813140},
        {"WordFlat.igb", 4018108}, {"wordbase_x.idx", 3204350},
    };
    for (const auto& file : big) {
        WORD id = IdOf(file.name);
        std::string data = Inflated(id);
        EXPECT_EQ(data.size(), file.size) << file.name;
        // Neither zeros (tiny stream) nor noise (no gain): the extraction
        // must do real inflating work, as with the shipped word base.
        double ratio = double(Stored(id).size()) / double(data.size());
        EXPECT_GT(ratio, 0.2) << file.name;
        EXPECT_LT(ratio, 0.9) << file.name;
    }
    // The largest payload fits the extraction buffer.
    EXPECT_LE(Inflated(IdOf("wordbase.idx")).size(), ExtractionBufferSize);
    // A top bit set in the first byte would mark the file as an old word
    // base and make a reinstallation ask whether to keep it.
    EXPECT_LT(static_cast<unsigned char>(Inflated(IdOf("wordbase.idx"))[0]), 0x80);
}

class GlyphAtlasData : public ::testing::Test {
protected:
    static void SetUpTestSuite() { atlas = Inflated(110); }
    static std::string atlas;

    static size_t CellOffset(int cell)
    {
        int r = cell / 32;
        return (r / 59) * AtlasPlaneBytes + (r % 59) * 16 * 64 + (cell % 32) * 2;
    }
    static size_t CodeOffset(unsigned code)
    {
        GlyphLocation at;
        LookupGlyph(code, &at);
        return at.Plane * AtlasPlaneBytes + at.Y * 64 + at.X / 8;
    }
    // Row y of the cell at offset, as 16 bits, leftmost pixel in bit 15; a
    // set bit is ink (the stored polarity is inverted).
    static unsigned Ink(size_t offset, int y)
    {
        unsigned paper = static_cast<unsigned char>(atlas[offset + y * 64]) << 8 |
                         static_cast<unsigned char>(atlas[offset + y * 64 + 1]);
        return ~paper & 0xFFFF;
    }
    static unsigned InkColumns(size_t offset)
    {
        unsigned any = 0;
        for (int y = 0; y < 16; ++y)
            any |= Ink(offset, y);
        return any;
    }
    static bool Filled(size_t offset, unsigned char byte)
    {
        for (int y = 0; y < 16; ++y)
            if (static_cast<unsigned char>(atlas[offset + y * 64]) != byte ||
                static_cast<unsigned char>(atlas[offset + y * 64 + 1]) != byte)
                return false;
        return true;
    }
    static std::string CellBytes(size_t offset)
    {
        std::string bytes;
        for (int y = 0; y < 16; ++y)
            bytes += atlas.substr(offset + y * 64, 2);
        return bytes;
    }
    static bool FullWidthRow(size_t offset)
    {
        for (int y = 0; y < 16; ++y)
            if (Ink(offset, y) == 0xFFFF)
                return true;
        return false;
    }
};
std::string GlyphAtlasData::atlas;

TEST_F(GlyphAtlasData, HasTheExactSizeAndBlankAndSpareCells)
{
    ASSERT_EQ(atlas.size(), static_cast<size_t>(AtlasBytes));
    EXPECT_TRUE(Filled(CodeOffset(0xA1A1), 0xFF)) << "ideographic space";
    EXPECT_TRUE(Filled(CodeOffset(0xA6A1), 0xFF)) << "undefined box-drawing position";
    for (unsigned code = 0xD7FA; code <= 0xD7FE; ++code)
        EXPECT_TRUE(Filled(CodeOffset(code), 0xFF)) << std::hex << code;
    for (int cell = 7488; cell < 7552; ++cell)
        EXPECT_TRUE(Filled(CellOffset(cell), 0xFF)) << cell;
    for (int cell = 7426; cell < 7488; ++cell)
        if (cell != 7456 && cell != 7457) {
            EXPECT_TRUE(Filled(CellOffset(cell), 0xCD)) << "spare cell " << cell;
        }
}

TEST_F(GlyphAtlasData, CharactersTheInstallerShowsHaveGlyphs)
{
    // first and last hanzi, a few of the installer's captions, the plane
    // edges, the two cells outside the GB2312 order
    const unsigned codes[] = {0xB0A1, 0xF7FE, 0xB0B2, 0xD7B0, 0xD6D0, 0xCEC4, 0xBABA,
                              0xBDA8, 0xBDA9, 0xA3C1, 0xA1B6, 0xE946, 0xA9A4, 0xA7A1};
    for (unsigned code : codes)
        EXPECT_NE(InkColumns(CodeOffset(code)), 0u) << std::hex << code;
    // neighbouring characters have glyphs of their own
    EXPECT_NE(CellBytes(CodeOffset(0xB0A1)), CellBytes(CodeOffset(0xB0A2)));
    EXPECT_NE(CellBytes(CodeOffset(0xD6D0)), CellBytes(CodeOffset(0xD6D1)));
}

TEST_F(GlyphAtlasData, BoxLinesJoinAndHalfWidthGlyphsAreCentred)
{
    // The light horizontal line, in the row-6 slot (reached by 0xA6A4) and in
    // its own cell 7457 (reached by 0xA9A4): a row inked edge to edge.
    EXPECT_TRUE(FullWidthRow(CellOffset(473)));
    EXPECT_TRUE(FullWidthRow(CellOffset(7457)));
    EXPECT_EQ(CodeOffset(0xA6A4), CellOffset(473));
    // A corner piece (down and right) reaches the right and the bottom edge.
    EXPECT_NE(InkColumns(CodeOffset(0xA6B0)) & 0x0001, 0u);
    EXPECT_NE(Ink(CodeOffset(0xA6B0), 15), 0u);
    // The multiplication sign is half-width in the font: it sits in the
    // middle eight columns.
    unsigned cols = InkColumns(CodeOffset(0xA1C1));
    EXPECT_NE(cols, 0u);
    EXPECT_EQ(cols & 0xF00F, 0u) << std::hex << cols;
    // Full-width letters use the whole cell width more than half-width ones.
    EXPECT_NE(InkColumns(CodeOffset(0xA3D7)) & 0xF00F, 0u) << "full-width W";
}

TEST(PayloadTexts, EngineConfigurationHasTheShapeTheUpdateExpects)
{
    std::string ini = Inflated(IdOf("engine.ini"));
    EXPECT_TRUE(OnlyCrLf(ini));
    EXPECT_TRUE(EndsWith(ini, "[Config]\r\nUseBmpFont=0\r\n\r\n"));
    EXPECT_EQ(ini.find("ForceLanguage="), std::string::npos);
    EXPECT_EQ(ini.find("[Config]"), ini.rfind("[Config]")) << "one [Config] line";
    EXPECT_EQ(ini.find("UseBmpFont="), ini.rfind("UseBmpFont="));
    EXPECT_EQ(ini.compare(0, 1, "["), 0) << "starts with a section";
    EXPECT_GT(ini.size(), 8000u) << "a long section of strings before [Config]";
    EXPECT_TRUE(DoubleBytePairs(ini, 0x81, 0x40));
    EXPECT_NE(ini.find("\xd6\xd0\xce\xc4"), std::string::npos) << "GBK for zhongwen";
    // the updater reads lines of up to 255 characters
    for (const std::string& line : CrLfLines(ini))
        EXPECT_LT(line.size(), 255u) << line;

    std::string en = Inflated(IdOf("engine_en.ini"));
    EXPECT_TRUE(OnlyCrLf(en));
    EXPECT_TRUE(EndsWith(en, "[Config]\r\nUseBmpFont=0\r\n\r\n"));
    EXPECT_EQ(en.find("ForceLanguage="), std::string::npos);
    EXPECT_TRUE(DoubleBytePairs(en, 0x100, 0x100)) << "English copy is ASCII";
}

TEST(PayloadTexts, LicencesHaveTheirLineCountsAndEncodings)
{
    // 163 and 164 are also the manifest's Terms files.
    EXPECT_EQ(IdOf("Terms_cn.txt"), 163);
    EXPECT_EQ(IdOf("Terms_en.txt"), 164);

    std::string cn = Inflated(163);
    EXPECT_TRUE(OnlyCrLf(cn));
    std::vector<std::string> lines = CrLfLines(cn);
    EXPECT_EQ(lines.size(), 63u);
    EXPECT_NEAR(double(cn.size()), 2066.0, 150.0);
    int empty = 0;
    for (const std::string& line : lines)
        empty += line.empty();
    EXPECT_GT(empty, 0);
    // Drawn through the glyph atlas: only GB2312 codes.
    EXPECT_TRUE(DoubleBytePairs(cn, 0xA1, 0xA1));
    EXPECT_LT(cn.size(), 65536u);

    std::string en = Inflated(164);
    EXPECT_TRUE(OnlyCrLf(en));
    lines = CrLfLines(en);
    EXPECT_EQ(lines.size(), 21u);
    EXPECT_NEAR(double(en.size()), 3236.0, 200.0);
    EXPECT_TRUE(DoubleBytePairs(en, 0x100, 0x100)) << "ASCII";
    int paragraphs = 0;
    for (const std::string& line : lines)
        paragraphs += line.size() > 120;
    EXPECT_GT(paragraphs, 10);
}

TEST(PayloadTexts, HelpPagesDeclareTheirCharset)
{
    for (const ManifestRow& row : InstallManifest) {
        std::string name = row.Entry.FileName;
        std::string lower = name;
        for (char& c : lower)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (!EndsWith(lower, ".htm"))
            continue;
        std::string page = Inflated(row.Entry.ResourceId);
        EXPECT_NE(page.find("<html>"), std::string::npos) << name;
        EXPECT_NE(page.find("</html>"), std::string::npos) << name;
        if (EndsWith(lower, "_b5.htm")) {
            EXPECT_NE(page.find("charset=big5"), std::string::npos) << name;
            EXPECT_TRUE(DoubleBytePairs(page, 0x81, 0x40)) << name;
        } else if (EndsWith(lower, "_en.htm")) {
            EXPECT_TRUE(DoubleBytePairs(page, 0x100, 0x100)) << name;
        } else {
            EXPECT_NE(page.find("charset=gb2312"), std::string::npos) << name;
            EXPECT_TRUE(DoubleBytePairs(page, 0xA1, 0xA1)) << name;
        }
    }
}

TEST(PayloadPictures, BitmapsAndPngsAreWellFormed)
{
    int bitmaps = 0, pngs = 0;
    for (const ManifestRow& row : InstallManifest) {
        std::string name = row.Entry.FileName;
        std::string lower = name;
        for (char& c : lower)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (EndsWith(lower, ".bmp")) {
            ++bitmaps;
            std::string bmp = Inflated(row.Entry.ResourceId);
            ASSERT_GT(bmp.size(), 54u) << name;
            EXPECT_EQ(bmp.compare(0, 2, "BM"), 0) << name;
            EXPECT_EQ(Le32(bmp, 2), bmp.size()) << name;
            EXPECT_EQ(Le32(bmp, 14), 40u) << name;
            long width = static_cast<long>(Le32(bmp, 18));
            long height = static_cast<long>(Le32(bmp, 22));
            unsigned bpp = Le16(bmp, 28);
            EXPECT_GT(width, 16) << name;
            EXPECT_GT(height, 16) << name;
            EXPECT_TRUE(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24) << name;
            unsigned long rowBytes = (width * bpp + 31) / 32 * 4;
            EXPECT_EQ(Le32(bmp, 10) + rowBytes * height, bmp.size()) << name;
        } else if (EndsWith(lower, ".png")) {
            ++pngs;
            std::string png = Inflated(row.Entry.ResourceId);
            ASSERT_EQ(png.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0) << name;
            // Walk the chunks: IHDR first, each CRC right, IEND last.
            size_t at = 8;
            std::string first, last;
            while (at + 12 <= png.size()) {
                unsigned long length = Be32(png, at);
                ASSERT_LE(at + 12 + length, png.size()) << name;
                std::string kind = png.substr(at + 4, 4);
                if (first.empty())
                    first = kind;
                last = kind;
                uLong crc = crc32(0, reinterpret_cast<const Bytef*>(&png[at + 4]), 4 + length);
                EXPECT_EQ(crc, Be32(png, at + 8 + length)) << name << " " << kind;
                at += 12 + length;
            }
            EXPECT_EQ(at, png.size()) << name;
            EXPECT_EQ(first, "IHDR") << name;
            EXPECT_EQ(last, "IEND") << name;
        }
    }
    EXPECT_EQ(bitmaps, 13);
    EXPECT_EQ(pngs, 22);
}

TEST(PayloadPrograms, StandInsArePortableExecutables)
{
    const struct { const char* name; bool dll; } programs[] = {
        {"TVO.exe", false}, {"Quorlin.exe", false}, {"KeyTrainer.exe", false},
        {"Zelta6Show.exe", false}, {"TVOUnInstall.exe", false}, {"kbhook.dll", true},
    };
    for (const auto& program : programs) {
        std::string pe = Inflated(IdOf(program.name));
        ASSERT_GT(pe.size(), 1024u) << program.name;
        EXPECT_EQ(pe.compare(0, 2, "MZ"), 0) << program.name;
        unsigned long header = Le32(pe, 0x3C);
        ASSERT_LT(header + 24, pe.size()) << program.name;
        EXPECT_EQ(pe.compare(header, 4, std::string("PE\0\0", 4)), 0) << program.name;
        EXPECT_EQ(Le16(pe, header + 4), 0x14Cu) << program.name << " is 32-bit x86";
        EXPECT_EQ(Le32(pe, header + 8), 0u) << program.name << " carries no link time";
        bool isDll = (Le16(pe, header + 22) & 0x2000) != 0;
        EXPECT_EQ(isDll, program.dll) << program.name;
        if (!program.dll) {
            EXPECT_EQ(Le16(pe, header + 24 + 68), 2u) << program.name << " is a GUI program";
        }
    }
    // Each program has an icon of its own, so the stand-ins differ.
    EXPECT_NE(Inflated(IdOf("TVO.exe")), Inflated(IdOf("Quorlin.exe")));
}

namespace {

// Writes a payload file into the temporary folder; returns its path.
std::string WriteTemp(const char* fileName, const std::string& data)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "payload_test_" + fileName;
    FILE* f = fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f) {
        EXPECT_EQ(fwrite(data.data(), 1, data.size(), f), data.size());
        fclose(f);
    }
    return path;
}

struct WindowSearch {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == search->ProcessId && std::strcmp(cls, "TarvoStandIn") == 0) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST(PayloadPrograms, StandInsRunTheirWindowAndCarryAnIcon)
{
    const char* const programs[] = {"TVO.exe", "Quorlin.exe", "KeyTrainer.exe",
                                    "Zelta6Show.exe", "TVOUnInstall.exe"};
    for (const char* name : programs) {
        std::string path = WriteTemp(name, Inflated(IdOf(name)));
        HMODULE image = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_NE(FindResourceA(image, MAKEINTRESOURCEA(1), RT_GROUP_ICON), nullptr) << name;
        // the generated icon is one the system can turn into a 32x32 icon
        HICON icon = static_cast<HICON>(LoadImageA(image, MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0));
        EXPECT_NE(icon, nullptr) << name;
        ICONINFO info = {};
        if (icon && GetIconInfo(icon, &info)) {
            BITMAP colour = {};
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, 32) << name;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        if (icon)
            DestroyIcon(icon);
        FreeLibrary(image);
    }

    // One of them started for real: its window appears, says what it is,
    // and closes with exit code 0.
    std::string path = WriteTemp("Quorlin.exe", Inflated(IdOf("Quorlin.exe")));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> command(path.begin(), path.end());
    command.push_back('\0');
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    WaitForInputIdle(process.hProcess, Patient(20000));
    WindowSearch search = {process.dwProcessId, nullptr};
    for (DWORD start = GetTickCount(); !search.Found && GetTickCount() - start < Patient(10000);) {
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.Found)
            Sleep(50);
    }
    ASSERT_NE(search.Found, nullptr) << "no window from the stand-in";
    char title[64] = "";
    GetWindowTextA(search.Found, title, sizeof title);
    EXPECT_STREQ(title, "Quorlin.exe");
    PostMessageA(search.Found, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, Patient(20000)), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(PayloadPrograms, HookLibraryLoadsAndExportsItsPair)
{
    if (sizeof(void*) != 4)
        GTEST_SKIP() << "the 32-bit kbhook.dll does not load into this 64-bit test program; "
                        "the tests' 32-bit build, where 32-bit code runs natively, loads it";
    std::string path = WriteTemp("kbhook.dll", Inflated(IdOf("kbhook.dll")));
    HMODULE hook = LoadLibraryA(path.c_str());
    ASSERT_NE(hook, nullptr);
    using Install = int (*)(HWND);
    using Remove = int (*)();
    auto install = reinterpret_cast<Install>(reinterpret_cast<void (*)()>(GetProcAddress(hook, "KbHookInstall")));
    auto remove = reinterpret_cast<Remove>(reinterpret_cast<void (*)()>(GetProcAddress(hook, "KbHookRemove")));
    ASSERT_NE(install, nullptr);
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove(), 0) << "nothing installed yet";
    EXPECT_EQ(install(nullptr), 1);
    EXPECT_EQ(remove(), 1);
    FreeLibrary(hook);
}
