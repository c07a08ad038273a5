// The recorder from a folder without lame_enc, and with a tips setting
// that is no Boolean.
#include <fstream>

#include "RecorderHarness.h"

namespace {

String ProgramFolder() { return ExtractFilePath(Application->ExeName()); }

}  // namespace

TEST_F(RecorderHarness, ABadTipsSettingIsReportedAndTheWindowStillShows)
{
    WriteMusicPath(Folder(L"recorder_tips") + L"take");
    std::filesystem::create_directories(std::filesystem::path(ProgramFolder()) / L"Tips");
    std::ofstream(std::filesystem::path(ProgramFolder()) / L"Tips" / L"Halvoria.ini") << "[Show]\nIsShow=sometimes\n";
    ShowRecorder();
    std::filesystem::remove_all(std::filesystem::path(ProgramFolder()) / L"Tips");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(L"sometimes"), String::npos);
}

TEST_F(RecorderHarness, AFailedEncodingKeepsTheWavAndTheNextMiddleQualityStopEncodesNothing)
{
    const String prefix = Folder(L"recorder_noencoder") + L"take";
    WriteMusicPath(prefix);
    ShowRecorder();
    RecordByHotKeys(form->sRBhigh, 1500);
    EXPECT_TRUE(form->btn_record->Enabled() && !form->btn_Stop->Enabled());
    EXPECT_NE(form->IRecTime->Caption(), L"OK!");
    EXPECT_GT(FileSizeOf(prefix + L"1.wav"), 44 + 4000);
    EXPECT_FALSE(FileExists(prefix + L"1.mp3"));

    RecordByHotKeys(form->sRBMid);
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_EQ(form->CurrentFileName(), prefix + L"2.wav");
    EXPECT_GT(FileSizeOf(prefix + L"2.wav"), 44 + 4000);
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 1);  // only the first, for a later run
    EXPECT_TRUE(errors.empty());
}
