// The real installer under hostile conditions: a full drive, a folder it may
// not write, impossible and overlong destinations, the folder browser at the
// path limit, an upgrade while the engine runs over an earlier installation
// with protected files, and a build whose payload has damaged streams. Every case must end in the
// documented message and a normal exit, never in a crash or a hang.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

#include "install/manifest.h"
#include "install/payload.h"
#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

constexpr DWORD Patience = 20000;
const char* const FailedEn =
    "Installation failed. Please check your system (quit all Tarvo applications) and try again.";
const char* const FailedCn = "安装失败！请检查一下系统后，再重新安装。谢谢！";
const char* const FolderEn = "Cannot create folder! Please check folder path.";
const char* const SuccessEn = "Congratulations! Installation Success!";
// The exit code of an installation that failed after its message (README).
constexpr DWORD FailedInstallationCode = 2;

// The wizard, walked to page 3 with the destination set.
struct LastPage {
    InstallerRun Run{};
    ~LastPage() { EndRun(&Run); }
    bool Open(const char* exe, const std::string& destination, const char* currentDir = "C:\\")
    {
        if (!StartInstaller(exe, currentDir, &Run)) return false;
        HWND main = Run.Main;
        auto page = [&](int n) { return WaitUntil([&] { return VisiblePage(main) == n; }, Patience); };
        if (!page(0) || !SetControlText(main, IDC_DEST_EDIT, destination.c_str())) return false;
        ClickButton(main, IDC_NEXT);
        if (!page(1)) return false;
        ClickButton(main, IDC_DISPLAY_OK);
        if (!WaitUntil([&] { return IsTicked(main, IDC_DISPLAY_OK); }, Patience)) return false;
        ClickButton(main, IDC_NEXT);
        if (!page(2)) return false;
        ClickButton(main, IDC_NEXT);
        return page(3);
    }
    // Presses the install button with this destination; the English text of
    // the message that follows, after answering it.
    std::string Press(const std::string& destination)
    {
        SetControlText(Run.Main, IDC_DEST_EDIT, destination.c_str());
        ClickButton(Run.Main, IDC_NEXT);
        HWND message = WaitForMessageDialog(Run, 120000);
        if (!message) return "(no message)";
        std::string english = ControlText(message, IDC_MSG_ENGLISH);
        LastChinese = ChineseCaption(message, IDC_MSG_CHINESE);
        ClickButton(message, IDOK);
        WaitUntil([&] { return !IsWindow(message); }, Patience);
        return english;
    }
    // After a folder message the wizard stays on page 3 with its buttons.
    bool StillOnLastPage()
    {
        return WaitUntil([&] { return VisiblePage(Run.Main) == 3 && IsShown(Run.Main, IDC_NEXT) &&
                                      IsShown(Run.Main, IDCANCEL); }, Patience);
    }
    DWORD Exit()
    {
        DWORD code = 12345;
        EXPECT_TRUE(WaitForExit(&Run, Patience, &code)) << "the installer did not end";
        return code;
    }
    std::string LastChinese;
};

void ExpectNoShortcuts()
{
    const ShortcutPlaces places = ShellPlaces();
    const ExpectedNames& names = NamesForLanguage(ExpectedSystemLanguage());
    EXPECT_FALSE(FolderExists(places.Programs + "\\" + names.Engine));
    EXPECT_FALSE(FileExists(places.Desktop + "\\" + names.Editor + ".lnk"));
    EXPECT_FALSE(FileExists(places.Desktop + "\\" + names.Engine + ".lnk"));
}

// Writes a file as an earlier installation left it, hidden before read-only.
void PutFile(const std::string& path, const std::string& bytes, DWORD flags)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    if (flags & FILE_ATTRIBUTE_HIDDEN) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), flags);
}

// The names of the files and folders in folder.
std::vector<std::string> EntriesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<long>(data.nFileSizeLow);
}

