// The engine's configuration: UseBmpFont and ForceLanguage in [Config] of
// InstallDir\engine.ini.
#include "install/config.h"

#include <windows.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "install/file_helpers.h"
#include "ui/wizard.h"

namespace {

// Collects the updated file; counts what does not fit so that the caller
// learns the full length.
struct TextSink {
    char* Out;
    size_t Capacity;
    size_t Length;

    void Put(const char* bytes, size_t count)
    {
        if (Out && Length < Capacity)
            memcpy(Out + Length, bytes, count < Capacity - Length ? count : Capacity - Length);
        Length += count;
    }
    void Put(const char* text) { Put(text, strlen(text)); }
};

// The profile functions' blanks; Ctrl-Z counts as one too.
int IsIniBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' ||
           c == '\x1A';
}

// The first non-blank at or after start, or end.
size_t SkipBlanks(const char* line, size_t start, size_t end)
{
    while (start < end && IsIniBlank(line[start]))
        start++;
    return start;
}

// Where the text before end stops once its trailing blanks are gone, not
// before start.
size_t TrimBlanks(const char* line, size_t start, size_t end)
{
    while (end > start && IsIniBlank(line[end - 1]))
        end--;
    return end;
}

int NameIs(const char* line, const IniLine& parsed, const char* name)
{
    size_t length = strlen(name);
    return parsed.NameLength == length && _strnicmp(line + parsed.NameStart, name, length) == 0;
}

// The line end of lines inserted at `position`: CR LF, unless the lines just
// before it end in a lone CR and no LF follows. The profile functions take
// every CR and every LF as a line end, but a reader that takes a lone CR as
// one only where no LF follows would see an inserted LF join those lines.
const char* InsertedLineEnd(const char* text, size_t length, size_t position)
{
    if (memchr(text + position, '\n', length - position))
        return "\r\n";
    size_t lineStart = position;
    while (lineStart > 0 && text[lineStart - 1] != '\n')
        lineStart--;
    return memchr(text + lineStart, '\r', position - lineStart) ? "\r" : "\r\n";
}

struct ConfigKey {
    const char* Name;
    char Value[16];
    int Found;
};

void PutMissingKeys(TextSink& sink, ConfigKey* keys, int count, const char* lineEnd)
{
    for (int k = 0; k < count; k++) {
        if (keys[k].Found)
            continue;
        sink.Put(lineEnd);
        sink.Put(keys[k].Name);
        sink.Put("=");
        sink.Put(keys[k].Value);
        sink.Put(lineEnd);
        keys[k].Found = 1;
    }
}

// A key line of one of the keys still missing: its whole value replaced,
// the name as written, the blanks around it and the line end kept. 0 when
// the line is not one of them.
int PutKeyLine(TextSink& sink, ConfigKey* keys, int count, const char* line, size_t lineLength,
               const IniLine& parsed)
{
    for (int k = 0; k < count; k++) {
        if (keys[k].Found || !NameIs(line, parsed, keys[k].Name))
            continue;
        sink.Put(line, parsed.ValueStart);
        if (!parsed.HasEquals)
            sink.Put("=");
        sink.Put(keys[k].Value);
        sink.Put(line + parsed.ValueEnd, lineLength - parsed.ValueEnd);
        keys[k].Found = 1;
        return 1;
    }
    return 0;
}

void PutConfigHeader(TextSink& sink, const char* lineEnd)
{
    sink.Put(lineEnd);
    sink.Put(lineEnd);
    sink.Put("[Config]");
    sink.Put(lineEnd);
    sink.Put(lineEnd);
}

}  // namespace

size_t IniLineLength(const char* text, size_t length, size_t start)
{
    size_t end = start;
    while (end < length && text[end] != '\r' && text[end] != '\n')
        end++;
    if (end == length)
        return length - start;
    if (text[end] == '\r' && end + 1 < length && text[end + 1] == '\n')
        end++;
    return end + 1 - start;
}

