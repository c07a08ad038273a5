// Times the recorder's window from outside: one line per call, in seconds.
//   quorvell_window_bench floor          a trivial program's start to exit
//   quorvell_window_bench window         a program showing a plain window:
//                                        start to visible (Wine's own cost
//                                        of a first window)
//   quorvell_window_bench <Quorvell.exe> start to main window visible, then
//                                        close click to window gone and to
//                                        program ended
// Used by scripts/bench-window, which sets the recording prefix first so
// that the first-start dialog stays away.
#include <windows.h>

#include <cstdio>
#include <string>

#include "WallClock.h"

namespace {

class TChild {
public:
    explicit TChild(std::wstring commandLine)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            info_ = PROCESS_INFORMATION{};
    }
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;
    ~TChild()
    {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    bool Ended(DWORD milliseconds = 0) const { return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION info_{};
};

struct TSearch {
    DWORD processId;
    HWND found = nullptr;
};

constexpr const wchar_t* kPlainClass = L"QuorvellBenchPlain";

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    const std::wstring className = name;
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    if (className != L"Quorvell.TFrmMain" && className != kPlainClass) return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForMainWindow(const TChild& child, double timeout)
{
    for (const double deadline = Now() + timeout; Now() < deadline; Sleep(1)) {
        TSearch search{child.Id()};
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
    }
    return nullptr;
}

// A left click in the middle of the close button, as the user gives it.
void ClickClose(HWND window)
{
    POINT at{365 + 12, 414 + 6};
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    HWND button = WindowFromPoint(at);
    ScreenToClient(button, &at);
    const LPARAM position = MAKELPARAM(at.x, at.y);
    PostMessageW(button, WM_MOUSEMOVE, 0, position);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, position);
    PostMessageW(button, WM_LBUTTONUP, 0, position);
}

std::wstring Self()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return L"\"" + std::wstring(self) + L"\"";
}

int Floor()
{
    const double start = Now();
    TChild child(Self() + L" exit");
    if (!child.Started() || !child.Ended(30000)) return 1;
    std::printf("%.3f\n", Now() - start);
    return 0;
}

int PlainWindow()
{
    const double start = Now();
    TChild child(Self() + L" show");
    const HWND window = child.Started() ? WaitForMainWindow(child, 30) : nullptr;
    if (!window) return 1;
    std::printf("%.3f\n", Now() - start);
    PostMessageW(window, WM_CLOSE, 0, 0);
    return child.Ended(30000) ? 0 : 1;
}

// The child of PlainWindow: a plain window until it is closed.
int ShowPlainWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_CLOSE) PostQuitMessage(0);
        return DefWindowProcW(window, msg, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kPlainClass;
    RegisterClassW(&windowClass);
    CreateWindowExW(0, kPlainClass, L"", WS_POPUP | WS_VISIBLE, 100, 100, 539, 539, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

int Recorder(const wchar_t* program)
{
    const double start = Now();
    TChild child(L"\"" + std::wstring(program) + L"\"");
    HWND window = child.Started() ? WaitForMainWindow(child, 30) : nullptr;
    if (!window) {
        std::fprintf(stderr, "the recorder's window did not show\n");
        return 1;
    }
    const double shown = Now() - start;
    Sleep(1000);  // the window at rest, as a user finds it
    const double click = Now();
    ClickClose(window);
    while (IsWindow(window) && Now() - click < 30) Sleep(1);
    const double gone = Now() - click;
    if (!child.Ended(30000)) return 1;
    std::printf("%.3f %.3f %.3f\n", shown, gone, Now() - click);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvell_window_bench floor | window | <Quorvell.exe>\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    if (mode == L"exit") return 0;
    if (mode == L"show") return ShowPlainWindow();
    if (mode == L"floor") return Floor();
    if (mode == L"window") return PlainWindow();
    return Recorder(argv[1]);
}