// After a failed installation: the first required entry that is not there
// complete, and nothing of the manifest after it. Returns its index (-1 when
// every entry is complete).
int ExpectNothingAfterFirstFailure(const std::string& folder)
{
    int failed = -1;
    for (int i = 0; i < ManifestSize; ++i) {
        const ManifestRow& row = InstallManifest[i];
        std::string path = folder + "\\" + row.Entry.FileName;
        if (failed >= 0) {
            EXPECT_FALSE(FileExists(path)) << row.Entry.FileName << " written after "
                                           << InstallManifest[failed].Entry.FileName << " failed";
            continue;
        }
        bool complete = FileSize(path) == static_cast<long>(PayloadBytes(row.Entry.ResourceId).size());
        if (!complete && (row.Class == Required || row.Class == WordBaseRequired)) failed = i;
    }
    return failed;
}

// What an earlier installation left, read-only and hidden: old content, but
// for the engine and its library, which run as they are and are told from
// the new build by their trailing bytes; and two stale learned dictionaries.
std::string EarlierBytes(const ManifestRow& row)
{
    const std::string name = row.Entry.FileName;
    return name == "TVO.exe" || name == "kbhook.dll"
               ? PayloadBytes(row.Entry.ResourceId) + "earlier build"
               : std::string("old installation");
}

