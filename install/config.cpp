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

// Inserted lines follow the file's own line ends where CR LF would break its
// reading: in a file of CR-only lines, one LF would join every line before it.
const char* InsertedLineEnd(const char* text, size_t length)
{
    if (memchr(text, '\n', length) == nullptr && memchr(text, '\r', length) != nullptr)
        return "\r";
    return "\r\n";
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
    const char* rest = text + start;
    size_t left = length - start;
    const void* end = memchr(rest, '\n', left);
    if (!end)
        end = memchr(rest, '\r', left);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - rest) + 1 : left;
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
        const void* close = memchr(line + start + 1, ']', end - start - 1);
        if (close) {
            parsed.Kind = IniSection;
            parsed.NameStart = start + 1;
            parsed.NameLength = static_cast<size_t>(static_cast<const char*>(close) - line) - start - 1;
            return parsed;
        }
        // Without its ']' the line is read as a key.
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
    const char* lineEnd = InsertedLineEnd(text, length);

    TextSink sink = {out, capacity, 0};
    int inConfig = 0, configSeen = 0;
    for (size_t position = 0; position < length;) {
        const char* line = text + position;
        size_t lineLength = IniLineLength(text, length, position);
        position += lineLength;
        IniLine parsed = ParseIniLine(line, lineLength);

        if (parsed.Kind == IniSection) {
            if (inConfig) {
                // The next section starts: what is missing goes before it.
                PutMissingKeys(sink, keys, 2, lineEnd);
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
                continue;
            }
        }
        sink.Put(line, lineLength);
    }

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

// Writes back from the first byte that differs, and cuts the file where the
// updated text is shorter (a shorter value than before).
void WriteUpdate(FILE* file, const char* old, size_t oldLength, const char* updated,
                 size_t updatedLength)
{
    size_t same = 0;
    while (same < oldLength && same < updatedLength && old[same] == updated[same])
        same++;
    if (same == oldLength && same == updatedLength)
        return;
    if (fseek(file, static_cast<long>(same), SEEK_SET) != 0)
        return;
    fwrite(updated + same, 1, updatedLength - same, file);
    if (updatedLength < oldLength && fflush(file) == 0)
        _chsize(_fileno(file), static_cast<long>(updatedLength));
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
        UpdateConfigFile(file, ChineseDisplayOk ? '0' : '1', ForceLanguage);
        fclose(file);
    }
    AddFileAttributes(path, 1, 1);
    return 1;
}
