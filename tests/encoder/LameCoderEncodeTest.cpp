// Real encodes through lame_enc beside the test program. The tone file is
// left in the working directory for the native decoder check that runs
// after these tests (check_decoded_tone.sh).
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "FileSystem.h"
#include "LameCoder.h"
#include "LameLibrary.h"
#include "TempDir.h"
#include "WavFiles.h"

namespace {

bool StartsWithFrameSync(const std::string& mp3)
{
    return mp3.size() > 4 && static_cast<uint8_t>(mp3[0]) == 0xFF && (static_cast<uint8_t>(mp3[1]) & 0xE0) == 0xE0;
}

}  // namespace

TEST(LameCoderEncode, LibraryIsFoundBesideTheProgramAndReportsItsVersion)
{
    ASSERT_TRUE(LameLibraryAvailable()) << ToUtf8(LameLibraryError());
    auto coder = MakeOwned<TLameCoder>(nullptr);
    EXPECT_GE(coder->LameVersion()->DLLMajorVersion(), 1);
    EXPECT_EQ(coder->LameVersion()->MajorVersion(), 3);
}

TEST(LameCoderEncode, ThreeSecondToneBecomesAn128kMp3)
{
    TempDir dir;
    WriteWav(dir.File("tone440.wav"), SineSamples(440, 3.0, 44100, 2), 44100, 2);
    auto coder = MakeOwned<TLameCoder>(nullptr);
    coder->InputFiles()->Add(dir.File("tone440.wav"));
    const String output = (std::filesystem::current_path() / "tone440.mp3").wstring();
    coder->OutputFiles()->Add(output);
    int progress = 0;
    uint16_t last = 0;
    coder->OnProgress = [&](TObject*, uint16_t p) {
        ++progress;
        last = p;
    };
    coder->ProcessFiles();

    const std::string mp3 = ReadFileBytes(output);
    EXPECT_TRUE(StartsWithFrameSync(mp3));
    // 128 kbit/s for 3 s is 48000 bytes, give or take the encoder's delay.
    EXPECT_NEAR(static_cast<double>(mp3.size()), 48000.0, 3000.0);
    EXPECT_EQ(last, 100);
    EXPECT_GT(progress, 100);
    EXPECT_GT(coder->BufSize(), coder->NumSamples() * 2);
}

TEST(LameCoderEncode, TwoFilesInOneRunAndAnEmptyRecording)
{
    TempDir dir;
    WriteWav(dir.File("one.wav"), SineSamples(1000, 1.0, 44100, 2), 44100, 2);
    WriteWav(dir.File("two.wav"), std::string(), 44100, 2);
    auto coder = MakeOwned<TLameCoder>(nullptr);
    TStringList inputs{dir.File("one.wav"), dir.File("two.wav")};
    coder->SetInputFiles(&inputs);
    int progress = 0;
    coder->OnProgress = [&](TObject*, uint16_t) { ++progress; };
    coder->ProcessFiles();

    EXPECT_NEAR(static_cast<double>(FileSizeOf(dir.File("one.mp3"))), 16000.0, 2000.0);
    // Only what the flush gives: at most a few frames.
    EXPECT_LT(FileSizeOf(dir.File("two.mp3")), 2000);
    EXPECT_GE(FileSizeOf(dir.File("two.mp3")), 0);
    EXPECT_EQ(progress, static_cast<int>((44100 * 4 + 4607) / 4608));
}

TEST(LameCoderEncode, CancelKeepsThePartOfTheMp3AlreadyWritten)
{
    TempDir dir;
    WriteWav(dir.File("long.wav"), SineSamples(440, 5.0, 44100, 2), 44100, 2);
    auto coder = MakeOwned<TLameCoder>(nullptr);
    coder->InputFiles()->Add(dir.File("long.wav"));
    coder->OutputFiles()->Add(dir.File("long.mp3"));
    bool ended = false;
    coder->OnProgress = [&](TObject*, uint16_t p) {
        if (p >= 50) coder->CancelProcess();
    };
    coder->OnEndProcess = [&](TObject*) { ended = true; };
    coder->ProcessFiles();
    EXPECT_FALSE(ended);
    const int64_t size = FileSizeOf(dir.File("long.mp3"));
    EXPECT_GT(size, 30000);
    EXPECT_LT(size, 50000);
    EXPECT_TRUE(RemoveFile(dir.File("long.mp3")));
}

TEST(LameCoderEncode, MonoWavsOfTheRecorderAreEncodedAtTheirOwnRateInMonoFrames)
{
    TempDir dir;
    // An odd number of 16-bit samples at 22.05 kHz, and 8-bit ones at 11.025 kHz.
    WriteWav(dir.File("middle.wav"), SineSamples(440, 1.0, 22050, 1) + std::string(2, '\0'), 22050, 1);
    std::string low = SineSamples(440, 1.0, 11025, 1);
    std::string bytes;
    for (size_t i = 1; i < low.size(); i += 2) bytes += static_cast<char>(static_cast<uint8_t>(low[i]) ^ 0x80);
    WriteWav(dir.File("low.wav"), bytes, 11025, 1, 8);
    auto coder = MakeOwned<TLameCoder>(nullptr);
    TStringList inputs{dir.File("middle.wav"), dir.File("low.wav")};
    coder->SetInputFiles(&inputs);
    coder->ProcessFiles();

    // Frame header: version bits, sample rate index, channel mode.
    auto frameHeader = [&](const char* name) {
        const std::string mp3 = ReadFileBytes(dir.File(name));
        EXPECT_TRUE(StartsWithFrameSync(mp3)) << name;
        if (mp3.size() < 4) return std::tuple{-1, -1, -1};
        const auto b = [&](int i) { return static_cast<uint8_t>(mp3[static_cast<size_t>(i)]); };
        return std::tuple{(b(1) >> 3) & 3, (b(2) >> 2) & 3, b(3) >> 6};
    };
    EXPECT_EQ(frameHeader("middle.mp3"), (std::tuple{2, 0, 3}));  // MPEG-2, 22050 Hz, mono
    EXPECT_EQ(frameHeader("low.mp3"), (std::tuple{0, 0, 3}));     // MPEG-2.5, 11025 Hz, mono
}

TEST(LameCoderEncode, AThrowingHandlerLeavesNoStreamOfTheLibraryBehind)
{
    TempDir dir;
    WriteWav(dir.File("a.wav"), SineSamples(440, 0.2, 44100, 2), 44100, 2);
    auto coder = MakeOwned<TLameCoder>(nullptr);
    coder->InputFiles()->Add(dir.File("a.wav"));
    coder->OutputFiles()->Add(dir.File("a.mp3"));
    // More runs than the library has streams.
    coder->OnBeginFile = [](TObject*, uint16_t, const String&) { throw std::runtime_error("handler"); };
    for (int run = 0; run < 70; ++run) EXPECT_THROW(coder->ProcessFiles(), std::runtime_error);
    coder->OnBeginFile = nullptr;
    coder->ProcessFiles();
    EXPECT_GT(FileSizeOf(dir.File("a.mp3")), 1000);
}
