// Payload resources of type "TEXT" (one complete zlib stream each) and their
// extraction into files with the attributes their manifest row asks for.
#pragma once
#include <windows.h>

struct PayloadEntry {
    WORD ResourceId;
    const char* FileName;   // bare name, no folder
    bool ReadOnly;
    bool Hidden;
};

// Where size bytes at address, inside the loaded image at image, lie in the
// image's file: 1 with the file offset, 0 when no section's file data holds
// them all.
int ImageFileOffset(const unsigned char* image, const void* address, unsigned long size,
                    unsigned long* offset);

// zlib's code: 0, or Z_BUF_ERROR / Z_DATA_ERROR / Z_MEM_ERROR. On success
// *length holds the inflated size. A missing resource fails like a damaged one.
int InflateResource(WORD resourceId, unsigned char* buffer, unsigned long capacity,
                    unsigned long* length);

// 1 when the file was written completely, 0 otherwise. explicitPath may be
// null: the file then goes to InstallDir\FileName.
int ExtractPayload(const PayloadEntry& entry, unsigned char* buffer, unsigned long capacity,
                   const char* explicitPath);

int WritePayloadFile(const char* fileName, const unsigned char* data, unsigned long length,
                     int readOnly, int hidden, const char* explicitPath);
