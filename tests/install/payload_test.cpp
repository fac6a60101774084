// Payload extraction: the zlib edges through the test's own TEXT resources,
// then the attribute handling and path limits on real files under Wine.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string.h>

#include <string>
#include <vector>

#include "install/file_helpers.h"
#include "install/payload.h"
#include "install_test_payload.h"
#include "shell/process_state.h"
#include "temp_files.h"
#include "ui/wizard.h"

namespace {

constexpr DWORD ReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD Flags = ReadOnly | Hidden;

std::string Pattern(size_t length)
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; i++)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

class Payload : public testing::Test {
protected:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        folder = FreshTestFolder("payload");
        ASSERT_LT(folder.size(), 200u);
        strcpy(InstallDir, folder.c_str());
        buffer.assign(TestCapacity + 64, 0x5A);
    }
    void TearDown() override { RemoveTestFolder(folder); }

    int Inflate(WORD id, unsigned long* length)
    {
        return InflateResource(id, buffer.data(), TestCapacity, length);
    }
    int Extract(WORD id, const char* name, bool readOnly, bool hidden,
                const char* explicitPath = nullptr)
    {
        PayloadEntry entry = {id, name, readOnly, hidden};
        return ExtractPayload(entry, buffer.data(), TestCapacity, explicitPath);
    }
    bool GuardIntact() const
    {
        for (size_t i = TestCapacity; i < buffer.size(); i++)
            if (buffer[i] != 0x5A)
                return false;
        return true;
    }
    std::string In(const char* name) const { return folder + "\\" + name; }

    std::string folder;
    std::vector<unsigned char> buffer;
};

}  // namespace

TEST_F(Payload, InflatesUpToExactlyTheCapacity)
{
    unsigned long length = 99;
    EXPECT_EQ(Inflate(TestEmptyId, &length), Z_OK);
    EXPECT_EQ(length, 0u);

    EXPECT_EQ(Inflate(TestExactId, &length), Z_OK);
    ASSERT_EQ(length, TestCapacity);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + length), Pattern(TestCapacity));

    // Header 78 01 (stored blocks): any valid stream is accepted.
    EXPECT_EQ(Inflate(TestStoredId, &length), Z_OK);
    ASSERT_EQ(length, 300u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + length), Pattern(300));
    EXPECT_TRUE(GuardIntact());
}

// Streams are read from the installer's file, not from its loaded image: the
// offset found for a resource holds the very bytes the image holds.
TEST_F(Payload, ResourceBytesAreFoundInTheFile)
{
    HRSRC found = FindResourceA(AppInstance, MAKEINTRESOURCEA(TestExactId), "TEXT");
    ASSERT_NE(found, nullptr);
    const char* image = static_cast<const char*>(LockResource(LoadResource(AppInstance, found)));
    unsigned long size = SizeofResource(AppInstance, found), offset = 0;
    const auto* base = reinterpret_cast<const unsigned char*>(AppInstance);
    ASSERT_EQ(ImageFileOffset(base, image, size, &offset), 1);
    EXPECT_EQ(ImageFileOffset(base, image, 0x7FFFFFF0u, &offset), 0);   // past the file data

    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
    FILE* file = fopen(self, "rb");
    ASSERT_NE(file, nullptr);
    std::string bytes(size, '\0');
    ASSERT_EQ(fseek(file, static_cast<long>(offset), SEEK_SET), 0);
    EXPECT_EQ(fread(&bytes[0], 1, size, file), size);
    fclose(file);
    EXPECT_EQ(bytes, std::string(image, size));
}

TEST_F(Payload, FailuresReportZlibCodesAndStayInTheBuffer)
{
    unsigned long length = 99;
    EXPECT_EQ(Inflate(TestOverId, &length), Z_BUF_ERROR);
    EXPECT_TRUE(GuardIntact());
    EXPECT_EQ(Inflate(TestBadAdlerId, &length), Z_DATA_ERROR);
    // zlib 1.2.13's uncompress calls a stream that ends early damaged.
    EXPECT_EQ(Inflate(TestTruncatedId, &length), Z_DATA_ERROR);
    EXPECT_NE(Inflate(TestMissingId, &length), Z_OK);
    EXPECT_TRUE(GuardIntact());
}

TEST_F(Payload, WritesTheInflatedBytes)
{
    EXPECT_EQ(Extract(TestEmptyId, "empty.bin", false, false), 1);
    EXPECT_EQ(ReadBytes(In("empty.bin")), "");
    EXPECT_EQ(Extract(TestExactId, "exact.bin", false, false), 1);
    EXPECT_EQ(ReadBytes(In("exact.bin")), Pattern(TestCapacity));
    EXPECT_EQ(Attributes(In("exact.bin")) & Flags, 0u);
}

TEST_F(Payload, FailedInflationLeavesAnExistingFileAlone)
{
    const char* names[] = {"over.bin", "adler.bin", "missing.bin"};
    WORD ids[] = {TestOverId, TestBadAdlerId, TestMissingId};
    for (int i = 0; i < 3; i++) {
        std::string path = In(names[i]);
        WriteBytes(path, "old content");
        SetAttributes(path, Flags);
        ASSERT_EQ(Attributes(path) & Flags, Flags);
        EXPECT_EQ(Extract(ids[i], names[i], false, false), 0) << names[i];
        EXPECT_EQ(ReadBytes(path), "old content") << names[i];
        EXPECT_EQ(Attributes(path) & Flags, Flags) << names[i];
    }
    // Nothing is created either.
    EXPECT_EQ(Extract(TestOverId, "new.bin", true, true), 0);
    EXPECT_FALSE(Exists(In("new.bin")));
}

