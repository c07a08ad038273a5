// The recorder end to end with the tone device: first start, each quality
// through hot keys, button and menu, playback and conversion. Recordings
// for the native tone checks are copied to fixed names, and captures of the
// window for looking at go to screens/.
#include "DialogDriver.h"
#include "MenuRobot.h"
#include "PollUntil.h"
#include "RecorderHarness.h"
#include "TempDir.h"
#include "WavFiles.h"

#include <atomic>
#include <map>
#include <utility>

namespace {

// A copy that fails fails the test: the native checks must never read an
// earlier run's file.
void KeepAs(const String& file, const wchar_t* name, std::source_location where = std::source_location::current())
{
    // The run time's overwriting copy fails on an existing file here.
    if (!CopyFileW(file.c_str(), (std::filesystem::current_path() / name).c_str(), FALSE))
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
            << "could not keep " << ToUtf8(file) << " as " << ToUtf8(name) << " (error " << GetLastError() << ")";
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

// From a robot's thread: once the GUI thread's menu is on screen and
// painted.
bool MenuShown(DWORD guiThread)
{
    int count = 0;
    const HWND menu = WaitForMenu(guiThread, count);
    if (menu) UpdateWindow(menu);  // returns once the menu's thread has painted it
    return menu != nullptr;
}

}  // namespace

TEST_F(RecorderHarness, FirstStartAsksForThePrefixAndTheHighQualityEndsAsTheMp3Alone)
{
    const String prefix = Folder(L"recorder_high") + L"take";
    WriteFileBytes(prefix + L"1.mp3", "earlier");
    WriteFileBytes(prefix + L"2.wav", "earlier");
    TRegistry().DeleteKey(kSettingsKey);
    HWND questionOwner = nullptr;
    {
        TDialogRobot robot([&] {
            const HWND question = WaitForDialog(0, L"");
            questionOwner = GetWindow(question, GW_OWNER);
            AcceptFileDialog(question, prefix);
        });
        ShowRecorder();
    }
    EXPECT_EQ(ReadMusicPath(), prefix);
    EXPECT_EQ(questionOwner, form->Handle());  // which it disables, as every box of the program
    Capture(form, L"recorder-idle.bmp");
    {
        TDialogRobot robot([&, guiThread = GetCurrentThreadId()] {
            EXPECT_TRUE(MenuShown(guiThread));
            Capture(form, L"recorder-menu.bmp");
            PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
        });
        const TPoint at = form->ClientToScreen(TPoint{150, 320});
        form->sPM_menu->Popup(at.X, at.Y);
    }

    HotKey('R');
    EXPECT_TRUE(!form->btn_record->Enabled() && form->btn_Stop->Enabled());
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.wav");  // 1 has its MP3, 2 its WAV
    RecordFor(2);
    Capture(form, L"recorder-recording.bmp");
    HotKey('S');
    WaitForEncoding();

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
    const String prefix = ShowRecorderTakingTo(L"recorder_wav");
    form->sRBMid->SetChecked(true);
    form->btn_record->Click();
    RecordFor(1);
    Choose(L"StopRecord1");
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_FALSE(FileExists(prefix + L"1.mp3"));
    KeepAs(prefix + L"1.wav", L"recorder_middle.wav");

    form->sRBLow->SetChecked(true);
    HotKey('R');
    EXPECT_EQ(form->IRecTime->Caption(), L"0");  // not the last one's "OK!"
    RecordFor(1);
    HotKey('R');
    EXPECT_TRUE(HoldsSound(prefix + L"2.wav"));
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.wav");
    // Long enough that the MP3 encoder's fixed delay stays within the
    // length check of its conversion.
    RecordFor(2);
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
    WaitForEncoding();
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
    WaitForEncoding();
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
    WaitForEncoding();
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
    RecordFor(1);
    bool stopped = false, okEarly = false;
    form->Lame->OnProgress = [&](TObject*, uint16_t) {
        if (!std::exchange(stopped, true)) PostMessageW(form->Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, 'S'));
        okEarly = okEarly || form->IRecTime->Caption() == L"OK!";
    };
    Drop(form, second);
    WaitForEncoding();
    EXPECT_FALSE(okEarly);
    EXPECT_TRUE(IdleButtons());
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_GT(FileSizeOf(prefix + L"1.mp3"), 1000);
    EXPECT_FALSE(FileExists(prefix + L"1.wav"));
    EXPECT_GT(FileSizeOf(ChangeFileExt(second, L".mp3")), 1000);
    EXPECT_EQ(errors.size(), 1u);

