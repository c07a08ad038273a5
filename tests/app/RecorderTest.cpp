// The recorder end to end with the tone device: first start, each quality
// through hot keys, button and menu, playback and conversion. Recordings
// for the native tone checks are copied to fixed names, and captures of the
// window for looking at go to screens/.
#include "DialogDriver.h"
#include "RecorderHarness.h"
#include "TempDir.h"
#include "WavFiles.h"

#include <utility>

namespace {

void KeepAs(const String& file, const wchar_t* name)
{
    // The run time's overwriting copy fails on an existing file here.
    CopyFileW(file.c_str(), (std::filesystem::current_path() / name).c_str(), FALSE);
}

void Capture(TForm* form, const wchar_t* name)
{
    TClientDC screen(nullptr);
    const TPoint origin = form->ClientToScreen(TPoint{0, 0});
    TBitmap capture;
    capture.SetSize(620, 560);
    BitBlt(capture.Canvas().Handle(), 0, 0, 620, 560, screen.Handle(), origin.X, origin.Y, SRCCOPY);
    std::filesystem::create_directories(L"screens");
    capture.SaveToFile(String(L"screens\\") + name);
}

// Through the menu and the open dialog, as the user does.
void ConvertByMenu(TFrmMain* form, const String& wav)
{
    TDialogRobot robot([&] { AcceptFileDialog(WaitForDialog(0, L""), wav); });
    form->MenuItem(L"WavMp31")->Click();
}

// Converts as the menu does, without the dialog's time.
void Drop(TFrmMain* form, const String& wav)
{
    TStringList files{wav};
    form->DragFileDropFiles(form, &files, 1, TPoint{});
}

}  // namespace

TEST_F(RecorderHarness, FirstStartAsksForThePrefixAndTheHighQualityEndsAsTheMp3Alone)
{
    const String prefix = Folder(L"recorder_high") + L"take";
    WriteFileBytes(prefix + L"1.mp3", "earlier");
    WriteFileBytes(prefix + L"2.wav", "earlier");
    TRegistry().DeleteKey(kSettingsKey);
    {
        TDialogRobot robot([&] { AcceptFileDialog(WaitForDialog(0, L""), prefix); });
        ShowRecorder();
    }
    EXPECT_EQ(ReadMusicPath(), prefix);
    Capture(form, L"recorder-idle.bmp");
    {
        TDialogRobot robot([&] {
            Sleep(700);
            Capture(form, L"recorder-menu.bmp");
            PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
        });
        const TPoint at = form->ClientToScreen(TPoint{150, 320});
        form->sPM_menu->Popup(at.X, at.Y);
    }

    HotKey('R');
    EXPECT_TRUE(!form->btn_record->Enabled() && form->btn_Stop->Enabled());
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.wav");  // 1 has its MP3, 2 its WAV
    WaitFor(2300);
    EXPECT_EQ(form->IRecTime->Caption(), L"2");
    Capture(form, L"recorder-recording.bmp");
    HotKey('S');

    EXPECT_TRUE(IdleButtons());
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(FileExists(prefix + L"3.mp3"));
    EXPECT_FALSE(FileExists(prefix + L"3.wav"));
    EXPECT_EQ(ReadFileBytes(prefix + L"1.mp3") + ReadFileBytes(prefix + L"2.wav"), "earlierearlier");
    EXPECT_TRUE(errors.empty());
    if (FileExists(prefix + L"3.mp3")) KeepAs(prefix + L"3.mp3", L"recorder_high.mp3");
}

