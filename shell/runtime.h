// The process start of the shipped programs (TarvoEntry, set as the entry
// point by the link) and what they need beyond CRTDLL.DLL: the library
// search kept to the system folder, the run-time library bound from there,
// the stack guard with its traps, the checked string copy and the 32-bit
// clock under its header name. Owns __stack_chk_guard and the run-time's
// function pointers.
#pragma once
#include <windows.h>

// The exit code of a process stopped by an overrun trap.
constexpr UINT StackOverrunExitCode = 0xC0000409u;

// The exit code of a program whose run-time library cannot be bound: like a
// program that cannot show its first window.
constexpr UINT NoRuntimeExitCode = 1;

// Loads CRTDLL.DLL from the system folder and fills the pointers through
// which the program calls it. 1 when every function was found.
int BindRuntimeLibrary();

// The arguments part of a command line: what follows the program name,
// quoted or not, and the blanks after it.
const char* CommandTail(const char* commandLine);

// The stack guard from what every system has; never 0, lowest byte 0.
unsigned long MixStackGuard(unsigned long ticks, unsigned long counterLow,
                            unsigned long counterHigh, unsigned long processId,
                            unsigned long address);

extern "C" void __cdecl TarvoEntry();
