// The [Config] section of the engine's "engine.ini", and the two small file
// operations the installation engine shares.
#pragma once

// Writes UseBmpFont and ForceLanguage into InstallDir\engine.ini; the file
// ends read-only and hidden. Returns 1 on every path.
int UpdateEngineConfig();

// 1 when at least one of the asked attributes was cleared, 0 when there was
// nothing to clear.
int ClearFileAttributes(const char* path, int clearReadOnly, int clearHidden);

// 0 when the file was deleted, -1 when it was not.
int DeleteFileForced(const char* path);