TEST_F(RecorderHarness, MiddleAndLowKeepTheirWavFilesPlayBackAndConvertingDeletesNoWavOfTheUser)
{
    const String prefix = Folder(L"recorder_wav") + L"take";
    WriteMusicPath(prefix);
    ShowRecorder();
    form->sRBMid->SetChecked(true);
    form->btn_record->Click();
    WaitFor(1200);
    Choose(L"StopRecord1");
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_FALSE(FileExists(prefix + L"1.mp3"));
    KeepAs(prefix + L"1.wav", L"recorder_middle.wav");

    form->sRBLow->SetChecked(true);
    HotKey('R');
    WaitFor(1200);
    HotKey('R');
    EXPECT_TRUE(HoldsSound(prefix + L"2.wav"));
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.wav");
    // Long enough that the MP3 encoder's fixed delay stays within the
    // length check of its conversion.
    WaitFor(2000);
    HotKey('S');
    KeepAs(prefix + L"3.wav", L"recorder_low.wav");

    Choose(L"Play1");
    EXPECT_EQ(form->MPPlay->FileName(), prefix + L"3.wav");
    EXPECT_NE(form->MPPlay->DeviceID(), 0u);
    Choose(L"StopPlay1");
    EXPECT_EQ(form->MPPlay->DeviceID(), 0u);

    // The recorder's own middle and low recordings convert (their MP3s are
    // decoded natively afterwards), and so does a WAV of the user's, dropped
    // on the window.
    for (const String& wav : {prefix + L"1.wav", prefix + L"3.wav"}) ConvertByMenu(form, wav);
    const String song = ExtractFilePath(prefix) + L"song.wav";
    WriteWav(song, SineSamples(440, 1, 22050, 1), 22050, 1);
    Drop(form, song);
    KeepAs(prefix + L"1.mp3", L"recorder_middle.mp3");
    KeepAs(prefix + L"3.mp3", L"recorder_low.mp3");
    EXPECT_GT(FileSizeOf(ChangeFileExt(song, L".mp3")), 1000);
    EXPECT_TRUE(FileExists(song));
    EXPECT_TRUE(HoldsSound(prefix + L"3.wav"));  // the last recording's WAV stays too
    EXPECT_TRUE(errors.empty());

    // What the encoder cannot take is refused by name, and nothing is written.
    const String odd = ExtractFilePath(prefix) + L"odd-rate.wav";
    WriteWav(odd, SineSamples(440, 1, 12345, 1), 12345, 1);
    Drop(form, odd);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(odd), String::npos) << ToUtf8(errors[0]);
    EXPECT_EQ(errorKinds[0], std::type_index(typeid(ELameError)));  // reported as the kind it was raised as
    EXPECT_FALSE(FileExists(ChangeFileExt(odd, L".mp3")));
}

TEST_F(RecorderHarness, TheEncodingQueueGoesPastABadFileAndEachRecordingGetsItsOwnMp3BeforeOk)
{
    const String folder = Folder(L"recorder_queue");
    const String prefix = folder + L"take";
    WriteMusicPath(prefix);
    ShowRecorder();
    const String first = folder + L"first.wav", bad = folder + L"bad.wav", good = folder + L"good.wav",
                 second = folder + L"second.wav";
    for (const String& wav : {first, good, second}) WriteWav(wav, SineSamples(440, 1, 44100, 2), 44100, 2);
    WriteWav(bad, SineSamples(440, 1, 96000, 2), 96000, 2);

    // While a convert is encoded (the message loop runs between chunks): a
    // high-quality recording starts, and a bad and a good file are dropped.
    bool started = false;
    form->Lame->OnProgress = [&](TObject*, uint16_t) {
        if (std::exchange(started, true)) return;
        PostMessageW(form->Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, 'R'));
        Drop(form, bad);
        Drop(form, good);
    };
    Drop(form, first);
    EXPECT_TRUE(form->Recording());
    EXPECT_EQ(form->ConvertAfterRecording(), 1);  // the run's end left the recording's choice alone
    EXPECT_GT(FileSizeOf(ChangeFileExt(first, L".mp3")), 1000);
    EXPECT_GT(FileSizeOf(ChangeFileExt(good, L".mp3")), 1000);
    EXPECT_FALSE(FileExists(ChangeFileExt(bad, L".mp3")));
    EXPECT_TRUE(FileExists(bad));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(bad), String::npos) << ToUtf8(errors[0]);
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 0);

    // The recording stops during the next convert: it joins that run, and
    // "OK!" waits until its MP3 is there.
    WaitFor(1200);
    bool stopped = false, okEarly = false;
    form->Lame->OnProgress = [&](TObject*, uint16_t) {
        if (!std::exchange(stopped, true)) PostMessageW(form->Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, 'S'));
        okEarly = okEarly || form->IRecTime->Caption() == L"OK!";
    };
    Drop(form, second);
    EXPECT_FALSE(okEarly);
    EXPECT_TRUE(IdleButtons());
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_GT(FileSizeOf(prefix + L"1.mp3"), 1000);
    EXPECT_FALSE(FileExists(prefix + L"1.wav"));
    EXPECT_GT(FileSizeOf(ChangeFileExt(second, L".mp3")), 1000);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(RecorderHarness, IdleCommandsChangeNothingAndTheWindowHoldsItsHotKeysWhileItLivesAndClosesAtOnce)
{
    WriteMusicPath(Folder(L"recorder_idle") + L"take");
    ShowRecorder();
    // A quality chosen with the mouse takes the focus: captured to look at
    // the card, which shows no focus rectangle beside the captionless button.
    SendMessageW(form->sRBMid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(form->sRBMid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    WaitFor(100);
    EXPECT_TRUE(form->sRBMid->Checked() && form->sRBMid->Focused());
    Capture(form, L"recorder-quality.bmp");
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL, 'P'));
    HotKey('S');
    HotKey('P');
    form->btn_play->Click();
    EXPECT_TRUE(IdleButtons());
    EXPECT_EQ(form->IRecTime->Caption(), L"");
    EXPECT_EQ(form->MPPlay->DeviceID(), 0u);
    EXPECT_TRUE(errors.empty());
    EXPECT_THROW(Choose(L"StopPlay1"), EMCIDeviceError);

    form->btn_min->Click();
    WaitFor(100);
    EXPECT_TRUE(IsIconic(form->Handle()));
    // Nothing recorded: nothing to wait for, the window goes at once.
    const DWORD start = GetTickCount();
    FreeObject(form);
    EXPECT_LT(GetTickCount() - start, 1000u);
    form = nullptr;
    for (char key : {'P', 'R', 'S'}) {
        EXPECT_TRUE(RegisterHotKey(nullptr, key, MOD_CONTROL, key)) << key;
        UnregisterHotKey(nullptr, key);
    }
}