void PutEarlierInstallation(const std::string& dest)
{
    RemoveTree(dest);
    ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
    for (const ManifestRow& row : InstallManifest)
        PutFile(dest + "\\" + row.Entry.FileName, EarlierBytes(row),
                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    PutFile(dest + "\\learnAdjust.dic1111", "stale", FILE_ATTRIBUTE_READONLY);
    PutFile(dest + "\\keytab.dic0101", "stale", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

// 1 when every file of the earlier installation is as it was; says how many
// are. held: a file that another program keeps open, whose size tells.
int EarlierInstallationUnchanged(const std::string& dest, const char* held)
{
    int same = 0;
    for (const ManifestRow& row : InstallManifest) {
        const std::string path = dest + "\\" + row.Entry.FileName;
        same += std::string(row.Entry.FileName) == held
                    ? FileSize(path) == static_cast<long>(EarlierBytes(row).size())
                    : ReadFileBytes(path) == EarlierBytes(row);
    }
    const int stale = FileExists(dest + "\\learnAdjust.dic1111") + FileExists(dest + "\\keytab.dic0101");
    printf("earlier files unchanged: %d of %d, stale files left: %d of 2\n", same, ManifestSize, stale);
    return same == ManifestSize && stale == 2;
}

// 1 when every manifest file holds the new build's bytes; says how many do.
int EveryFileNew(const std::string& dest)
{
    int fresh = 0;
    for (const ManifestRow& row : InstallManifest) {
        const std::string bytes = ReadFileBytes(dest + "\\" + row.Entry.FileName);
        const std::string shipped = PayloadBytes(row.Entry.ResourceId);
        // engine.ini: the shipped text, the answers added at its end.
        fresh += row.Entry.ResourceId == 120 ? bytes.compare(0, shipped.size(), shipped) == 0
                                             : bytes == shipped;
    }
    printf("new files: %d of %d\n", fresh, ManifestSize);
    return fresh == ManifestSize;
}

// A process the test started, ended with the case.
struct Running {
    InstallerRun Run{};
    ~Running() { EndRun(&Run); }
};

// Presses the install button; the message that follows, its English text printed.
HWND InstallButtonMessage(LastPage& wizard)
{
    ClickButton(wizard.Run.Main, IDC_NEXT);
    HWND message = WaitForMessageDialog(wizard.Run, Patience);
    if (message)
        printf("message: \"%s\"\n", ControlText(message, IDC_MSG_ENGLISH).c_str());
    return message;
}

}  // namespace

// A reinstallation onto a drive with 12 MiB of room that holds an older,
// smaller corner.bin: the new one (6.8 MB, optional) does not fit. The older
// copy survives with its attributes, no torn or temporary file is left, and
// the installation goes on until a required file does not fit either: the
// failure message after the 5-second minimum and its exit code; the engine
// configuration and the shortcuts are not touched.
TEST(SystemsHostile, NearlyFullDrive)
{
    if (!FolderExists("R:\\")) GTEST_SKIP() << "drive R: (a small file system) is not available";
    const std::string dest = "R:\\Tarvo", corner = dest + "\\corner.bin";
    const DWORD flags = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    RemoveTree(dest);
    RemoveShortcutsFrom(ShellPlaces());
    ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
    const std::string older(99000, 'o');
    PutFile(corner, older, flags);
    RunChoices choices;
    choices.Destination = dest;
    DWORD code;
    std::string chinese;
    EXPECT_EQ(InstallThroughWizard(InstallerPath().c_str(), choices, &code, &chinese), FailedEn);
    EXPECT_EQ(chinese, FailedCn);
    EXPECT_EQ(code, FailedInstallationCode);
    EXPECT_TRUE(ReadFileBytes(corner) == older)
        << "the older corner.bin is gone: " << FileSize(corner) << " bytes stand in its place";
    EXPECT_EQ(Attributes(corner) & flags, flags);
    // Whatever is left is whole: a file of the manifest as its payload, or
    // the older copy; nothing else.
    int torn = 0;
    for (const std::string& name : EntriesIn(dest)) {
        const ManifestRow* row = nullptr;
        for (const ManifestRow& r : InstallManifest)
            if (_stricmp(r.Entry.FileName, name.c_str()) == 0) row = &r;
        if (!row) {
            ADD_FAILURE() << "left in the destination: " << name;
        } else if (name != "corner.bin" &&
                   FileSize(dest + "\\" + name) != static_cast<long>(PayloadBytes(row->Entry.ResourceId).size())) {
            ADD_FAILURE() << name << " is torn: " << FileSize(dest + "\\" + name) << " of "
                          << PayloadBytes(row->Entry.ResourceId).size() << " bytes";
            ++torn;
        }
    }
    int failed = ExpectNothingAfterFirstFailure(dest);
    ASSERT_GE(failed, 0) << "every file was written onto the small drive";
    std::string skipped;
    for (int i = 0; i < failed; ++i)
        if (FileSize(dest + "\\" + InstallManifest[i].Entry.FileName) !=
            static_cast<long>(PayloadBytes(InstallManifest[i].Entry.ResourceId).size()))
            skipped += std::string(" ") + InstallManifest[i].Entry.FileName;
    printf("%zu files left, %d of them torn or empty; not written before the failure:%s; "
           "first required file that did not fit: %s (entry %d)\n",
           EntriesIn(dest).size(), torn, skipped.c_str(), InstallManifest[failed].Entry.FileName,
           failed + 1);
    if (FileExists(dest + "\\engine.ini")) {
        EXPECT_EQ(ReadFileBytes(dest + "\\engine.ini"), PayloadBytes(120)) << "[Config] updated";
    }
    ExpectNoShortcuts();
    RemoveTree(dest);
}

// A destination that exists but may not be written: the first file fails.
// Below it, a destination that cannot be made: the folder message.
TEST(SystemsHostile, ReadOnlyDestinationFolder)
{
    const std::string dest = "C:\\systems_readonly";
    ASSERT_TRUE(FolderExists(dest)) << "the read-only folder was not prepared";
    RemoveShortcutsFrom(ShellPlaces());
    {
        LastPage w;
        ASSERT_TRUE(w.Open(InstallerPath().c_str(), dest + "\\Tarvo"));
        EXPECT_EQ(w.Press(dest + "\\Tarvo"), FolderEn);
        EXPECT_TRUE(w.StillOnLastPage());
        EXPECT_EQ(w.Press(dest), FailedEn);
        EXPECT_EQ(w.LastChinese, FailedCn);
        EXPECT_EQ(w.Exit(), FailedInstallationCode);
    }
    EXPECT_FALSE(FolderExists(dest + "\\Tarvo"));
    EXPECT_FALSE(FileExists(dest + "\\keytab.dic"));
    ExpectNoShortcuts();
}

// Started from a downloads folder that holds a folder "Tarvo", as a double
// click in a file manager starts it: destinations that are not full paths
// (relative, drive-relative, root-relative, a server without a share) get
// the folder message and write nothing, whatever the current folder holds.
// So do names no file system takes, a missing parent and a typed path past
// the limit. The wizard stays every time and can be left.
TEST(SystemsHostile, ImpossibleDestinations)
{
    const std::string downloads = "C:\\systems_downloads";
    RemoveTree(downloads);
    ASSERT_TRUE(CreateDirectoryA(downloads.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((downloads + "\\Tarvo").c_str(), nullptr));
    LastPage w;
    ASSERT_TRUE(w.Open(InstallerPath().c_str(), "C:\\x", downloads.c_str()));
    const std::string overlong = "C:\\" + std::string(400, 'a');
    for (const std::string& dest : {std::string("Tarvo"), std::string("C:Tarvo"),
                                    std::string("\\systems_downloads\\Tarvo"), std::string("Tarvo\\doc"),
                                    std::string("\\\\server"), std::string("\\\\server\\"),
                                    std::string("C:\\bad|name"), std::string("C:\\a<b>c"),
                                    std::string("C:\\quote\"d"), std::string("C:\\what?"),
                                    std::string("Q:\\no_such_drive"),
                                    std::string("C:\\systems_no_parent\\Tarvo"), overlong}) {
        SCOPED_TRACE(dest.substr(0, 40));
        EXPECT_EQ(w.Press(dest), FolderEn);
        EXPECT_TRUE(w.StillOnLastPage());
    }
    EXPECT_EQ(EntriesIn(downloads), std::vector<std::string>{"Tarvo"});
    EXPECT_TRUE(EntriesIn(downloads + "\\Tarvo").empty()) << "written into the downloads folder's Tarvo";
    EXPECT_FALSE(FolderExists("C:\\systems_no_parent"));
    ClickButton(w.Run.Main, IDCANCEL);
    EXPECT_EQ(w.Exit(), 0u);
    RemoveTree(downloads);
}

// Ordinary hands on the last page. A second start (a download double-clicked
// twice) brings the first copy's wizard to the front and ends at once with
// exit code 0 and no window of its own. A destination with a name of blanks
// alone is refused with nothing made; one typed with a dot and a blank at
// its end, which the system would drop from the folder it makes but not
// from the file paths in it, shows in the field as the system reads it, and
// every file goes there.
TEST(SystemsHostile, SecondStartAndTrailingBlanks)
{
    const std::string dest = "C:\\systems_blank";
    RemoveTree(dest);
    RemoveShortcutsFrom(ShellPlaces());
    LastPage w;
    ASSERT_TRUE(w.Open(InstallerPath().c_str(), dest));
    // Something else in front, as when the user double-clicks in a file manager.
    HWND other = CreateWindowExA(0, "STATIC", "file manager", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    InstallerRun second{};
    ASSERT_TRUE(StartProcess(InstallerPath().c_str(), "C:\\", &second));
    DWORD code = 12345;
    const int ended = WaitForExit(&second, Patience, &code);
    printf("second copy: %s, exit code %lu, windows of its own: %d\n", ended ? "ended" : "still running",
           code, ProcessHasWindow(second.Process.dwProcessId));
    EXPECT_TRUE(ended) << "the second copy shows a wizard of its own";
    EXPECT_EQ(code, 0u);
    EndRun(&second);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == w.Run.Main; }, Patience))
        << "the first wizard was not brought to the front";
    DestroyWindow(other);

    EXPECT_EQ(w.Press(dest + "\\  \\Tarvo"), FolderEn);
    EXPECT_TRUE(w.StillOnLastPage());
    EXPECT_FALSE(FolderExists(dest)) << "made for a refused destination";
    SetControlText(w.Run.Main, IDC_DEST_EDIT, (dest + ". ").c_str());
    ClickButton(w.Run.Main, IDC_NEXT);
    HWND message = WaitForMessageDialog(w.Run, 120000);
    ASSERT_NE(message, nullptr);
    const std::string field = ControlText(w.Run.Main, IDC_DEST_EDIT);
    const std::string english = ControlText(message, IDC_MSG_ENGLISH);
    ClickButton(message, IDOK);
    code = w.Exit();
    printf("typed \"%s. \": field \"%s\", message \"%s\", exit code %lu; %s %s with %zu entries, "
           "%d good files\n", dest.c_str(), field.c_str(), english.c_str(), code, dest.c_str(),
           FolderExists(dest) ? "exists" : "does not exist", EntriesIn(dest).size(),
           CountGoodManifestFiles(dest));
    EXPECT_EQ(english, SuccessEn);
    EXPECT_EQ(field, dest);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CountGoodManifestFiles(dest), ManifestSize);
    RemoveShortcutsFrom(ShellPlaces());
    RemoveTree(dest);
}

