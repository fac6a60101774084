// Replacing a file whole or not at all, with the calls that change it made to
// fail: on the NT family's one-step move and on the two renames of Windows
// 95, 98 and Me, by ANSI paths and by the UTF-16 paths of the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>
#include <string>

#include "failing_calls.h"
#include "install/brief_hold.h"
#include "install/replace_file.h"
#include "temp_files.h"

namespace {

constexpr DWORD ReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD Bits = ReadOnly | Hidden;

struct ReplaceCase {
    const char* Name;
    bool Wide;      // the settings file's copy by UTF-16 paths, else bytes by ANSI paths
    bool OneStep;
};

FilePath PathOf(const std::string& path, bool wide)
{
    FilePath out;
    if (!wide) {
        AnsiFilePath(&out, path.c_str());
        return out;
    }
    WCHAR units[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, units, MAX_PATH);
    WideFilePath(&out, units);
    return out;
}

}  // namespace

// An older file, read-only and hidden, replaced by a new one under every
// combination of failing calls among the first twelve (the new file's write,
// its bits, the old file's bits, the move or the three renames, the old
// bits put back, the clean-up). Where the result is 1 the new file stands
// alone with exactly its bits. Where it is 0 the old content survives, under
// the target's name or as TarvoOld.tmp, nothing is ever torn, and the new
// file stands under the target's name only with the old one beside it. After
// one failed call the old file is exactly as it was, bits included, except
// where the old file could not be deleted behind the new one.
TEST(Replacement, FailedCallsLeaveTheOldFileOrTheNewOne)
{
    const std::string folder = FreshTestFolder("replace");
    const std::string target = folder + "\\AuxSet1.bin", aside = folder + "\\TarvoOld.tmp";
    const std::string sourceFolder = FreshTestFolder("replace_source");
    const std::string source = sourceFolder + "\\AuxSet1.bin";
    const std::string older = "an older and longer file", newer = "the new file";
    WriteBytes(source, newer);
    SetAttributes(source, Hidden);
    const ReplaceFileCalls real = ReplaceCalls;
    for (const ReplaceCase& c : {ReplaceCase{"bytes, one-step move", false, true},
                                 ReplaceCase{"bytes, two renames", false, false},
                                 ReplaceCase{"UTF-16 copy, one-step move", true, true}}) {
        const DWORD wanted = c.Wide ? Hidden : ReadOnly;
        const FilePath targetPath = PathOf(target, c.Wide), sourcePath = PathOf(source, c.Wide);
        int outcomes[2] = {};
        std::vector<int> callsMade(4096);
        for (int plan = 0; plan < 4096; ++plan) {
            // A plan whose highest failing call is never reached plays out as
            // the same plan without it.
            int highest = 0;
            while (plan >> (highest + 1))
                ++highest;
            const int without = plan & ~(1 << highest);
            if (plan && highest >= callsMade[without]) {
                callsMade[plan] = callsMade[without];
                continue;
            }
            SCOPED_TRACE(std::string(c.Name) + ", calls failing " + std::to_string(plan));
            for (const std::string& name : {aside, folder + "\\TarvoNew.tmp", target}) {
                SetAttributes(name, 0);
                DeleteFileA(name.c_str());
            }
            WriteBytes(target, older);
            SetAttributes(target, Bits);
            ReplaceCalls = FailingReplaceCalls(c.OneStep);
            FailingCalls = plan;
            CallCount = FailedCalls = 0;
            const int replaced = c.Wide ? ReplaceFileWithCopy(sourcePath, targetPath)
                                        : ReplaceFileWithBytes(target.c_str(), newer.data(),
                                                               newer.size(), wanted);
            ReplaceCalls = real;
            callsMade[plan] = CallCount;
            outcomes[replaced]++;
            const std::string names = FileNamesIn(folder), now = ReadBytes(target);
            const DWORD bits = Attributes(target) & Bits;
            if (replaced) {
                EXPECT_EQ(names, "AuxSet1.bin ");
                EXPECT_EQ(now, newer);
                EXPECT_EQ(bits, wanted);
                continue;
            }
            EXPECT_GT(FailedCalls, 0) << "nothing failed, yet the result is 0";
            const bool oldAside = ReadBytes(aside) == older;
            EXPECT_TRUE(now == older || oldAside) << "the old file is lost: " << names;
            EXPECT_TRUE(now == older || now == newer || now == "<missing>") << now;
            EXPECT_TRUE(now != newer || oldAside) << "new in place, yet the result is 0";
            if (FailedCalls == 1) {
                const bool asBefore = names == "AuxSet1.bin " && now == older && bits == Bits;
                const bool oldBeside = !c.OneStep && std::count(names.begin(), names.end(), ' ') == 2 &&
                                       oldAside && now == newer && bits == wanted;
                EXPECT_TRUE(asBefore || oldBeside) << names << "| " << now << " bits " << bits;
            }
        }
        printf("%s: %d plans, %d replaced, %d not\n", c.Name, outcomes[0] + outcomes[1], outcomes[1],
               outcomes[0]);
        EXPECT_GT(outcomes[0], 0);
        EXPECT_GT(outcomes[1], 0);
    }
    RemoveTestFolder(folder);
    RemoveTestFolder(sourceFolder);
}

