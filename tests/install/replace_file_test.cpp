// Replacing a file whole or not at all, with the calls that change it made to
// fail: on the NT family's one-step move and on the two renames of Windows
// 95, 98 and Me.
#include <gtest/gtest.h>

#include <string>

#include "failing_calls.h"
#include "install/replace_file.h"
#include "temp_files.h"

namespace {

constexpr DWORD ReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN;

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
    const ReplaceFileCalls real = ReplaceCalls;
    for (int oneStep = 1; oneStep >= 0; --oneStep) {
        for (FailingCalls = 0; FailingCalls < 16; ++FailingCalls) {
            SCOPED_TRACE(std::string(oneStep ? "one-step move" : "two renames") + ", calls failing " +
                         std::to_string(FailingCalls));
            SetAttributes(target, 0);
            WriteBytes(target, "an older and longer corner.bin");
            SetAttributes(target, ReadOnly | Hidden);
            ReplaceCalls = FailingReplaceCalls(oneStep);
            CallCount = 0;
            const int replaced = ReplaceFileWithBytes(target.c_str(), "new corner", 10, ReadOnly);
            ReplaceCalls = real;
            if (!oneStep && (FailingCalls & 0xF) == 0xC) {
                EXPECT_EQ(replaced, 0);
                EXPECT_EQ(FileNamesIn(folder), "TarvoOld.tmp ");
                EXPECT_EQ(ReadBytes(folder + "\\TarvoOld.tmp"), "an older and longer corner.bin");
                SetAttributes(folder + "\\TarvoOld.tmp", 0);
                DeleteFileA((folder + "\\TarvoOld.tmp").c_str());
                continue;
            }
            EXPECT_EQ(FileNamesIn(folder), "corner.bin ");
            EXPECT_EQ(ReadBytes(target), replaced ? "new corner" : "an older and longer corner.bin");
            EXPECT_EQ(Attributes(target) & (ReadOnly | Hidden), replaced ? ReadOnly : ReadOnly | Hidden);
            if (FailingCalls == 0) {
                EXPECT_EQ(replaced, 1);
            }
        }
    }
    RemoveTestFolder(folder);
}
