// Payload resources: one zlib stream per TEXT resource, inflated in one call
// into the caller's buffer and written as one file.
#include "install/payload.h"

#include <string.h>
#include <zlib.h>

#include "install/file_helpers.h"
#include "install/replace_file.h"
#include "shell/process_state.h"
#include "ui/wizard_state.h"

namespace {

// A stream read through a view of the installer's own file rather than
// through the loaded image: the view is closed once the stream is inflated,
// so the 26 MB of streams never become resident together, as the image's
// pages would once touched.
struct StreamView {
    HANDLE File;
    HANDLE Mapping;
    void* View;
    const Bytef* Bytes;
};

int OpenStreamView(HMODULE module, const void* bytes, unsigned long size, StreamView* stream)
{
    *stream = {INVALID_HANDLE_VALUE, nullptr, nullptr, nullptr};
    char self[MAX_PATH];
    DWORD selfLength = GetModuleFileNameA(module, self, sizeof self);
    unsigned long offset = 0;
    if (selfLength == 0 || selfLength >= sizeof self ||
        !ImageFileOffset(reinterpret_cast<const unsigned char*>(module), bytes, size, &offset))
        return 0;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    unsigned long start = offset - offset % system.dwAllocationGranularity;
    stream->File = CreateFileA(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (stream->File != INVALID_HANDLE_VALUE)
        stream->Mapping = CreateFileMappingA(stream->File, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (stream->Mapping)
        stream->View = MapViewOfFile(stream->Mapping, FILE_MAP_READ, 0, start,
                                     size + (offset - start));
    if (stream->View)
        stream->Bytes = static_cast<const Bytef*>(stream->View) + (offset - start);
    return stream->Bytes != nullptr;
}

void CloseStreamView(StreamView* stream)
{
    if (stream->View)
        UnmapViewOfFile(stream->View);
    if (stream->Mapping)
        CloseHandle(stream->Mapping);
    if (stream->File != INVALID_HANDLE_VALUE)
        CloseHandle(stream->File);
}

}  // namespace

int ImageFileOffset(const unsigned char* image, const void* address, unsigned long size,
                    unsigned long* offset)
{
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return 0;
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return 0;
    const unsigned char* at = static_cast<const unsigned char*>(address);
    if (at < image)
        return 0;
    unsigned long rva = static_cast<unsigned long>(at - image);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        // Only bytes the file holds: not the zero fill past a section's raw data.
        if (rva >= section->VirtualAddress && rva - section->VirtualAddress <= section->SizeOfRawData &&
            size <= section->SizeOfRawData - (rva - section->VirtualAddress)) {
            *offset = rva - section->VirtualAddress + section->PointerToRawData;
            return 1;
        }
    }
    return 0;
}

int InflateResource(WORD resourceId, unsigned char* buffer, unsigned long capacity,
                    unsigned long* length)
{
    // A missing resource inflates zero bytes of input, which zlib reports as
    // a damaged stream: callers need no separate case for it.
    static const Bytef noBytes[1] = {0};
    const Bytef* source = noBytes;
    uLong sourceSize = 0;
    StreamView stream = {INVALID_HANDLE_VALUE, nullptr, nullptr, nullptr};
    // No instance handle yet means the program's own file, as for FindResource.
    HMODULE module = AppInstance ? AppInstance : GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "TEXT");
    if (found) {
        HGLOBAL loaded = LoadResource(module, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (bytes) {
            sourceSize = SizeofResource(module, found);
            // Where the file cannot be viewed, the image serves.
            source = OpenStreamView(module, bytes, sourceSize, &stream) ? stream.Bytes
                                                                : static_cast<const Bytef*>(bytes);
        }
    }
    uLongf inflated = capacity;
    int code = uncompress(buffer, &inflated, source, sourceSize);
    CloseStreamView(&stream);
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
    // Whole or not at all: a disk that fills up, or a file in use, leaves an
    // earlier installation's file as it was, read-only and hidden included.
    DWORD attributes = (readOnly ? FILE_ATTRIBUTE_READONLY : 0) | (hidden ? FILE_ATTRIBUTE_HIDDEN : 0);
    return ReplaceFileWithBytes(path, data, length, attributes);
}
