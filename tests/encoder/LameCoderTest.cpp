// The encoder component's run over a predictable stand-in library: what it
// hands the library, what it writes, the events, cancel and failures.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "FileHandle.h"

#include "FakeLame.h"
#include "FileSystem.h"
#include "LameCoder.h"
#include "TempDir.h"
#include "WavFiles.h"

namespace {

class LameCoderRun : public ::testing::Test {
protected:
    FakeLame lame;
    TempDir dir;
    TOwned<TLameCoder> coder = MakeOwned<TLameCoder>(nullptr);
    std::vector<std::string> events;

    // A WAV whose data is Bytes long, filled with a counting pattern.
    String Wav(const std::string& name, size_t bytes, uint16_t channels = 2)
    {
        std::string data(bytes, '\0');
        for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<char>(i * 7 + 1);
        const String fileName = dir.File(name);
        WriteWav(fileName, data, 44100, channels);
        return fileName;
    }

    void Add(const String& input, const String& output)
    {
        coder->InputFiles()->Add(input);
        coder->OutputFiles()->Add(output);
    }

    void RecordEvents()
    {
        coder->OnBeginProcess = [this](TObject*) { events.push_back("begin"); };
        coder->OnBeginFile = [this](TObject*, uint16_t n, const String& f) {
            events.push_back("file" + std::to_string(n) + ":" + ToUtf8(ExtractFileName(f)));
        };
        coder->OnProgress = [this](TObject*, uint16_t p) { events.push_back(std::to_string(p) + "%"); };
        coder->OnEndFile = [this](TObject*, uint16_t n, const String& f) {
            events.push_back("end" + std::to_string(n) + ":" + ToUtf8(ExtractFileName(f)));
        };
        coder->OnEndProcess = [this](TObject*) { events.push_back("done"); };
    }
};

// Full chunks for 16-bit stereo are NumSamples x 4 bytes.
constexpr size_t kChunk = 1152 * 4;

}  // namespace

TEST_F(LameCoderRun, EventsOfTwoFilesComeInOrderAndTheLastChunkIsShorter)
{
    Add(Wav("a.wav", kChunk * 2 + 100), dir.File("a.mp3"));
    Add(Wav("b.wav", kChunk), dir.File("b.mp3"));
    RecordEvents();
    coder->ProcessFiles();

    const std::vector<std::string> expected{"begin", "file0:a.wav", "49%", "98%", "100%", "end0:a.mp3",
                                            "file1:b.wav", "100%", "end1:b.mp3", "done"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{2304, 2304, 50, 2304}));
    EXPECT_EQ(lame.openStreams, 0);
    EXPECT_EQ(ReadFileBytes(dir.File("b.mp3")), std::string("C3\x00\x09", 4) + "FLUSH");
}

TEST_F(LameCoderRun, HeaderOnlyWavWritesOnlyTheFlush)
{
    Add(Wav("empty.wav", 0), dir.File("empty.mp3"));
    RecordEvents();
    coder->ProcessFiles();
    EXPECT_EQ(ReadFileBytes(dir.File("empty.mp3")), "FLUSH");
    EXPECT_TRUE(lame.chunkCounts.empty());
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "file0:empty.wav", "end0:empty.mp3", "done"}));
}

TEST_F(LameCoderRun, RawInputIsEncodedFromItsFirstByteInChunksOfTheMode)
{
    std::string raw(5000, '\0');
    raw[0] = 0x34;
    raw[1] = 0x12;
    WriteFileBytes(dir.File("raw.pcm"), raw);
    Add(dir.File("raw.pcm"), dir.File("raw.mp3"));
    coder->ProcessFiles();
    // Stereo: 2 x NumSamples bytes per chunk, i.e. NumSamples values.
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{1152, 1152, 196}));
    EXPECT_EQ(lame.firstValues.at(0), 0x1234);

    lame.chunkCounts.clear();
    coder->SetMode(MONO);
    coder->ProcessFiles();
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{576, 576, 576, 576, 196}));
}

