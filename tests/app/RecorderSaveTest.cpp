// A recording is saved whole or kept until the user's deliberate word: a
// failed or short save asks, a stray key never answers, and the window's
// close and the session's end neither start nor drop a recording.
#include "RecorderHarness.h"
#include "TempDir.h"
#include "WavFiles.h"

#include <atomic>
#include <cstring>
#include <set>

extern "C" decltype(&GetDiskFreeSpaceExW) __imp_GetDiskFreeSpaceExW;

namespace {

// The wave device's own files of its recordings.
std::set<String> DeviceFiles()
{
    std::set<String> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((TempDirectory() + L"MCI*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The data size a WAV file's 44-byte header declares.
uint32_t DeclaredDataBytes(const String& wav)
{
    const std::string bytes = ReadFileBytes(wav);
    uint32_t size = 0;
    if (bytes.size() >= 44) std::memcpy(&size, bytes.data() + 40, sizeof size);
    return size;
}

// A disk with 1,000 bytes free while TinyDisk is set, and a save that
// fails as Wine's does when it moves the device's file across volumes onto
// a full disk while ShortSave is set (once): success reported, the target
// cut short, the device's own file left whole, and the device unable to
// save again.
std::atomic<bool> tinyDisk = false, shortSave = false;
decltype(&GetDiskFreeSpaceExW) realFreeSpace = nullptr;
TMciSend realMciSend = nullptr;

BOOL WINAPI FreeSpace(LPCWSTR folder, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER free)
{
    const BOOL result = realFreeSpace(folder, available, total, free);
    if (tinyDisk && available) available->QuadPart = 1000;
    return result;
}

MCIERROR WINAPI MciSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters)
{
    static MCIDEVICEID failedDevice = 0;
    if (message == MCI_SAVE && device == failedDevice) {
        // As Wine's device after such a save: the target goes, nothing is written.
        DeleteFileW(reinterpret_cast<MCI_SAVE_PARMSW*>(parameters)->lpfilename);
        return MCIERR_FILE_NOT_FOUND;
    }
    if (message != MCI_SAVE || !shortSave.exchange(false)) return realMciSend(device, message, flags, parameters);
    failedDevice = device;
    wchar_t deviceFile[MAX_PATH + 1] = {};
    MCI_INFO_PARMSW info{};
    info.lpstrReturn = deviceFile;
    info.dwRetSize = MAX_PATH;
    realMciSend(device, MCI_INFO, MCI_INFO_FILE | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&info));
    // The device saves elsewhere and may hold that file; what it wrote
    // becomes the whole device file and a cut-short target.
    const String target = reinterpret_cast<MCI_SAVE_PARMSW*>(parameters)->lpfilename;
    const String elsewhere = target + L".device";
    MCI_SAVE_PARMSW save{};
    save.lpfilename = elsewhere.c_str();
    const MCIERROR result = realMciSend(device, message, flags, reinterpret_cast<DWORD_PTR>(&save));
    CopyFileW(elsewhere.c_str(), deviceFile, FALSE);
    WriteFileBytes(target, ReadFileBytes(elsewhere).substr(0, 6000));
    return result;
}

}  // namespace

TEST_F(RecorderHarness, ASaveCountsOnlyWhenTheWavIsWholeAndRetryCopiesWhatTheDeviceKept)
{
    const std::set<String> deviceFilesBefore = DeviceFiles();
    const String prefix = MiddleRecordingTo(L"recorder_fulldisk");
    const TImportSwap<decltype(&GetDiskFreeSpaceExW)> freeSpace(__imp_GetDiskFreeSpaceExW, &FreeSpace);
    const TImportSwap<TMciSend> mciSend(__imp_mciSendCommandW, &MciSend);
    realFreeSpace = freeSpace.Original();
    realMciSend = mciSend.Original();

    // No room: the device is not asked. Room, but the save falls short: a
    // failed save all the same. Retry copies the device's own file.
    tinyDisk = true;
    bool okWhileShort = false;
    const auto texts = AnswerBoxes({IDRETRY, IDRETRY}, [&] { HotKey('S'); }, [&](size_t i) {
        tinyDisk = false;
        shortSave = i == 0;
        okWhileShort = okWhileShort || form->IRecTime->Caption() == L"OK!";
    });
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find(L"not enough room on the disk"), String::npos) << ToUtf8(texts[0]);
    EXPECT_EQ(texts[1].rfind(L"The recording could not be saved to " + prefix + L"1.wav:\nThe file on the disk was cut short", 0), 0u)
        << ToUtf8(texts[1]);
    EXPECT_FALSE(okWhileShort);
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");
    EXPECT_TRUE(HoldsSound(prefix + L"1.wav"));
    EXPECT_EQ(FileSizeOf(prefix + L"1.wav"), 44 + int64_t{DeclaredDataBytes(prefix + L"1.wav")});
    EXPECT_EQ(DeviceFiles(), deviceFilesBefore);  // the copy's source is gone once the copy is whole
    EXPECT_TRUE(errors.empty());
    CopyFileW((prefix + L"1.wav").c_str(), (std::filesystem::current_path() / L"recorder_copied.wav").c_str(), FALSE);
}

