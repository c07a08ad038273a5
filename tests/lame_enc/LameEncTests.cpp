// lame_enc through its five exports, as the recorder calls them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include "Lame_dll.h"

namespace {

constexpr int32_t kStereo = 0, kJointStereo = 1, kDualChannel = 2, kMono = 3;

TBECONFIG Config(uint32_t rate = 44100, int32_t mode = kJointStereo, uint32_t bitrate = 128)
{
    TBECONFIG config{};
    config.Format.dwConfig = BE_CONFIG_LAME;
    config.Format.LHV1.dwSampleRate = rate;
    config.Format.LHV1.nMode = mode;
    config.Format.LHV1.dwBitrate = bitrate;
    return config;
}

struct Stream {
    explicit Stream(TBECONFIG config) : result(beInitStream(&config, &samples, &bufferSize, &handle)) {}
    ~Stream() { beCloseStream(handle); }

    // All values in calls of the most values allowed, then the flush. The
    // output buffer is exactly bufferSize, so an overrun shows under ASan.
    std::vector<uint8_t> Encode(const std::vector<int16_t>& values)
    {
        std::vector<uint8_t> mp3, buffer(bufferSize);
        uint32_t count = 0;
        const auto append = [&](uint32_t result) {
            EXPECT_EQ(result, BE_ERR_SUCCESSFUL);
            EXPECT_LE(count, bufferSize);
            mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + std::min(count, bufferSize));
        };
        for (size_t at = 0; at < values.size(); at += 2 * samples) {
            const auto n = uint32_t(std::min<size_t>(2 * samples, values.size() - at));
            append(beEncodeChunk(handle, n, values.data() + at, buffer.data(), &count));
        }
        append(beDeinitStream(handle, buffer.data(), &count));
        return mp3;
    }

    uint32_t samples = 0, bufferSize = 0;
    HBE_STREAM handle = 0;
    uint32_t result;
};

uint32_t InitAndClose(TBECONFIG config) { return Stream(config).result; }

std::vector<int16_t> Tone(uint32_t rate, double seconds, int channels)
{
    std::vector<int16_t> values(size_t(rate * seconds) * channels);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = int16_t(12000 * std::sin(2 * std::numbers::pi * 440.0 * double(i / channels) / rate));
    return values;
}

std::vector<int16_t> FullScaleNoise(size_t count)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::vector<int16_t> values(count);
    for (int16_t& v : values) v = int16_t(value(random));
    return values;
}

bool StartsWithFrameSync(const std::vector<uint8_t>& mp3)
{
    return mp3.size() >= 4 && mp3[0] == 0xFF && (mp3[1] & 0xE0) == 0xE0;
}

}  // namespace

