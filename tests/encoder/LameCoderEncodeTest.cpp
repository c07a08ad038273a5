// Real encodes through lame_enc beside the test program. The tone file is
// left in the working directory for the native decoder check that runs
// after these tests (check_decoded_tone.sh).
#include <gtest/gtest.h>

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
