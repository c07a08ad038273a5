// A machine without any sound device (the harness gives ALSA no PCM).
#include <gtest/gtest.h>

#include "CreateWav.h"
#include "FileSystem.h"
#include "MPlayer.h"
#include "TempDir.h"

TEST(NoSoundDevice, RecordingFailsWithTheSystemTextInsteadOfSavingSilence)
{
    TempDir dir;
    const String file = dir.File("nothing.wav");
    createwav(2, 16, 44100, file);
    TOwned<TMediaPlayer> player = MakeOwned<TMediaPlayer>(nullptr);
    player->SetFileName(file);
    player->Open();
    wchar_t expected[MAXERRORLENGTH] = {};
    ASSERT_TRUE(mciGetErrorStringW(MCIERR_WAVE_INPUTSUNSUITABLE, expected, MAXERRORLENGTH));
    try {
        player->StartRecording();
        ADD_FAILURE() << "recording started without a device";
    } catch (const EMCIDeviceError& error) {
        EXPECT_EQ(error.Message(), String(expected));
        std::printf("no sound device: \"%s\"\n", error.what());
    }
    player->Close();
    EXPECT_EQ(FileSizeOf(file), 44);
}
