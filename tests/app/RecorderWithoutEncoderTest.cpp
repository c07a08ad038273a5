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

TEST_F(RecorderHarness, AFailedEncodingKeepsTheWavTheNextMiddleStopEncodesNothingAndClosingKeepsARecording)
{
    const String prefix = Folder(L"recorder_noencoder") + L"take";
    WriteMusicPath(prefix);
    ShowRecorder();
    RecordByHotKeys(form->sRBhigh);
    EXPECT_TRUE(IdleButtons());
    EXPECT_NE(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(HoldsSound(prefix + L"1.wav"));

    RecordByHotKeys(form->sRBMid);
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(HoldsSound(prefix + L"2.wav"));
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 0);  // the failed one waits for no later run
    EXPECT_TRUE(errors.empty());

    // Closing the window while recording keeps what was recorded.
    HotKey('R');
    RecordFor(1);
    FreeObject(form);
    form = nullptr;
    EXPECT_TRUE(HoldsSound(prefix + L"3.wav"));
}
