// The text rules of the [Config] update, pure functions on a file's bytes.
#pragma once
#include <stddef.h>

// The engine reads its file through the system's profile functions, so the
// update reads it the same way: section and key names without regard to
// case, blanks around a key name and its '=' ignored, the first [Config]
// section and the first key of a name in it counting.

// Length of the line that starts at `start`, its line end included. Every CR
// and every LF ends a line, a CR LF pair ends one.
size_t IniLineLength(const char* text, size_t length, size_t start);

enum IniLineKind { IniText, IniSection, IniKey };

// Offsets into the line. A section's name lies between '[' and the last ']'
// of the line, without surrounding blanks; a line that starts with '[' and
// has no ']' is text. A key's name is what stands before its '=' (or the
// whole line when it has none), its value what follows, both without
// surrounding blanks. A key without '=' has an empty value at the end of its
// name.
struct IniLine {
    IniLineKind Kind;
    size_t NameStart, NameLength;
    size_t ValueStart, ValueEnd;
    int HasEquals;
};

IniLine ParseIniLine(const char* line, size_t length);

// The whole file as the update leaves it: the first UseBmpFont and
// ForceLanguage lines of the first [Config] section get their values
// replaced; a missing key goes after the section's last line, a missing
// section at the end of the file. Every other byte stays. Writes at most
// `capacity` bytes into out (which may be null) and returns the full length.
size_t UpdateConfigText(const char* text, size_t length, char useBmpFont, int forceLanguage,
                        char* out, size_t capacity);
