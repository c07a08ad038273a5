// The recorder on a machine without any sound device.
#include "DialogDriver.h"
#include "RecorderHarness.h"

TEST_F(RecorderHarness, RecordingWithoutADeviceShowsTheErrorBoxAndReturnsToIdle)
{
    const String prefix = Folder(L"recorder_nodevice") + L"take";
    WriteMusicPath(prefix);
    ShowRecorder();
    String title, text;
    {
        TDialogRobot robot([&] {
            const HWND box = WaitForDialog(0, L"Error");
            text = DialogText(box);
            PressDialogButton(box, IDOK);
        });
        form->btn_record->Click();
    }
    EXPECT_EQ(text, kInitDeviceErrorText);
    EXPECT_TRUE(form->btn_record->Enabled());
    EXPECT_FALSE(form->btn_Stop->Enabled());
    EXPECT_FALSE(form->Recording());
    EXPECT_EQ(FileSizeOf(prefix + L"1.wav"), 44);

    // Nothing was recording, so a stop neither saves nor encodes anything.
    HotKey('S');
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 0);
    EXPECT_EQ(form->IRecTime->Caption(), L"");
    EXPECT_TRUE(errors.empty());
}
