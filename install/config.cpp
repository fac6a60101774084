// The engine's configuration: UseBmpFont and ForceLanguage in [Config] of
// InstallDir\engine.ini, changed in place where that completes, replaced
// whole where it does not.
#include "install/config.h"

#include <windows.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

#include "install/config_text.h"
#include "install/file_helpers.h"
#include "install/replace_file.h"
#include "ui/wizard_state.h"

namespace {

// The stream is unbuffered: a failed write leaves nothing behind to be
// written later.
int WriteAtOffset(FILE* file, size_t offset, const char* bytes, size_t count)
{
    clearerr(file);
    return fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
           fwrite(bytes, 1, count, file) == count && fflush(file) == 0;
}

int CutFile(FILE* file, size_t length)
{
    return fflush(file) == 0 && _chsize(_fileno(file), static_cast<long>(length)) == 0;
}

}  // namespace

ConfigFileCalls ConfigCalls = {WriteAtOffset, CutFile};

namespace {

// A whole file's text in a malloc'ed buffer; Bytes is null when there is none.
struct ConfigText {
    char* Bytes;
    size_t Length;
};

ConfigText ReadWholeFile(FILE* file)
{
    ConfigText text = {nullptr, 0};
    if (fseek(file, 0, SEEK_END) != 0)
        return text;
    long size = ftell(file);
    if (size < 0 || fseek(file, 0, SEEK_SET) != 0)
        return text;
    text.Bytes = static_cast<char*>(malloc(static_cast<size_t>(size) + 1));
    text.Length = static_cast<size_t>(size);
    if (text.Bytes && fread(text.Bytes, 1, text.Length, file) != text.Length) {
        free(text.Bytes);
        text.Bytes = nullptr;
    }
    return text;
}

ConfigText UpdatedText(const ConfigText& old, char useBmpFont, int forceLanguage)
{
    ConfigText updated = {nullptr, 0};
    if (!old.Bytes)
        return updated;
    updated.Length = UpdateConfigText(old.Bytes, old.Length, useBmpFont, forceLanguage, nullptr, 0);
    updated.Bytes = static_cast<char*>(malloc(updated.Length + 1));
    if (updated.Bytes)
        UpdateConfigText(old.Bytes, old.Length, useBmpFont, forceLanguage, updated.Bytes,
                         updated.Length);
    return updated;
}

int SameText(const ConfigText& a, const ConfigText& b)
{
    return a.Length == b.Length && memcmp(a.Bytes, b.Bytes, a.Length) == 0;
}

// The update in place: the updated text, or the old one put back, or,
// where the put-back fails too, neither.
ConfigUpdate RewriteInPlace(FILE* file, const ConfigText& old, const ConfigText& updated)
{
    size_t same = 0;
    while (same < old.Length && same < updated.Length && old.Bytes[same] == updated.Bytes[same])
        same++;
    // Room first: the bytes past the old end go on while the old text is
    // still whole before them, so that a full disk stops the update where a
    // cut restores it, and the rewrite below stays within the file's blocks.
    // (A copy-on-write or compressed disk may still refuse the rewrite or
    // the put-back; the file is then replaced whole.)
    if (updated.Length > old.Length &&
        !ConfigCalls.WriteAt(file, old.Length, updated.Bytes + old.Length, updated.Length - old.Length))
        return ConfigCalls.Cut(file, old.Length) ? ConfigKeptOld : ConfigBroken;
    size_t common = updated.Length < old.Length ? updated.Length : old.Length;
    if (ConfigCalls.WriteAt(file, same, updated.Bytes + same, common - same) &&
        (updated.Length >= old.Length || ConfigCalls.Cut(file, updated.Length)))
        return ConfigUpdated;
    int putBack = ConfigCalls.WriteAt(file, same, old.Bytes + same, old.Length - same) &&
                  ConfigCalls.Cut(file, old.Length);
    return putBack ? ConfigKeptOld : ConfigBroken;
}

// The file's own attribute bits go over to a file that replaces it.
DWORD KeptAttributes(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
}

}  // namespace

ConfigUpdate UpdateConfigFile(const char* path, char useBmpFont, int forceLanguage)
{
    // Binary mode: offsets are byte offsets, and the line ends written are
    // the ones the text rules chose.
    FILE* file = fopen(path, "r+b");
    if (!file)
        return ConfigKeptOld;
    setvbuf(file, nullptr, _IONBF, 0);
    ConfigText old = ReadWholeFile(file);
    ConfigText updated = UpdatedText(old, useBmpFont, forceLanguage);
    ConfigUpdate outcome = ConfigKeptOld;   // unread, or no memory for the update
    if (updated.Bytes)
        outcome = SameText(old, updated) ? ConfigUnchanged : RewriteInPlace(file, old, updated);
    fclose(file);
    // Where the rewrite did not complete, the updated text replaces the file
    // whole; where that fails too, the file stays as the rewrite left it.
    if ((outcome == ConfigKeptOld || outcome == ConfigBroken) && updated.Bytes &&
        ReplaceFileWithBytes(path, updated.Bytes, updated.Length, KeptAttributes(path)))
        outcome = ConfigUpdated;
    free(updated.Bytes);
    free(old.Bytes);
    return outcome;
}

int UpdateEngineConfig()
{
    char path[MAX_PATH];
    if (!PayloadPath(path, InstallDir, "engine.ini", nullptr))
        return 1;
    ClearFileAttributes(path, 1, 1);
    UpdateConfigFile(path, ChineseDisplayOk ? '0' : '1', ForceLanguage);
    AddFileAttributes(path, 1, 1);
    return 1;
}