// The longest file name of the manifest,// A required dictionary that a running engine keeps open, over an earlier
// installation: the installer names it before it touches anything, asks
// again on Retry while it is held, and Cancel returns to the language page
// with every earlier file as it was.
TEST(SystemsHostile, HeldDictionaryAndCancel)
{
    const std::string dest = "C:\\systems_held";
    PutEarlierInstallation(dest);
    HANDLE held = CreateFileA((dest + "\\notes2.igb").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    LastPage wizard;
    ASSERT_TRUE(wizard.Open(InstallerPath().c_str(), dest));
    HWND message = InstallButtonMessage(wizard);
    ASSERT_NE(message, nullptr) << "no message about the file in use";
    EXPECT_EQ(ControlText(message, IDC_MSG_ENGLISH),
              "Tarvo is running: notes2.igb is in use. Please quit all Tarvo applications, then "
              "press Retry.");
    EXPECT_TRUE(IsShown(message, IDRETRY) && IsShown(message, IDCANCEL) && !IsShown(message, IDOK));
    ClickButton(message, IDRETRY);
    HWND again = WaitUntil([&] { return !IsWindow(message); }, Patience)
                     ? WaitForMessageDialog(wizard.Run, Patience) : nullptr;
    ASSERT_NE(again, nullptr) << "Retry went on while the dictionary was held";
    ClickButton(again, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(again); }, Patience));
    EXPECT_TRUE(wizard.StillOnLastPage()) << "Cancel did not return to the language page";
    EXPECT_TRUE(IsShown(wizard.Run.Main, IDC_BACK));
    EXPECT_TRUE(EarlierInstallationUnchanged(dest, "notes2.igb")) << "a file changed";
    CloseHandle(held);
    ClickButton(wizard.Run.Main, IDCANCEL);
    EXPECT_EQ(wizard.Exit(), 0u);
    RemoveTree(dest);
}