    // The encoder cannot read the next recording (another program holds
    // its WAV), and a handler fails on the conversion after it, which ends
    // the run: the recording stays a WAV, the box says so all the same and
    // no "OK!" shows.
    form->Lame->OnProgress = nullptr;
    form->Lame->OnBeginFile = [&](TObject*, uint16_t, const String& wav) {
        if (wav == good) throw Exception(L"a handler fails");
    };
    HotKey('R');
    RecordFor(1);
    Choose(L"StopRecord1");
    const HANDLE held = CreateFileW((prefix + L"2.wav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Drop(form, good);
    String text;
    {
        TDialogRobot robot([&] {
            const HWND box = WaitForDialog(0, L"Quorvell");
            text = DialogText(box);
            PressDialogButton(box, IDOK);
        });
        PumpUntil([&] { return errors.size() > 1; }, 60000, "the run ended by the handler");
    }
    CloseHandle(held);
    EXPECT_NE(text.find(L"\n" + prefix + L"2.wav: "), String::npos) << ToUtf8(text);
    EXPECT_EQ(errors[1], L"a handler fails");
    EXPECT_NE(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(HoldsSound(prefix + L"2.wav"));
    EXPECT_FALSE(FileExists(prefix + L"2.mp3"));
    // The conversion the handler stopped is still queued for a run.
    form->Lame->OnBeginFile = nullptr;
    PostMessageW(form->Handle(), WM_ENCODEQUEUED, 0, 0);
    WaitForEncoding();
}

TEST_F(RecorderHarness, IdleCommandsChangeNothingAndTheWindowHoldsItsHotKeysWhileItLivesAndClosesAtOnce)
{
    WriteMusicPath(Folder(L"recorder_idle") + L"take");
    ShowRecorder();
    // A quality chosen with the mouse takes the focus: captured to look at
    // the card, which shows no focus rectangle beside the captionless button.
    SendMessageW(form->sRBMid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(form->sRBMid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    PumpUntil([&] { return form->sRBMid->Checked() && form->sRBMid->Focused(); }, 2000, "the middle quality chosen");
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
    PumpUntil([&] { return IsIconic(form->Handle()); }, 2000, "the window minimised");
    // Nothing recorded: nothing to wait for, the shown window goes at
    // once (hiding a shown window is what can make Wine wait).
    ShowWindow(form->Handle(), SW_RESTORE);
    PumpUntil([&] { return !IsIconic(form->Handle()) && IsWindowVisible(form->Handle()); }, 2000,
              "the window shown again");
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
// question, if one comes before the command returns, with Answer (0: none
// is looked for); the question's text or empty.
String ConvertThroughMenu(TFrmMain* form, const String& file, int answer)
{
    String question;
    std::atomic<bool> returned = false;
    {
        TDialogRobot robot([&] {
            AcceptFileDialog(WaitForDialog(0, L""), file);
            while (answer && !returned) {
                if (const HWND box = FindDialog(0, L"Quorvell")) {
                    question = DialogText(box);
                    PressDialogButton(box, answer);
                    return;
                }
                Sleep(20);
            }
        });
        try {
            form->MenuItem(L"WavMp31")->Click();
        } catch (...) {
            returned = true;
            throw;
        }
        returned = true;
    }
    return question;
}

}  // namespace

TEST_F(RecorderHarness, ConvertingAsksBeforeReplacingAnMp3KeepsItWholeOnFailureAndNeverConvertsAnMp3OntoItself)
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

    // Yes, and the finished MP3 cannot take the old one's place (another
    // program holds it): the old MP3 as it was, nothing left beside it.
    const HANDLE held = CreateFileW(mp3.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(ConvertThroughMenu(form, song, IDYES), L"");
    WaitForEncoding();
    CloseHandle(held);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(L"Cannot replace " + mp3 + L": ", 0), 0u) << ToUtf8(errors[0]);
    EXPECT_EQ(errorKinds[0], std::type_index(typeid(ELameError)));
    EXPECT_EQ(ReadFileBytes(mp3), "the user's own");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(folder)), {}), 2);
    errors.clear();

    // The file left the lists: converting it again asks again.
    EXPECT_NE(ConvertThroughMenu(form, song, IDYES), L"");
    WaitForEncoding();
    EXPECT_GT(FileSizeOf(mp3), 1000);
    EXPECT_EQ(ConvertThroughMenu(form, song, IDNO), L"");  // converted from this very file
    WaitForEncoding();
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

TEST_F(RecorderHarness, RecordPressedDuringAnEncodeKeepsEveryRecordingAndTheNextStartsAtOnce)
{
    const String prefix = ShowRecorderTakingTo(L"recorder_busy");
    std::map<String, int64_t> encodedWavSizes;
    form->Lame->OnBeginFile = [&](TObject*, uint16_t, const String& wav) { encodedWavSizes[wav] = FileSizeOf(wav); };
    form->sRBhigh->SetChecked(true);
    HotKey('R');
    RecordFor(1);

    // While take1 is encoded, at a long recording's pace: Ctrl+R twice,
    // half a second apart, and take1's WAV dropped for converting.
    ULONGLONG firstProgress = 0;
    int presses = 0;
    bool recordingWhileTake1Encoded = false;
    form->Lame->OnProgress = [&](TObject*, uint16_t) {
        const ULONGLONG now = GetTickCount64();
        if (!firstProgress) {
            firstProgress = now;
            recordingWhileTake1Encoded = form->Recording();
            Drop(form, prefix + L"1.wav");
        }
        if (presses < 2 && now - firstProgress >= 500u * (presses + 1)) {
            PostMessageW(form->Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, 'R'));
            ++presses;
        }
        if (presses < 2) Sleep(20);  // the pace of a long recording's encoding
    };
    HotKey('R');
    WaitForEncoding();
    EXPECT_TRUE(recordingWhileTake1Encoded);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(form->CurrentFileName(), prefix + L"4.wav");
    RecordFor(1);
    HotKey('S');
    WaitForEncoding();

    for (int take = 1; take <= 4; ++take) {
        const String wav = prefix + IntToStr(take) + L".wav";
        SCOPED_TRACE(ToUtf8(wav));
        EXPECT_GT(encodedWavSizes[wav], 44 + 4000);  // each took sound to the encoder
        EXPECT_GT(FileSizeOf(ChangeFileExt(wav, L".mp3")), 1000);
        EXPECT_FALSE(FileExists(wav));
    }
    EXPECT_EQ(encodedWavSizes.size(), 4u);  // take1 was not queued twice
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(errors.empty()) << ToUtf8(errors.empty() ? String() : errors[0]);
}

namespace {

// The next close of an MCI device reports a failure, after closing it, as
// a driver may: the import is pointed here while the object lives.
class TFailingMciClose {
public:
    TFailingMciClose() : swap_((mciSendCommandW(0, MCI_SYSINFO, 0, 0), __imp_mciSendCommandW), &Close) { real_ = swap_.Original(); }
    bool Failed() const { return !armed_; }

private:
    static MCIERROR WINAPI Close(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters)
    {
        const MCIERROR result = real_(device, message, flags, parameters);
        if (message != MCI_CLOSE || !std::exchange(armed_, false)) return result;
        return MCIERR_DRIVER_INTERNAL;
    }
    TImportSwap<TMciSend> swap_;
    static inline TMciSend real_ = nullptr;
    static inline bool armed_ = true;
};

}  // namespace

TEST_F(RecorderHarness, NoCommandIsTakenInsideAnothersDialogAndEverySavedHighRecordingIsEncoded)
{
    const String prefix = ShowRecorderTakingTo(L"recorder_nested");
    form->sRBhigh->SetChecked(true);
    TRegistry().DeleteKey(kSettingsKey);
    {
        // Ctrl+R again while the record command asks for the prefix.
        TDialogRobot robot([&] {
            const HWND question = WaitForDialog(0, L"");
            WriteMusicPath(prefix);
            PostMessageW(form->Handle(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, 'R'));
            AcceptFileDialog(question, prefix);  // after the hot key, in the dialog's loop
        });
        HotKey('R');
    }
    EXPECT_EQ(form->CurrentFileName(), prefix + L"1.wav");
    RecordFor(1);
    {
        // Saved, and the device then fails to close.
        TFailingMciClose failingClose;
        HotKey('S');
        EXPECT_TRUE(failingClose.Failed());
    }
    WaitForEncoding();
    EXPECT_GT(FileSizeOf(prefix + L"1.mp3"), 1000);
    EXPECT_FALSE(FileExists(prefix + L"1.wav"));
    EXPECT_FALSE(FileExists(prefix + L"2.wav"));
    EXPECT_TRUE(errors.empty()) << ToUtf8(errors.empty() ? String() : errors[0]);
}

TEST_F(RecorderHarness, AQueuedMp3IsNeitherARecordingsNumberNorReplacedByAConversion)
{
    const String prefix = ShowRecorderTakingTo(L"recorder_queuednames");
    form->sRBhigh->SetChecked(true);
    for (const wchar_t* take : {L"1.aiff", L"2.aiff"}) WriteFileBytes(prefix + take, "four");

    // take1.aiff waits for its run: the recording takes number 2.
    EXPECT_EQ(ConvertThroughMenu(form, prefix + L"1.aiff", 0), L"");
    Choose(L"StartRecord1");
    EXPECT_EQ(form->CurrentFileName(), prefix + L"2.wav");
    RecordFor(1);
    // take2 records, then waits for its MP3: no answer lets take2.aiff
    // replace it.
    EXPECT_THROW(ConvertThroughMenu(form, prefix + L"2.aiff", IDYES), EConvertOntoRecording);
    Choose(L"StopRecord1");
    EXPECT_THROW(ConvertThroughMenu(form, prefix + L"2.aiff", IDYES), EConvertOntoRecording);
    WaitForEncoding();
    EXPECT_GT(FileSizeOf(prefix + L"2.mp3"), 10000);  // the recording's, not four bytes'
    EXPECT_FALSE(FileExists(prefix + L"2.wav"));
    EXPECT_TRUE(FileExists(prefix + L"1.mp3"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(RecorderHarness, AQueuedRunWaitsForAnOpenMenuOrABoxToClose)
{
    const String folder = Folder(L"recorder_loops");
    WriteMusicPath(folder + L"take");
    ShowRecorder();
    const String song = folder + L"song.wav", tune = folder + L"tune.wav";
    for (const String& wav : {song, tune}) WriteWav(wav, SineSamples(440, 1, 44100, 2), 44100, 2);
    const DWORD guiThread = GetCurrentThreadId();
    int startsInsideALoop = 0;
    form->Lame->OnBeginProcess = [&](TObject*) {
        startsInsideALoop += !IsWindowEnabled(form->Handle()) || FindMenuWindow(guiThread) || FindDialog(0, L"");
    };

    Drop(form, song);  // its run is posted, and the menu opens first
    {
        TDialogRobot robot([&] {
            int count = 0;
            const HWND menu = WaitForMenu(guiThread, count);
            // A run inside the menu's loop would hold the menu until it ends.
            PollUntil([&] { return !IsWindowVisible(menu) || !PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1); }, 20000, 100);
        });
        const TPoint at = form->ClientToScreen(TPoint{150, 320});
        form->sPM_menu->Popup(at.X, at.Y);
    }
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 1);
    WaitForEncoding();

    Drop(form, tune);  // and a box of the program opens first
    {
        TDialogRobot robot([] { PressDialogButton(WaitForDialog(0, L"Quorvell"), IDOK); });
        Application->MessageBox(L"A box", L"Quorvell", MB_OK);
    }
    EXPECT_EQ(form->Lame->InputFiles()->Count(), 1);
    WaitForEncoding();
    EXPECT_EQ(startsInsideALoop, 0);
    EXPECT_GT(FileSizeOf(ChangeFileExt(song, L".mp3")), 1000);
    EXPECT_GT(FileSizeOf(ChangeFileExt(tune, L".mp3")), 1000);
}

TEST_F(RecorderHarness, ClosingWhileOneRecordingIsEncodedAndAnotherWaitsLosesNoRecording)
{
    const String prefix = ShowRecorderTakingTo(L"recorder_closing");
    form->sRBhigh->SetChecked(true);
    HotKey('R');
    RecordFor(1);
    // While take1 is encoded, take2 stops (take3 starts) and the user
    // closes the window: the program ends once the run is through.
    bool closed = false;
    form->Lame->OnProgress = [&](TObject*, uint16_t) {
        if (std::exchange(closed, true)) return;
        Choose(L"StartRecord1");
        form->btn_close->Click();
    };
    HotKey('R');
    WaitForEncoding();
    EXPECT_TRUE(Application->Terminated());
    FreeObject(std::exchange(form, nullptr));  // as the ended program does
    for (const wchar_t* take : {L"1", L"2"}) {
        EXPECT_GT(FileSizeOf(prefix + take + L".mp3"), 1000) << take;
        EXPECT_FALSE(FileExists(prefix + take + L".wav")) << take;
    }
    EXPECT_TRUE(HoldsSound(prefix + L"3.wav"));
    EXPECT_TRUE(errors.empty());
}
