// The engine's configuration: the user's answers in [Config] of
// InstallDir\engine.ini, applied to the shipped bytes in memory and written
// once, whole, through the replacement routine.
#include "install/config.h"

#include <zlib.h>

#include "install/config_text.h"
#include "install/file_helpers.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/replace_file.h"
#include "ui/wizard_state.h"

int WriteConfigText(const char* path, const char* text, size_t length, char useBmpFont,
                    int forceLanguage, DWORD attributes, char* scratch, size_t capacity)
{
    const size_t updated = UpdateConfigText(text, length, useBmpFont, forceLanguage, scratch, capacity);
    return updated <= capacity && ReplaceFileWithBytes(path, scratch, updated, attributes);
}

int UpdateEngineConfig(unsigned char* buffer, unsigned long capacity)
{
    const PayloadEntry& entry = InstallManifest[EngineConfigRow].Entry;
    char path[MAX_PATH];
    unsigned long length = 0;
    if (!PayloadPath(path, InstallDir, entry.FileName, nullptr) ||
        InflateResource(entry.ResourceId, buffer, capacity, &length) != Z_OK)
        return 0;
    return WriteConfigText(path, reinterpret_cast<const char*>(buffer), length,
                           ChineseDisplayOk ? '0' : '1', ForceLanguage, PayloadAttributes(entry),
                           reinterpret_cast<char*>(buffer) + length, capacity - length);
}
