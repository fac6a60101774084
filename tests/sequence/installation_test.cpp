// The whole installation sequence under Wine with the real payload: every
// manifest file with its name, size, content and attributes, the progress
// positions, the word-base question, stale files, a required failure, a busy
// optional file, the settings file, the shortcuts and the out-of-memory exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <zlib.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "install/installation.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/replace_file.h"
#include "install/shortcut_names.h"
#include "install/shortcuts.h"
#include "message_answerer.h"
#include "render/atlas.h"
#include "sequence_support.h"
#include "shell/environment.h"
#include "shell/process_state.h"
#include "ui/wizard.h"

namespace {

constexpr DWORD FlagBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
const std::vector<int> AllPositions = {10, 15, 20, 25, 30, 35, 45, 50, 55, 65, 70, 90, 94, 97, 100};

// What the progress bar was told, in order.
std::vector<int> Positions;
WNDPROC BarProc;
bool BarVisibleAtFirstPosition;

LRESULT CALLBACK RecordingBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS) {
        if (Positions.empty())
            BarVisibleAtFirstPosition = IsWindowVisible(bar) != 0;
        Positions.push_back(static_cast<int>(wParam));
    }
    return CallWindowProcA(BarProc, bar, message, wParam, lParam);
}

struct Shipped {
    unsigned long Size;
    unsigned long Crc;
};
Shipped ShippedFiles[ManifestSize];
std::string ShippedEngineIni;

unsigned long Crc(const std::string& bytes)
{
    return crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
}

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesA(path.c_str());
}

void SetFlags(const std::string& path, DWORD flags)
{
    // Hidden first: Wine cannot store it once the file is read-only.
    SetFileAttributesA(path.c_str(), flags & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), flags ? flags : FILE_ATTRIBUTE_NORMAL);
}

struct Link {
    std::string Path;
    const char* Target;
};

// The five shortcuts of a run with Desktop icons and start-up, in the
// language of SystemLanguage.
// A special folder in the system's code page, which spells the test user's.
std::string ShellFolderOf(int kind)
{
    WCHAR wide[MAX_PATH] = L"";
    GetShellFolderPath(wide, kind);
    char path[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, nullptr, nullptr);
    return path;
}

std::vector<Link> ExpectedLinks()
{
    const std::string programs = ShellFolderOf(CSIDL_PROGRAMS);
    const std::string desktop = ShellFolderOf(CSIDL_DESKTOP);
    const std::string startup = ShellFolderOf(CSIDL_STARTUP);
    const ShortcutNames& names = ShortcutNamesFor(SystemLanguage);
    std::string group = std::string(programs) + "\\" + names.Engine;
    return {{group + "\\" + names.Engine + ".lnk", "TVO.exe"},
            {group + "\\" + names.Uninstall + ".lnk", "TVOUnInstall.exe"},
            {std::string(desktop) + "\\" + names.Editor + ".lnk", "Quorlin.exe"},
            {std::string(desktop) + "\\" + names.Engine + ".lnk", "TVO.exe"},
            {std::string(startup) + "\\" + names.Engine + ".lnk", "TVO.exe"}};
}

std::string GroupFolder()
{
    return ShellFolderOf(CSIDL_PROGRAMS) + "\\" + ShortcutNamesFor(SystemLanguage).Engine;
}

