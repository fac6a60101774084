// The engine's configuration: UseBmpFont and ForceLanguage in [Config] of
// InstallDir\engine.ini.
#include "install/config.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <memory>
#include <new>

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
};

size_t KeyText(char* out, size_t size, const char* format, int value)
{
    int written = snprintf(out, size, format, value);
    return written > 0 ? static_cast<size_t>(written) : 0;
}

}  // namespace

size_t ConfigPieceLength(const char* text, size_t length, size_t start)
{
    size_t limit = length - start < ConfigPieceMax ? length - start : ConfigPieceMax;
    const void* lineEnd = memchr(text + start, '\n', limit);
    return lineEnd ? static_cast<size_t>(static_cast<const char*>(lineEnd) - (text + start)) + 1
                   : limit;
}

size_t ConfigPieceRoom(const char* piece, size_t pieceLength)
{
    if (pieceLength == 0 || piece[pieceLength - 1] != '\n')
        return pieceLength;
    size_t room = pieceLength - 1;
    if (room > 0 && piece[room - 1] == '\r')
        room--;
    return room;
}

int PieceHoldsKey(const char* piece, size_t pieceLength, const char* key)
{
    size_t keyLength = strlen(key);
    for (size_t i = 0; keyLength <= pieceLength && i <= pieceLength - keyLength; i++)
        if (memcmp(piece + i, key, keyLength) == 0)
            return 1;
    return 0;
}

size_t OverwritePiece(const char* piece, size_t pieceLength, const char* text, size_t textLength,
                      char* out)
{
    size_t room = ConfigPieceRoom(piece, pieceLength);
    size_t replaced = textLength < room ? textLength : room;
    memmove(out + textLength, piece + replaced, pieceLength - replaced);
    memcpy(out, text, textLength);
    return textLength + pieceLength - replaced;
}

size_t UpdateConfigText(const char* text, size_t length, char useBmpFont, int forceLanguage,
                        char* out, size_t capacity)
{
    char useBmpFontText[32];
    char forceLanguageText[32];
    size_t useBmpFontLength = KeyText(useBmpFontText, sizeof useBmpFontText, "UseBmpFont=%c",
                                      static_cast<unsigned char>(useBmpFont));
    size_t forceLanguageLength =
        KeyText(forceLanguageText, sizeof forceLanguageText, "ForceLanguage=%d", forceLanguage);

    TextSink sink = {out, capacity, 0};
    int headerSeen = 0, useBmpFontDone = 0, forceLanguageDone = 0;
    size_t position = 0;
    while (position < length && !(useBmpFontDone && forceLanguageDone)) {
        const char* piece = text + position;
        size_t pieceLength = ConfigPieceLength(text, length, position);
        position += pieceLength;

        if (PieceHoldsKey(piece, pieceLength, "[Config]"))
            headerSeen = 1;
        int holdsUseBmpFont = PieceHoldsKey(piece, pieceLength, "UseBmpFont=");
        int holdsForceLanguage = PieceHoldsKey(piece, pieceLength, "ForceLanguage=");
        if (!holdsUseBmpFont && !holdsForceLanguage) {
            sink.Put(piece, pieceLength);
            continue;
        }
        // Both keys on one line are written one after the other from its
        // first byte, as two overwrites of the same line.
        char updated[ConfigPieceMax + 2 * sizeof useBmpFontText];
        memcpy(updated, piece, pieceLength);
        size_t updatedLength = pieceLength;
        if (holdsUseBmpFont) {
            updatedLength = OverwritePiece(updated, updatedLength, useBmpFontText,
                                           useBmpFontLength, updated);
            useBmpFontDone = 1;
        }
        if (holdsForceLanguage) {
            updatedLength = OverwritePiece(updated, updatedLength, forceLanguageText,
                                           forceLanguageLength, updated);
            forceLanguageDone = 1;
        }
        sink.Put(updated, updatedLength);
    }
    sink.Put(text + position, length - position);

    if (!headerSeen)
        sink.Put("\r\n\r\n[Config]\r\n\r\n", 16);
    if (!useBmpFontDone) {
        sink.Put("\r\n", 2);
        sink.Put(useBmpFontText, useBmpFontLength);
        sink.Put("\r\n", 2);
    }
    if (!forceLanguageDone) {
        sink.Put("\r\n", 2);
        sink.Put(forceLanguageText, forceLanguageLength);
        sink.Put("\r\n", 2);
    }
    return sink.Length;
}

namespace {

// Writes back only the bytes that differ: a key line that keeps its length is
// overwritten in place, everything from a longer rewritten line on is
// written again, appended text goes at the end. The updated text is never
// shorter than the old one, so nothing needs truncating.
void WriteChangedBytes(FILE* file, const char* old, size_t oldLength, const char* updated,
                       size_t updatedLength)
{
    size_t i = 0;
    while (i < oldLength) {
        if (old[i] == updated[i]) {
            i++;
            continue;
        }
        size_t runEnd = i;
        while (runEnd < oldLength && old[runEnd] != updated[runEnd])
            runEnd++;
        fseek(file, static_cast<long>(i), SEEK_SET);
        fwrite(updated + i, 1, runEnd - i, file);
        i = runEnd;
    }
    if (updatedLength > oldLength) {
        fseek(file, static_cast<long>(oldLength), SEEK_SET);
        fwrite(updated + oldLength, 1, updatedLength - oldLength, file);
    }
}

void UpdateConfigFile(FILE* file, char useBmpFont, int forceLanguage)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return;
    long size = ftell(file);
    if (size < 0 || fseek(file, 0, SEEK_SET) != 0)
        return;
    size_t oldLength = static_cast<size_t>(size);
    std::unique_ptr<char[]> old(new (std::nothrow) char[oldLength + 1]);
    if (!old || fread(old.get(), 1, oldLength, file) != oldLength)
        return;

    size_t updatedLength =
        UpdateConfigText(old.get(), oldLength, useBmpFont, forceLanguage, nullptr, 0);
    std::unique_ptr<char[]> updated(new (std::nothrow) char[updatedLength]);
    if (!updated)
        return;
    UpdateConfigText(old.get(), oldLength, useBmpFont, forceLanguage, updated.get(),
                     updatedLength);
    WriteChangedBytes(file, old.get(), oldLength, updated.get(), updatedLength);
}

}  // namespace

int UpdateEngineConfig()
{
    char path[MAX_PATH];
    if (!PayloadPath(path, InstallDir, "engine.ini", nullptr))
        return 1;
    ClearFileAttributes(path, 1, 1);
    // Binary mode: offsets are byte offsets, and the line ends written are
    // CR LF as the engine expects.
    FILE* file = fopen(path, "r+b");
    if (file) {
        UpdateConfigFile(file, ChineseDisplayOk ? '0' : '1', ForceLanguage);
        fclose(file);
    }
    AddFileAttributes(path, 1, 1);
    return 1;
}
