// Calls that fail as planned (see failing_calls.h).
#include "failing_calls.h"

#include <windows.h>

int FailingCalls, CallCount, FailedCalls;

namespace {

ReplaceFileCalls Real;

int WriteNew(const char* path, const void* bytes, unsigned long count, int toDisk)
{
    if (!NextCallFails())
        return Real.WriteNew(path, bytes, count, toDisk);
    Real.WriteNew(path, bytes, count / 2, toDisk);
    return 0;
}

OneStepMove MoveInOneStep(const char* from, const char* to)
{
    if (NextCallFails())
        return OneStepMoveFailed;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) ? MovedInOneStep : OneStepMoveFailed;
}

OneStepMove NoMoveInOneStep(const char*, const char*)
{
    return NoOneStepMove;
}

int Rename(const char* from, const char* to)
{
    return !NextCallFails() && Real.Rename(from, to);
}

}  // namespace

int NextCallFails()
{
    int fails = (FailingCalls >> CallCount++) & 1;
    FailedCalls += fails;
    return fails;
}

ReplaceFileCalls FailingReplaceCalls(int oneStep)
{
    if (!Real.WriteNew)
        Real = ReplaceCalls;
    return {WriteNew, oneStep ? MoveInOneStep : NoMoveInOneStep, Rename};
}

std::string FileNamesIn(const std::string& folder)
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
