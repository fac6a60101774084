// The installation sequence: buffer, progress, the old word-base question,
// stale files, the manifest, the configuration, shortcuts, the settings file.
#pragma once
#include <windows.h>

#include "install/file_path.h"

extern int KeepOldWordBase;     // set by the old word-base test of each run

// 1 when every required entry was written, every file of an earlier
// installation replaced and engine.ini holds the user's answers, 0 otherwise. Reads InstallDir
// (existing, no trailing backslash), ModuleDir, WindowsDir, SystemLanguage,
// CreateDesktopIcons, AutoStart and MainDialog.
int RunInstallation();

// PBM_SETPOS on progress bar 1026 of MainDialog, then an immediate repaint:
// the message loop does not run during the installation.
void SetProgress(int position);

// The programs the shortcuts start: files of the manifest, in InstallDir.
constexpr const char* EngineFile = "TVO.exe";
constexpr const char* UninstallerFile = "TVOUnInstall.exe";
constexpr const char* EditorFile = "Quorlin.exe";
inline constexpr const char* ShortcutTargets[] = {EngineFile, UninstallerFile, EditorFile};

// The settings file's name, "AuxSet1.bin", in out (SettingsFileNameSize bytes).
constexpr int SettingsFileNameSize = 16;
int SettingsFileName(char* out);
// The settings file: 1 when one lies beside the installer, with its path
// there and the path of the copy in the Windows folder that replaces it.
int SettingsFileCopy(FilePath* source, FilePath* target);

// The stale-file set: 64 names, deleted before any extraction.
constexpr int StaleFileCount = 64;
// Formats stale path number index (0..63, deletion order) for installDir into
// out (MAX_PATH bytes). 0 when the path does not fit.
int StaleFilePath(int index, const char* installDir, char* out);
