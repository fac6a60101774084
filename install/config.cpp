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
    size_t start = 0, end = length;
    while (start < end && IsIniBlank(line[start]))
        start++;
    while (end > start && IsIniBlank(line[end - 1]))
        end--;
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
        size_t nameStart = start + 1, nameEnd = close - 1;
        while (nameStart < nameEnd && IsIniBlank(line[nameStart]))
            nameStart++;
        while (nameEnd > nameStart && IsIniBlank(line[nameEnd - 1]))
            nameEnd--;
        parsed.Kind = IniSection;
        parsed.NameStart = nameStart;
        parsed.NameLength = nameEnd - nameStart;
        return parsed;
    }
    parsed.Kind = IniKey;
    parsed.NameStart = start;
    const void* equals = memchr(line + start, '=', end - start);
    if (!equals) {
        parsed.NameLength = end - start;
        parsed.ValueStart = parsed.ValueEnd = end;
        return parsed;
    }
    size_t at = static_cast<size_t>(static_cast<const char*>(equals) - line);
    size_t nameEnd = at;
    while (nameEnd > start && IsIniBlank(line[nameEnd - 1]))
        nameEnd--;
    parsed.NameLength = nameEnd - start;
    parsed.HasEquals = 1;
    size_t value = at + 1;
    while (value < end && IsIniBlank(line[value]))
        value++;
    parsed.ValueStart = value;
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

        if (parsed.Kind == IniSection) {
            if (inConfig) {
                // The next section starts: what is missing goes before it.
                PutMissingKeys(sink, keys, 2, InsertedLineEnd(text, length, position));
                inConfig = 0;
            } else if (!configSeen && NameIs(line, parsed, "Config")) {
                configSeen = inConfig = 1;
            }
        } else if (inConfig && parsed.Kind == IniKey) {
            ConfigKey* key = nullptr;
            for (ConfigKey& candidate : keys)
                if (!candidate.Found && NameIs(line, parsed, candidate.Name))
                    key = &candidate;
            if (key) {
                // The whole value is replaced; the name as written, the
                // blanks around it and the line end stay.
                sink.Put(line, parsed.ValueStart);
                if (!parsed.HasEquals)
                    sink.Put("=");
                sink.Put(key->Value);
                sink.Put(line + parsed.ValueEnd, lineLength - parsed.ValueEnd);
                key->Found = 1;
                position += lineLength;
                continue;
            }
        }
        sink.Put(line, lineLength);
        position += lineLength;
    }

    const char* lineEnd = InsertedLineEnd(text, length, length);
    if (!configSeen) {
        sink.Put(lineEnd);
        sink.Put(lineEnd);
        sink.Put("[Config]");
        sink.Put(lineEnd);
        sink.Put(lineEnd);
    }
    PutMissingKeys(sink, keys, 2, lineEnd);
    return sink.Length;
}

namespace {

// 1 when all of bytes reached the file at offset. The stream is unbuffered:
// a failed write leaves nothing behind to be written later.
int WriteAt(FILE* file, size_t offset, const char* bytes, size_t count)
{
    clearerr(file);
    return fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
           fwrite(bytes, 1, count, file) == count && fflush(file) == 0;
}

int CutAt(FILE* file, size_t length)
{
    return fflush(file) == 0 && _chsize(_fileno(file), static_cast<long>(length)) == 0;
}

// Writes back from the first byte that differs, and cuts the file where the
// updated text is shorter. The whole update reaches the file, or the old
// bytes are put back: a full disk stops a longer file part-way, and half an
// update would leave a junk line or lose the file's tail. The old bytes fit
// where they stood before, so putting them back needs no new space.
int WriteUpdate(FILE* file, const char* old, size_t oldLength, const char* updated,
                size_t updatedLength)
{
    size_t same = 0;
    while (same < oldLength && same < updatedLength && old[same] == updated[same])
        same++;
    if (same == oldLength && same == updatedLength)
        return 1;
    if (WriteAt(file, same, updated + same, updatedLength - same) &&
        (updatedLength >= oldLength || CutAt(file, updatedLength)))
        return 1;
    WriteAt(file, same, old + same, oldLength - same);
    CutAt(file, oldLength);
    return 0;
}

void UpdateConfigFile(FILE* file, char useBmpFont, int forceLanguage)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return;
    long size = ftell(file);
    if (size < 0 || fseek(file, 0, SEEK_SET) != 0)
        return;
    size_t oldLength = static_cast<size_t>(size);
    char* old = static_cast<char*>(malloc(oldLength + 1));
    if (!old)
        return;
    if (fread(old, 1, oldLength, file) == oldLength) {
        size_t updatedLength =
            UpdateConfigText(old, oldLength, useBmpFont, forceLanguage, nullptr, 0);
        char* updated = static_cast<char*>(malloc(updatedLength));
        if (updated) {
            UpdateConfigText(old, oldLength, useBmpFont, forceLanguage, updated, updatedLength);
            WriteUpdate(file, old, oldLength, updated, updatedLength);
            free(updated);
        }
    }
    free(old);
}

}  // namespace

int UpdateEngineConfig()
{
    char path[MAX_PATH];
    if (!PayloadPath(path, InstallDir, "engine.ini", nullptr))
        return 1;
    ClearFileAttributes(path, 1, 1);
    // Binary mode: offsets are byte offsets, and the line ends written are
    // the ones chosen above.
    FILE* file = fopen(path, "r+b");
    if (file) {
        setvbuf(file, nullptr, _IONBF, 0);
        UpdateConfigFile(file, ChineseDisplayOk ? '0' : '1', ForceLanguage);
        fclose(file);
    }
    AddFileAttributes(path, 1, 1);
    return 1;
}
