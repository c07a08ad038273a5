#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "PollUntil.h"

namespace {

String WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    String text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

String ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Without a string of its own: the watch of every test asks this while a
// test may be counting the program's allocations.
bool IsClass(HWND window, const wchar_t* name)
{
    wchar_t found[64] = {};
    GetClassNameW(window, found, 64);
    return wcscmp(found, name) == 0;
}

struct Search {
    DWORD processId;
    const String* title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !IsClass(window, L"#32770")) return TRUE;
    if (!search->title->empty() && WindowText(window) != *search->title) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM data)
{
    if (SameText(ClassOf(window), L"Static")) {
        const String text = WindowText(window);
        if (!text.empty()) reinterpret_cast<std::vector<String>*>(data)->push_back(text);
    }
    return TRUE;
}

// The name field of a file dialog: the edit of the name combo box of the
// newer layout, or the plain edit of the older one.
HWND FileNameField(HWND dialog)
{
    constexpr int kNameCombo = 0x47C;
    constexpr int kNameEdit = 0x480;
    if (HWND combo = GetDlgItem(dialog, kNameCombo)) {
        if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
        return combo;
    }
    return GetDlgItem(dialog, kNameEdit);
}

}  // namespace

HWND FindDialog(DWORD processId, const String& title)
{
    Search search{processId ? processId : GetCurrentProcessId(), &title};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD processId, const String& title, DWORD timeoutMs, std::source_location where)
{
    HWND found = nullptr;
    const String which = title.empty() ? String(L"any dialog") : L"the dialog \"" + title + L"\"";
    // Another process may still show its dialog while the GUI thread waits here.
    const bool ours = processId == 0 || processId == GetCurrentProcessId();
    RobotWait([&] { return (found = FindDialog(processId, title)) != nullptr; }, ToUtf8(which), timeoutMs, where, ours);
    return found;
}

HWND FindMenuWindow(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
            if (IsWindowVisible(window) && IsClass(window, L"#32768")) *reinterpret_cast<HWND*>(data) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

String DialogTitle(HWND dialog) { return WindowText(dialog); }

String DialogText(HWND dialog)
{
    std::vector<String> texts;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    String joined;
    for (const String& text : texts) joined += (joined.empty() ? L"" : L"\n") + text;
    return joined;
}

void PressDialogButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void AcceptFileDialog(HWND dialog, const String& fileName)
{
    SendMessageW(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
    PressDialogButton(dialog, IDOK);
}

namespace {

thread_local TDialogRobot* runningRobot = nullptr;
std::atomic<int> drivingRobots = 0;

}  // namespace

bool RobotDriving() { return drivingRobots > 0; }

void CloseBoxesOf(DWORD guiThread)
{
    if (const HWND menu = FindMenuWindow(guiThread)) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    if (const HWND dialog = FindDialog(0, L"")) PressDialogButton(dialog, IDCANCEL);
}

bool RobotWait(const std::function<bool()>& holds, const std::string& what, DWORD timeoutMs,
               std::source_location where, bool endsWithGui)
{
    TDialogRobot* robot = runningRobot;
    bool held = false;
    const bool ended = PollUntil([&] { return (held = holds()) || (endsWithGui && robot && robot->joining_); }, timeoutMs);
    if (held) return true;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << (ended ? "the robot still waited for " + what + " when the test went on without it"
                  : "the robot waited " + std::to_string(timeoutMs) + " ms for " + what + " and gave up");
    if (robot) robot->gaveUp_ = true;
    return false;
}

TDialogRobot::TDialogRobot(std::function<void()> drive)
    : guiThread_(GetCurrentThreadId()),
      thread_([this, drive = std::move(drive)] {
          runningRobot = this;
          driving_ = true;
          ++drivingRobots;
          drive();
          StepsDone();
          if (gaveUp_) CloseUntilJoined();
      })
{
}

void TDialogRobot::StepsDone()
{
    if (driving_.exchange(false)) --drivingRobots;
}

void TDialogRobot::Join()
{
    joining_ = true;
    if (thread_.joinable()) thread_.join();
}

// Escape closes a menu level by level.
void TDialogRobot::CloseUntilJoined() const
{
    while (!joining_) {
        CloseBoxesOf(guiThread_);
        Sleep(50);
    }
}