IniLine ParseIniLine(const char* line, size_t length)
{
    IniLine parsed = {IniText, 0, 0, 0, 0, 0};
    size_t start = SkipBlanks(line, 0, length);
    size_t end = TrimBlanks(line, start, length);
    if (start == end)
        return parsed;
    if (line[start] == '[') {
        // The name runs to the last ']' and loses its blanks; a line without
        // ']' is neither a section nor a key.
        size_t close = end;
        while (close > start + 1 && line[close - 1] != ']')
            close--;
        if (close == start + 1)
            return parsed;
        parsed.Kind = IniSection;
        parsed.NameStart = SkipBlanks(line, start + 1, close - 1);
        parsed.NameLength = TrimBlanks(line, parsed.NameStart, close - 1) - parsed.NameStart;
        return parsed;
    }
    // A key without '=' is all name, with an empty value at its end.
    const char* equals = static_cast<const char*>(memchr(line + start, '=', end - start));
    size_t nameEnd = equals ? static_cast<size_t>(equals - line) : end;
    parsed.Kind = IniKey;
    parsed.NameStart = start;
    parsed.NameLength = TrimBlanks(line, start, nameEnd) - start;
    parsed.HasEquals = equals != nullptr;
    parsed.ValueStart = equals ? SkipBlanks(line, nameEnd + 1, end) : end;
    parsed.ValueEnd = end;
    return parsed;
}

size_t UpdateConfigText(const char* text, size_t length, char useBmpFont, int forceLanguage,
                        char* out, size_t capacity)
{
    ConfigKey keys[2] = {{"UseBmpFont", "", 0}, {"ForceLanguage", "", 0}};
    FormatBounded(keys[0].Value, sizeof keys[0].Value, "%c", static_cast<unsigned char>(useBmpFont));
    FormatBounded(keys[1].Value, sizeof keys[1].Value, "%d", forceLanguage);
    TextSink sink = {out, capacity, 0};
    int inConfig = 0, configSeen = 0;
    for (size_t position = 0; position < length;) {
        const char* line = text + position;
        size_t lineLength = IniLineLength(text, length, position);
        IniLine parsed = ParseIniLine(line, lineLength);
        if (parsed.Kind == IniSection && inConfig) {
            // The next section starts: what is missing goes before it.
            PutMissingKeys(sink, keys, 2, InsertedLineEnd(text, length, position));
            inConfig = 0;
        } else if (parsed.Kind == IniSection && !configSeen && NameIs(line, parsed, "Config")) {
            configSeen = inConfig = 1;
        }
        if (!inConfig || parsed.Kind != IniKey || !PutKeyLine(sink, keys, 2, line, lineLength, parsed))
            sink.Put(line, lineLength);
        position += lineLength;
    }
    const char* lineEnd = InsertedLineEnd(text, length, length);
    if (!configSeen)
        PutConfigHeader(sink, lineEnd);
    PutMissingKeys(sink, keys, 2, lineEnd);
    return sink.Length;
}

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

// On the disk, not only with the system, before the names change: a stop
// after the renames must find the new text whole.
int WriteNewFile(const char* path, const char* bytes, size_t count)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    int ok = WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr) &&
             written == count && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

int RenameFile(const char* from, const char* to)
{
    return MoveFileA(from, to) ? 1 : 0;
}

}  // namespace

ConfigFileCalls ConfigCalls = {WriteAtOffset, CutFile, RenameFile};

