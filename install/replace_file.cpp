// Whole-or-nothing replacement of a file: the new content is finished under
// a temporary name beside the target before the target's name changes.
#include "install/replace_file.h"

#include "install/file_helpers.h"
#include "shell/environment.h"
#include "shell/paths.h"
#include "shell/wide_system.h"

namespace {

constexpr DWORD ReadOnlyAndHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

int WriteNewFile(const char* path, const void* bytes, unsigned long count, int toDisk)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && DeleteFileForced(path) == 0)   // left read-only by a stopped run
        file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    // A disk that fills up part-way returns TRUE with a short count under
    // Wine: the count decides.
    DWORD written = 0;
    int ok = WriteFile(file, bytes, count, &written, nullptr) && written == count &&
             (!toDisk || FlushFileBuffers(file));
    return CloseHandle(file) && ok;
}

// The copy made by CopyFileA, handed to the disk.
int FlushToDisk(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    int ok = FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

using MoveFileExFunction = BOOL(WINAPI*)(const char*, const char*, DWORD);

OneStepMove MoveReplacingExisting(const char* from, const char* to)
{
    // Windows 95, 98 and Me export MoveFileExA, but it fails there with
    // ERROR_CALL_NOT_IMPLEMENTED: the platform says so before any call.
    // Looked up, not imported, as every function outside the list that the
    // Windows 95 and NT 3.51 loaders both resolve.
    if (!OsInfo.IsNt)
        return NoOneStepMove;
    static MoveFileExFunction moveEx = nullptr;
    static int lookedUp = 0;
    if (!lookedUp) {
        HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
        if (kernel)
            moveEx = reinterpret_cast<MoveFileExFunction>(
                reinterpret_cast<void (*)()>(GetProcAddress(kernel, "MoveFileExA")));
        lookedUp = 1;
    }
    if (!moveEx)
        return NoOneStepMove;
    return moveEx(from, to, MOVEFILE_REPLACE_EXISTING) ? MovedInOneStep : OneStepMoveFailed;
}

int RenameFile(const char* from, const char* to)
{
    return MoveFileA(from, to) ? 1 : 0;
}

// Without a one-step move (Windows 95, 98 and Me) the old file steps aside,
// the new one takes its name, and only then is the old one deleted. A stop
// between the two renames (power lost, the process ended) leaves no file
// under the target's name, the old file whole as TarvoOld.tmp and the new one
// whole as TarvoNew.tmp beside it: that window is one rename long. A failed
// second rename brings the old file back; should that fail too, the old file
// stays whole as TarvoOld.tmp.
int MoveAsideAndRename(const char* fresh, const char* target)
{
    char aside[MAX_PATH];
    if (!SiblingPath(aside, target, AsideFileName))
        return 0;
    DeleteFileForced(aside);    // left by a stopped run
    if (!ReplaceCalls.Rename(target, aside))
        return 0;               // in use, for instance: nothing changed
    if (!ReplaceCalls.Rename(fresh, target)) {
        ReplaceCalls.Rename(aside, target);
        return 0;
    }
    DeleteFileForced(aside);
    return 1;
}

// The finished fresh file in target's place, with attributes added; fresh
// is gone either way.
int PlaceFreshFile(const char* fresh, const char* target, DWORD attributes)
{
    if (!PutFileInPlace(fresh, target)) {
        DeleteFileForced(fresh);
        return 0;
    }
    DWORD made = GetFileAttributesA(target);
    if (attributes && made != INVALID_FILE_ATTRIBUTES)
        SetAttributesExactly(target, made | attributes);
    return 1;
}

// Where an old file is replaced, the new one goes to the disk itself before
// the rename, not only to the system: a stop right after it (power lost)
// must find the new content whole under the target's name, or the old file
// would be lost for a torn one. A new file has nothing to lose, and is spared
// the wait (a disk flush per file, about 1 ms each under Wine).
int ReplacesOldFile(const char* target)
{
    return GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

ReplaceFileCalls ReplaceCalls = {WriteNewFile, MoveReplacingExisting, RenameFile};

int SiblingPath(char* out, const char* target, const char* name)
{
    const char* cut = LastBackslash(target, CP_ACP);
    if (!cut) {
        out[0] = '\0';
        return 0;
    }
    return FormatBounded(out, MAX_PATH, "%.*s%s", static_cast<int>(cut + 1 - target), target, name);
}

int ReplaceFileWithBytes(const char* target, const void* bytes, unsigned long length,
                         DWORD attributes)
{
    char fresh[MAX_PATH];
    if (!SiblingPath(fresh, target, FreshFileName))
        return 0;
    if (!ReplaceCalls.WriteNew(fresh, bytes, length, ReplacesOldFile(target))) {
        DeleteFileForced(fresh);    // a full disk leaves part of it
        return 0;
    }
    return PlaceFreshFile(fresh, target, attributes);
}

int ReplaceFileWithCopy(const char* source, const char* target)
{
    char fresh[MAX_PATH];
    if (!SiblingPath(fresh, target, FreshFileName))
        return 0;
    DeleteFileForced(fresh);
    // The copy comes with the source's attributes: it is flushed writable and
    // gets its read-only and hidden bits back in the target's place.
    DWORD copied = INVALID_FILE_ATTRIBUTES;
    if (CopyFileA(source, fresh, FALSE)) {
        copied = GetFileAttributesA(fresh);
        ClearFileAttributes(fresh, 1, 1);
    }
    if (copied == INVALID_FILE_ATTRIBUTES || (ReplacesOldFile(target) && !FlushToDisk(fresh))) {
        DeleteFileForced(fresh);
        return 0;
    }
    return PlaceFreshFile(fresh, target, copied & ReadOnlyAndHidden);
}

int ReplaceFileWithCopyWide(const WCHAR* source, const WCHAR* target)
{
    // The fresh file's name in the target's folder.
    WCHAR fresh[MAX_PATH];
    int folderLength = 0;
    for (int i = 0; target[i] && i < MAX_PATH; ++i)
        if (target[i] == L'\\')
            folderLength = i + 1;
    if (folderLength == 0 || folderLength >= MAX_PATH)
        return 0;
    for (int i = 0; i < folderLength; ++i)
        fresh[i] = target[i];
    if (!JoinWide(fresh + folderLength, MAX_PATH - folderLength, {FreshFileNameWide}))
        return 0;
    WideSetFileAttributes(fresh, FILE_ATTRIBUTE_NORMAL);    // left by a stopped run
    WideDeleteFile(fresh);
    const DWORD old = WideFileAttributes(target);
    const DWORD copied =
        WideCopyFile(source, fresh) ? WideFileAttributes(fresh) : INVALID_FILE_ATTRIBUTES;
    // Flushed writable, as the ANSI copy is; its own bits come back in place.
    if (copied == INVALID_FILE_ATTRIBUTES || !WideSetFileAttributes(fresh, FILE_ATTRIBUTE_NORMAL) ||
        (old != INVALID_FILE_ATTRIBUTES && !WideFlushFile(fresh))) {
        WideDeleteFile(fresh);
        return 0;
    }
    // A read-only file cannot be moved over: its bits come back on failure.
    if (old != INVALID_FILE_ATTRIBUTES && (old & ReadOnlyAndHidden))
        WideSetFileAttributes(target, FILE_ATTRIBUTE_NORMAL);
    if (!WideMoveFileReplacing(fresh, target)) {
        if (old != INVALID_FILE_ATTRIBUTES)
            WideSetFileAttributes(target, old);
        WideDeleteFile(fresh);
        return 0;
    }
    // Hidden before read-only: Wine cannot write hidden on a read-only file.
    if (copied & FILE_ATTRIBUTE_HIDDEN)
        WideSetFileAttributes(target, FILE_ATTRIBUTE_HIDDEN);
    if (copied & ReadOnlyAndHidden)
        WideSetFileAttributes(target, copied & ReadOnlyAndHidden);
    return 1;
}

int PutFileInPlace(const char* fresh, const char* target)
{
    const DWORD old = GetFileAttributesA(target);
    // A read-only file cannot be replaced or renamed over.
    if (old != INVALID_FILE_ATTRIBUTES && (old & ReadOnlyAndHidden))
        SetAttributesExactly(target, old & ~ReadOnlyAndHidden);
    int placed = 0;
    switch (ReplaceCalls.MoveReplacing(fresh, target)) {
    case MovedInOneStep:
        placed = 1;
        break;
    case OneStepMoveFailed:     // in use, for instance
        break;
    case NoOneStepMove:
        placed = old == INVALID_FILE_ATTRIBUTES ? ReplaceCalls.Rename(fresh, target)
                                                : MoveAsideAndRename(fresh, target);
        break;
    }
    if (!placed && old != INVALID_FILE_ATTRIBUTES)
        SetAttributesExactly(target, old);
    return placed;
}
