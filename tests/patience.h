// How long a test waits for a state. The limits in the tests are written for
// a host that runs the programs natively; where 32-bit code runs emulated the
// test session measures at its start how much slower a program starts and
// passes the factor on in TARVO_SPEED_FACTOR. A limit only bounds a wait for
// something that should happen: nothing passes or fails by the clock.
#pragma once
#include <windows.h>
#include <cstdlib>

inline DWORD SpeedFactor()
{
    static const DWORD factor = [] {
        const char* text = getenv("TARVO_SPEED_FACTOR");
        long value = text ? strtol(text, nullptr, 10) : 1;
        return static_cast<DWORD>(value < 1 ? 1 : value > 200 ? 200 : value);
    }();
    return factor;
}

// A limit in milliseconds, stretched by the session's speed factor.
inline DWORD Patient(DWORD ms)
{
    return ms >= (INFINITE - 1) / SpeedFactor() ? INFINITE - 1 : ms * SpeedFactor();
}
