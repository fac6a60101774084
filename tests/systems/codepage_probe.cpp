// Reports the ANSI code page it was given: its exit code is GetACP().
#include <windows.h>

int main()
{
    return static_cast<int>(GetACP());
}
