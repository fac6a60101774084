// Payload resources: one zlib stream per TEXT resource, inflated in one call
// into the caller's buffer and written as one file.
#include "install/payload.h"

#include <io.h>
#include <stdio.h>
#include <string.h>
#include <zlib.h>

#include "install/file_helpers.h"
#include "shell/startup.h"
#include "ui/wizard.h"

int InflateResource(WORD resourceId, unsigned char* buffer, unsigned long capacity,
                    unsigned long* length)
{
    // A missing resource inflates zero bytes of input, which zlib reports as
    // a damaged stream: callers need no separate case for it.
    static const Bytef noBytes[1] = {0};
    const Bytef* source = noBytes;
    uLong sourceSize = 0;
    HRSRC found = FindResourceA(AppInstance, MAKEINTRESOURCEA(resourceId), "TEXT");
    if (found) {
        HGLOBAL loaded = LoadResource(AppInstance, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (bytes) {
            source = static_cast<const Bytef*>(bytes);
            sourceSize = SizeofResource(AppInstance, found);
        }
    }
    uLongf inflated = capacity;
    int code = uncompress(buffer, &inflated, source, sourceSize);
    if (length)
        *length = code == Z_OK ? inflated : 0;
    return code;
}

int ExtractPayload(const PayloadEntry& entry, unsigned char* buffer, unsigned long capacity,
                   const char* explicitPath)
{
    unsigned long length = 0;
    if (InflateResource(entry.ResourceId, buffer, capacity, &length) != Z_OK)
        return 0;
    return WritePayloadFile(entry.FileName, buffer, length, entry.ReadOnly, entry.Hidden,
                            explicitPath);
}

int WritePayloadFile(const char* fileName, const unsigned char* data, unsigned long length,
                     int readOnly, int hidden, const char* explicitPath)
{
    char path[MAX_PATH];
    if (!PayloadPath(path, InstallDir, fileName, explicitPath))
        return 0;

    // A read-only or hidden file from an earlier installation must not stop
    // the new one from replacing it.
    if (_access(path, 0) == 0)
        ClearFileAttributes(path, 1, 1);

    FILE* file = fopen(path, "wb");
    if (!file)
        return 0;
    size_t written = fwrite(data, 1, length, file);
    // Buffered bytes that cannot be flushed (disk full) fail the close: the
    // file is then not written completely either.
    int closed = fclose(file) == 0;
    if (written != length || !closed)
        return 0;

    if (readOnly || hidden)
        AddFileAttributes(path, readOnly, hidden);
    return 1;
}