TEST_F(RecorderHarness, AKeyPressedBeforeABoxNeverAnswersItAndOnlyADeliberateYesDiscards)
{
    const std::set<String> deviceFilesBefore = DeviceFiles();
    const String prefix = MiddleRecordingTo(L"recorder_keys");
    form->sRBMid->SetFocus();

    // Esc twice, fast: the first stops, the second must not answer the box.
    // Cancel asks; Enter keeps the recording and the box comes again; Yes
    // alone discards it, with the device's file of it.
    const auto texts = WhileHeld(prefix + L"1.wav", {IDCANCEL, kEnterKey, IDCANCEL, IDYES}, [&] {
        INPUT keys[4] = {};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = VK_ESCAPE;
            keys[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0;
        }
        SendInput(4, keys, sizeof keys[0]);
        PumpUntil([&] { return !form->Recording(); }, 20000, "the recording stopped by Esc");
    });
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].rfind(L"The recording could not be saved to " + prefix + L"1.wav:\n", 0), 0u) << ToUtf8(texts[0]);
    EXPECT_EQ(texts[1], DiscardRecordingQuestion(prefix + L"1.wav"));
    EXPECT_EQ(texts[2].rfind(L"The recording could not be saved to ", 0), 0u) << ToUtf8(texts[2]);
    EXPECT_EQ(texts[3], texts[1]);
    EXPECT_EQ(FileSizeOf(prefix + L"1.wav"), 44);
    EXPECT_NE(form->IRecTime->Caption(), L"OK!");
    EXPECT_EQ(DeviceFiles(), deviceFilesBefore);
    EXPECT_TRUE(errors.empty());
}

TEST_F(RecorderHarness, NothingStartsWhileTheWindowClosesAndASaveBehindTheBoxAtTheSessionsEndCounts)
{
    const String prefix = MiddleRecordingTo(L"recorder_ending");
    // The close's box: the hot keys are the system's again, and a Ctrl+R
    // that still reaches the window starts nothing.
    bool hotKeyFree = false;
    LRESULT answered = 0;
    const HWND window = form->Handle();
    const auto closing = WhileHeld(prefix + L"1.wav", {IDRETRY}, [&] { FreeObject(std::exchange(form, nullptr)); }, [&] {
        hotKeyFree = RegisterHotKey(nullptr, 1, MOD_CONTROL, 'R');
        UnregisterHotKey(nullptr, 1);
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutW(window, WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, 'R'), SMTO_BLOCK, 5000, &result);
    });
    EXPECT_EQ(closing.size(), 1u);
    EXPECT_TRUE(hotKeyFree);
    EXPECT_NE(answered, 0);  // at once, not from inside a box of its own
    EXPECT_TRUE(HoldsSound(prefix + L"1.wav"));
    EXPECT_FALSE(FileExists(prefix + L"2.wav"));

    // The session is to end while the stop's box waits: no. It ends all the
    // same: the recording is saved behind the box, which then goes on as
    // saved, and the high-quality recording reaches the encoder, through a
    // file beside its MP3.
    ShowRecorder();
    form->sRBhigh->SetChecked(true);
    EXPECT_TRUE(SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, 0));
    HotKey('R');
    RecordFor(1);
    bool mp3WrittenInPlace = false;
    form->Lame->OnProgress = [&](TObject*, uint16_t) { mp3WrittenInPlace |= FileExists(prefix + L"2.mp3"); };
    DWORD_PTR mayEnd = 1;
    const HWND window2 = form->Handle();
    WhileHeld(prefix + L"2.wav", {IDCANCEL}, [&] { HotKey('S'); }, [&] {
        SendMessageTimeoutW(window2, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000, &mayEnd);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window2, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 20000, &ignored);
    });
    EXPECT_EQ(mayEnd, 0u);
    WaitForEncoding();
    EXPECT_FALSE(mp3WrittenInPlace);
    EXPECT_GT(FileSizeOf(prefix + L"2.mp3"), 1000);
    EXPECT_FALSE(FileExists(prefix + L"2.wav"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(RecorderHarness, NoRecordingIsDroppedByAFailedSaveOrTheSessionsEndWithoutTheUsersWord)
{
    const String prefix = MiddleRecordingTo(L"recorder_unsaved");
    // The stop's save fails while another program holds the WAV: the box
    // names the file and the system's reason, and Retry saves the sound.
    const auto stop = WhileHeld(prefix + L"1.wav", {IDRETRY}, [&] { HotKey('S'); });
    ASSERT_EQ(stop.size(), 1u);
    EXPECT_EQ(stop[0].rfind(L"The recording could not be saved to " + prefix + L"1.wav:\n", 0), 0u) << ToUtf8(stop[0]);
    EXPECT_GT(stop[0].find(L"\n\nRetry"), stop[0].find(L":\n") + 3) << ToUtf8(stop[0]);  // a reason between
    EXPECT_TRUE(HoldsSound(prefix + L"1.wav"));
    EXPECT_TRUE(IdleButtons());
    EXPECT_EQ(form->IRecTime->Caption(), L"OK!");

    // Ctrl+R while recording: only the user's Yes drops the recording, and
    // the next one starts.
    HotKey('R');
    RecordFor(1);
    EXPECT_EQ(WhileHeld(prefix + L"2.wav", {IDCANCEL, IDYES}, [&] { HotKey('R'); }).size(), 2u);
    EXPECT_EQ(FileSizeOf(prefix + L"2.wav"), 44);
    EXPECT_TRUE(form->Recording());
    EXPECT_EQ(form->CurrentFileName(), prefix + L"3.wav");

    // The session ends: the running recording is saved first, and nothing
    // starts after.
    RecordFor(1);
    EXPECT_TRUE(SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, 0));
    SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(form->Recording());
    EXPECT_TRUE(HoldsSound(prefix + L"3.wav"));
    HotKey('R');
    EXPECT_FALSE(form->Recording());
    EXPECT_TRUE(errors.empty());
}
