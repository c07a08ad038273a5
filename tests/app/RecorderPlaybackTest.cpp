// The play command on a high-quality recording, which is an MP3: the
// system's wave device plays WAV files only, so this plays through the
// system's MP3 decoder (under Wine, GStreamer's "base" and "good" plugins,
// which scripts/setup installs).
#include "RecorderHarness.h"

namespace {

constexpr DWORD_PTR kNoAnswer = ~DWORD_PTR{0};

// What the player's device answers about Item, kNoAnswer on an error.
DWORD_PTR PlayerStatus(const TMediaPlayer& player, DWORD item)
{
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    if (mciSendCommandW(player.DeviceID(), MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status)))
        return kNoAnswer;
    return status.dwReturn;
}

}  // namespace

TEST_F(RecorderHarness, TheLastHighQualityRecordingPlaysUntilStopPlay)
{
    const String prefix = ShowRecorderTakingTo(L"recorder_play");
    RecordByHotKeys(form->sRBhigh);
    ASSERT_TRUE(FileExists(prefix + L"1.mp3"));
    ASSERT_EQ(form->CurrentFileName(), prefix + L"1.mp3");

    Choose(L"Play1");
    ASSERT_NE(form->MPPlay->DeviceID(), 0u) << "the MP3 did not open";
    EXPECT_EQ(PlayerStatus(*form->MPPlay, MCI_STATUS_MODE), static_cast<DWORD_PTR>(MCI_MODE_PLAY));
    const DWORD_PTR started = PlayerStatus(*form->MPPlay, MCI_STATUS_POSITION);
    ASSERT_NE(started, kNoAnswer);
    PumpUntil(
        [&] {
            const DWORD_PTR now = PlayerStatus(*form->MPPlay, MCI_STATUS_POSITION);
            return now != kNoAnswer && now >= started + 300;
        },
        5000, "the playing position to advance by 300 ms");

    Choose(L"StopPlay1");
    EXPECT_EQ(form->MPPlay->DeviceID(), 0u);
    EXPECT_TRUE(errors.empty());
}
