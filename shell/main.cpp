// The Win32 entry point. The command line and the show state play no part.
#include "shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunInstaller(instance);
}