namespace {

// The update in place. 1 when the file then holds exactly the old or exactly
// the updated bytes, 0 when a failed put-back left it neither.
int WriteInPlace(FILE* file, const char* old, size_t oldLength, const char* updated,
                 size_t updatedLength)
{
    size_t same = 0;
    while (same < oldLength && same < updatedLength && old[same] == updated[same])
        same++;
    if (same == oldLength && same == updatedLength)
        return 1;
    // Room first: the bytes past the old end go on while the old text is
    // still whole before them, so that a full disk stops the update where a
    // cut restores it, and the rewrite below stays within the file's blocks.
    // (A copy-on-write or compressed disk may still refuse the rewrite or
    // the put-back; the caller then swaps in a new file.)
    if (updatedLength > oldLength &&
        !ConfigCalls.WriteAt(file, oldLength, updated + oldLength, updatedLength - oldLength))
        return ConfigCalls.Cut(file, oldLength);
    size_t common = updatedLength < oldLength ? updatedLength : oldLength;
    if (ConfigCalls.WriteAt(file, same, updated + same, common - same) &&
        (updatedLength >= oldLength || ConfigCalls.Cut(file, updatedLength)))
        return 1;
    return ConfigCalls.WriteAt(file, same, old + same, oldLength - same) &&
           ConfigCalls.Cut(file, oldLength);
}

// engine.ini's path with another extension (8.3 names stay 8.3).
void SiblingPath(char* out, const char* path, const char* extension)
{
    size_t stem = strlen(path) - 3;
    memcpy(out, path, stem);
    memcpy(out + stem, extension, 4);
}

// Puts text under path through a whole copy beside it. Windows 95 has no
// MoveFileEx, so no call replaces a file in one step: the new text is
// complete on the disk as engine.new before any name changes, and the file
// it replaces keeps the name engine.old until engine.new holds the path.
// From then on a failure or a stop at any step leaves the new text whole
// under engine.new or engine.ini. Only a failed put-back brings the update
// here, so the file replaced holds no whole text of its own.
int ReplaceWithText(const char* path, const char* text, size_t length)
{
    char fresh[MAX_PATH], kept[MAX_PATH];
    SiblingPath(fresh, path, "new");
    SiblingPath(kept, path, "old");
    DWORD attributes = GetFileAttributesA(path);
    DeleteFileForced(fresh);   // left by a stopped run
    DeleteFileForced(kept);
    if (!WriteNewFile(fresh, text, length)) {
        DeleteFileForced(fresh);
        return 0;
    }
    if (!ConfigCalls.Rename(path, kept))
        return 0;
    if (!ConfigCalls.Rename(fresh, path)) {
        ConfigCalls.Rename(kept, path);
        return 0;
    }
    // The new file keeps the old one's other attribute bits.
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path, attributes);
    DeleteFileForced(kept);
    return 1;
}

// The whole file in a malloc'ed buffer, or null.
char* ReadWholeFile(FILE* file, size_t* length)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return nullptr;
    long size = ftell(file);
    if (size < 0 || fseek(file, 0, SEEK_SET) != 0)
        return nullptr;
    char* bytes = static_cast<char*>(malloc(static_cast<size_t>(size) + 1));
    if (bytes && fread(bytes, 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) {
        free(bytes);
        return nullptr;
    }
    *length = static_cast<size_t>(size);
    return bytes;
}

void UpdateConfigFile(const char* path, char useBmpFont, int forceLanguage)
{
    // Binary mode: offsets are byte offsets, and the line ends written are
    // the ones chosen above.
    FILE* file = fopen(path, "r+b");
    if (!file)
        return;
    setvbuf(file, nullptr, _IONBF, 0);
    size_t oldLength = 0, updatedLength = 0;
    char* old = ReadWholeFile(file, &oldLength);
    char* updated = nullptr;
    if (old) {
        updatedLength = UpdateConfigText(old, oldLength, useBmpFont, forceLanguage, nullptr, 0);
        updated = static_cast<char*>(malloc(updatedLength + 1));
    }
    int whole = 1;
    if (updated) {
        UpdateConfigText(old, oldLength, useBmpFont, forceLanguage, updated, updatedLength);
        whole = WriteInPlace(file, old, oldLength, updated, updatedLength);
    }
    fclose(file);
    if (!whole)
        ReplaceWithText(path, updated, updatedLength);
    free(updated);
    free(old);
}

}  // namespace

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
