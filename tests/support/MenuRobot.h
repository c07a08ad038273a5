// Drives the system's menu loop from a second thread while the GUI thread
// sits in it: waits for each menu window (#32768) the thread opens, notes
// how many items it shows and posts keys to it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <source_location>
#include <string>
#include <vector>

#include "DialogDriver.h"

// Waits (on a robot's thread; see TDialogRobot) for an open menu window of
// the thread that shows a menu; answers it and its item count, or null
// after failing the test at the caller's line, naming What.
inline HWND WaitForMenu(DWORD thread, int& count, const std::string& what = "a menu",
                        std::source_location where = std::source_location::current())
{
    HWND menu = nullptr;
    const bool shown = RobotWait(
        [&] {
            menu = FindMenuWindow(thread);
            HMENU handle = menu ? reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0)) : nullptr;
            if (handle) count = GetMenuItemCount(handle);
            return handle != nullptr;
        },
        what, kRobotPatience, where);
    return shown ? menu : nullptr;
}

// The keys of each menu in turn.
using Steps = std::vector<std::vector<WORD>>;

class MenuRobot {
public:
    // Ready, when given, must hold before the keys go to a menu: for a test
    // whose own work (a timer of the GUI thread) runs inside the open menu.
    // It is read on the robot's thread.
    explicit MenuRobot(Steps steps, std::function<bool()> ready = nullptr,
                       std::source_location where = std::source_location::current())
        : thread_(GetCurrentThreadId()),
          robot_([this, steps = std::move(steps), ready = std::move(ready), where] { Drive(steps, ready, where); })
    {
    }
    MenuRobot(const MenuRobot&) = delete;
    MenuRobot& operator=(const MenuRobot&) = delete;
    void Join() { robot_.Join(); }
    std::vector<int> counts;  // item count of each menu seen, in order

private:
    void Drive(const Steps& steps, const std::function<bool()>& ready, std::source_location where)
    {
        for (size_t i = 0; i < steps.size(); ++i) {
            const std::string which = "menu " + std::to_string(i + 1) + " of " + std::to_string(steps.size());
            int count = 0;
            const HWND menu = WaitForMenu(thread_, count, which + " to open", where);
            if (!menu) return;
            counts.push_back(count);
            if (ready && !RobotWait(ready, "the test's condition in " + which, kRobotPatience, where)) return;
            for (WORD key : steps[i]) PostMessageW(menu, WM_KEYDOWN, key, 1);
            if (!RobotWait([menu] { return !IsWindowVisible(menu); }, which + " to close after its keys", kRobotPatience,
                           where))
                return;
        }
        WatchForUnforeseenMenus(steps.size(), where);
    }

    // A menu opened after the last step (a drop-down that moved on by
    // itself, say) would hold the test thread in its loop for good. A box
    // is left to the watch of every test (DialogDriver.h).
    void WatchForUnforeseenMenus(size_t steps, std::source_location where)
    {
        robot_.StepsDone();
        while (!robot_.Joining()) {
            if (FindMenuWindow(thread_)) {
                ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
                    << "a menu opened after the robot's " << steps << " menu(s) had their keys";
                robot_.GiveUp();
                return;
            }
            Sleep(20);
        }
    }

    DWORD thread_;
    TDialogRobot robot_;  // last: its thread starts once the rest is made
};
