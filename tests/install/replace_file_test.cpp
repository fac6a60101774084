// Replacing a file whole or not at all, with the calls that change it made to
// fail: on the NT family's one-step move and on the two renames of Windows
// 95, 98 and Me.
#include <gtest/gtest.h>

#include <string>

#include "install/replace_file.h"
#include "temp_files.h"

namespace {

constexpr DWORD ReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN;

// Bit n of Failing makes call number n fail; a failing write leaves half of
// its bytes, as a disk that fills part-way does.
int Failing, Count;
ReplaceFileCalls Real;
int Fails() { return (Failing >> Count++) & 1; }
int WriteNew(const char* path, const void* bytes, unsigned long count, int toDisk)
{
    if (!Fails())
        return Real.WriteNew(path, bytes, count, toDisk);
    Real.WriteNew(path, bytes, count / 2, toDisk);
    return 0;
}
OneStepMove MoveInOneStep(const char* from, const char* to)
{
    if (Fails())
        return OneStepMoveFailed;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) ? MovedInOneStep : OneStepMoveFailed;
}
OneStepMove NoMoveInOneStep(const char*, const char*) { return NoOneStepMove; }
int Rename(const char* from, const char* to) { return !Fails() && Real.Rename(from, to); }

std::string Names(const std::string& folder)
{
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names += std::string(found.cFileName) + " ";
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

// An older file, read-only and hidden, replaced by one that is only
// read-only, under every combination of failing calls (the new file's
// write, then the move or the three renames). Either the new file stands
// with exactly its bits, or the old one as it was; nothing else stays. The
// one exception is the two-rename window itself: the new file's rename and
// the old one's way back both failing leave the old file whole as
// TarvoOld.tmp.
TEST(ReplaceFile, FailedCallsLeaveTheOldFileOrTheNewOneAndNothingBeside)
{
    const std::string folder = FreshTestFolder("replace");
    const std::string target = folder + "\\corner.bin";
    Real = ReplaceCalls;
    for (int oneStep = 1; oneStep >= 0; --oneStep) {
        for (Failing = 0; Failing < 16; ++Failing) {
            SCOPED_TRACE(std::string(oneStep ? "one-step move" : "two renames") + ", calls failing " +
                         std::to_string(Failing));
            SetAttributes(target, 0);
            WriteBytes(target, "an older and longer corner.bin");
            SetAttributes(target, ReadOnly | Hidden);
            ReplaceCalls = {WriteNew, oneStep ? MoveInOneStep : NoMoveInOneStep, Rename};
            Count = 0;
            const int replaced = ReplaceFileWithBytes(target.c_str(), "new corner", 10, ReadOnly);
            ReplaceCalls = Real;
            if (!oneStep && (Failing & 0xF) == 0xC) {
                EXPECT_EQ(replaced, 0);
                EXPECT_EQ(Names(folder), "TarvoOld.tmp ");
                EXPECT_EQ(ReadBytes(folder + "\\TarvoOld.tmp"), "an older and longer corner.bin");
                SetAttributes(folder + "\\TarvoOld.tmp", 0);
                DeleteFileA((folder + "\\TarvoOld.tmp").c_str());
                continue;
            }
            EXPECT_EQ(Names(folder), "corner.bin ");
            EXPECT_EQ(ReadBytes(target), replaced ? "new corner" : "an older and longer corner.bin");
            EXPECT_EQ(Attributes(target) & (ReadOnly | Hidden), replaced ? ReadOnly : ReadOnly | Hidden);
            if (Failing == 0) {
                EXPECT_EQ(replaced, 1);
            }
        }
    }
    RemoveTestFolder(folder);
}
