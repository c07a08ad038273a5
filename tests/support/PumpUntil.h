// Waiting for what a test waits for: the application's messages are
// pumped until a condition holds, and the wait fails the test with the
// condition's description at its deadline, instead of sleeping a fixed
// time and hoping.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <source_location>
#include <string>

#include "Forms.h"

// Pumps the application's messages until Condition holds or Timeout
// milliseconds have passed; the result says which. Sleeps only while no
// message is waiting.
template <class Condition>
bool PumpUntilHolds(Condition&& condition, DWORD timeout)
{
    const ULONGLONG deadline = GetTickCount64() + timeout;
    for (;;) {
        Application->ProcessMessages();
        if (condition()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        const auto slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

// As PumpUntilHolds, and a failure of the test (which goes on) at the
// caller's line, naming What, when the condition does not hold in time.
template <class Condition>
bool PumpUntil(Condition&& condition, DWORD timeout, const std::string& what = "the condition",
               const std::source_location where = std::source_location::current())
{
    if (PumpUntilHolds(condition, timeout)) return true;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "waited " << timeout << " ms for " << what;
    return false;
}

// Pumps the application's messages for Milliseconds whatever happens. Only
// for waits whose length is what they test (a timer that must not fire
// within a few of its intervals, real time for a recording): anything
// else waits for its condition with PumpUntil.
inline void WaitFor(DWORD milliseconds)
{
    PumpUntilHolds([] { return false; }, milliseconds);
}
