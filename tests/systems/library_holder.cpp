// Keeps libraries loaded as the programs the user types in keep the engine's
// keyboard library, until it is ended. The first argument names an event it
// sets once every library that follows is loaded. A 32-bit program, as the
// engine's library is 32-bit.
#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    for (int i = 2; i < argc; ++i)
        if (!LoadLibraryA(argv[i])) {
            fprintf(stderr, "cannot load %s: error %lu\n", argv[i], GetLastError());
            return 1;
        }
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (!ready || !SetEvent(ready))
        return 1;
    Sleep(INFINITE);
    return 0;
}
