// Drives the system's modal boxes and file dialogs from a test: a helper
// thread finds the dialog that the code under test is showing, reads it,
// fills it in and closes it, while the test's own thread is blocked in the
// dialog's modal loop. Works across processes too (give the process id).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <source_location>
#include <string>
#include <thread>

#include "SysUtils.h"

// How long a robot waits for what the GUI thread is to show: long enough
// for a machine that other work loads.
constexpr DWORD kRobotPatience = 30000;

// A visible dialog window (class "#32770") of the process (0: this one)
// whose title is Title (empty: any), or null: at once, or waiting up to
// TimeoutMs; a wait that ends without one fails the test at the caller's
// line (see TDialogRobot).
HWND FindDialog(DWORD processId, const String& title);
HWND WaitForDialog(DWORD processId, const String& title, DWORD timeoutMs = kRobotPatience,
                   std::source_location where = std::source_location::current());
// The visible menu window (class "#32768") of a thread, or null.
HWND FindMenuWindow(DWORD thread);
// The dialog's title and its static texts, one per line.
String DialogTitle(HWND dialog);
String DialogText(HWND dialog);
// Presses a button (IDOK, IDCANCEL, ...) without waiting for the dialog to go.
void PressDialogButton(HWND dialog, int id);
// Types FileName into a file dialog's name field and confirms it.
void AcceptFileDialog(HWND dialog, const String& fileName);

// True once Holds holds. Otherwise a failure of the test at Where, naming
// What, and false: after TimeoutMs, or at once when the robot waiting is
// being joined and EndsWithGui says that nothing can come then.
bool RobotWait(const std::function<bool()>& holds, const std::string& what, DWORD timeoutMs = kRobotPatience,
               std::source_location where = std::source_location::current(), bool endsWithGui = true);

// True while a robot's Drive runs and has not said that its steps are
// done: what shows then is for that robot to answer. Otherwise a box or
// menu that stays open fails the test (ModalWatch.cpp).
bool RobotDriving();
// One round of closing what the GUI thread shows: Escape to its menu, a
// dialog's Cancel whatever its buttons.
void CloseBoxesOf(DWORD guiThread);

// Runs Drive on a thread of its own while the thread that makes the robot
// (the GUI thread) sits in the modal loop Drive answers, and joins it in
// Join or at the end of its scope. Its waits (RobotWait, WaitForDialog,
// WaitForMenu) end as soon as the GUI thread joins it: the loop is over
// then, and nothing of this process shows while the GUI thread waits here.
// A robot that gave up closes every menu and dialog of the GUI thread until
// it is joined, so the loop it left unanswered ends and the test fails then,
// instead of at CTest's timeout. Once Drive has returned (or said its steps
// are done) a box or menu that opens and stays open fails the test, named,
// within seconds (ModalWatch.cpp), as one does that no robot drives.
class TDialogRobot {
public:
    explicit TDialogRobot(std::function<void()> drive);
    TDialogRobot(const TDialogRobot&) = delete;
    TDialogRobot& operator=(const TDialogRobot&) = delete;
    ~TDialogRobot() { Join(); }
    void Join();
    // For a driver that watches on until it is joined.
    bool Joining() const { return joining_; }
    // The driver failed the test: once it returns, the robot closes
    // whatever the test thread opens until it is joined.
    void GiveUp() { gaveUp_ = true; }
    // For a driver that watches on: what opens now is not its to answer.
    void StepsDone();

private:
    friend bool RobotWait(const std::function<bool()>&, const std::string&, DWORD, std::source_location, bool);
    void CloseUntilJoined() const;

    const DWORD guiThread_;
    std::atomic<bool> joining_ = false;
    std::atomic<bool> gaveUp_ = false;
    std::atomic<bool> driving_ = false;
    std::thread thread_;
};
