// The installation sequence. One extraction buffer serves every entry; the
// progress bar moves only at the manifest's checkpoints and the end steps.
#include "install/installation.h"

#include <io.h>
#include <commctrl.h>
#include <shlobj.h>
#include <cstdio>
#include <cstdlib>

#include "install/config.h"
#include "install/file_helpers.h"
#include "install/file_path.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/replace_file.h"
#include "install/shortcut_names.h"
#include "install/shortcuts.h"
#include "resources/resource_ids.h"
#include "shell/environment.h"
#include "shell/paths.h"
#include "shell/process_state.h"
#include "shell/wide_system.h"
#include "ui/message_dialog.h"
#include "ui/wizard_state.h"

int KeepOldWordBase;

namespace {

// The engine's learned dictionaries, and their numbered copies (suffixes
// 0001 to 1111 in binary): they were built against the old word base, and
// the new engine rebuilds them from the new one rather than read them.
constexpr const char* StaleNameFormats[] = {
    "%s\\keytab.dic%s", "%s\\Charflat.dic%s", "%s\\learnAuto.dic%s", "%s\\learnAdjust.dic%s"};
constexpr int StaleNameCount = sizeof StaleNameFormats / sizeof StaleNameFormats[0];
static_assert(StaleNameCount * 16 == StaleFileCount, "four names times sixteen suffixes");

constexpr char SettingsFileDigit = '1';

// The progress bar's positions outside the manifest's checkpoints.
constexpr int ProgressStart = 10;
constexpr int ProgressProgramsGroupMade = 94;
constexpr int ProgressShortcutsMade = 97;
constexpr int ProgressComplete = 100;

int IsWordBase(EntryClass entryClass)
{
    return entryClass == WordBaseRequired || entryClass == WordBaseOptional;
}

int IsRequired(EntryClass entryClass)
{
    return entryClass == Required || entryClass == WordBaseRequired;
}

// An old word base is one whose index starts with a byte that has its top bit
// set, beside an existing WordFlat.igb. Only then is the user asked.
void TestOldWordBase()
{
    char path[MAX_PATH];
    if (!FormatBounded(path, sizeof path, "%s\\WordFlat.igb", InstallDir) || _access(path, 0) != 0)
        return;
    int first = EOF;
    if (FormatBounded(path, sizeof path, "%s\\wordbase.idx", InstallDir)) {
        if (FILE* index = std::fopen(path, "rb")) {
            first = std::fgetc(index);
            std::fclose(index);
        }
    }
    if (first != EOF && (first & 0x80) &&
        ShowMessage("安装目录有老词库。是否安装新词库(会冲掉老词库)?",
                    "Old CiKu (Word Base) is detected. Replace it with new CiKu?", MB_YESNO,
                    MainDialog) != IDYES)
        KeepOldWordBase = 1;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void DeleteStaleFiles()
{
    char path[MAX_PATH];
    for (int index = 0; index < StaleFileCount; ++index)
        if (StaleFilePath(index, InstallDir, path))
            DeleteFileForced(path);
}

// 0 when the row failed and that fails the installation: a required row,
// or any row whose file from an earlier installation stays in its place. An
// engine that came into use after the files were checked keeps its old
// program beside the new dictionaries, and must not be reported installed.
int ExtractRow(const ManifestRow& row, unsigned char* buffer)
{
    char path[MAX_PATH];
    const int existed = PayloadPath(path, InstallDir, row.Entry.FileName, nullptr) &&
                        GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    return ExtractPayload(row.Entry, buffer, ExtractionBufferSize, nullptr) ||
           !(IsRequired(row.Class) || existed);
}

// 1 when every required entry was written and every earlier file replaced.
int ExtractManifest(unsigned char* buffer)
{
    for (const ManifestRow& row : InstallManifest) {
        if (!(IsWordBase(row.Class) && KeepOldWordBase) && !ExtractRow(row, buffer))
            return 0;
        if (row.Checkpoint)
            SetProgress(row.Checkpoint);
    }
    return 1;
}

void CreateShortcuts()
{
    const ShortcutNames& names = ShortcutNamesFor(SystemLanguage);
    const ShortcutItem programs[] = {
        {names.Engine, EngineFile}, {names.Uninstall, UninstallerFile}, {nullptr, nullptr}};
    CreateShortcutGroup(names.Engine, programs, CSIDL_PROGRAMS, names.CodePage);
    SetProgress(ProgressProgramsGroupMade);
    if (CreateDesktopIcons) {
        CreateDesktopShortcut(EditorFile, names.Editor, names.CodePage);
        CreateDesktopShortcut(EngineFile, names.Engine, names.CodePage);
    }
    if (AutoStart) {
        const ShortcutItem startup[] = {{names.Engine, EngineFile}, {nullptr, nullptr}};
        CreateShortcutGroup(nullptr, startup, CSIDL_STARTUP, names.CodePage);
    }
}

// The settings file's path in a folder: on NT through the wide form, since
// the installer's folder may lie in a profile named in what the ANSI code
// page cannot spell.
int SettingsFilePath(FilePath* out, const char* folder, const WCHAR* folderWide)
{
    char name[SettingsFileNameSize];
    WCHAR wideName[SettingsFileNameSize], wide[MAX_PATH];
    if (!SettingsFileName(name))
        return 0;
    if (!OsInfo.IsNt) {
        char path[MAX_PATH];
        return FormatBounded(path, sizeof path, "%s%s", folder, name) && AnsiFilePath(out, path);
    }
    return folderWide[0] && WidenText(name, CP_ACP, wideName, SettingsFileNameSize) &&
           JoinWide(wide, MAX_PATH, {folderWide, wideName}) && WideFilePath(out, wide);
}

// The settings file beside the installer replaces the one in the Windows
// folder, whole or not at all: a copy that fails (unreadable source, full
// disk, the old file in use) leaves the old file as it was.
void CopySettingsFile()
{
    FilePath source, target;
    if (SettingsFileCopy(&source, &target))
        ReplaceFileWithCopy(source, target);
}

}  // namespace

int StaleFilePath(int index, const char* installDir, char* out)
{
    if (index < 0 || index >= StaleFileCount)
        return 0;
    int suffixNumber = index / StaleNameCount;
    char suffix[5] = "";
    if (suffixNumber != 0)
        FormatBounded(suffix, sizeof suffix, "%1d%1d%1d%1d", (suffixNumber >> 3) & 1,
                      (suffixNumber >> 2) & 1, (suffixNumber >> 1) & 1, suffixNumber & 1);
    return FormatBounded(out, MAX_PATH, StaleNameFormats[index % StaleNameCount], installDir,
                         suffix);
}

int SettingsFileName(char* out)
{
    return FormatBounded(out, SettingsFileNameSize, "AuxSet%c.bin", SettingsFileDigit);
}

int SettingsFileCopy(FilePath* source, FilePath* target)
{
    return SettingsFilePath(source, ModuleDir, ModuleDirWide) &&
           PathAttributes(*source) != INVALID_FILE_ATTRIBUTES &&
           SettingsFilePath(target, WindowsDir, WindowsDirWide);
}

void SetProgress(int position)
{
    HWND bar = GetDlgItem(MainDialog, IDC_PROGRESS);
    SendMessageA(bar, PBM_SETPOS, position, 0);
    UpdateWindow(bar);
}

int RunInstallation()
{
    auto* buffer = static_cast<unsigned char*>(std::malloc(ExtractionBufferSize));
    if (!buffer) {
        ShowMessage(MemoryMessageCn, MemoryMessageEn, MB_OK, MainDialog);
        return 0;
    }
    ShowWindow(GetDlgItem(MainDialog, IDC_PROGRESS), SW_SHOW);
    SetProgress(ProgressStart);
    KeepOldWordBase = 0;
    TestOldWordBase();
    DeleteStaleFiles();
    // The user's answers are part of what succeeds: without them in
    // engine.ini the installation has failed, as for a required file.
    const int installed = ExtractManifest(buffer) && UpdateEngineConfig(buffer, ExtractionBufferSize);
    if (installed) {
        CreateShortcuts();
        // The shortcuts' share ends here; the settings file's single small
        // copy, the last step, comes after the full bar.
        SetProgress(ProgressShortcutsMade);
        SetProgress(ProgressComplete);
        CopySettingsFile();
    }
    std::free(buffer);
    return installed;
}
