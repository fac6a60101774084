// The [Config] section of the engine's "engine.ini".
#pragma once
#include <stddef.h>

// Writes UseBmpFont and ForceLanguage into InstallDir\engine.ini; the file
// ends read-only and hidden. Returns 1 on every path.
int UpdateEngineConfig();

// Pure rules of the update, on the file's bytes. The file is scanned line by
// line through a 256-byte line buffer, so that a line longer than
// ConfigPieceMax bytes arrives in several pieces.
constexpr size_t ConfigPieceMax = 255;

// Length of the piece that starts at `start`: up to and including the next
// '\n', at most ConfigPieceMax bytes, at most what is left of the text.
size_t ConfigPieceLength(const char* text, size_t length, size_t start);

// Room for a key's text from the first byte of a piece to its line end: the
// bytes before "\r\n" or "\n". A piece cut from a longer line, or a last line
// without a line end, is room up to its last byte.
size_t ConfigPieceRoom(const char* piece, size_t pieceLength);

// The key occurs anywhere in the piece.
int PieceHoldsKey(const char* piece, size_t pieceLength, const char* key);

// The piece with `text` written from its first byte. Where the room is large
// enough the text replaces as many bytes as it has (the rest of the line
// stays); where it is not, it replaces the whole room, so the line holds
// exactly the text and its line end is kept. `out` (which may be `piece`)
// holds pieceLength + textLength bytes; the result is the new length.
size_t OverwritePiece(const char* piece, size_t pieceLength, const char* text, size_t textLength,
                      char* out);

// The whole file as the update leaves it: keys overwritten where found, the
// header and missing keys appended with CR LF line ends. Writes at most
// `capacity` bytes into out (which may be null) and returns the full length.
size_t UpdateConfigText(const char* text, size_t length, char useBmpFont, int forceLanguage,
                        char* out, size_t capacity);
