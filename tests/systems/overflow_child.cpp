// A program that runs past its buffers on purpose, to show that the build's
// checks stop it: "strcpy" overruns a fixed buffer through the fortified
// string copy, "stack" overwrites the stack guard of its frame, "fits" does
// the same work within bounds and ends with 0.
#include <windows.h>
#include <cstdio>
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

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    SetUnhandledExceptionFilter(EndWithCode);
    // The lengths come from the command line, so no compiler can fold them.
    int length = argc > 2 ? atoi(argv[2]) : 0;
    char text[256];
    memset(text, 'x', sizeof text);
    text[length < 255 ? length : 255] = 0;
    if (!strcmp(argv[1], "strcpy")) CopyName(text);
    else if (!strcmp(argv[1], "stack")) FillFrame(length);
    else if (!strcmp(argv[1], "fits")) { CopyName("1234567"); FillFrame(16); }
    else return 2;
    return 0;
}
