/* Run once when a test session starts: the first window and the first COM
   use of a prefix start its desktop and services, which must not happen
   inside a test whose output CTest is reading. */
#include <windows.h>

int main(void)
{
    HWND window = CreateWindowA("STATIC", "warm-up", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                NULL, NULL, NULL, NULL);
    if (window)
        DestroyWindow(window);
    if (SUCCEEDED(CoInitialize(NULL)))
        CoUninitialize();
    return window ? 0 : 1;
}