// An upgrade while the engine runs: its program started from the
// destination and its keyboard library loaded by another program. Once both
// are quit, Retry installs every file new.
TEST(SystemsHostile, UpgradeWhileTheEngineRuns)
{
    const std::string dest = "C:\\systems_upgrade";
    PutEarlierInstallation(dest);
    RemoveShortcutsFrom(ShellPlaces());
    Running engine, holder;
    ASSERT_TRUE(StartProcess((dest + "\\TVO.exe").c_str(), dest.c_str(), &engine.Run));
    HWND engineWindow = WaitForProcessWindow(engine.Run.Process.dwProcessId, "TVO.exe", nullptr,
                                             nullptr, Patience);
    ASSERT_NE(engineWindow, nullptr) << "the earlier engine did not start";
    // The installer finds a running program in the list of each process's
    // modules, which it reads from that process's memory.
    if (!ReadsMemoryOf(engineWindow))
        GTEST_SKIP() << "where 32-bit code runs under qemu-user, one process cannot read "
                        "another's module list at the addresses that process sees";
    const std::string event = "systems_holder_" + RunTag();
    HANDLE loaded = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    StartOptions holding;
    holding.Arguments = event + " " + dest + "\\kbhook.dll";
    ASSERT_TRUE(StartProcess(ShippedFile("tests/systems_library_holder.exe").c_str(), dest.c_str(),
                             &holder.Run, &holding));
    ASSERT_EQ(WaitForSingleObject(loaded, Patient(Patience)), WAIT_OBJECT_0) << "not loaded";
    CloseHandle(loaded);

    LastPage wizard;
    ASSERT_TRUE(wizard.Open(InstallerPath().c_str(), dest));
    HWND message = InstallButtonMessage(wizard);
    ASSERT_NE(message, nullptr) << "no message about the files in use";
    EXPECT_EQ(ControlText(message, IDC_MSG_ENGLISH),
              "Tarvo is running: kbhook.dll and TVO.exe are in use. Please quit all Tarvo "
              "applications, then press Retry.");
    EXPECT_TRUE(EarlierInstallationUnchanged(dest, ""));
    EndRun(&engine.Run);
    EndRun(&holder.Run);
    ClickButton(message, IDRETRY);
    HWND result = WaitUntil([&] { return !IsWindow(message); }, Patience)
                      ? WaitForMessageDialog(wizard.Run, 120000) : nullptr;
    ASSERT_NE(result, nullptr) << "no result after Retry";
    const std::string outcome = ControlText(result, IDC_MSG_ENGLISH);
    EXPECT_EQ(outcome, SuccessEn);
    ClickButton(result, IDOK);
    const DWORD code = wizard.Exit();
    printf("after Retry: \"%s\", exit code %lu\n", outcome.c_str(), code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CountGoodManifestFiles(dest), ManifestSize);
    EXPECT_TRUE(EveryFileNew(dest));
    EXPECT_FALSE(FileExists(dest + "\\learnAdjust.dic1111"));
    EXPECT_FALSE(FileExists(dest + "\\keytab.dic0101"));
    RemoveShortcutsFrom(ShellPlaces());
    RemoveTree(dest);
}

