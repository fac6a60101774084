// The build's own guards against running past a buffer are live: a child
// that overruns a buffer does not end normally. The hostile scenarios rely on
// this when they check the installer's exit code.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "tests/e2e/driver.h"

namespace {

// The exit code of the child run with these arguments, or STILL_ACTIVE.
DWORD RunChild(const char* arguments)
{
    std::string exe = ShippedFile("tests/systems_overflow_child.exe");
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, Patient(60000)) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, STILL_ACTIVE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

}  // namespace

TEST(SystemsHardening, OverrunsAbortTheProcess)
{
    EXPECT_EQ(RunChild("fits"), 0u);
    EXPECT_EQ(RunChild("strcpy 7"), 0u);      // exactly fits: 7 bytes and the NUL
    for (const char* overrun : {"strcpy 40", "stack 64"}) {
        DWORD code = RunChild(overrun);
        printf("%s: exit code %lu (0x%lX)\n", overrun, code, code);
        // Stopped by the trap itself, not by a crash after the damage.
        EXPECT_EQ(code, 0xC0000409u) << overrun;
    }
}
