// The recorder end to end with the harness's tone device: first start,
// recording in each quality through hot keys, buttons and menu, the MP3 of
// the high quality, playback and conversion. Recordings that native checks
// examine afterwards are copied to fixed names in the artifacts folder.
#include "DialogDriver.h"
#include "RecorderHarness.h"
#include "TempDir.h"
#include "WavFiles.h"
#include "WaveHeader.h"

#include <cstring>

namespace {

void KeepForChecks(const String& file, const wchar_t* name)
{
    std::filesystem::copy_file(file, std::filesystem::current_path() / name,
                               std::filesystem::copy_options::overwrite_existing);
}

TWaveHeader HeaderOf(const String& fileName)
{
    const std::string bytes = ReadFileBytes(fileName);
    TWaveHeader header{};
    if (bytes.size() >= sizeof header) std::memcpy(&header, bytes.data(), sizeof header);
    return header;
}

// A recording holds sound, not only the header the record command wrote.
bool HoldsSound(const String& wav) { return FileSizeOf(wav) > 44 + 4000; }

}  // namespace

TEST_F(RecorderHarness, FirstStartAsksForThePrefixAndTheHighQualityEndsAsTheMp3Alone)
{
    const String prefix = Folder(L"recorder_high") + L"take";
    WriteFileBytes(prefix + L"1.mp3", "earlier");
    WriteFileBytes(prefix + L"2.wav", "earlier");
    ForgetSettings();
    {
        TDialogRobot robot([&] { AcceptFileDialog(WaitForDialog(0, L""), prefix); });
        ShowRecorder();
    }
    EXPECT_EQ(form->MusicPath(), prefix);
    EXPECT_EQ(ReadMusicPath(), prefix);
    EXPECT_TRUE(form->btn_record->Enabled() && form->btn_Stop->Enabled());
    Capture(L"recorder-idle.bmp");
    {
        TDialogRobot robot([&] {
            Sleep(700);
            Capture(L"recorder-menu.bmp");
            PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
        });
        const TPoint at = form->ClientToScreen(TPoint{150, 320});
        form->sPM_menu->Popup(at.X, at.Y);
    }

    HotKey('R');
    EXPECT_TRUE(form->Recording());
    EXPECT_TRUE(RecordingButtons());
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.wav");  // 1 has its MP3, 2 its WAV
    WaitFor(2300);
    EXPECT_EQ(form->IRecTime->Caption(), L"2");
    Capture(L"recorder-recording.bmp");
    HotKey('S');

    EXPECT_TRUE(IdleButtons());
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.mp3");
    EXPECT_TRUE(FileExists(prefix + L"3.mp3"));
    EXPECT_FALSE(FileExists(prefix + L"3.wav"));
    EXPECT_EQ(ReadFileBytes(prefix + L"1.mp3"), "earlier");
    EXPECT_EQ(ReadFileBytes(prefix + L"2.wav"), "earlier");
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 0);
    EXPECT_TRUE(errors.empty());
    if (FileExists(prefix + L"3.mp3")) KeepForChecks(prefix + L"3.mp3", L"recorder_high.mp3");
}

TEST_F(RecorderHarness, MiddleAndLowKeepTheirWavFilesAndARecordWhileRecordingSavesTheFirst)
{
    const String prefix = Folder(L"recorder_wav") + L"take";
    WriteMusicPath(prefix);
    ShowRecorder();

    form->sRBMid->SetChecked(true);
    form->btn_record->Click();
    ASSERT_TRUE(form->Recording());
    WaitFor(1200);
    Choose(L"StopRecord1");
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(HoldsSound(prefix + L"1.wav"));
    EXPECT_FALSE(FileExists(prefix + L"1.mp3"));
    KeepForChecks(prefix + L"1.wav", L"recorder_middle.wav");

    form->sRBLow->SetChecked(true);
    HotKey('R');
    WaitFor(1200);
    HotKey('R');  // again, while recording
    EXPECT_TRUE(RecordingButtons());
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.wav");
    EXPECT_TRUE(HoldsSound(prefix + L"2.wav"));
    EXPECT_EQ(HeaderOf(prefix + L"2.wav").SampleRate, 11025u);
    WaitFor(1200);
    HotKey('S');
    EXPECT_TRUE(IdleButtons());
    EXPECT_TRUE(HoldsSound(prefix + L"3.wav"));
    KeepForChecks(prefix + L"3.wav", L"recorder_low.wav");

    Choose(L"Play1");
    EXPECT_NE(form->MPPlay->DeviceID(), 0u);
    EXPECT_EQ(form->MPPlay->FileName(), prefix + L"3.wav");
    Choose(L"StopPlay1");
    EXPECT_EQ(form->MPPlay->DeviceID(), 0u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(RecorderHarness, ConvertEncodesTheChosenWavAndDeletesNoWavOfTheUser)
{
    const String folder = Folder(L"recorder_convert");
    WriteMusicPath(folder + L"take");
    ShowRecorder();
    RecordByHotKeys(form->sRBMid);
    ASSERT_EQ(form->CurrentFileName(), folder + L"take1.wav");

    const String song = folder + L"song.wav";
    WriteWav(song, SineSamples(440, 1, 22050, 1), 22050, 1);
    {
        TDialogRobot robot([&] { AcceptFileDialog(WaitForDialog(0, L""), song); });
        Choose(L"WavMp31");
    }
    EXPECT_GT(FileSizeOf(folder + L"song.mp3"), 1000);
    EXPECT_TRUE(FileExists(song));
    EXPECT_TRUE(HoldsSound(folder + L"take1.wav"));  // the last recording stays too
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 0);

    // Dropped files: only a ".wav" is converted.
    TStringList dropped;
    dropped.Add(folder + L"notes.txt");
    {
        TDialogRobot robot([&] {
            const HWND box = WaitForDialog(0, L"");
            EXPECT_EQ(DialogText(box), kNotWavFileText);
            PressDialogButton(box, IDOK);
        });
        form->DragFileDropFiles(form, &dropped, 1, TPoint{});
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(RecorderHarness, IdleCommandsChangeNothingAndTheHotKeysAreHeldWhileTheWindowLives)
{
    WriteMusicPath(Folder(L"recorder_idle") + L"take");
    ShowRecorder();
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL, 'P'));  // held by the window

    HotKey('S');  // nothing records
    HotKey('P');
    EXPECT_TRUE(IdleButtons());
    EXPECT_EQ(form->IRecTime->Caption(), L"");
    form->btn_play->Click();  // nothing recorded yet
    EXPECT_EQ(form->MPPlay->DeviceID(), 0u);
    EXPECT_TRUE(errors.empty());
    EXPECT_THROW(Choose(L"StopPlay1"), EMCIDeviceError);

    form->btn_min->Click();
    WaitFor(100);
    EXPECT_TRUE(IsIconic(form->Handle()));

    FreeObject(form);
    form = nullptr;
    for (char key : {'P', 'R', 'S'}) {
        EXPECT_TRUE(RegisterHotKey(nullptr, key, MOD_CONTROL, key)) << key;
        UnregisterHotKey(nullptr, key);
    }
}