// Once per process: the environment, the atlas for the message dialog, the
// stand-in main dialog, and size and checksum of every shipped file.
class SequenceEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        DetectEnvironment(AppInstance);
        LoadGlyphAtlas();
        InitCommonControls();
        // The stand-in main dialog: a window holding progress bar 1026,
        // hidden as in dialog template 113.
        Window = CreateWindowExA(0, "STATIC", "sequence test", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                 100, nullptr, nullptr, AppInstance, nullptr);
        HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 10, 10, 380, 20, Window,
                                   reinterpret_cast<HMENU>(1026), AppInstance, nullptr);
        BarProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingBarProc)));
        MainDialog = Window;

        auto* buffer = static_cast<unsigned char*>(std::malloc(ExtractionBufferSize));
        ASSERT_NE(buffer, nullptr);
        for (int i = 0; i < ManifestSize; ++i) {
            unsigned long length = 0;
            ASSERT_EQ(InflateResource(InstallManifest[i].Entry.ResourceId, buffer,
                                      ExtractionBufferSize, &length), 0)
                << InstallManifest[i].Entry.FileName;
            ShippedFiles[i] = {length, crc32(0, buffer, length)};
            if (std::strcmp(InstallManifest[i].Entry.FileName, "engine.ini") == 0)
                ShippedEngineIni.assign(reinterpret_cast<char*>(buffer), length);
        }
        std::free(buffer);

        std::snprintf(ModuleDir, MAX_PATH, "%s\\", MakeScratchFolder("module").c_str());
        std::snprintf(WindowsDir, MAX_PATH, "%s\\", MakeScratchFolder("windows").c_str());
        // The NT family's copy of the settings file goes by the wide folders.
        MultiByteToWideChar(CP_ACP, 0, ModuleDir, -1, ModuleDirWide, MAX_PATH);
        MultiByteToWideChar(CP_ACP, 0, WindowsDir, -1, WindowsDirWide, MAX_PATH);
        ASSERT_TRUE(WriteWholeFile(std::string(ModuleDir) + "AuxSet1.bin", "new settings"));
        std::printf("SystemLanguage %d; shortcuts of a full run:\n", SystemLanguage);
        for (const Link& link : ExpectedLinks())
            std::printf("  %s\n", link.Path.c_str());
    }
    void TearDown() override
    {
        DestroyWindow(Window);
        MainDialog = nullptr;
        FreeGlyphAtlas();
    }

private:
    HWND Window = nullptr;
};
::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new SequenceEnvironment);

class Installation : public ::testing::Test {
protected:
    // A new destination folder, and the user's choices of a full run.
    void Prepare(const char* name)
    {
        Destination = MakeScratchFolder(name);
        std::snprintf(InstallDir, MAX_PATH, "%s", Destination.c_str());
        CreateDesktopIcons = 1;
        AutoStart = 1;
        ChineseDisplayOk = 1;
        ForceLanguage = 2;
        Positions.clear();
        BarVisibleAtFirstPosition = false;
        ShowWindow(GetDlgItem(MainDialog, 1026), SW_HIDE);
    }
    std::string In(const char* file) const { return Destination + "\\" + file; }

    // Every manifest entry but the skipped ones: exact name, size, content
    // and attributes of its row.
    void ExpectInstalled(const std::vector<std::string>& skipped)
    {
        for (int i = 0; i < ManifestSize; ++i) {
            const PayloadEntry& entry = InstallManifest[i].Entry;
            bool skip = false;
            for (const std::string& name : skipped)
                skip = skip || name == entry.FileName;
            if (skip)
                continue;
            SCOPED_TRACE(entry.FileName);
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA(In(entry.FileName).c_str(), &found);
            ASSERT_NE(search, INVALID_HANDLE_VALUE);
            FindClose(search);
            EXPECT_STREQ(found.cFileName, entry.FileName);
            DWORD expected = (entry.ReadOnly ? FILE_ATTRIBUTE_READONLY : 0) |
                             (entry.Hidden ? FILE_ATTRIBUTE_HIDDEN : 0);
            EXPECT_EQ(found.dwFileAttributes & FlagBits, expected);
            if (std::strcmp(entry.FileName, "engine.ini") == 0)
                continue;   // updated after extraction, checked on its own
            EXPECT_EQ(found.nFileSizeLow, ShippedFiles[i].Size);
            EXPECT_EQ(Crc(ReadWholeFile(In(entry.FileName))), ShippedFiles[i].Crc);
        }
    }

    std::string Destination;
};

