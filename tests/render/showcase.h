// A window that shows every owner-drawn control of the installer in its
// states side by side: push buttons plain, pressed, focused and default,
// labels, the sample line, check boxes (ticked, disabled, focused), and
// list and combo items selected and not. Used by the showcase program and
// by the screenshot and GDI tests.
#pragma once
#include <windows.h>

// Creates the window at the top-left corner of the screen (glyph atlas and
// SampleFont are the caller's). Returns null on failure.
HWND CreateShowcase(HINSTANCE instance);
// Number of complete paints of the showcase so far.
extern int ShowcasePaints;
