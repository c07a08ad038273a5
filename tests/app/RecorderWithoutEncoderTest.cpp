// The recorder from a folder without lame_enc, and with a tips setting
// that is no Boolean.
#include <fstream>

#include "RecorderHarness.h"

TEST_F(RecorderHarness, ABadTipsSettingIsReportedAndTheWindowStillShows)
{
    WriteMusicPath(Folder(L"recorder_tips") + L"take");
    const auto tips = std::filesystem::path(ExtractFilePath(Application->ExeName())) / L"Tips";
    std::filesystem::create_directories(tips);
    std::ofstream(tips / L"Halvoria.ini") << "[Show]\nIsShow=sometimes\n";
    ShowRecorder();
    std::filesystem::remove_all(tips);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(L"sometimes"), String::npos);
}

TEST_F(RecorderHarness, AFailedEncodingKeepsTheWavAndSaysSoTheNextMiddleStopEncodesNothingAndClosingKeepsARecording)
{
    const String prefix = ShowRecorderTakingTo(L"recorder_noencoder");
    // Two high recordings wait for one run: one box names both and why.
    form->sRBhigh->SetChecked(true);
    HotKey('R');
    RecordFor(1);
    Choose(L"StartRecord1");
    Choose(L"StopRecord1");
    String text;
    {
        TDialogRobot robot([&] {
            const HWND box = WaitForDialog(0, L"Quorvell");
            if (!box) return;
            text = DialogText(box);
            PressDialogButton(box, IDOK);
        });
        WaitForEncoding();
    }
    for (const wchar_t* take : {L"1.wav: ", L"2.wav: "})
        EXPECT_NE(text.find(prefix + take + L"The MP3 encoder library could not be loaded"), String::npos) << ToUtf8(text);
    EXPECT_TRUE(IdleButtons());
    EXPECT_NE(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(HoldsSound(prefix + L"1.wav"));
    EXPECT_TRUE(FileExists(prefix + L"2.wav"));

    RecordByHotKeys(form->sRBMid);
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(HoldsSound(prefix + L"3.wav"));
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 0);  // the failed one waits for no later run
    EXPECT_TRUE(errors.empty()) << ToUtf8(errors.empty() ? String() : errors[0]);

    // Closing the window while recording keeps what was recorded.
    HotKey('R');
    RecordFor(1);
    FreeObject(form);
    form = nullptr;
    EXPECT_TRUE(HoldsSound(prefix + L"4.wav"));
}