TEST_F(Installation, RequiredEntryThatCannotBeWrittenStopsAtOnce)
{
    Prepare("required_failure");
    ASSERT_TRUE(CreateDirectoryA(In("GlyphAtlas.bin").c_str(), nullptr));
    // Stale files, one of them read-only and hidden, and a word base whose
    // index does not start with a top bit: no question.
    ASSERT_TRUE(WriteWholeFile(In("keytab.dic0101"), "stale"));
    ASSERT_TRUE(WriteWholeFile(In("learnAuto.dic"), "stale"));
    SetFlags(In("learnAuto.dic"), FlagBits);
    ASSERT_EQ(Attributes(In("learnAuto.dic")) & FlagBits, FlagBits);
    ASSERT_TRUE(WriteWholeFile(In("WordFlat.igb"), "flat"));
    ASSERT_TRUE(WriteWholeFile(In("wordbase.idx"), "\x7f index"));
    // Shortcuts of an earlier run in this prefix would hide a wrong one.
    for (const Link& link : ExpectedLinks())
        DeleteFileA(link.Path.c_str());
    RemoveDirectoryA(GroupFolder().c_str());
    DeleteFileA((std::string(WindowsDir) + "AuxSet1.bin").c_str());

    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(RunInstallation(), 0);
    EXPECT_TRUE(answerer.Answered().empty());
    EXPECT_EQ(Positions, (std::vector<int>{10, 15, 20, 25}));
    EXPECT_TRUE(BarVisibleAtFirstPosition);
    EXPECT_FALSE(Exists(In("keytab.dic0101")));
    EXPECT_FALSE(Exists(In("learnAuto.dic")));
    EXPECT_EQ(ReadWholeFile(In("engine.ini")), ShippedEngineIni) << "no [Config] update";
    EXPECT_TRUE(Exists(In("wordbaseguide.txt")));
    EXPECT_FALSE(Exists(In("layout.bmp"))) << "nothing after the failed entry";
    EXPECT_EQ(ReadWholeFile(In("wordbase.idx")), "\x7f index");
    for (const Link& link : ExpectedLinks())
        EXPECT_FALSE(Exists(link.Path)) << link.Path;
    EXPECT_FALSE(Exists(GroupFolder()));
    EXPECT_FALSE(Exists(std::string(WindowsDir) + "AuxSet1.bin"));
}

TEST_F(Installation, FreshFolderReceivesEveryEntryTheConfigurationAndTheShortcuts)
{
    Prepare("fresh");
    // An index with its top bit set but no WordFlat.igb beside it: no
    // question, the index is replaced.
    ASSERT_TRUE(WriteWholeFile(In("wordbase.idx"), "\xff old"));
    // A settings file in the Windows folder that is read-only and hidden.
    std::string settings = std::string(WindowsDir) + "AuxSet1.bin";
    ASSERT_TRUE(WriteWholeFile(settings, "old settings"));
    SetFlags(settings, FlagBits);

    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(RunInstallation(), 1);
    EXPECT_TRUE(answerer.Answered().empty());
    EXPECT_EQ(KeepOldWordBase, 0);
    EXPECT_EQ(Positions, AllPositions);
    EXPECT_TRUE(BarVisibleAtFirstPosition);
    ExpectInstalled({});

    std::string ini = ReadWholeFile(In("engine.ini"));
    const std::string tail = "\r\n\r\nForceLanguage=2\r\n";
    ASSERT_GT(ini.size(), tail.size());
    EXPECT_EQ(ini.substr(ini.size() - tail.size()), tail);
    EXPECT_EQ(Attributes(In("engine.ini")) & FlagBits, FlagBits);

    for (const Link& link : ExpectedLinks()) {
        LinkInfo info = ReadShellLink(link.Path);
        EXPECT_TRUE(info.Loaded) << link.Path;
        EXPECT_EQ(info.Target, In(link.Target)) << link.Path;
        EXPECT_EQ(info.WorkingFolder, Destination) << link.Path;
    }

    EXPECT_EQ(ReadWholeFile(settings), "new settings");
    EXPECT_FALSE(Exists(std::string(WindowsDir) + "TarvoNew.tmp"));
}

// The old word base: four files with their own content and attributes, and
// an index starting with a top bit.
class OldWordBase : public Installation {
protected:
    void PrepareOld(const char* name)
    {
        Prepare(name);
        for (const char* file : WordBaseFiles) {
            ASSERT_TRUE(WriteWholeFile(In(file), std::string("\x90 old ") + file));
        }
        SetFlags(In("wordbase_x.idx"), FILE_ATTRIBUTE_HIDDEN);
        SetFlags(In("wordbase_initials.idx"), FILE_ATTRIBUTE_READONLY);
    }
    void ExpectOneQuestion(const std::vector<AnsweredMessage>& answered)
    {
        ASSERT_EQ(answered.size(), 1u);
        EXPECT_EQ(answered[0].English,
                  "Old CiKu (Word Base) is detected. Replace it with new CiKu?");
        EXPECT_EQ(answered[0].Buttons, YesShown | NoShown);
    }

