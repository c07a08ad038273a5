// Linked into every test program under Wine (quorvell_test): while a test
// runs, a thread of its own watches for a box of the process or a menu of
// the test's thread that stays open with no robot driving (none made, or
// its steps done). The test would sit in that modal loop until CTest's
// timeout, its output ending at "[ RUN ]"; instead it fails within
// seconds, naming the box, and the box is closed so that the test ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "DialogDriver.h"

namespace {

// Far more than a box that was answered needs to go on a loaded machine,
// far less than CTest's timeout.
constexpr ULONGLONG kUnansweredMs = 5000;

// A program whose boxes still come this long after the watch failed its
// test (one that asks again whatever it is answered) is ended.
constexpr ULONGLONG kClosingMs = 15000;

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

String MenuItems(HWND menu)
{
    DWORD_PTR handle = 0;
    // The menu belongs to the test's thread, which may be busy: never wait on it for long.
    if (!SendMessageTimeoutW(menu, kMenuGetHandle, 0, 0, SMTO_ABORTIFHUNG, 1000, &handle) || !handle) return L"";
    String items;
    const HMENU itemsOf = reinterpret_cast<HMENU>(handle);
    for (int i = 0; i < GetMenuItemCount(itemsOf); ++i) {
        wchar_t caption[128] = {};
        GetMenuStringW(itemsOf, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
        items += (items.empty() ? L"" : L" | ") + String(caption);
    }
    return items;
}

// The dialog first: a menu opened over a box closes before the box can.
HWND OpenBox(DWORD guiThread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    // No message queue on the test's thread: nothing can show, and looking
    // for windows would connect a program that shows none to the display.
    if (!GetGUIThreadInfo(guiThread, &info)) return nullptr;
    if (const HWND dialog = FindDialog(0, L"")) return dialog;
    return FindMenuWindow(guiThread);
}

std::string Describe(HWND box, DWORD guiThread)
{
    if (box == FindMenuWindow(guiThread)) return "a popup menu with the items \"" + ToUtf8(MenuItems(box)) + "\"";
    return "the box \"" + ToUtf8(DialogTitle(box)) + "\" saying \"" + ToUtf8(DialogText(box)) + "\"";
}

class TModalWatch final : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        ending_ = false;
        thread_ = std::thread([this, guiThread = GetCurrentThreadId()] { Watch(guiThread); });
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        ending_ = true;
        if (thread_.joinable()) thread_.join();
    }

private:
    void Watch(DWORD guiThread) const
    {
        HWND seen = nullptr;
        ULONGLONG since = 0, failedAt = 0;
        bool failed = false;
        for (; !ending_; Sleep(100)) {
            if (failed) {
                if (GetTickCount64() - failedAt >= kClosingMs && OpenBox(guiThread)) {
                    fprintf(stderr, "modal watch: the boxes still come %llu s after the failure; ending the program\n",
                            kClosingMs / 1000);
                    fflush(stderr);
                    TerminateProcess(GetCurrentProcess(), 3);
                }
                CloseBoxesOf(guiThread);
                continue;
            }
            const HWND box = OpenBox(guiThread);
            const ULONGLONG now = GetTickCount64();
            if (!box || RobotDriving()) {
                seen = nullptr;
            } else if (box != seen) {
                seen = box;
                since = now;
            } else if (now - since >= kUnansweredMs) {
                ADD_FAILURE() << Describe(box, guiThread) << " stayed open " << kUnansweredMs / 1000
                              << " s with no robot to answer it; closing what the test shows";
                failed = true;
                failedAt = now;
            }
        }
    }

    std::atomic<bool> ending_ = false;
    std::thread thread_;
};

[[maybe_unused]] const bool watching = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TModalWatch);
    return true;
}();

}  // namespace
