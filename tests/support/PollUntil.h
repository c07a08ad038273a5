// Waiting on a thread that has no messages of its own to pump (a robot
// beside the GUI thread, or a look at another process): the condition is
// looked at again every slice until it holds or the time is up.
#pragma once

#include <windows.h>

#include <algorithm>

// True as soon as Condition holds; false when it still does not after
// Timeout milliseconds.
template <class Condition>
bool PollUntil(Condition&& condition, DWORD timeout, DWORD slice = 10)
{
    const ULONGLONG deadline = GetTickCount64() + timeout;
    for (;;) {
        if (condition()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        // Nothing here can wake us when the other thread changes what we
        // look at, so the look is repeated after a short sleep.
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, slice)));
    }
}
