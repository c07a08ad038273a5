// Drives the system's menu loop from a second thread while the GUI thread
// sits in it: waits for each menu window (#32768) the thread opens, notes
// how many items it shows and posts keys to it.
#pragma once

#include <windows.h>

#include <string_view>
#include <thread>
#include <vector>

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
    for (int i = 0; i < 300; ++i, Sleep(10)) {
        HWND menu = FindMenuWindow(thread);
        HMENU handle = menu ? reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0)) : nullptr;
        if (handle) {
            count = GetMenuItemCount(handle);
            return menu;
        }
    }
    return nullptr;
}

// The keys of each menu in turn.
using Steps = std::vector<std::vector<WORD>>;

class MenuRobot {
public:
    explicit MenuRobot(Steps steps) : thread_(GetCurrentThreadId())
    {
        worker_ = std::thread([this, steps] {
            for (const auto& keys : steps) {
                int count = 0;
                HWND menu = WaitForMenu(thread_, count);
                if (!menu) return;
                counts.push_back(count);
                Sleep(200);  // the GUI thread's timers get their turn inside the loop
                for (WORD key : keys) {
                    PostMessageW(menu, WM_KEYDOWN, key, 1);
                    Sleep(30);
                }
                for (int i = 0; i < 200 && IsWindowVisible(menu); ++i) Sleep(10);
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
