// A program that runs past its buffers on purpose, to show that the build's
// checks stop it: "strcpy" overruns a fixed buffer through the fortified
// string copy, "stack" overwrites the stack guard of its frame, "fits" does
// the same work within bounds and ends with 0.
#include <windows.h>
#include <cstdlib>
#include <cstring>

namespace {

// Not inlined, so that the guard of this frame is what is checked.
__attribute__((noinline)) int CopyName(const char* text)
{
    char name[8];
    strcpy(name, text);
    return static_cast<int>(strlen(name));
}

__attribute__((noinline)) int FillFrame(int count)
{
    char frame[16];
    volatile char* p = frame;
    for (int i = 0; i < count; ++i) p[i] = 'A';
    return frame[0] + frame[count > 0 ? count / 2 : 0];
}

}  // namespace

// An abort ends the process with its exception code, as on Windows without a
// debugger, instead of waiting for one.
LONG WINAPI EndWithCode(EXCEPTION_POINTERS*)
{
    return EXCEPTION_EXECUTE_HANDLER;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    SetUnhandledExceptionFilter(EndWithCode);
    // "mode [length]"; the length comes from the command line, so no
    // compiler can fold it.
    char mode[16] = "";
    int m = 0;
    while (arguments[m] && arguments[m] != ' ' && m < 15) { mode[m] = arguments[m]; ++m; }
    mode[m] = 0;
    int length = arguments[m] ? atoi(arguments + m + 1) : 0;
    char text[256];
    memset(text, 'x', sizeof text);
    text[length < 255 ? length : 255] = 0;
    if (!strcmp(mode, "strcpy")) CopyName(text);
    else if (!strcmp(mode, "stack")) FillFrame(length);
    else if (!strcmp(mode, "fits")) { CopyName("1234567"); FillFrame(16); }
    else return 2;
    return 0;
}