TEST_F(LameCoderRun, ChunkSizeFollowsTheHeaderBlockAlignment)
{
    Add(Wav("mono.wav", 3000, 1), dir.File("mono.mp3"));
    coder->ProcessFiles();
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{1152, 348}));
}

TEST_F(LameCoderRun, CancelFromProgressStopsAtOnceAndKeepsWhatWasWritten)
{
    Add(Wav("a.wav", kChunk * 5), dir.File("a.mp3"));
    Add(Wav("b.wav", kChunk), dir.File("b.mp3"));
    RecordEvents();
    coder->OnProgress = [this](TObject*, uint16_t) {
        if (lame.chunkCounts.size() == 2) coder->CancelProcess();
    };
    coder->ProcessFiles();

    EXPECT_EQ(lame.chunkCounts.size(), 2u);
    EXPECT_EQ(lame.flushes, 0);
    EXPECT_EQ(lame.openStreams, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "file0:a.wav"}));
    EXPECT_EQ(ReadFileBytes(dir.File("a.mp3")), std::string("C0\x00\x09" "C1\x00\x09", 8));
    EXPECT_FALSE(FileExists(dir.File("b.mp3")));
    // The files were closed: they can go at once.
    EXPECT_TRUE(RemoveFile(dir.File("a.mp3")));
    EXPECT_TRUE(RemoveFile(dir.File("a.wav")));

    // A new run starts uncancelled.
    coder->OnProgress = nullptr;
    coder->InputFiles()->Delete(0);
    coder->OutputFiles()->Delete(0);
    coder->ProcessFiles();
    EXPECT_EQ(events.back(), "done");
}

TEST_F(LameCoderRun, AFailingFileLeavesTheListsLosesItsPartialMp3AndTheRunGoesOn)
{
    Add(Wav("a.wav", kChunk * 3), dir.File("a.mp3"));
    Add(Wav("b.wav", kChunk), dir.File("b.mp3"));
    RecordEvents();
    lame.failOnChunk = 1;
    lame.encodeFailure = 0xFFFFFFF0u;
    // Without an error handler the first failure is raised after the run.
    try {
        coder->ProcessFiles();
        FAIL() << "no error";
    } catch (const ELameError& e) {
        EXPECT_EQ(e.Message(), L"beEncodeChunk failed 4294967280");
    }
    EXPECT_EQ(lame.openStreams, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "file0:a.wav", "33%", "file0:b.wav", "100%", "end0:b.mp3"}));
    EXPECT_FALSE(FileExists(dir.File("a.mp3")));
    EXPECT_TRUE(FileExists(dir.File("b.mp3")));
    EXPECT_EQ(coder->InputFiles()->Text(), dir.File("b.wav") + L"\r\n");
    EXPECT_EQ(coder->OutputFiles()->Text(), dir.File("b.mp3") + L"\r\n");
    EXPECT_TRUE(RemoveFile(dir.File("a.wav")));

    // With one, each failure goes there and the run ends as usual.
    coder->InputFiles()->Clear();
    coder->OutputFiles()->Clear();
    Add(dir.File("gone.wav"), dir.File("gone.mp3"));
    Add(dir.File("b.wav"), dir.File("b2.mp3"));
    events.clear();
    coder->OnFileError = [this](TObject*, uint16_t n, const String& f, const Exception& e) {
        events.push_back("error" + std::to_string(n) + ":" + ToUtf8(ExtractFileName(f)) + ":" +
                         std::string(dynamic_cast<const EFOpenError*>(&e) ? "open" : "other"));
    };
    coder->ProcessFiles();
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "error0:gone.wav:open", "file0:b.wav", "100%", "end0:b2.mp3",
                                                "done"}));
    EXPECT_EQ(coder->InputFiles()->Count(), 1);
}

