// File helpers of the installation engine: the target path of a payload
// file, clearing the read-only and hidden attributes, and forced deletion.
#pragma once
#include <windows.h>

// The target path of a payload file in a MAX_PATH buffer: explicitPath
// unchanged, otherwise installDir\fileName. 0 (and an empty out) when the
// path does not fit in MAX_PATH bytes.
int PayloadPath(char* out, const char* installDir, const char* fileName, const char* explicitPath);

// 1 when at least one of the asked attributes was cleared, 0 when there was
// nothing to clear.
int ClearFileAttributes(const char* path, int clearReadOnly, int clearHidden);

// Clears read-only and hidden, then deletes, waiting out a brief hold by
// another program. 0 when the file was deleted, -1 when it was not.
int DeleteFileForced(const char* path);