TEST(LameEncVersion, ReportsVersionsAndATerminatedHomepage)
{
    TBEVersion version;
    std::fill_n(version.zHomepage, sizeof version.zHomepage, 'x');
    ASSERT_EQ(beVersion(&version), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(version.byDLLMajorVersion, 1);
    EXPECT_EQ(version.byMajorVersion, 3);  // LAME 3.x
    EXPECT_TRUE(version.byMonth >= 1 && version.byMonth <= 12 && version.byDay >= 1 && version.byDay <= 31);
    char* homepageEnd = version.zHomepage + sizeof version.zHomepage;
    EXPECT_NE(std::find(version.zHomepage, homepageEnd, '\0'), homepageEnd);
    EXPECT_NE(beVersion(nullptr), BE_ERR_SUCCESSFUL);
}

// Mode, rate and bitrate land in the frame headers; the chunk follows the frame size.
TEST(LameEncInit, ModeRateAndBitrateReachTheFrames)
{
    struct Case { uint32_t rate, resampleTo; int32_t mode; uint32_t bitrate, chunk; int headerMode, version, index; };
    const Case cases[] = {
        {44100, 0, kStereo, 64, 1152, 0, 3, 5},      {44100, 0, kJointStereo, 128, 1152, 1, 3, 9},
        {44100, 0, kDualChannel, 320, 1152, 2, 3, 14}, {44100, 0, kMono, 16, 1152, 3, 3, 1},  // 16 -> 32 kbit/s
        {22050, 0, kJointStereo, 320, 576, 1, 2, 14},  // 320 -> 160 kbit/s, MPEG-2's highest
        {8000, 0, kMono, 128, 576, 3, 0, 8},           // 128 -> 64 kbit/s, MPEG-2.5
        {44100, 22050, kJointStereo, 64, 576, 1, 2, 8}, {96000, 48000, kStereo, 64, 1152, 0, 3, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz to " << c.resampleTo << ", mode " << c.mode);
        TBECONFIG config = Config(c.rate, c.mode, c.bitrate);
        config.Format.LHV1.dwReSampleRate = c.resampleTo;
        Stream stream(config);
        ASSERT_EQ(stream.result, BE_ERR_SUCCESSFUL);
        EXPECT_NE(stream.handle, 0u);
        EXPECT_EQ(stream.samples, c.chunk);
        const std::vector<uint8_t> mp3 = stream.Encode(Tone(c.rate, 0.5, c.mode == kMono ? 1 : 2));
        ASSERT_TRUE(StartsWithFrameSync(mp3));
        EXPECT_EQ(mp3[3] >> 6, c.headerMode);
        EXPECT_EQ((mp3[1] >> 3) & 3, c.version);
        EXPECT_EQ(mp3[2] >> 4, c.index);
    }
}

TEST(LameEncInit, RefusesWhatCannotBeEncoded)
{
    const auto with = [](auto change) { TBECONFIG config = Config(); change(config.Format.LHV1); return config; };
    TBECONFIG notLhv1 = Config();
    notLhv1.Format.dwConfig = 0;
    EXPECT_EQ(InitAndClose(notLhv1), BE_ERR_INVALID_FORMAT);

    const TBECONFIG refused[] = {
        with([](TLHV1& c) { c.nMode = 4; }),           with([](TLHV1& c) { c.nMode = -1; }),
        with([](TLHV1& c) { c.dwSampleRate = 0; }),    with([](TLHV1& c) { c.dwSampleRate = 0xFFFFFFFF; }),
        with([](TLHV1& c) { c.dwSampleRate = 96000; }),  // MP3 has no such rate, and none was asked to resample
        with([](TLHV1& c) { c.dwReSampleRate = 12345; }),
        with([](TLHV1& c) { c.dwBitrate = 0; }),       with([](TLHV1& c) { c.dwBitrate = 129; }),
        with([](TLHV1& c) { c.dwBitrate = 1000; }),    with([](TLHV1& c) { c.bEnableVBR = 1; c.dwMaxBitrate = 999; }),
    };
    for (const TBECONFIG& config : refused) {
        const TLHV1& c = config.Format.LHV1;
        SCOPED_TRACE(testing::Message() << "rate " << +c.dwSampleRate << "/" << +c.dwReSampleRate << " mode "
                                        << +c.nMode << " bitrate " << +c.dwBitrate << "/" << +c.dwMaxBitrate);
        EXPECT_EQ(InitAndClose(config), BE_ERR_INVALID_FORMAT_PARAMETERS);
    }

    // Quality values out of range are read leniently.
    EXPECT_EQ(InitAndClose(with([](TLHV1& c) { c.nQuality = 0xFFFFFFFF; })), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(InitAndClose(with([](TLHV1& c) { c.bEnableVBR = 1; c.nVBRQuality = 42; })), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(InitAndClose(with([](TLHV1& c) { c.bEnableVBR = 1; c.nVBRQuality = -3; })), BE_ERR_SUCCESSFUL);

    TBECONFIG config = Config();
    uint32_t samples, bufferSize;
    HBE_STREAM handle;
    EXPECT_EQ(beInitStream(nullptr, &samples, &bufferSize, &handle), BE_ERR_INVALID_FORMAT);
    EXPECT_NE(beInitStream(&config, nullptr, &bufferSize, &handle), BE_ERR_SUCCESSFUL);
    EXPECT_NE(beInitStream(&config, &samples, nullptr, &handle), BE_ERR_SUCCESSFUL);
    EXPECT_NE(beInitStream(&config, &samples, &bufferSize, nullptr), BE_ERR_SUCCESSFUL);
}

TEST(LameEncHandles, ClosedAndUnknownHandlesAreRefused)
{
    Stream first(Config()), second(Config());
    ASSERT_EQ(first.result, BE_ERR_SUCCESSFUL);
    ASSERT_EQ(second.result, BE_ERR_SUCCESSFUL);
    EXPECT_NE(first.handle, second.handle);
    const HBE_STREAM closed = first.handle;
    ASSERT_EQ(beCloseStream(closed), BE_ERR_SUCCESSFUL);
    EXPECT_NE(Stream(Config()).handle, closed);  // a stale handle never reaches a new stream

    std::vector<int16_t> values(2 * second.samples);
    std::vector<uint8_t> out(second.bufferSize);
    uint32_t count = 1;
    for (HBE_STREAM bad : {closed, HBE_STREAM(0), HBE_STREAM(0xFFFFFFFF)}) {
        EXPECT_EQ(beEncodeChunk(bad, 2, values.data(), out.data(), &count), BE_ERR_INVALID_HANDLE);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(beDeinitStream(bad, out.data(), &count), BE_ERR_INVALID_HANDLE);
        EXPECT_EQ(beCloseStream(bad), BE_ERR_INVALID_HANDLE);
    }
    EXPECT_EQ(beEncodeChunk(second.handle, uint32_t(values.size()), values.data(), out.data(), &count),
              BE_ERR_SUCCESSFUL);
}

TEST(LameEncHandles, FullTableRefusesUntilAStreamCloses)
{
    std::vector<std::unique_ptr<Stream>> streams;
    while (streams.size() < 1000) {
        streams.push_back(std::make_unique<Stream>(Config()));
        if (streams.back()->result != BE_ERR_SUCCESSFUL) break;
    }
    EXPECT_EQ(streams.back()->result, BE_ERR_NO_MORE_HANDLES);
    streams.pop_back();
    streams.pop_back();
    EXPECT_EQ(InitAndClose(Config()), BE_ERR_SUCCESSFUL);
}

TEST(LameEncHandles, StreamsOnSeveralThreadsDoNotInterfere)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 10; ++i) {
                Stream stream(Config());
                EXPECT_EQ(stream.result, BE_ERR_SUCCESSFUL);
                EXPECT_TRUE(StartsWithFrameSync(stream.Encode(Tone(44100, 0.1, 2))));
            }
        });
    for (std::thread& thread : threads) thread.join();
}