TEST_F(LameCoderRun, AnMp3BeingReplacedStaysWholeUntilItsReplacementIsFinished)
{
    const String mp3 = dir.File("a.mp3");
    const auto filesInDir = [this] { return std::distance(std::filesystem::directory_iterator(dir.Path()), {}); };
    WriteFileBytes(mp3, "the old take");
    Add(Wav("a.wav", kChunk * 3), mp3);

    // A failure, and then a cancel, halfway: the old file as it was, and
    // nothing left beside it.
    lame.failOnChunk = 1;
    EXPECT_THROW(coder->ProcessFiles(), ELameError);
    EXPECT_EQ(ReadFileBytes(mp3), "the old take");
    EXPECT_EQ(filesInDir(), 2);
    lame.failOnChunk = -1;
    Add(dir.File("a.wav"), mp3);
    coder->OnProgress = [this](TObject*, uint16_t) { coder->CancelProcess(); };
    coder->ProcessFiles();
    EXPECT_EQ(ReadFileBytes(mp3), "the old take");
    EXPECT_EQ(filesInDir(), 2);

    // Finished, the new MP3 takes its place; while it is written the old
    // one is still there to read.
    std::string seenWhileEncoding;
    coder->OnProgress = [&](TObject*, uint16_t) { seenWhileEncoding = ReadFileBytes(mp3); };
    coder->ProcessFiles();
    EXPECT_EQ(seenWhileEncoding, "the old take");
    EXPECT_TRUE(ReadFileBytes(mp3).starts_with("C")) << ReadFileBytes(mp3);
    EXPECT_EQ(filesInDir(), 2);
}

TEST_F(LameCoderRun, AThrowingHandlerEndsTheRunWithEverythingReleased)
{
    struct THandlerError {};
    Add(Wav("a.wav", kChunk * 3), dir.File("a.mp3"));
    coder->OnBeginFile = [](TObject*, uint16_t, const String&) { throw THandlerError{}; };
    EXPECT_THROW(coder->ProcessFiles(), THandlerError);
    EXPECT_EQ(lame.openStreams, 0);
    EXPECT_FALSE(FileExists(dir.File("a.mp3")));

    coder->OnBeginFile = nullptr;
    coder->OnProgress = [](TObject*, uint16_t p) {
        if (p > 50) throw ELameError(L"from the handler");
    };
    EXPECT_THROW(coder->ProcessFiles(), ELameError);
    EXPECT_EQ(lame.openStreams, 0);
    EXPECT_EQ(lame.flushes, 0);
    EXPECT_FALSE(FileExists(dir.File("a.mp3")));  // a partial output goes
    EXPECT_EQ(coder->InputFiles()->Count(), 1);   // the file itself did not fail

    coder->OnProgress = nullptr;
    coder->OnEndFile = [](TObject*, uint16_t, const String&) { throw THandlerError{}; };
    EXPECT_THROW(coder->ProcessFiles(), THandlerError);
    EXPECT_EQ(lame.openStreams, 0);
    EXPECT_TRUE(FileExists(dir.File("a.mp3")));
    // The files were closed: they can go at once.
    EXPECT_TRUE(RemoveFile(dir.File("a.mp3")));
    EXPECT_TRUE(RemoveFile(dir.File("a.wav")));
}

