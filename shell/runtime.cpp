// The start of the process and the little the program needs beyond what the
// oldest systems carry. The shipped programs link only against the system
// DLLs and CRTDLL.DLL, which every Win32 system has, so MinGW's own start-up
// code, libssp and libstdc++ stay out; what they would have brought is here.
#include "shell/runtime.h"

#include <stdlib.h>
#include <string.h>

#include "shell/library_search.h"

// Compiled without the stack protector (see CMake): the guard is not yet
// seeded while these run, and the traps must not call themselves.

// CRTDLL's clock: the calendar time in seconds, with a 32-bit time_t.
extern "C" __declspec(dllimport) long __cdecl time(long* out);

extern "C" {

unsigned long __stack_chk_guard;

// An overrun was caught: end at once, without unwinding through a frame that
// may be damaged, and with a code that no normal run returns.
__attribute__((noreturn)) void __stack_chk_fail()
{
    TerminateProcess(GetCurrentProcess(), StackOverrunExitCode);
    for (;;) ExitProcess(StackOverrunExitCode);
}

__attribute__((noreturn)) void __chk_fail()
{
    __stack_chk_fail();
}

// The checked copy that the fortified headers make of strcpy into a buffer of
// known size. They can ask for more (__memcpy_chk, __strcat_chk, ...) where
// code gives them a reason; the link then names the one to add here.
char* __strcpy_chk(char* to, const char* from, size_t room)
{
    size_t length = strlen(from);
    if (length >= room) __chk_fail();
    return static_cast<char*>(memcpy(to, from, length + 1));
}

// The 32-bit calendar clock under the name the C headers give it; they call
// it through an import pointer.
long __cdecl _time32(long* out)
{
    return time(out);
}
long(__cdecl* _imp___time32)(long*) = _time32;

}  // extern "C"

const char* CommandTail(const char* commandLine)
{
    // The program name ends at its closing quote or at the first blank.
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

unsigned long MixStackGuard(unsigned long ticks, unsigned long counterLow,
                            unsigned long counterHigh, unsigned long processId,
                            unsigned long address)
{
    // Rotations keep the sources' low bits, which change fastest, from
    // cancelling each other.
    unsigned long guard = ticks;
    guard ^= (counterLow << 7) | (counterLow >> 25);
    guard ^= (counterHigh << 13) | (counterHigh >> 19);
    guard ^= (processId << 19) | (processId >> 13);
    guard ^= address;
    guard *= 2654435761u;
    // A zero byte at the bottom stops string overruns from copying the
    // guard through; a guard of zero would be no guard at all.
    guard &= ~0xFFul;
    return guard ? guard : 0x5EED0000ul;
}

namespace {

void SeedStackGuard(void* address)
{
    // What every system down to the oldest has: the tick count, the
    // performance counter where the hardware has one, the process id and
    // where the loader put the stack.
    LARGE_INTEGER counter;
    if (!QueryPerformanceCounter(&counter))
        counter.QuadPart = 0;
    __stack_chk_guard = MixStackGuard(GetTickCount(), counter.LowPart,
                                      static_cast<unsigned long>(counter.HighPart),
                                      GetCurrentProcessId(),
                                      reinterpret_cast<unsigned long>(address));
}

// Constructors of static objects, in the order the linker lists them.
using Constructor = void (*)();
extern "C" Constructor __CTOR_LIST__[];

void RunConstructors()
{
    // The list starts with -1 (or the count) and ends with a null entry.
    int count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    for (int i = count; i > 0; --i) __CTOR_LIST__[i]();
}

}  // namespace

// The process entry point (set by the link). Nothing may call the run-time
// library before it is bound; it initialises itself as it is loaded.
extern "C" void __cdecl TarvoEntry()
{
    int marker;
    SeedStackGuard(&marker);
    RestrictLibrarySearch();
    if (!BindRuntimeLibrary())
        ExitProcess(NoRuntimeExitCode);
    RunConstructors();
    exit(WinMain(GetModuleHandleA(nullptr), nullptr,
                 const_cast<char*>(CommandTail(GetCommandLineA())), SW_SHOWDEFAULT));
}
