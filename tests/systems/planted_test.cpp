// The installer started from a downloads folder in which others planted
// libraries under the names of libraries that it and the system load
// (TARVO_NATIVE_FIRST, which makes those names native first, so that Wine
// takes a copy in the program's folder before its own, as Windows' search
// would where the system does not protect the name). No library may be
// mapped from that folder, none may run, and the typical installation must
// succeed. Wine's load log (WINEDEBUG=+loaddll, for the installer only)
// reaches this program's standard error, which CTest sends to TARVO_STDERR.
// The installer run is the signed copy of the signing test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/systems/systems_support.h"

namespace {

constexpr DWORD Patience = 20000;

// Opens the folder browser on page 0 and cancels it: the common dialogs and
// what they load come in too.
void BrowseAndCancel(HWND wizard, int page)
{
    if (page != 0) return;
    ClickButton(wizard, IDC_BROWSE);
    DWORD pid = 0;
    GetWindowThreadProcessId(wizard, &pid);
    HWND browser = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (browser = FindProcessWindow(pid, nullptr, "#32770", wizard)) && IsWindowEnabled(browser);
    }, Patience)) << "no folder browser";
    ClickButton(browser, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(browser) && IsWindowEnabled(wizard); }, Patience));
}

// The lines of the load log that name a file in folder other than the
// installer itself. Wine writes backslashes doubled there.
std::string LoadsFrom(const std::string& log, std::string folder)
{
    for (size_t at = 0; (at = folder.find('\\', at)) != std::string::npos; at += 2)
        folder.insert(at, 1, '\\');
    std::string found;
    for (size_t start = 0, end; start < log.size(); start = end + 1) {
        end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        const std::string line = log.substr(start, end - start);
        if (line.find("Loaded L\"" + folder + "\\\\") != std::string::npos &&
            line.find("\\\\TarvoSetup.exe\"") == std::string::npos)
            found += line + "\n";
    }
    return found;
}

// A file of the host, as this program reaches it.
std::string HostFile(const char* variable)
{
    const char* path = getenv(variable);
    std::string file = "Z:" + std::string(path ? path : "");
    for (char& c : file)
        if (c == '/') c = '\\';
    return file;
}

// One typical run from a downloads folder of its own, with the Windows
// version the installer is shown (null: the prefix's own).
void InstallAmongPlantedLibraries(const char* version)
{
    const std::string parent = "C:\\users\\Public\\Downloads";
    const std::string downloads =
        parent + "\\planted_" + RunTag() + (version ? std::string("_") + version : "");
    const std::string exe = downloads + "\\TarvoSetup.exe";
    RemoveTree(downloads);
    CreateDirectoryA(parent.c_str(), nullptr);   // a new prefix has none
    ASSERT_TRUE(CreateDirectoryA(downloads.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(BuildFile("tests/signing/signed/TarvoSetup.exe").c_str(), exe.c_str(), FALSE))
        << "no signed installer: pe.signed makes it";
    std::vector<std::string> names;
    std::istringstream list(getenv("TARVO_NATIVE_FIRST") ? getenv("TARVO_NATIVE_FIRST") : "");
    for (std::string name; std::getline(list, name, ',');) {
        names.push_back(name);
        ASSERT_TRUE(CopyFileA(ShippedFile("tests/planted.dll").c_str(),
                              (downloads + "\\" + name + ".dll").c_str(), FALSE));
    }
    ASSERT_FALSE(names.empty()) << "TARVO_NATIVE_FIRST names no library";

    ASSERT_TRUE(SetVersionFor("TarvoSetup.exe", version));
    RunChoices choices;
    choices.Destination = downloads + "_installed";
    choices.AtPage = BrowseAndCancel;
    choices.Start.Environment = {"WINEDEBUG=-all,+loaddll"};
    DWORD code = 0;
    EXPECT_EQ(InstallThroughWizard(exe.c_str(), choices, &code),
              "Congratulations! Installation Success!");
    EXPECT_EQ(code, 0u);

    // The log saw the installer's own load, so an empty answer means something.
    const std::string loads = ReadFileBytes(HostFile("TARVO_STDERR"));
    EXPECT_NE(loads.find("TarvoSetup.exe\" at"), std::string::npos) << "no load log";
    EXPECT_EQ(LoadsFrom(loads, downloads), "") << "mapped from the downloads folder";
    for (const std::string& name : names)
        EXPECT_FALSE(FileExists(downloads + "\\" + name + ".dll.ran")) << name << ".dll ran";

    SetVersionFor("TarvoSetup.exe", nullptr);
    RemoveTree(choices.Destination);
    RemoveTree(downloads);
}

}  // namespace

// Where the system can keep every later search in the system folder.
TEST(SystemsPlanted, NoLibraryComesFromTheDownloadsFolder)
{
    InstallAmongPlantedLibraries(nullptr);
}

// Vista, where the installer does not restrict the search (the shell-link
// object is reported to fail then) and loads ahead what the system loads by
// name, as on the systems that cannot restrict it.
TEST(SystemsPlanted, NoLibraryComesFromTheDownloadsFolderOnVista)
{
    InstallAmongPlantedLibraries("vista");
}