TEST_F(LameCoderRun, WavInputsAreEncodedAtTheirOwnRateAndChannelsRawInputWithTheSettings)
{
    auto rateAndMode = [this] {
        uint32_t rate, mode;
        std::memcpy(&rate, lame.config.data() + 12, 4);
        std::memcpy(&mode, lame.config.data() + 20, 4);
        return std::pair{rate, mode};
    };
    // 16-bit mono with an odd number of samples: whole chunks and the rest.
    std::string mono(1153 * 2, '\0');
    WriteWav(dir.File("mono.wav"), mono, 22050, 1);
    Add(dir.File("mono.wav"), dir.File("mono.mp3"));
    coder->ProcessFiles();
    EXPECT_EQ(rateAndMode(), (std::pair{22050u, 3u}));
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{1152, 1}));

    // 8-bit samples are unsigned and widened to 16 bits.
    lame.chunkCounts.clear();
    lame.values.clear();
    WriteWav(dir.File("low.wav"), std::string("\x00\x80\xFF\x01\x7F", 5), 11025, 1, 8);
    coder->InputFiles()->Put(0, dir.File("low.wav"));
    coder->ProcessFiles();
    EXPECT_EQ(rateAndMode(), (std::pair{11025u, 3u}));
    EXPECT_EQ(lame.values, (std::vector<int16_t>{-32768, 0, 32512, -32512, -256}));

    // Stereo keeps the chosen kind of stereo, and MONO cannot take it; a
    // part of a sample frame at the end is dropped.
    lame.chunkCounts.clear();
    WriteWav(dir.File("st.wav"), std::string(kChunk + 6, '\1'), 48000, 2);
    coder->InputFiles()->Put(0, dir.File("st.wav"));
    coder->SetMode(JSTEREO);
    coder->ProcessFiles();
    EXPECT_EQ(rateAndMode(), (std::pair{48000u, 1u}));
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{2304, 2}));
    coder->SetMode(MONO);
    coder->ProcessFiles();
    EXPECT_EQ(rateAndMode(), (std::pair{48000u, 0u}));

    // Raw samples keep the component's rate and mode.
    lame.chunkCounts.clear();
    WriteFileBytes(dir.File("raw.pcm"), std::string(1001, '\2'));
    coder->InputFiles()->Put(0, dir.File("raw.pcm"));
    coder->SetSampleRate(32000);
    coder->ProcessFiles();
    EXPECT_EQ(rateAndMode(), (std::pair{32000u, 3u}));
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{500}));
    EXPECT_EQ(lame.openStreams, 0);
}

TEST_F(LameCoderRun, WavInputsTheEncoderCannotTakeAreRefusedByNameAndWriteNothing)
{
    struct TBad {
        const char* name;
        size_t offset;  // of the header field changed
        std::string bytes;
        const wchar_t* reason;
    };
    const TBad bad[] = {
        {"float.wav", 20, std::string("\x03\x00", 2), L"not PCM (format tag 3)"},
        {"odd-rate.wav", 24, std::string("\x39\x30\x00\x00", 4), L"sample rate of 12345 Hz"},
        {"wide.wav", 34, std::string("\x18\x00", 2), L"24 bits"},
        {"surround.wav", 22, std::string("\x03\x00", 2), L"3 channels"},
        {"long-fmt.wav", 16, std::string("\x12\x00\x00\x00", 4), L"not the plain 44-byte"},
    };
    std::vector<String> messages;
    coder->OnFileError = [&](TObject*, uint16_t, const String&, const Exception& e) {
        EXPECT_NE(dynamic_cast<const ELameError*>(&e), nullptr);
        messages.push_back(e.Message());
    };
    for (const TBad& b : bad) {
        std::string wav = ReadFileBytes(Wav(b.name, 400));
        wav.replace(b.offset, b.bytes.size(), b.bytes);
        WriteFileBytes(dir.File(b.name), wav);
        const String mp3 = ChangeFileExt(dir.File(b.name), L".mp3");
        WriteFileBytes(mp3, "someone else's");
        Add(dir.File(b.name), mp3);
    }
    Add(Wav("good.wav", 400), dir.File("good.mp3"));
    coder->ProcessFiles();

    ASSERT_EQ(messages.size(), std::size(bad));
    for (size_t i = 0; i < std::size(bad); ++i) {
        EXPECT_NE(messages[i].find(dir.File(bad[i].name)), String::npos) << ToUtf8(messages[i]);
        EXPECT_NE(messages[i].find(bad[i].reason), String::npos) << ToUtf8(messages[i]);
        EXPECT_EQ(ReadFileBytes(ChangeFileExt(dir.File(bad[i].name), L".mp3")), "someone else's");
    }
    EXPECT_EQ(lame.chunkCounts, (std::vector<uint32_t>{200}));
    EXPECT_TRUE(FileExists(dir.File("good.mp3")));
    EXPECT_EQ(lame.openStreams, 0);
}

