// Whole-or-nothing replacement of a file: the new content is finished under
// a temporary name beside the target before the target's name changes.
#include "install/replace_file.h"

#include "install/brief_hold.h"

namespace {

constexpr DWORD ReadOnlyAndHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

// The attributes without read-only and hidden, as a call that sets them takes them.
DWORD WithoutReadOnlyAndHidden(DWORD attributes)
{
    const DWORD rest = attributes & ~ReadOnlyAndHidden;
    return rest ? rest : FILE_ATTRIBUTE_NORMAL;
}

// A file made by CopyFile, handed to the disk.
int FlushToDisk(const FilePath& path)
{
    HANDLE file = CreatePathFile(path, GENERIC_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const int flushed = FlushFileBuffers(file);
    return CloseHandle(file) && flushed;
}

// The copy comes with the source's attributes: it is made writable to be
// flushed and gets its bits back from the routine.
int CopyNewFile(const FilePath& source, const FilePath& path, int toDisk)
{
    if (!CopyPath(source, path))
        return 0;
    const DWORD copied = PathAttributes(path);
    if (copied == INVALID_FILE_ATTRIBUTES ||
        ((copied & ReadOnlyAndHidden) && !SetPathAttributes(path, WithoutReadOnlyAndHidden(copied))))
        return 0;
    return !toDisk || FlushToDisk(path);
}

int WriteNewFile(const FilePath& path, const NewContent& content, int toDisk)
{
    if (content.Source)
        return CopyNewFile(*content.Source, path, toDisk);
    HANDLE file = CreatePathFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    // A disk that fills up part-way returns TRUE with a short count under
    // Wine: the count decides.
    DWORD written = 0;
    const int ok = WriteFile(file, content.Bytes, content.Count, &written, nullptr) &&
                   written == content.Count && (!toDisk || FlushFileBuffers(file));
    return CloseHandle(file) && ok;
}

int RenameFile(const FilePath& from, const FilePath& to)
{
    return RenamePath(from, to) ? 1 : 0;
}

int SetFileBits(const FilePath& path, DWORD attributes)
{
    return SetPathAttributes(path, attributes) ? 1 : 0;
}

int DeleteOneFile(const FilePath& path)
{
    return DeletePath(path) ? 1 : 0;
}

}  // namespace

ReplaceFileCalls ReplaceCalls = {WriteNewFile, MovePathReplacing, RenameFile, SetFileBits,
                                 DeleteOneFile};

namespace {

// What the file being replaced has waited for other programs' brief holds;
// replacements never nest, so one serves.
HoldWait FileWait;

// The calls, each tried again while another program holds the file for a
// moment (install/brief_hold.h).
int WriteNew(const FilePath& path, const NewContent& content, int toDisk)
{
    do {
        if (ReplaceCalls.WriteNew(path, content, toDisk))
            return 1;
    } while (WaitOutHold(&FileWait));
    return 0;
}

OneStepMove MoveReplacing(const FilePath& from, const FilePath& to)
{
    OneStepMove moved;
    do {
        moved = ReplaceCalls.MoveReplacing(from, to);
    } while (moved == OneStepMoveFailed && WaitOutHold(&FileWait));
    return moved;
}

int Rename(const FilePath& from, const FilePath& to)
{
    do {
        if (ReplaceCalls.Rename(from, to))
            return 1;
    } while (WaitOutHold(&FileWait));
    return 0;
}

int SetAttributes(const FilePath& path, DWORD attributes)
{
    do {
        if (ReplaceCalls.SetAttributes(path, attributes))
            return 1;
    } while (WaitOutHold(&FileWait));
    return 0;
}

int Delete(const FilePath& path)
{
    do {
        if (ReplaceCalls.Delete(path))
            return 1;
    } while (WaitOutHold(&FileWait));
    return 0;
}

// Exactly these attributes. Wine stores hidden in an extended attribute,
// which it can no longer write once the file is read-only: hidden first.
int SetExactly(const FilePath& path, DWORD attributes)
{
    if ((attributes & ReadOnlyAndHidden) == ReadOnlyAndHidden &&
        !SetAttributes(path, attributes & ~FILE_ATTRIBUTE_READONLY))
        return 0;
    return SetAttributes(path, attributes);
}

// Removes a file whatever its bits. 1 when it is gone or was never there.
int RemoveFile(const FilePath& path)
{
    const DWORD attributes = PathAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if ((attributes & ReadOnlyAndHidden) &&
        !SetAttributes(path, WithoutReadOnlyAndHidden(attributes)))
        return 0;
    return Delete(path);
}

// The old file is back under its name: its bits come back too. Always 0.
int KeepOld(const FilePath& target, DWORD old)
{
    if (old != INVALID_FILE_ATTRIBUTES && (old & ReadOnlyAndHidden))
        SetExactly(target, old & ~FILE_ATTRIBUTE_NORMAL);
    return 0;
}

// Without a one-step move (Windows 95, 98 and Me) the old file steps aside,
// the new one takes its name, and only then is the old one deleted. A stop
// between the two renames (power lost, the process ended) leaves no file
// under the target's name, the old file whole as TarvoOld.tmp and the new one
// whole as TarvoNew.tmp beside it: that window is one rename long.
int MoveAsideAndRename(const FilePath& fresh, const FilePath& target, DWORD old)
{
    FilePath aside;
    if (!SiblingPath(&aside, target, AsideFileName))
        return KeepOld(target, old);
    RemoveFile(aside);      // left by a stopped run
    if (!Rename(target, aside))
        return KeepOld(target, old);    // in use, for instance: nothing changed
    if (!Rename(fresh, target))
        return Rename(aside, target) ? KeepOld(target, old) : 0;
    return RemoveFile(aside);
}

// The finished fresh file in target's place. Target's read-only and hidden
// bits are cleared first, since a read-only file can be neither replaced
// nor renamed, and come back where the move fails.
int PutInPlace(const FilePath& fresh, const FilePath& target, DWORD old)
{
    if (old == INVALID_FILE_ATTRIBUTES) {
        const OneStepMove moved = MoveReplacing(fresh, target);
        return moved == NoOneStepMove ? Rename(fresh, target) : moved == MovedInOneStep;
    }
    if ((old & ReadOnlyAndHidden) && !SetAttributes(target, WithoutReadOnlyAndHidden(old)))
        return KeepOld(target, old);
    switch (MoveReplacing(fresh, target)) {
    case MovedInOneStep:
        return 1;
    case OneStepMoveFailed:     // in use, for instance
        return KeepOld(target, old);
    case NoOneStepMove:
        break;
    }
    return MoveAsideAndRename(fresh, target, old);
}

// The new file's read-only and hidden bits, set before it takes the
// target's name, which it keeps them through.
int GiveAttributes(const FilePath& fresh, DWORD wanted)
{
    if (!(wanted & ReadOnlyAndHidden))
        return 1;
    const DWORD made = PathAttributes(fresh);
    return made != INVALID_FILE_ATTRIBUTES &&
           SetExactly(fresh, (made & ~FILE_ATTRIBUTE_NORMAL) | (wanted & ReadOnlyAndHidden));
}

// Where an old file is replaced, the new one goes to the disk itself before
// the rename, not only to the system: a stop right after it (power lost)
// must find the new content whole under the target's name, or the old file
// would be lost for a torn one. A new file has nothing to lose, and is spared
// the wait (a disk flush per file, about 1 ms each under Wine).
int ReplaceWith(const FilePath& target, const NewContent& content, DWORD wanted)
{
    FilePath fresh;
    if (!SiblingPath(&fresh, target, FreshFileName))
        return 0;
    FileWait = {};
    RemoveFile(fresh);      // left by a stopped run
    const DWORD old = PathAttributes(target);
    if (WriteNew(fresh, content, old != INVALID_FILE_ATTRIBUTES) &&
        GiveAttributes(fresh, wanted) && PutInPlace(fresh, target, old))
        return 1;
    RemoveFile(fresh);
    return 0;
}

}  // namespace

int ReplaceFileWithBytes(const char* target, const void* bytes, unsigned long length,
                         DWORD attributes)
{
    FilePath path;
    const NewContent content = {bytes, length, nullptr};
    return AnsiFilePath(&path, target) && ReplaceWith(path, content, attributes);
}

int ReplaceFileWithCopy(const FilePath& source, const FilePath& target)
{
    const DWORD attributes = PathAttributes(source);
    const NewContent content = {nullptr, 0, &source};
    return attributes != INVALID_FILE_ATTRIBUTES && ReplaceWith(target, content, attributes);
}
