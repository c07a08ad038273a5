// Drives the system's menu loop from a second thread while the GUI thread
// sits in it: waits for each menu window (#32768) the thread opens, notes
// how many items it shows and posts keys to it.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>
#include <thread>
#include <vector>

#include "PollUntil.h"

// The visible menu window of a thread, or null.
inline HWND FindMenuWindow(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (IsWindowVisible(window) && std::wstring_view(name) == L"#32768") *reinterpret_cast<HWND*>(data) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits (3 s at most) for an open menu window that shows a menu; answers
// it and its item count, or null.
inline HWND WaitForMenu(DWORD thread, int& count)
{
    HWND menu = nullptr;
    const bool shown = PollUntil(
        [&] {
            menu = FindMenuWindow(thread);
            HMENU handle = menu ? reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0)) : nullptr;
            if (handle) count = GetMenuItemCount(handle);
            return handle != nullptr;
        },
        3000);
    return shown ? menu : nullptr;
}

// The keys of each menu in turn.
using Steps = std::vector<std::vector<WORD>>;

class MenuRobot {
public:
    // Ready, when given, must hold before the keys go to a menu: for a test
    // whose own work (a timer of the GUI thread) runs inside the open menu.
    // It is read on the robot's thread.
    explicit MenuRobot(Steps steps, std::function<bool()> ready = nullptr) : thread_(GetCurrentThreadId())
    {
        worker_ = std::thread([this, steps, ready] {
            for (const auto& keys : steps) {
                int count = 0;
                HWND menu = WaitForMenu(thread_, count);
                if (!menu) return;
                counts.push_back(count);
                if (ready) PollUntil(ready, 5000);
                for (WORD key : keys) PostMessageW(menu, WM_KEYDOWN, key, 1);
                PollUntil([menu] { return !IsWindowVisible(menu); }, 2000);
            }
        });
    }
    MenuRobot(const MenuRobot&) = delete;
    MenuRobot& operator=(const MenuRobot&) = delete;
    ~MenuRobot() { Join(); }
    void Join()
    {
        if (worker_.joinable()) worker_.join();
    }
    std::vector<int> counts;  // item count of each menu seen, in order

private:
    DWORD thread_;
    std::thread worker_;
};