TEST_F(LameCoderRun, RefusedConfigurationRaisesBeforeAnyFileIsTouched)
{
    Add(Wav("a.wav", kChunk), dir.File("a.mp3"));
    RecordEvents();
    lame.initResult = BE_ERR_INVALID_FORMAT_PARAMETERS;
    EXPECT_THROW(
        {
            try {
                coder->ProcessFiles();
            } catch (const ELameError& e) {
                EXPECT_EQ(e.Message(), L"beInitStream failed 2");
                throw;
            }
        },
        ELameError);
    EXPECT_EQ(events, (std::vector<std::string>{"begin"}));
    EXPECT_FALSE(FileExists(dir.File("a.mp3")));
}

TEST_F(LameCoderRun, MissingInputOrUncreatableOutputReachesTheCallerWithEverythingReleased)
{
    Add(dir.File("missing.wav"), dir.File("x.mp3"));
    EXPECT_THROW(coder->ProcessFiles(), EFOpenError);
    EXPECT_EQ(lame.openStreams, 0);

    Add(Wav("a.wav", 100), dir.File("no-such-dir/x.mp3"));
    EXPECT_THROW(coder->ProcessFiles(), EFCreateError);
    EXPECT_EQ(lame.openStreams, 0);
    EXPECT_TRUE(RemoveFile(dir.File("a.wav")));
}

TEST_F(LameCoderRun, TruncatedOrDamagedHeadersFailCleanly)
{
    // "WAVE" at offset 8 but shorter than a header.
    WriteFileBytes(dir.File("short.wav"), std::string("RIFF\0\0\0\0WAVEfmt ", 16));
    Add(dir.File("short.wav"), dir.File("short.mp3"));
    EXPECT_THROW(coder->ProcessFiles(), ELameError);
    EXPECT_EQ(lame.openStreams, 0);

    // A block alignment of 0 would never move through the data.
    std::string wav = ReadFileBytes(Wav("zero.wav", 1000));
    wav[32] = wav[33] = 0;
    WriteFileBytes(dir.File("zero.wav"), wav);
    Add(dir.File("zero.wav"), dir.File("zero.mp3"));
    EXPECT_THROW(coder->ProcessFiles(), ELameError);
    EXPECT_EQ(lame.openStreams, 0);
}

TEST_F(LameCoderRun, WriteFailuresOfChunksAndOfTheFlushHaveTheirOwnMessages)
{
#if defined(_WIN32)
    const String full = L"Z:\\dev\\full";
#else
    const String full = L"/dev/full";
#endif
    if (!TFileHandle::Open(full, TFileAccess::Write, TFileShare::DenyNone, TFileDisposition::CreateAlways, nullptr).Valid())
        GTEST_SKIP() << "no device that is always full";
    Add(Wav("a.wav", kChunk), full);
    try {
        coder->ProcessFiles();
        FAIL() << "no error";
    } catch (const ELameError& e) {
        EXPECT_EQ(e.Message(), L"Write Error");
    }
    Add(Wav("empty.wav", 0), full);
    try {
        coder->ProcessFiles();
        FAIL() << "no error";
    } catch (const ELameError& e) {
        EXPECT_EQ(e.Message(), L"Write error");
    }
    EXPECT_EQ(lame.openStreams, 0);
}

TEST_F(LameCoderRun, ARunStartedFromAHandlerIsRefusedAndTheOuterRunGoesOn)
{
    Add(Wav("a.wav", kChunk * 2), dir.File("a.mp3"));
    bool refused = false;
    coder->OnProgress = [&](TObject*, uint16_t) {
        try {
            coder->ProcessFiles();
        } catch (const ELameError&) {
            refused = true;
        }
    };
    coder->ProcessFiles();
    EXPECT_TRUE(refused);
    EXPECT_EQ(lame.chunkCounts.size(), 2u);
    EXPECT_EQ(lame.flushes, 1);
}

