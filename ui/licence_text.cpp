// The licence texts: inflated once, when the licence page is first shown, and
// filled into their controls while those are hidden.
#include "ui/licence_text.h"

#include <stdlib.h>
#include <string.h>

#include "install/payload.h"
#include "resources/resource_ids.h"
#include "shell/process_state.h"
#include "ui/control_text.h"
#include "ui/message_dialog.h"

namespace {

// Inflates one licence into buffer and NUL-terminates it. The stated capacity
// leaves the last byte free, so a text that would fill the whole buffer fails
// to inflate instead of losing its terminator.
int InflateLicence(WORD resourceId, unsigned char* buffer)
{
    unsigned long length = 0;
    if (InflateResource(resourceId, buffer, LicenceBufferSize - 1, &length) != 0)
        return 0;
    if (length >= LicenceBufferSize)
        return 0;
    buffer[length] = 0;
    return 1;
}

// The Chinese licence as its list draws it, by item data. The list's own
// strings are for screen readers only: the NT family keeps them in Unicode
// and would give back other bytes wherever the system's code page is not a
// Chinese or single-byte one.
// Named into .bss: with one section per object, this compiler puts even a
// zero-filled one into initialised data, and the file would carry 64 KB of
// zeros.
char LicenceStore[LicenceStoreSize] __attribute__((section(".bss")));

void FillChineseLicence(HWND dialog, const char* text)
{
    // A failed earlier attempt may have filled the list already.
    HWND list = GetDlgItem(dialog, IDC_LICENCE_CN);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    char line[LicenceItemSize];
    size_t position = 0, used = 0;
    for (int added = 0; added < LicenceLineLimit && NextLicenceLine(text, &position, line); ++added) {
        const size_t size = strlen(line) + 1;
        if (used + size > sizeof LicenceStore)
            break;
        char* item = LicenceStore + used;
        memcpy(item, line, size);
        used += size;
        const LRESULT index = AddListLine(list, item);
        if (index >= 0)
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
    }
}

}  // namespace

int LoadLicences(HWND dialog)
{
    unsigned char* buffer = static_cast<unsigned char*>(malloc(LicenceBufferSize));
    if (!buffer) {
        ShowMessage(MemoryMessageCn, MemoryMessageEn, MB_OK, MainDialog);
        return 0;
    }
    int loaded = InflateLicence(IDR_LICENCE_CN, buffer);
    if (loaded) {
        FillChineseLicence(dialog, reinterpret_cast<const char*>(buffer));
        loaded = InflateLicence(IDR_LICENCE_EN, buffer);
    }
    if (loaded)
        SendDlgItemMessageA(dialog, IDC_LICENCE_EN, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer));
    free(buffer);
    return loaded;
}

int NextLicenceLine(const char* text, size_t* position, char* line)
{
    const char* start = text + *position;
    const char* end = strchr(start, '\r');
    if (!end)
        return 0;   // nothing after the last CR counts
    size_t length = static_cast<size_t>(end - start);
    size_t take = length;
    if (length > LicenceItemSize - 1) {
        // Cut between characters; the rest of the line makes the next item.
        take = 0;
        while (true) {
            size_t step = (static_cast<unsigned char>(start[take]) & 0x80) ? 2 : 1;
            if (take + step > LicenceItemSize - 1)
                break;
            take += step;
        }
        memcpy(line, start, take);
        line[take] = 0;
        *position += take;
        return 1;
    }
    memcpy(line, start, take);
    line[take] = 0;
    *position += length + 1;
    if (text[*position] == '\n')
        ++*position;
    return 1;
}
