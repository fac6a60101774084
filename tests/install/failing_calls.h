// Calls that fail as planned, for the fault tests of the replacement and of
// engine.ini's update: bit n of FailingCalls makes the call numbered n fail,
// counting every planned call of a run together. A failing write leaves half
// of its bytes, as a disk that fills part-way does.
#pragma once
#include <string>

#include "install/replace_file.h"

extern int FailingCalls;    // the plan
extern int CallCount;       // calls made so far in this run
extern int FailedCalls;     // of them, those that failed

// 1 when the next call is to fail; counts it.
int NextCallFails();

// The replacement's calls, failing as planned: with the NT family's one-step
// move, or with none (Windows 95, 98 and Me: two renames). The real calls
// are those of ReplaceCalls when this is first asked.
ReplaceFileCalls FailingReplaceCalls(int oneStep);

// The files in folder as the system lists them, each name followed by a blank.
std::string FileNamesIn(const std::string& folder);