    static constexpr const char* WordBaseFiles[] = {"WordFlat.igb", "wordbase_x.idx",
                                                     "wordbase.idx", "wordbase_initials.idx"};
};

TEST_F(OldWordBase, AnswerNoKeepsIt)
{
    PrepareOld("keep_old");
    MessageAnswerer answerer(IDNO);
    EXPECT_EQ(RunInstallation(), 1);
    ExpectOneQuestion(answerer.Answered());
    EXPECT_EQ(KeepOldWordBase, 1);
    EXPECT_EQ(Positions, AllPositions) << "skipped entries pass their checkpoints";
    for (const char* file : WordBaseFiles)
        EXPECT_EQ(ReadWholeFile(In(file)), std::string("\x90 old ") + file) << file;
    EXPECT_EQ(Attributes(In("WordFlat.igb")) & FlagBits, 0u);
    EXPECT_EQ(Attributes(In("wordbase_x.idx")) & FlagBits, DWORD(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Attributes(In("wordbase.idx")) & FlagBits, 0u);
    EXPECT_EQ(Attributes(In("wordbase_initials.idx")) & FlagBits, DWORD(FILE_ATTRIBUTE_READONLY));
    ExpectInstalled({"WordFlat.igb", "wordbase_x.idx", "wordbase.idx", "wordbase_initials.idx"});
}

TEST_F(OldWordBase, AnswerYesRewritesItAndAFailedSettingsCopyKeepsTheOldFile)
{
    PrepareOld("replace_old");
    // The settings file beside the installer exists but cannot be read.
    std::string settings = std::string(WindowsDir) + "AuxSet1.bin";
    ASSERT_TRUE(SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL) || !Exists(settings));
    ASSERT_TRUE(WriteWholeFile(settings, "old settings"));
    SetFlags(settings, FlagBits);
    HANDLE source = CreateFileA((std::string(ModuleDir) + "AuxSet1.bin").c_str(), GENERIC_READ, 0,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(source, INVALID_HANDLE_VALUE);

    MessageAnswerer answerer(IDYES);
    EXPECT_EQ(RunInstallation(), 1);
    CloseHandle(source);
    ExpectOneQuestion(answerer.Answered());
    EXPECT_EQ(KeepOldWordBase, 0);
    EXPECT_EQ(Positions, AllPositions);
    ExpectInstalled({});
    EXPECT_EQ(ReadWholeFile(settings), "old settings");
    EXPECT_FALSE(Exists(std::string(WindowsDir) + "TarvoNew.tmp"));
}

// An engine that came into use after the files were checked: its program,
// an optional row, cannot be replaced, and the installation fails there, as
// for a required row, with the earlier program untouched. (A missing
// optional row that fails still goes by silently: systems.hostile's damaged
// streams.)
TEST_F(Installation, EarlierFileThatStaysFailsTheInstallation)
{
    Prepare("engine_running");
    for (const Link& link : ExpectedLinks())
        DeleteFileA(link.Path.c_str());
    ASSERT_TRUE(WriteWholeFile(In("TVO.exe"), "running engine"));
    HANDLE engine = CreateFileA(In("TVO.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(engine, INVALID_HANDLE_VALUE);
    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(RunInstallation(), 0);
    CloseHandle(engine);
    EXPECT_EQ(ReadWholeFile(In("TVO.exe")), "running engine");
    EXPECT_FALSE(Exists(In("CompsStd.dat"))) << "nothing after the engine";
    EXPECT_TRUE(ReadWholeFile(In("engine.ini")) == ShippedEngineIni) << "answers written";
    EXPECT_FALSE(Exists(ExpectedLinks()[0].Path));
}

// A virus scanner holds engine.ini open from the moment it is written, as
// scanners do with a fresh file. The user's answer ("不正确(NO)") is in the
// file exactly when the installation says it succeeded.
HANDLE HeldEngineIni = INVALID_HANDLE_VALUE;
ReplaceFileCalls RealReplace;

OneStepMove MoveThenHoldEngineIni(const FilePath& from, const FilePath& to)
{
    const OneStepMove moved = RealReplace.MoveReplacing(from, to);
    const size_t length = std::strlen(to.Ansi);
    if (moved == MovedInOneStep && HeldEngineIni == INVALID_HANDLE_VALUE && length > 11 &&
        _stricmp(to.Ansi + length - 11, "\\engine.ini") == 0)
        HeldEngineIni = CreateFileA(to.Ansi, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return moved;
}

TEST_F(Installation, AnswerIsInEngineIniExactlyWhenTheInstallationSucceeds)
{
    Prepare("held_engine_ini");
    ChineseDisplayOk = 0;
    RealReplace = ReplaceCalls;
    ReplaceCalls.MoveReplacing = MoveThenHoldEngineIni;
    MessageAnswerer answerer(IDOK);
    const int installed = RunInstallation();
    ReplaceCalls = RealReplace;
    ASSERT_NE(HeldEngineIni, INVALID_HANDLE_VALUE) << "engine.ini was never held";
    CloseHandle(HeldEngineIni);
    HeldEngineIni = INVALID_HANDLE_VALUE;
    const int answer = GetPrivateProfileIntA("Config", "UseBmpFont", -1, In("engine.ini").c_str());
    std::printf("installation result %d, UseBmpFont=%d in engine.ini\n", installed, answer);
    EXPECT_EQ(installed == 1, answer == 1) << "result " << installed << ", UseBmpFont=" << answer;
    EXPECT_FALSE(Exists(In("TarvoNew.tmp")));
}

TEST_F(Installation, InstallFolderOfMaximumLengthFailsAtTheFirstEntry)
{
    // 259 characters: no file name fits behind it, so the first required
    // entry fails and nothing is formed past a path buffer.
    Prepare("long_folder");
    std::string longDir = "C:\\" + std::string(256, 'd');
    std::snprintf(InstallDir, MAX_PATH, "%s", longDir.c_str());
    MessageAnswerer answerer(IDOK);
    EXPECT_EQ(RunInstallation(), 0);
    EXPECT_TRUE(answerer.Answered().empty());
    EXPECT_EQ(Positions, (std::vector<int>{10}));
}

// Leaves every free block of the address space smaller than the extraction
// buffer, so that its allocation fails while small ones still succeed.
class AddressSpaceFiller {
public:
    AddressSpaceFiller()
    {
        const SIZE_T block = 16 << 20;
        while (Count < MaxBlocks) {
            void* reserved = VirtualAlloc(nullptr, block, MEM_RESERVE, PAGE_NOACCESS);
            if (!reserved)
                break;
            Blocks[Count++] = reserved;
        }
    }
    ~AddressSpaceFiller()
    {
        for (int i = 0; i < Count; ++i)
            VirtualFree(Blocks[i], 0, MEM_RELEASE);
    }
    int Count = 0;

private:
    static constexpr int MaxBlocks = 256;
    void* Blocks[MaxBlocks];
};

TEST_F(Installation, BufferThatCannotBeAllocatedStopsBeforeAnythingIsTouched)
{
    if (sizeof(void*) != 4)
        GTEST_SKIP() << "a 64-bit address space cannot be filled (Wine keeps a protection byte per "
                        "reserved page); the tests' 32-bit build, where 32-bit code runs natively, "
                        "runs this";
    Prepare("no_memory");
    ASSERT_TRUE(WriteWholeFile(In("keytab.dic0101"), "stale"));
    MessageAnswerer answerer(IDOK);
    int result;
    {
        AddressSpaceFiller filler;
        ASSERT_GT(filler.Count, 0);
        result = RunInstallation();
    }
    EXPECT_EQ(result, 0);
    auto answered = answerer.Answered();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].English, "Memory not enough!");
    EXPECT_EQ(answered[0].Buttons, OkShown);
    EXPECT_TRUE(Positions.empty());
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(MainDialog, 1026)));
    EXPECT_TRUE(Exists(In("keytab.dic0101")));
    EXPECT_FALSE(Exists(In("keytab.dic")));
}

}  // namespace
