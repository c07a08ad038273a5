// Recording and playback through MCI with the test sound device of the
// harness (a 440 Hz tone on capture). The recordings stay in the artifacts
// folder, where check_recorded_tone.sh examines them natively.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "CreateWav.h"
#include "FileSystem.h"
#include "MPlayer.h"
#include "PumpUntil.h"
#include "TempDir.h"
#include "WavFiles.h"
#include "WaveHeader.h"

namespace {

String ArtifactFile(const std::wstring& name) { return (std::filesystem::current_path() / name).wstring(); }

TWaveHeader HeaderOf(const String& fileName)
{
    const std::string bytes = ReadFileBytes(fileName);
    TWaveHeader header{};
    if (bytes.size() >= sizeof header) std::memcpy(&header, bytes.data(), sizeof header);
    return header;
}

// An item of the open device's status, lengths and positions in
// milliseconds (the wave device's own time format); 0 when it cannot say.
DWORD_PTR DeviceStatus(const TMediaPlayer& player, DWORD item)
{
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    if (mciSendCommandW(player.DeviceID(), MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status))) return 0;
    return status.dwReturn;
}

struct Quality {
    const wchar_t* file;
    uint16_t channels, bits;
    int32_t rate;
};

class MediaPlayerTest : public ::testing::Test {
protected:
    TOwned<TMediaPlayer> player = MakeOwned<TMediaPlayer>(nullptr);
};

}  // namespace

TEST_F(MediaPlayerTest, RecordsInTheFormatOfTheHeaderTheFileHolds)
{
    const Quality qualities[] = {{L"recorded_high.wav", 2, 16, 44100},
                                 {L"recorded_middle.wav", 1, 16, 22050},
                                 {L"recorded_low.wav", 1, 8, 11025}};
    for (const Quality& q : qualities) {
        SCOPED_TRACE(ToUtf8(q.file));
        const String file = ArtifactFile(q.file);
        createwav(q.channels, q.bits, q.rate, file);
        player->SetDeviceType(TMPDeviceTypes::dtAutoSelect);
        player->SetFileName(file);
        player->Open();
        player->StartRecording();
        PumpUntil([&] { return DeviceStatus(*player, MCI_STATUS_POSITION) >= 1000; }, 10000, "a second recorded");
        player->Stop();
        player->Save();
        player->Close();
        EXPECT_EQ(player->DeviceID(), 0u);

        const TWaveHeader header = HeaderOf(file);
        EXPECT_EQ(header.Channels, q.channels);
        EXPECT_EQ(header.BitsPerSample, q.bits);
        EXPECT_EQ(header.SampleRate, static_cast<uint32_t>(q.rate));
        // At least a second of sound; the test device may deliver faster
        // than real time, so only a lower bound holds.
        EXPECT_GE(FileSizeOf(file), int64_t{44} + header.BytesPerSecond);
    }
}

TEST_F(MediaPlayerTest, CommandsWithoutAnOpenDeviceRaiseNoMciDeviceOpen)
{
    EXPECT_NO_THROW(player->Close());
    for (auto command : {&TMediaPlayer::StartRecording, &TMediaPlayer::Stop, &TMediaPlayer::Save, &TMediaPlayer::Play}) {
        try {
            (player.get()->*command)();
            ADD_FAILURE() << "no error";
        } catch (const EMCIDeviceError& error) {
            EXPECT_EQ(error.Message(), L"No MCI device open");
        }
    }
}

TEST_F(MediaPlayerTest, OpenFailureCarriesTheSystemTextAndLeavesNoDevice)
{
    TempDir dir;
    for (const String& name : {dir.File("missing.wav"), String()}) {
        player->SetFileName(name);
        try {
            player->Open();
            ADD_FAILURE() << "opened " << ToUtf8(name);
        } catch (const EMCIDeviceError& error) {
            EXPECT_FALSE(error.Message().empty());
            EXPECT_NE(error.Message(), L"No MCI device open");
        }
        EXPECT_EQ(player->DeviceID(), 0u);
    }
}

TEST_F(MediaPlayerTest, PlaysAWavFileAndAReopenReplacesTheDevice)
{
    TempDir dir;
    const String file = dir.File("tone.wav");
    WriteWav(file, SineSamples(440, 2, 22050, 1), 22050, 1);
    player->SetFileName(file);
    player->Open();
    player->Play();
    PumpUntil([&] { return DeviceStatus(*player, MCI_STATUS_POSITION) > 0; }, 5000, "the playing under way");
    player->Stop();
    player->Open();  // closes the playing device first
    player->Play();
    player->Close();
    EXPECT_EQ(player->DeviceID(), 0u);
    // The file is played, never written.
    EXPECT_EQ(FileSizeOf(file), int64_t{44 + 2 * 22050 * 2});
}

TEST_F(MediaPlayerTest, OpeningAnotherFileSavesTheRecordingHeldUnsavedAndCloseDiscardsIt)
{
    TempDir dir;
    const String first = dir.File("first.wav"), second = dir.File("second.wav"), third = dir.File("third.wav");
    for (const String& file : {first, second, third}) createwav(1, 16, 22050, file);
    player->SetFileName(first);
    player->Open();
    const auto recordSome = [&] {
        player->StartRecording();
        PumpUntil([&] { return DeviceStatus(*player, MCI_STATUS_POSITION) >= 100; }, 5000, "a tenth of a second");
    };
    recordSome();
    player->SetFileName(second);
    player->Open();
    EXPECT_GT(FileSizeOf(first), 44 + 4000);

    recordSome();
    player->Close();
    EXPECT_EQ(FileSizeOf(second), 44);
    player->SetFileName(third);
    player->Open();  // nothing held any more
    player->Close();
    EXPECT_EQ(FileSizeOf(second), 44);
}

TEST(EmptyRecordingFormat, OnlyAWavWithAnEmptyDataChunkCounts)
{
    TempDir dir;
    WAVEFORMATEX format{};
    createwav(1, 8, 11025, dir.File("empty.wav"));
    ASSERT_TRUE(ReadEmptyRecordingFormat(dir.File("empty.wav"), format));
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 11025u);
    EXPECT_EQ(format.nAvgBytesPerSec, 11025u);
    EXPECT_EQ(format.nBlockAlign, 1);
    EXPECT_EQ(format.wBitsPerSample, 8);

    WriteWav(dir.File("full.wav"), SineSamples(440, 0.1, 11025, 1), 11025, 1);
    WriteFileBytes(dir.File("text.wav"), "RIFF and some text that is no wave file");
    WriteFileBytes(dir.File("short.wav"), std::string("RIFF\x24\0\0\0WAVEfmt ", 16));
    for (const char* name : {"full.wav", "text.wav", "short.wav", "missing.wav"})
        EXPECT_FALSE(ReadEmptyRecordingFormat(dir.File(name), format)) << name;
}
