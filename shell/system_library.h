// Functions of system DLLs found at run time. What only newer systems have
// (InitCommonControlsEx, the version-4 shell's folder functions) must never
// be imported, or the loader of an older system refuses the whole program;
// and the shell, COM and common-dialog libraries are loaded only once a
// shortcut or the folder browser first needs them, not at start-up. Each
// comes from the system folder by its full path (shell/library_search.h).
// Owns the table of libraries loaded here; they stay loaded until teardown
// frees them (FreeSystemLibraries). Kernel32 only and nothing of the C
// run-time: the library search uses it before the run-time is bound.
#pragma once
#include <windows.h>

// The function's address, loading the library on first use; null when the
// library or the function is missing.
FARPROC SystemFunction(const char* library, const char* name);

// The same, typed: SystemFunctionAs<BOOL(WINAPI*)(int)>("X.DLL", "F").
template <typename Function>
Function SystemFunctionAs(const char* library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(SystemFunction(library, name)));
}

// Releases every library loaded here (teardown).
void FreeSystemLibraries();