namespace {

// Chooses File in the convert command's dialog and answers a replace
// question, if one comes, with Answer (0: none is looked for); the
// question's text or empty.
String ConvertThroughMenu(TFrmMain* form, const String& file, int answer)
{
    String question;
    TDialogRobot robot([&] {
        const HWND dialog = WaitForDialog(0, L"");
        AcceptFileDialog(dialog, file);
        for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(25);
        if (const HWND box = answer ? WaitForDialog(0, L"Quorvell", 700) : nullptr) {
            question = DialogText(box);
            PressDialogButton(box, answer);
        }
    });
    form->MenuItem(L"WavMp31")->Click();
    return question;
}

}  // namespace

TEST_F(RecorderHarness, ConvertingAsksBeforeReplacingAnMp3AndNeverConvertsAnMp3OntoItself)
{
    const String folder = Folder(L"recorder_convert");
    WriteMusicPath(folder + L"take");
    ShowRecorder();
    const String song = folder + L"song.wav", mp3 = folder + L"song.mp3";
    WriteWav(song, SineSamples(440, 0.5, 44100, 2), 44100, 2);
    WriteFileBytes(mp3, "the user's own");
    const std::string wav = ReadFileBytes(song);

    EXPECT_EQ(ConvertThroughMenu(form, song, IDNO), mp3 + L" already exists. Replace it?");
    EXPECT_EQ(ReadFileBytes(mp3), "the user's own");
    EXPECT_EQ(ReadFileBytes(song), wav);

    EXPECT_NE(ConvertThroughMenu(form, song, IDYES), L"");
    EXPECT_GT(FileSizeOf(mp3), 1000);
    EXPECT_EQ(ConvertThroughMenu(form, song, IDNO), L"");  // this run's own MP3
    EXPECT_TRUE(errors.empty());

    const std::string encoded = ReadFileBytes(mp3);
    EXPECT_THROW(
        {
            try {
                ConvertThroughMenu(form, mp3, 0);
            } catch (const EConvertOntoItself& error) {
                EXPECT_EQ(error.Message(), mp3 + L" is already an MP3 file; it can not be converted onto itself.");
                throw;
            }
        },
        EConvertOntoItself);
    EXPECT_EQ(ReadFileBytes(mp3), encoded);
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 0);
}
