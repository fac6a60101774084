// Which files of an installation other programs have in use, found without
// changing anything: opens that ask for no sharing, and on the NT family the
// modules of every process the installer may look into.
#include "install/files_in_use.h"

#include "install/file_helpers.h"
#include "install/file_path.h"
#include "install/installation.h"
#include "install/manifest.h"
#include "shell/environment.h"
#include "shell/paths.h"
#include "shell/process_state.h"
#include "shell/system_library.h"
#include "shell/wide_system.h"
#include "ui/wizard_state.h"

namespace {

// An open that allows no sharing fails while any other handle reads, writes
// or deletes the file: exactly what keeps a replacement or a delete from
// going through. It creates nothing (the file exists) and changes nothing.
int IsHeldOpen(const FilePath& path)
{
    HANDLE file = CreatePathFile(path, GENERIC_READ, OPEN_EXISTING);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return 0;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

int Exists(const FilePath& path)
{
    return PathAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

// The same file under two paths: the same volume and index, which no two
// files share. A path's spelling (case, a short name) does not decide it.
int SameFile(const WCHAR* a, const WCHAR* b)
{
    BY_HANDLE_FILE_INFORMATION infoA, infoB;
    HANDLE fileA = WideOpenToQuery(a);
    if (fileA == INVALID_HANDLE_VALUE)
        return 0;
    const int haveA = GetFileInformationByHandle(fileA, &infoA);
    CloseHandle(fileA);
    HANDLE fileB = haveA ? WideOpenToQuery(b) : INVALID_HANDLE_VALUE;
    if (fileB == INVALID_HANDLE_VALUE)
        return 0;
    const int haveB = GetFileInformationByHandle(fileB, &infoB);
    CloseHandle(fileB);
    return haveB && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

// A module's file name against a manifest name, which is ASCII, ignoring case.
int SameName(const WCHAR* fileName, const char* name)
{
    for (;; ++fileName, ++name) {
        const WCHAR a = *fileName >= L'A' && *fileName <= L'Z' ? *fileName + 32 : *fileName;
        const char b = *name >= 'A' && *name <= 'Z' ? *name + 32 : *name;
        if (a != static_cast<unsigned char>(b))
            return 0;
        if (!b)
            return 1;
    }
}

const WCHAR* WideFileName(const WCHAR* path)
{
    const WCHAR* name = path;
    for (const WCHAR* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':')
            name = p + 1;
    return name;
}

// The manifest rows that are the file of the module at modulePath.
void MarkLoadedRows(const WCHAR* modulePath, bool* loaded)
{
    const WCHAR* fileName = WideFileName(modulePath);
    for (int row = 0; row < ManifestSize; ++row) {
        const char* name = InstallManifest[row].Entry.FileName;
        char path[MAX_PATH];
        WCHAR wide[MAX_PATH];
        if (!loaded[row] && SameName(fileName, name) && PayloadPath(path, InstallDir, name, nullptr) &&
            WidenText(path, CP_ACP, wide, MAX_PATH) && SameFile(modulePath, wide))
            loaded[row] = true;
    }
}

using EnumProcessesFunction = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumModulesFunction = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using ModuleFileFunction = DWORD(WINAPI*)(HANDLE, HMODULE, WCHAR*, DWORD);

// The NT family maps a running program and its libraries from their files
// without keeping the files open, so an open does not tell; the process
// status library lists every process's modules (NT 4.0 where it is
// installed, every NT from Windows 2000 on). Processes the installer may not
// look into (another user's, a service) are passed over: the engine runs as
// the user who installs it. Without the library only the opens tell, and a
// replacement of a running program then fails and says so.
void FindLoadedRows(bool* loaded)
{
    auto enumProcesses = SystemFunctionAs<EnumProcessesFunction>("PSAPI.DLL", "EnumProcesses");
    auto enumModules = SystemFunctionAs<EnumModulesFunction>("PSAPI.DLL", "EnumProcessModules");
    auto moduleFile = SystemFunctionAs<ModuleFileFunction>("PSAPI.DLL", "GetModuleFileNameExW");
    DWORD ids[1024], bytes = 0;
    if (!enumProcesses || !enumModules || !moduleFile || !enumProcesses(ids, sizeof ids, &bytes))
        return;
    for (DWORD i = 0; i < bytes / sizeof ids[0]; ++i) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (!process)
            continue;
        HMODULE modules[512];
        DWORD needed = 0;
        if (enumModules(process, modules, sizeof modules, &needed)) {
            const DWORD count = needed < sizeof modules ? needed / sizeof modules[0] : 512;
            for (DWORD m = 0; m < count; ++m) {
                WCHAR path[MAX_PATH];
                if (moduleFile(process, modules[m], path, MAX_PATH))
                    MarkLoadedRows(path, loaded);
            }
        }
        CloseHandle(process);
    }
}

// name is the bare name of path; added when path exists and is in use.
void LookAt(FilesInUse* found, const FilePath& path, const char* name, bool loaded)
{
    if (Exists(path) && (loaded || IsHeldOpen(path)))
        AddFileInUse(found, name);
}

}  // namespace

int FindFilesInUse(FilesInUse* found)
{
    *found = {};
    bool loaded[ManifestSize] = {};
    if (OsInfo.IsNt)
        FindLoadedRows(loaded);
    FilePath path;
    char ansi[MAX_PATH];
    for (int row = 0; row < ManifestSize; ++row) {
        const char* name = InstallManifest[row].Entry.FileName;
        if (PayloadPath(ansi, InstallDir, name, nullptr) && AnsiFilePath(&path, ansi))
            LookAt(found, path, name, loaded[row]);
    }
    for (int index = 0; index < StaleFileCount; ++index)
        if (StaleFilePath(index, InstallDir, ansi) && AnsiFilePath(&path, ansi))
            LookAt(found, path, LastBackslash(ansi, CP_ACP) + 1, false);
    FilePath source;
    char settings[SettingsFileNameSize];
    if (SettingsFileCopy(&source, &path) && SettingsFileName(settings))
        LookAt(found, path, settings, false);
    return found->Count;
}

void AddFileInUse(FilesInUse* found, const char* name)
{
    if (found->Count < NamedFilesInUse)
        lstrcpynA(found->Names[found->Count], name, MAX_PATH);
    ++found->Count;
}

int FilesInUseMessage(const FilesInUse& found, char* chinese, int chineseSize, char* english,
                      int englishSize)
{
    // "A is", "A and B are", "A, B and C are", "A, B, C and 2 more are".
    const int named = found.Count < NamedFilesInUse ? found.Count : NamedFilesInUse;
    char names[4 * MAX_PATH] = "";
    for (int i = 0; i < named; ++i) {
        const char* separator = i == 0 ? "" : (i + 1 == found.Count ? " and " : ", ");
        const int length = lstrlenA(names);
        if (!FormatBounded(names + length, sizeof names - length, "%s%s", separator, found.Names[i]))
            return 0;
    }
    const int more = found.Count - named;
    const int length = lstrlenA(names);
    if (more > 0 && !FormatBounded(names + length, sizeof names - length, " and %d more", more))
        return 0;
    return FormatBounded(chinese, chineseSize,
                         "Tarvo 正在运行：%d 个文件正在使用。请退出所有 Tarvo 程序，然后按“重试”。",
                         found.Count) &&
           FormatBounded(english, englishSize,
                         "Tarvo is running: %s %s in use. Please quit all Tarvo applications, "
                         "then press Retry.",
                         names, found.Count == 1 ? "is" : "are");
}
