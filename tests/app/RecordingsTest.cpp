#include <gtest/gtest.h>

#include <tuple>

#include "FileSystem.h"
#include "Recordings.h"
#include "TempDir.h"

TEST(FreeRecordingName, SkipsNumbersWhoseMp3OrWavExists)
{
    TempDir dir;
    const String prefix = dir.File("take");
    EXPECT_EQ(FreeRecordingName(prefix), prefix + L"1.wav");

    WriteFileBytes(prefix + L"1.mp3", "x");
    WriteFileBytes(prefix + L"2.mp3", "x");
    EXPECT_EQ(FreeRecordingName(prefix), prefix + L"3.wav");

    // A middle- or low-quality recording keeps only its WAV file.
    WriteFileBytes(prefix + L"3.wav", "x");
    WriteFileBytes(prefix + L"5.wav", "x");
    EXPECT_EQ(FreeRecordingName(prefix), prefix + L"4.wav");

    // Other names sharing the prefix do not count; an empty prefix is the
    // number alone.
    WriteFileBytes(prefix + L"4.txt", "x");
    WriteFileBytes(prefix + L"04.wav", "x");
    EXPECT_EQ(FreeRecordingName(prefix), prefix + L"4.wav");
    EXPECT_EQ(FreeRecordingName(String()).substr(0, 1), L"1");
}

TEST(RecordingBook, OnlyHighQualityIsEncodedAndOnlyItsWavIsDeleted)
{
    TempDir dir;
    const String prefix = dir.File("take");
    TRecordingBook book;
    EXPECT_EQ(book.CurrentFileName(), L"");

    const String high = book.BeginRecording(prefix, TRecordingQuality::High);
    EXPECT_EQ(high, prefix + L"1.wav");
    WriteFileBytes(high, "recorded");
    String wav, mp3;
    ASSERT_TRUE(book.TakeForEncoding(wav, mp3));
    EXPECT_EQ(wav, high);
    EXPECT_EQ(mp3, prefix + L"1.mp3");
    EXPECT_EQ(book.CurrentFileName(), mp3);
    EXPECT_FALSE(book.TakeForEncoding(wav, mp3));  // handed over once

    // The encoding failed: the WAV stays, and the next recording, a
    // middle-quality one, is not encoded because of it.
    EXPECT_TRUE(book.EncodingPending());
    EXPECT_TRUE(book.EncodingFailed(high));
    EXPECT_FALSE(book.EncodingPending());
    EXPECT_TRUE(FileExists(high));
    const String middle = book.BeginRecording(prefix, TRecordingQuality::Middle);
    EXPECT_EQ(middle, prefix + L"2.wav");
    WriteFileBytes(middle, "kept");
    EXPECT_FALSE(book.TakeForEncoding(wav, mp3));

    // A finished encoding deletes its own WAV, nothing else; a high-quality
    // recording started meanwhile is still encoded when it stops.
    const String next = book.BeginRecording(prefix, TRecordingQuality::High);
    EXPECT_EQ(next, prefix + L"3.wav");
    WriteFileBytes(next, "recorded");
    ASSERT_TRUE(book.TakeForEncoding(wav, mp3));
    WriteFileBytes(mp3, "encoded");
    const String during = book.BeginRecording(prefix, TRecordingQuality::High);
    EXPECT_TRUE(book.Encoded(next));
    EXPECT_FALSE(FileExists(next));
    EXPECT_TRUE(FileExists(middle));
    EXPECT_TRUE(FileExists(high));
    EXPECT_TRUE(book.ConvertAfterRecording());
    ASSERT_TRUE(book.TakeForEncoding(wav, mp3));
    EXPECT_EQ(wav, during);

    // The convert command's files are no recordings: nothing is deleted.
    WriteFileBytes(ChangeFileExt(middle, L".mp3"), "converted");
    EXPECT_FALSE(book.Encoded(middle));
    EXPECT_FALSE(book.EncodingFailed(middle));
    EXPECT_TRUE(FileExists(middle));
}

TEST(RecordingFormat, TheThreeQualities)
{
    const TRecordingFormat high = FormatOf(TRecordingQuality::High);
    const TRecordingFormat middle = FormatOf(TRecordingQuality::Middle);
    const TRecordingFormat low = FormatOf(TRecordingQuality::Low);
    EXPECT_EQ((std::tuple{high.Channels, high.BitsPerSample, high.SamplesPerSecond, high.EncodeOnStop}),
              (std::tuple{uint16_t{2}, uint16_t{16}, 44100, true}));
    EXPECT_EQ((std::tuple{middle.Channels, middle.BitsPerSample, middle.SamplesPerSecond, middle.EncodeOnStop}),
              (std::tuple{uint16_t{1}, uint16_t{16}, 22050, false}));
    EXPECT_EQ((std::tuple{low.Channels, low.BitsPerSample, low.SamplesPerSecond, low.EncodeOnStop}),
              (std::tuple{uint16_t{1}, uint16_t{8}, 11025, false}));
}
