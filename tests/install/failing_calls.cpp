// Calls that fail as planned (see failing_calls.h).
#include "failing_calls.h"

#include <windows.h>

int FailingCalls, CallCount, FailedCalls;

namespace {

ReplaceFileCalls Real;

// A planned failure is a lasting one (a write fault), never a brief hold
// that the replacement would wait out.
int Failed()
{
    SetLastError(ERROR_WRITE_FAULT);
    return 0;
}

int WriteNew(const FilePath& path, const NewContent& content, int toDisk)
{
    if (!NextCallFails())
        return Real.WriteNew(path, content, toDisk);
    NewContent half = content;
    half.Count /= 2;
    Real.WriteNew(path, half, toDisk);
    return Failed();
}

// The one-step move of the NT family, whatever system this test runs on.
OneStepMove MoveInOneStep(const FilePath& from, const FilePath& to)
{
    if (NextCallFails()) {
        Failed();
        return OneStepMoveFailed;
    }
    const BOOL moved = to.Wide[0] ? MoveFileExW(from.Wide, to.Wide, MOVEFILE_REPLACE_EXISTING)
                                  : MoveFileExA(from.Ansi, to.Ansi, MOVEFILE_REPLACE_EXISTING);
    return moved ? MovedInOneStep : OneStepMoveFailed;
}

OneStepMove NoMoveInOneStep(const FilePath&, const FilePath&)
{
    return NoOneStepMove;
}

int Rename(const FilePath& from, const FilePath& to)
{
    return NextCallFails() ? Failed() : Real.Rename(from, to);
}

int SetAttributes(const FilePath& path, DWORD attributes)
{
    return NextCallFails() ? Failed() : Real.SetAttributes(path, attributes);
}

int Delete(const FilePath& path)
{
    return NextCallFails() ? Failed() : Real.Delete(path);
}

}  // namespace

int NextCallFails()
{
    int fails = CallCount < 31 && ((FailingCalls >> CallCount) & 1);
    ++CallCount;
    FailedCalls += fails;
    return fails;
}

ReplaceFileCalls FailingReplaceCalls(int oneStep)
{
    if (!Real.WriteNew)
        Real = ReplaceCalls;
    return {WriteNew, oneStep ? MoveInOneStep : NoMoveInOneStep, Rename, SetAttributes, Delete};
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
