// A library planted beside the installer under a system library's name. If
// it is ever loaded, its entry point leaves "<its own path>.ran" beside it.
// Kernel32 only, so that it loads under any name, CRTDLL's included.
#include <windows.h>

extern "C" BOOL WINAPI PlantedEntry(HINSTANCE self, DWORD reason, void*)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char path[MAX_PATH + 4];
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        lstrcpyA(path + length, ".ran");
        HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (mark != INVALID_HANDLE_VALUE)
            CloseHandle(mark);
    }
    return TRUE;
}
