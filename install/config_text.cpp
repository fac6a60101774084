// The [Config] update's text rules: lines, sections and keys as the
// system's profile functions read them, and the updated file as bytes.
#include "install/config_text.h"
#include "shell/paths.h"

#include <string.h>


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
