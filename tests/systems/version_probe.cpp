// Reports what GetVersionExA says to a program of this file name: the exit
// code is platform << 16 | major << 8 | minor, or ~0 when the call fails.
#include <windows.h>

int main()
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return -1;
    return static_cast<int>((info.dwPlatformId << 16) | ((info.dwMajorVersion & 0xFF) << 8) |
                            (info.dwMinorVersion & 0xFF));
}
