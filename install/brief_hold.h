// Waiting out a brief hold on a file. Virus scanners, indexers and backup
// agents open a freshly written file for a moment; a rename, delete or copy
// in that moment fails with a sharing violation, or, for a file that another
// handle still has open while it is being removed, an access denial. Such a
// call is tried again after short pauses, for about two seconds per file in
// all, before its failure counts. The pauses keep the installer's windows
// answering: sent messages are handled and pending paints done.
#pragma once
#include <windows.h>

// What one file has waited so far: one of these per replacement or delete.
struct HoldWait {
    DWORD Waited;   // milliseconds
};

constexpr DWORD HoldBudget = 2000;  // per file, in all
constexpr DWORD HoldStep = 100;     // one pause

// 1 for the errors a file held by another program gives.
int IsHoldError(DWORD error);

// Called right after a file call failed: 1 when the failure (GetLastError)
// is a hold and the file's budget allows another try, after one pause; 0
// when the failure counts.
int WaitOutHold(HoldWait* wait);

// The pause between two tries (milliseconds). Tests replace it.
extern void (*HoldPause)(DWORD milliseconds);