TEST(LameEncChunks, CountsMustBeWholeFramesWithinOneChunk)
{
    Stream stereo(Config(44100, kStereo)), mono(Config(44100, kMono));
    ASSERT_EQ(stereo.result, BE_ERR_SUCCESSFUL);
    ASSERT_EQ(mono.result, BE_ERR_SUCCESSFUL);
    const uint32_t most = 2 * stereo.samples;
    std::vector<int16_t> values(most + 2);
    std::vector<uint8_t> out(std::max(stereo.bufferSize, mono.bufferSize));
    uint32_t count = 99;

    EXPECT_EQ(beEncodeChunk(stereo.handle, 7, values.data(), out.data(), &count), BE_ERR_INVALID_SAMPLE_COUNT);
    EXPECT_EQ(beEncodeChunk(mono.handle, 7, values.data(), out.data(), &count), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(beEncodeChunk(mono.handle, most, values.data(), out.data(), &count), BE_ERR_SUCCESSFUL);
    for (const Stream* stream : {&stereo, &mono}) {
        EXPECT_EQ(beEncodeChunk(stream->handle, most + 2, values.data(), out.data(), &count), BE_ERR_BUFFER_TOO_SMALL);
        EXPECT_EQ(beEncodeChunk(stream->handle, 0, nullptr, out.data(), &count), BE_ERR_SUCCESSFUL);
        EXPECT_EQ(count, 0u);
        EXPECT_NE(beEncodeChunk(stream->handle, 2, nullptr, out.data(), &count), BE_ERR_SUCCESSFUL);
        EXPECT_NE(beEncodeChunk(stream->handle, 2, values.data(), nullptr, &count), BE_ERR_SUCCESSFUL);
        EXPECT_NE(beEncodeChunk(stream->handle, 2, values.data(), out.data(), nullptr), BE_ERR_SUCCESSFUL);
        EXPECT_NE(beDeinitStream(stream->handle, nullptr, &count), BE_ERR_SUCCESSFUL);
    }

    // Once flushed, the stream takes no more audio and no second flush.
    ASSERT_EQ(beDeinitStream(stereo.handle, out.data(), &count), BE_ERR_SUCCESSFUL);
    EXPECT_NE(beEncodeChunk(stereo.handle, 2, values.data(), out.data(), &count), BE_ERR_SUCCESSFUL);
    EXPECT_NE(beDeinitStream(stereo.handle, out.data(), &count), BE_ERR_SUCCESSFUL);
}

// The worst input at each rate family's highest bitrate, mono at twice the
// samples per channel, an upsampled stream and every quality must fit the
// promised buffer: LAME refuses a call whose output would not fit.
TEST(LameEncOutput, FullScaleNoiseFitsTheBuffer)
{
    struct Case { uint32_t rate, resampleTo; int32_t mode; uint32_t bitrate, quality; bool vbr; };
    const Case cases[] = {{44100, 0, kStereo, 320, 2, false},  {32000, 0, kDualChannel, 320, 1, false},
                          {48000, 0, kMono, 320, 0, false},    {16000, 0, kMono, 160, 3, false},
                          {8000, 0, kStereo, 64, 3, false},    {8000, 48000, kMono, 320, 1, false},
                          {32000, 0, kJointStereo, 0, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz to " << c.resampleTo << ", mode " << c.mode);
        TBECONFIG config = Config(c.rate, c.mode, c.bitrate);
        config.Format.LHV1.dwReSampleRate = c.resampleTo;
        config.Format.LHV1.nQuality = c.quality;
        config.Format.LHV1.bEnableVBR = c.vbr;
        Stream stream(config);
        ASSERT_EQ(stream.result, BE_ERR_SUCCESSFUL);
        EXPECT_TRUE(StartsWithFrameSync(stream.Encode(FullScaleNoise(20 * 2 * stream.samples))));
    }
}

TEST(LameEncOutput, ConstantBitrateMatchesTheDuration)
{
    Stream stream(Config(44100, kJointStereo, 128));
    ASSERT_EQ(stream.result, BE_ERR_SUCCESSFUL);
    const double seconds = 10, bytes = 128000 / 8 * seconds;
    const std::vector<uint8_t> mp3 = stream.Encode(Tone(44100, seconds, 2));
    EXPECT_TRUE(StartsWithFrameSync(mp3));
    EXPECT_NEAR(double(mp3.size()), bytes, bytes * 0.02);
}

// The tag frame is reserved in front of the audio only when VBR asks for it.
TEST(LameEncOutput, VbrHeaderFrameLeadsOnlyVbrStreams)
{
    const std::vector<int16_t> tone = Tone(44100, 2, 2);
    const auto encode = [&](bool vbr, bool header) {
        TBECONFIG config = Config();
        config.Format.LHV1.bEnableVBR = vbr;
        config.Format.LHV1.dwMaxBitrate = 320;
        config.Format.LHV1.bWriteVBRHeader = header;
        Stream stream(config);
        EXPECT_EQ(stream.result, BE_ERR_SUCCESSFUL);
        return stream.Encode(tone);
    };
    const std::vector<uint8_t> plain = encode(true, false), tagged = encode(true, true);
    ASSERT_TRUE(StartsWithFrameSync(plain));
    ASSERT_TRUE(StartsWithFrameSync(tagged));
    ASSERT_GT(tagged.size(), plain.size());
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), tagged.end() - std::ptrdiff_t(plain.size())));
    EXPECT_EQ(encode(false, true), encode(false, false));
}

TEST(LameEncOutput, FlagsShowInTheFrameHeader)
{
    enum Flag { Crc, Private, Copyright, Original };
    for (int flag : {Crc, Private, Copyright, Original}) {
        SCOPED_TRACE(testing::Message() << "flag " << flag);
        TBECONFIG config = Config();
        config.Format.LHV1.bCRC = flag == Crc ? 2 : 0;  // any non-zero value is true
        config.Format.LHV1.bPrivate = flag == Private;
        config.Format.LHV1.bCopyright = flag == Copyright;
        config.Format.LHV1.bOriginal = flag == Original;
        Stream stream(config);
        ASSERT_EQ(stream.result, BE_ERR_SUCCESSFUL);
        const std::vector<uint8_t> mp3 = stream.Encode(Tone(44100, 0.2, 2));
        ASSERT_TRUE(StartsWithFrameSync(mp3));
        EXPECT_EQ((mp3[1] & 0x01) == 0, flag == Crc);  // protection bit 0: a CRC follows
        EXPECT_EQ((mp3[2] & 0x01) != 0, flag == Private);
        EXPECT_EQ((mp3[3] & 0x08) != 0, flag == Copyright);
        EXPECT_EQ((mp3[3] & 0x04) != 0, flag == Original);
    }
}
