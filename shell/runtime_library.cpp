// The C run-time library of the shipped programs, CRTDLL.DLL, bound by the
// entry point from the system folder. It is not imported: an import names
// the library bare, no Windows keeps CRTDLL among its KnownDLLs, and the
// loader would take a copy planted beside the program before its first line.
//
// Each function the programs call gets what an import library gives: a
// pointer __imp__<name>, through which code compiled against the run-time's
// headers calls, and a stub _<name> that jumps through it, for calls the
// compiler makes itself. BindRuntimeLibrary fills the pointers, so every call
// site stays an ordinary call. A function missing here fails the link.
#include "shell/runtime.h"

#include "shell/library_search.h"

// Every run-time function that a shipped program calls; each one is in
// CRTDLL.DLL on every Win32 system (tests/pe/allowed-imports.txt).
#define RUNTIME_FUNCTIONS(X)                                                       \
    X(_access) X(_chdir) X(_getcwd) X(_stricmp) X(_strnicmp) X(_vsnprintf) X(atoi)  \
    X(exit) X(fclose) X(fgetc) X(fopen) X(free) X(malloc) X(memchr) X(strchr)       \
    X(strcmp) X(strlen) X(time)

// The pointer, empty until bound, and the stub in a section of its own, so
// that the link drops the stubs nobody calls.
#define RUNTIME_IMPORT(name)                                                             \
    extern "C" {                                                                         \
    void* _imp__##name;                                                                  \
    }                                                                                    \
    asm(".section .text$runtime_" #name ",\"x\"\n"                                       \
        ".globl _" #name "\n"                                                            \
        "_" #name ":\n"                                                                  \
        "\tjmp *__imp__" #name "\n"                                                      \
        ".text\n");
RUNTIME_FUNCTIONS(RUNTIME_IMPORT)

namespace {

struct RuntimeImport {
    const char* Name;
    void** Pointer;
};

#define RUNTIME_ROW(name) {#name, &_imp__##name},
constexpr RuntimeImport RuntimeImports[] = {RUNTIME_FUNCTIONS(RUNTIME_ROW)};

}  // namespace

int BindRuntimeLibrary()
{
    HMODULE runtime = LoadSystemLibrary("CRTDLL.DLL");
    if (!runtime)
        return 0;
    for (const RuntimeImport& import : RuntimeImports) {
        *import.Pointer = reinterpret_cast<void*>(GetProcAddress(runtime, import.Name));
        if (!*import.Pointer)
            return 0;
    }
    return 1;
}
