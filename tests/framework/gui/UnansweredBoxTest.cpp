// The watch every test program under Wine carries (tests/support/ModalWatch.cpp):
// a box or menu that no robot answers fails the test in seconds, named,
// and is closed, so the test goes on instead of waiting for CTest's kill.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "MenuItems.h"
#include "Menus.h"
#include "WindowHarness.h"

namespace {

class UnansweredBox : public WindowHarness {};

}  // namespace

TEST_F(UnansweredBox, ABoxWithNoRobotFailsNamedAndIsClosed)
{
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(Application->MessageBox(L"Nobody answers this", L"Unanswered", MB_OK),
                                           "the box \"Unanswered\" saying \"Nobody answers this\"");
}

TEST_F(UnansweredBox, ABoxAfterTheRobotsStepsFailsNamedAndIsClosed)
{
    TDialogRobot robot([] { PressDialogButton(WaitForDialog(0, L"Foreseen"), IDOK); });
    EXPECT_EQ(Application->MessageBox(L"answered", L"Foreseen", MB_OK), IDOK);
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(Application->MessageBox(L"after the steps", L"Unforeseen", MB_OK),
                                           "the box \"Unforeseen\" saying \"after the steps\"");
}

TEST_F(UnansweredBox, AMenuWithNoRobotFailsNamingItsItemsAndIsClosed)
{
    ShowForm();
    TPopupMenu* menu = New<TPopupMenu>(form.get());
    AddItem(menu->Items(), L"Nobody picks this");
    AddItem(menu->Items(), L"Nor this");
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(menu->Popup(100, 100),
                                           "a popup menu with the items \"Nobody picks this | Nor this\"");
}
