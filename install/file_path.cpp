// File calls on a path in either of its forms: the wide ones on the NT
// family where the path is in UTF-16, the ANSI ones otherwise.
#include "install/file_path.h"

#include "shell/environment.h"
#include "shell/paths.h"
#include "shell/system_library.h"
#include "shell/wide_system.h"

int AnsiFilePath(FilePath* out, const char* path)
{
    out->Wide[0] = 0;
    return FormatBounded(out->Ansi, MAX_PATH, "%s", path);
}

int WideFilePath(FilePath* out, const WCHAR* path)
{
    out->Ansi[0] = '\0';
    return path[0] && JoinWide(out->Wide, MAX_PATH, {path});
}

int SiblingPath(FilePath* out, const FilePath& path, const char* name)
{
    if (path.Wide[0]) {
        WCHAR wideName[MAX_PATH];
        const int folder = WideFolderLength(path.Wide);
        out->Ansi[0] = '\0';
        if (folder > 0 && WidenText(name, CP_ACP, wideName, MAX_PATH) &&
            JoinWide(out->Wide, MAX_PATH, {path.Wide})) {
            out->Wide[folder] = 0;
            if (JoinWide(out->Wide + folder, MAX_PATH - folder, {wideName}))
                return 1;
        }
        out->Wide[0] = 0;
        return 0;
    }
    out->Wide[0] = 0;
    const char* cut = LastBackslash(path.Ansi, CP_ACP);
    if (!cut) {
        out->Ansi[0] = '\0';
        return 0;
    }
    return FormatBounded(out->Ansi, MAX_PATH, "%.*s%s", static_cast<int>(cut + 1 - path.Ansi),
                         path.Ansi, name);
}

DWORD PathAttributes(const FilePath& path)
{
    return path.Wide[0] ? WideFileAttributes(path.Wide) : GetFileAttributesA(path.Ansi);
}

BOOL SetPathAttributes(const FilePath& path, DWORD attributes)
{
    return path.Wide[0] ? WideSetFileAttributes(path.Wide, attributes)
                        : SetFileAttributesA(path.Ansi, attributes);
}

BOOL DeletePath(const FilePath& path)
{
    return path.Wide[0] ? WideDeleteFile(path.Wide) : DeleteFileA(path.Ansi);
}

BOOL CopyPath(const FilePath& from, const FilePath& to)
{
    if (from.Wide[0] && to.Wide[0])
        return WideCopyFile(from.Wide, to.Wide);
    return !from.Wide[0] && !to.Wide[0] && CopyFileA(from.Ansi, to.Ansi, FALSE);
}

BOOL RenamePath(const FilePath& from, const FilePath& to)
{
    if (from.Wide[0] && to.Wide[0])
        return WideMoveFile(from.Wide, to.Wide);
    return !from.Wide[0] && !to.Wide[0] && MoveFileA(from.Ansi, to.Ansi);
}

HANDLE CreatePathFile(const FilePath& path, DWORD access, DWORD disposition)
{
    if (path.Wide[0])
        return WideCreateFile(path.Wide, access, disposition);
    return CreateFileA(path.Ansi, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

OneStepMove MovePathReplacing(const FilePath& from, const FilePath& to)
{
    // Windows 95, 98 and Me export MoveFileExA, but it fails there with
    // ERROR_CALL_NOT_IMPLEMENTED: the platform says so before any call.
    if (!OsInfo.IsNt || (from.Wide[0] != 0) != (to.Wide[0] != 0))
        return NoOneStepMove;
    if (to.Wide[0])
        return WideMoveFileReplacing(from.Wide, to.Wide) ? MovedInOneStep : OneStepMoveFailed;
    auto moveEx = SystemFunctionAs<BOOL(WINAPI*)(const char*, const char*, DWORD)>(
        "KERNEL32.DLL", "MoveFileExA");
    if (!moveEx)
        return NoOneStepMove;
    return moveEx(from.Ansi, to.Ansi, MOVEFILE_REPLACE_EXISTING) ? MovedInOneStep : OneStepMoveFailed;
}