// A temporary file that a stopped run left read-only and hidden is no
// obstacle: it is removed, and the replacement goes through.
TEST(Replacement, ReadOnlyLeftoverOfAStoppedRun)
{
    const std::string folder = FreshTestFolder("replace_leftover");
    const std::string fresh = folder + "\\TarvoNew.tmp", target = folder + "\\corner.bin";
    WriteBytes(fresh, "left by a stopped run");
    SetAttributes(fresh, Bits);
    EXPECT_EQ(ReplaceFileWithBytes(target.c_str(), "new corner", 10, ReadOnly), 1);
    EXPECT_EQ(FileNamesIn(folder), "corner.bin ");
    EXPECT_EQ(ReadBytes(target), "new corner");
    RemoveTestFolder(folder);
}

// A scanner that holds the old file for a moment: the rename that moves it
// aside fails twice with a sharing violation and then goes through, and the
// new file is in place. Held for good, the replacement gives up after its
// budget of pauses, the old file as it was.
int HeldRenames, RenameTries;
DWORD Paused;
ReplaceFileCalls Unheld;

int HeldRename(const FilePath& from, const FilePath& to)
{
    ++RenameTries;
    if (HeldRenames == 0)
        return Unheld.Rename(from, to);
    if (HeldRenames > 0)
        --HeldRenames;
    SetLastError(ERROR_SHARING_VIOLATION);
    return 0;
}

OneStepMove NoOneStep(const FilePath&, const FilePath&)
{
    return NoOneStepMove;
}

TEST(Replacement, BriefHoldIsWaitedOut)
{
    const std::string folder = FreshTestFolder("replace_held");
    const std::string target = folder + "\\notes2.igb";
    Unheld = ReplaceCalls;
    void (*realPause)(DWORD) = HoldPause;
    HoldPause = [](DWORD milliseconds) { Paused += milliseconds; };
    ReplaceCalls.MoveReplacing = NoOneStep;
    ReplaceCalls.Rename = HeldRename;
    for (const int holds : {2, -1}) {
        SCOPED_TRACE(holds < 0 ? "held for good" : "held twice");
        SetAttributes(target, 0);
        WriteBytes(target, "old dictionary");
        SetAttributes(target, Bits);
        HeldRenames = holds;
        RenameTries = 0;
        Paused = 0;
        const int replaced = ReplaceFileWithBytes(target.c_str(), "new dictionary", 14, Bits);
        printf("%d renames, %lu ms paused, result %d\n", RenameTries, Paused, replaced);
        EXPECT_EQ(replaced, holds > 0);
        EXPECT_EQ(ReadBytes(target), holds > 0 ? "new dictionary" : "old dictionary");
        EXPECT_EQ(Attributes(target) & Bits, Bits);
        EXPECT_EQ(FileNamesIn(folder), "notes2.igb ");
        // Aside and back in place: two renames besides the held ones.
        EXPECT_EQ(RenameTries, holds > 0 ? 2 + holds : 1 + int(HoldBudget / HoldStep));
        EXPECT_EQ(Paused, holds > 0 ? 2 * HoldStep : HoldBudget);
    }
    ReplaceCalls = Unheld;
    HoldPause = realPause;
    RemoveTestFolder(folder);
}
