// Drives the system's modal boxes and file dialogs from a test: a helper
// thread finds the dialog that the code under test is showing, reads it,
// fills it in and closes it, while the test's own thread is blocked in the
// dialog's modal loop. Works across processes too (give the process id).
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

#include "SysUtils.h"

// A visible dialog window (class "#32770") of the process (0: this one)
// whose title is Title (empty: any), or null: at once, or waiting up to
// TimeoutMs.
HWND FindDialog(DWORD processId, const String& title);
HWND WaitForDialog(DWORD processId, const String& title, DWORD timeoutMs = 10000);
// The dialog's title and its static texts, one per line.
String DialogTitle(HWND dialog);
String DialogText(HWND dialog);
// Presses a button (IDOK, IDCANCEL, ...) without waiting for the dialog to go.
void PressDialogButton(HWND dialog, int id);
// Types FileName into a file dialog's name field and confirms it.
void AcceptFileDialog(HWND dialog, const String& fileName);

// Runs Drive on a thread of its own and joins it when it goes out of scope.
class TDialogRobot {
public:
    explicit TDialogRobot(std::function<void()> drive) : thread_(std::move(drive)) {}
    TDialogRobot(const TDialogRobot&) = delete;
    TDialogRobot& operator=(const TDialogRobot&) = delete;
    ~TDialogRobot() { thread_.join(); }

private:
    std::thread thread_;
};
