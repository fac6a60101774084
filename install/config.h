// The [Config] section of the engine's "engine.ini": the update as a short
// sequence over the file. The text rules are in install/config_text.h.
#pragma once
#include <stddef.h>
#include <stdio.h>

// Writes UseBmpFont and ForceLanguage into InstallDir\engine.ini; the file
// ends read-only and hidden. Returns 1 on every path.
int UpdateEngineConfig();

// What an update left under the file's name.
enum ConfigUpdate {
    ConfigUnchanged,    // the file already held the values
    ConfigUpdated,      // exactly the updated text
    ConfigKeptOld,      // exactly the old text: it could not be read, or the change was undone
    ConfigBroken,       // neither: the rewrite, its undoing and the replacement all failed
};

// The update of one file: read, compute, rewrite in place, and where that
// does not complete, replace the file whole with the updated text. Leaves
// the attributes alone.
ConfigUpdate UpdateConfigFile(const char* path, char useBmpFont, int forceLanguage);

// The calls through which the update rewrites the file in place, each 1 on
// success and 0 on failure. A test replaces them to make one of them fail;
// the replacement's own calls are in install/replace_file.h.
struct ConfigFileCalls {
    // Writes the bytes at the offset and hands them to the system.
    int (*WriteAt)(FILE* file, size_t offset, const char* bytes, size_t count);
    // Cuts the file to a length; the update never grows a file with it.
    int (*Cut)(FILE* file, size_t length);
};
extern ConfigFileCalls ConfigCalls;
