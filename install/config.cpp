// The engine's configuration: the user's answers in [Config] of
// InstallDir\engine.ini, applied to the shipped bytes in memory and written
// once, whole, through the replacement routine.
#include "install/config.h"

#include <zlib.h>

#include "install/config_text.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "ui/wizard_state.h"

int WriteConfigText(const char* text, size_t length, char useBmpFont, int forceLanguage,
                    char* scratch, size_t capacity, const char* explicitPath)
{
    const PayloadEntry& entry = InstallManifest[EngineConfigRow].Entry;
    const size_t updated = UpdateConfigText(text, length, useBmpFont, forceLanguage, scratch, capacity);
    return updated <= capacity &&
           WritePayloadFile(entry.FileName, reinterpret_cast<const unsigned char*>(scratch), updated,
                            entry.ReadOnly, entry.Hidden, explicitPath);
}

int UpdateEngineConfig(unsigned char* buffer, unsigned long capacity)
{
    unsigned long length = 0;
    if (InflateResource(InstallManifest[EngineConfigRow].Entry.ResourceId, buffer, capacity,
                        &length) != Z_OK)
        return 0;
    return WriteConfigText(reinterpret_cast<const char*>(buffer), length, ChineseDisplayOk ? '0' : '1',
                           ForceLanguage, reinterpret_cast<char*>(buffer) + length,
                           capacity - length, nullptr);
}
