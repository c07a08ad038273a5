// The recorder on a machine without any sound device.
#include "DialogDriver.h"
#include "RecorderHarness.h"

TEST_F(RecorderHarness, RecordingWithoutADeviceShowsTheErrorBoxAndReturnsToIdle)
{
    const String prefix = ShowRecorderTakingTo(L"recorder_nodevice");
    String text;
    {
        TDialogRobot robot([&] {
            const HWND box = WaitForDialog(0, L"Error");
            text = DialogText(box);
            PressDialogButton(box, IDOK);
        });
        form->btn_record->Click();
    }
    EXPECT_EQ(text, kInitDeviceErrorText);
    EXPECT_TRUE(IdleButtons());
    EXPECT_FALSE(form->Recording());
    EXPECT_EQ(FileSizeOf(prefix + L"1.wav"), 44);
}
