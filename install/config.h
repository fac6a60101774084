// The [Config] section of the engine's "engine.ini": the user's answers
// written into the shipped file. The text rules are in install/config_text.h.
#pragma once
#include <windows.h>
#include <stddef.h>

// Writes UseBmpFont and ForceLanguage into InstallDir\engine.ini: the
// payload's own engine.ini, inflated into buffer, gets the two keys (in the
// same buffer, behind it) and replaces the file whole, with the attributes
// of its manifest row. 1 when the file holds the answers. 0 leaves it as it
// was, except on the 9x family, which replaces a file in two renames
// (install/replace_file.h): there a 0 can also mean that engine.ini holds
// the answers and the old file stays beside it as TarvoOld.tmp, or, where
// both renames back failed, that the old file is whole as TarvoOld.tmp and
// no engine.ini is left.
int UpdateEngineConfig(unsigned char* buffer, unsigned long capacity);

// text (length bytes) with the two keys applied, composed in scratch
// (capacity bytes) and written whole as engine.ini's manifest row asks, or
// to explicitPath where that is not null. 1 when the file holds it.
int WriteConfigText(const char* text, size_t length, char useBmpFont, int forceLanguage,
                    char* scratch, size_t capacity, const char* explicitPath);
