// Keys held down in the thread's keyboard state, where the code under test
// reads modifiers (GetKeyState), while the object lives. The state from
// before comes back when it goes, so a test that stops early never leaves
// a Ctrl or Shift held for the next one, and keys held outside stay held.
#pragma once

#include <windows.h>

#include <cstring>
#include <initializer_list>

class THeldKeys {
public:
    explicit THeldKeys(std::initializer_list<BYTE> keys)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof state);
        for (BYTE key : keys) state[key] |= 0x80;
        SetKeyboardState(state);
    }
    THeldKeys(const THeldKeys&) = delete;
    THeldKeys& operator=(const THeldKeys&) = delete;
    ~THeldKeys() { Release(); }

    // Lets the keys go before the object does.
    void Release()
    {
        if (!held_) return;
        SetKeyboardState(saved_);
        held_ = false;
    }

private:
    BYTE saved_[256] = {};
    bool held_ = true;
};