TEST_F(Payload, ReplacedFileCarriesExactlyTheEntrysFlags)
{
    struct Case {
        const char* name;
        DWORD before;
        bool readOnly, hidden;
        DWORD after;
    } cases[] = {
        {"both.bin", Flags, true, true, Flags},
        {"hidden.bin", ReadOnly, false, true, Hidden},
        {"plain.bin", Hidden, false, false, 0},
        {"readonly.bin", Hidden, true, false, ReadOnly},
        {"fresh.bin", INVALID_FILE_ATTRIBUTES, true, true, Flags},
    };
    for (const Case& c : cases) {
        std::string path = In(c.name);
        if (c.before != INVALID_FILE_ATTRIBUTES) {
            WriteBytes(path, "an older and longer version of the file");
            SetAttributes(path, c.before);
            ASSERT_EQ(Attributes(path) & Flags, c.before) << c.name;
        }
        EXPECT_EQ(Extract(TestSmallId, c.name, c.readOnly, c.hidden), 1) << c.name;
        EXPECT_EQ(ReadBytes(path), TestSmallText) << c.name;
        EXPECT_EQ(Attributes(path) & Flags, c.after) << c.name;
    }
    // Not read-only means writable, whatever the old file was.
    FILE* file = fopen(In("hidden.bin").c_str(), "ab");
    ASSERT_NE(file, nullptr);
    fclose(file);
    // Read-only holds for this (ordinary) user.
    EXPECT_EQ(fopen(In("both.bin").c_str(), "ab"), nullptr);
}

// Only the attribute bits: the NT family refuses to re-create a file that has
// the system attribute (CREATE_ALWAYS), so no rewrite of one is claimed here.
TEST_F(Payload, OtherAttributeBitsAreKept)
{
    std::string path = In("system.bin");
    WriteBytes(path, "old");
    SetAttributes(path, Flags | FILE_ATTRIBUTE_SYSTEM);
    DWORD before = Attributes(path);
    ASSERT_EQ(before & FILE_ATTRIBUTE_SYSTEM, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(ClearFileAttributes(path.c_str(), 1, 1), 1);
    EXPECT_EQ(Attributes(path), (before & ~Flags));
}

TEST_F(Payload, ExplicitPathIgnoresInstallDir)
{
    std::string path = In("explicit.bin");
    strcpy(InstallDir, "C:\\no-such-tarvo-folder");
    EXPECT_EQ(Extract(TestSmallId, "other-name.bin", false, true, path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path), TestSmallText);
    EXPECT_EQ(Attributes(path) & Flags, Hidden);
    EXPECT_FALSE(Exists("C:\\no-such-tarvo-folder\\other-name.bin"));
}

TEST(PayloadPath, FormatsWithinMaxPath)
{
    char out[MAX_PATH + 8];
    memset(out, 0x5A, sizeof out);
    EXPECT_EQ(PayloadPath(out, "C:\\Tarvo", "engine.ini", nullptr), 1);
    EXPECT_STREQ(out, "C:\\Tarvo\\engine.ini");
    EXPECT_EQ(PayloadPath(out, "C:\\Ignored", "engine.ini", "D:\\x\\y.bin"), 1);
    EXPECT_STREQ(out, "D:\\x\\y.bin");

    std::string dir(250, 'd');
    std::string name259(259 - 251, 'n');
    EXPECT_EQ(PayloadPath(out, dir.c_str(), name259.c_str(), nullptr), 1);
    EXPECT_EQ(strlen(out), 259u);
    std::string name260 = name259 + "n";
    EXPECT_EQ(PayloadPath(out, dir.c_str(), name260.c_str(), nullptr), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(PayloadPath(out, "C:", "x", std::string(260, 'e').c_str()), 0);
    EXPECT_EQ(PayloadPath(out, "C:", "x", std::string(259, 'e').c_str()), 1);
    for (size_t i = MAX_PATH; i < sizeof out; i++)
        EXPECT_EQ(out[i], 0x5A);
}

TEST_F(Payload, PathThatDoesNotFitWritesNothing)
{
    // A real folder whose path leaves room for a short name only.
    std::string deep = folder;
    while (deep.size() < 229) {
        deep += "\\" + std::string(std::min<size_t>(60, 229 - deep.size()), 'p');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    }
    strcpy(InstallDir, deep.c_str());

    std::string fits(259 - deep.size() - 1, 'f');
    EXPECT_EQ(Extract(TestSmallId, fits.c_str(), false, false), 1);
    EXPECT_EQ(ReadBytes(deep + "\\" + fits), TestSmallText);
    DeleteFileA((deep + "\\" + fits).c_str());

    std::string tooLong = fits + "x";
    EXPECT_EQ(Extract(TestSmallId, tooLong.c_str(), false, false), 0);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((deep + "\\f*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "written as " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}