TEST(LameCoderSettings, TheConfigurationRecordCarriesTheSettingsAtTheirOffsets)
{
    FakeLame lame;
    auto coder = MakeOwned<TLameCoder>(nullptr);
    coder->SetSampleRate(22050);
    coder->SetMode(JSTEREO);
    coder->SetBitrate(192);
    coder->SetQuality(HIGH_QUALITY);
    coder->SetCopyright(true);
    coder->SetEnableVBR(true);
    coder->SetVBRQuality(2);
    ASSERT_EQ(coder->PrepareCoder(), 0u);
    coder->CloseCoder();

    ASSERT_EQ(lame.config.size(), 331u);
    auto u32 = [&](size_t offset) {
        uint32_t v;
        std::memcpy(&v, lame.config.data() + offset, 4);
        return v;
    };
    EXPECT_EQ(u32(0), 256u);
    EXPECT_EQ(u32(4), 1u);
    EXPECT_EQ(u32(8), 331u);
    EXPECT_EQ(u32(12), 22050u);
    EXPECT_EQ(u32(16), 0u);
    EXPECT_EQ(u32(20), 1u);
    EXPECT_EQ(u32(24), 192u);
    EXPECT_EQ(u32(28), 320u);
    EXPECT_EQ(u32(32), 2u);
    EXPECT_EQ(u32(36), 1u);  // MPEG version
    EXPECT_EQ(u32(48), 0u);  // private
    EXPECT_EQ(u32(52), 0xFFFFFFFFu);  // CRC is on by default
    EXPECT_NE(u32(56), 0u);  // copyright
    EXPECT_EQ(u32(60), 0u);  // original
    EXPECT_NE(u32(64), 0u);  // VBR header comes with VBR
    EXPECT_NE(u32(68), 0u);
    EXPECT_EQ(u32(72), 2u);
    for (size_t i = 76; i < 331; ++i) EXPECT_EQ(lame.config[i], 0) << i;
}

TEST(LameCoderSettings, DefaultsModeRangeListsAndAssign)
{
    FakeLame lame;
    auto coder = MakeOwned<TLameCoder>(nullptr);
    EXPECT_EQ(coder->SampleRate(), 44100u);
    EXPECT_EQ(coder->Bitrate(), 128u);
    EXPECT_EQ(coder->MaxBitrate(), 320u);
    EXPECT_EQ(coder->VBRQuality(), 4);
    EXPECT_TRUE(coder->CRC());
    EXPECT_FALSE(coder->EnableVBR());
    EXPECT_EQ(coder->DefaultExt(), L".mp3");
    EXPECT_EQ(lame.versionReads, 0);  // a program that never encodes leaves the library alone
    EXPECT_EQ(coder->LameVersion()->DLLMajorVersion(), 9);
    EXPECT_EQ(coder->LameVersion()->MinorVersion(), 3);
    EXPECT_EQ(lame.versionReads, 1);

    coder->SetMode(MONO);
    coder->SetMode(4);
    coder->SetMode(-1);
    EXPECT_EQ(coder->Mode(), MONO);

    TStringList inputs{L"C:\\rec\\take1.wav", L"C:\\rec.d\\take2"};
    coder->OutputFiles()->Add(L"stale.mp3");
    coder->SetInputFiles(&inputs);
    EXPECT_EQ(coder->OutputFiles()->Text(), L"C:\\rec\\take1.mp3\r\nC:\\rec.d\\take2.mp3\r\n");

    auto copy = MakeOwned<TLameCoder>(nullptr);
    copy->Assign(coder.get());
    EXPECT_EQ(copy->Mode(), MONO);
    EXPECT_EQ(copy->InputFiles()->Count(), 0);
    EXPECT_THROW(copy->Assign(&inputs), EConvertError);

    TLameVersion version;
    version.Assign(coder->LameVersion());
    EXPECT_EQ(version.MinorVersion(), 3);
}