// A build whose optional "dupes.dic" stream is cut short and whose required
// "layout.bmp" stream fails its check: the first is skipped, the second
// stops the installation with the failure message.
TEST(SystemsHostile, DamagedPayloadStreams)
{
    const std::string dest = "C:\\systems_damaged";
    RemoveTree(dest);
    RemoveShortcutsFrom(ShellPlaces());
    RunChoices choices;
    choices.Destination = dest;
    DWORD code;
    std::string chinese;
    EXPECT_EQ(InstallThroughWizard(ShippedFile("tests/TarvoSetupDamaged.exe").c_str(), choices, &code,
                                   &chinese),
              FailedEn);
    EXPECT_EQ(chinese, FailedCn);
    EXPECT_EQ(code, FailedInstallationCode);
    for (int i = 0; i < ManifestSize; ++i) {
        const PayloadEntry& entry = InstallManifest[i].Entry;
        const bool written = i < 16 && entry.ResourceId != 118;
        EXPECT_EQ(FileExists(dest + "\\" + entry.FileName), written) << entry.FileName;
    }
    EXPECT_EQ(ReadFileBytes(dest + "\\engine.ini"), PayloadBytes(120)) << "[Config] updated";
    ExpectNoShortcuts();
    RemoveTree(dest);
}

// NT 3.51 whose profile folders do not exist: the programs group cannot be
// made (its message names the folder), the Desktop shortcuts fail silently,
// and the installation still ends in success.
TEST(SystemsHostile, Version3WithoutProfileFolders)
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string profiles = std::string(windows) + "\\profiles";
    const std::string dest = "C:\\systems_noprofile";
    RemoveTree(profiles);
    RemoveTree(dest);
    ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", "nt351"));
    LastPage w;
    ASSERT_TRUE(w.Open(InstallerPath().c_str(), dest));
    SetControlText(w.Run.Main, IDC_DEST_EDIT, dest.c_str());
    ClickButton(w.Run.Main, IDC_NEXT);
    std::string texts;
    for (int shown = 0; shown < 4; ++shown) {
        HWND message = WaitForMessageDialog(w.Run, 120000);
        if (!message) break;
        std::string english = ControlText(message, IDC_MSG_ENGLISH);
        std::string chinese = ChineseCaption(message, IDC_MSG_CHINESE);
        texts += english + "|" + chinese + "\n";
        ClickButton(message, IDOK);
        WaitUntil([&] { return !IsWindow(message); }, Patience);
        if (english.rfind("Congratulations!", 0) == 0 || english.rfind("Installation failed", 0) == 0)
            break;
    }
    SetVersionFor("TarvoSetup.exe", nullptr);
    EXPECT_EQ(w.Exit(), 0u);
    const std::string group = profiles + "\\" + UserName() +
                              "\\start menu\\programs\\" + NamesForLanguage(ExpectedSystemLanguage()).Engine;
    EXPECT_EQ(texts, "Cannot create folder!|无法建目录(" + group + ")!\n"
                     "Congratulations! Installation Success!|祝贺您：安装顺利完成！\n");
    EXPECT_EQ(CountGoodManifestFiles(dest), ManifestSize);
    EXPECT_FALSE(FolderExists(profiles));
    RemoveTree(dest);
}
