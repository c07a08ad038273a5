#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace std::string_literals;

#include "CreateWav.h"
#include "TempDir.h"

namespace {

std::string Le32(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string Le16(uint16_t v) { return std::string{char(v), char(v >> 8)}; }

}  // namespace

TEST(CreateWav, HighQualityHeaderByteForByte)
{
    TempDir dir;
    createwav(2, 16, 44100, dir.File("high.wav"));
    const std::string expected = std::string("RIFF") + "\x24\0\0\0"s + "WAVEfmt " + "\x10\0\0\0"s + "\x01\0"s +
                                 "\x02\0"s + "\x44\xAC\0\0"s + "\x10\xB1\x02\0"s + "\x04\0"s + "\x10\0"s + "data" +
                                 "\0\0\0\0"s;
    EXPECT_EQ(ReadFileBytes(dir.File("high.wav")), expected);
}

TEST(CreateWav, MiddleAndLowQualityFormatFields)
{
    TempDir dir;
    struct Case {
        uint16_t channels, bits;
        int32_t rate;
        uint32_t bytesPerSecond;
        uint16_t align;
    } cases[] = {{1, 16, 22050, 44100, 2}, {1, 8, 11025, 11025, 1}};
    for (const Case& c : cases) {
        createwav(c.channels, c.bits, c.rate, dir.File("q.wav"));
        const std::string bytes = ReadFileBytes(dir.File("q.wav"));
        ASSERT_EQ(bytes.size(), 44u);
        EXPECT_EQ(bytes.substr(22, 2), Le16(c.channels));
        EXPECT_EQ(bytes.substr(24, 4), Le32(static_cast<uint32_t>(c.rate)));
        EXPECT_EQ(bytes.substr(28, 4), Le32(c.bytesPerSecond));
        EXPECT_EQ(bytes.substr(32, 2), Le16(c.align));
        EXPECT_EQ(bytes.substr(34, 2), Le16(c.bits));
    }
}

TEST(CreateWav, ReplacesAnExistingFileWholeAndFailsAsAnInOutError)
{
    TempDir dir;
    WriteFileBytes(dir.File("old.wav"), std::string(100000, 'z'));
    createwav(2, 16, 44100, dir.File("old.wav"));
    EXPECT_EQ(ReadFileBytes(dir.File("old.wav")).size(), 44u);

    EXPECT_THROW(createwav(2, 16, 44100, dir.File("missing-dir/new.wav")), EInOutError);
}
