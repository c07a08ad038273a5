#include <gtest/gtest.h>

#include <vector>

#include "ConvertRequest.h"
#include "FileSystem.h"
#include "TempDir.h"

namespace {

// Answers the replace question as told and remembers what it was asked.
struct Asker {
    bool answer = false;
    std::vector<String> asked;
    TConvertRequests::TAskReplace Function()
    {
        return [this](const String& mp3) {
            asked.push_back(mp3);
            return answer;
        };
    }
};

}  // namespace

TEST(ConvertRequests, AnMp3IsNeverItsOwnSourceAndNothingIsAsked)
{
    TempDir dir;
    TConvertRequests requests;
    TStringList queued;
    Asker asker;
    for (const char* name : {"song.mp3", "song.MP3"}) {
        const String file = dir.File(name);
        WriteFileBytes(file, "frames");
        EXPECT_THROW(requests.Approve(file, queued, queued, asker.Function()), EConvertOntoItself) << name;
    }
    try {
        requests.Approve(dir.File("song.mp3"), queued, queued, asker.Function());
    } catch (const EConvertOntoItself& error) {
        EXPECT_EQ(error.Message(), dir.File("song.mp3") + L" is already an MP3 file; it can not be converted onto itself.");
    }
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(ReadFileBytes(dir.File("song.mp3")), "frames");
}

TEST(ConvertRequests, AnotherFilesMp3IsReplacedOnlyWhenTheUserAgreesAndAQueuedFileIsNotQueuedAgain)
{
    TempDir dir;
    TConvertRequests requests;
    TStringList inputs, outputs;
    Asker asker;
    const auto approve = [&](const String& source) { return requests.Approve(source, inputs, outputs, asker.Function()); };
    const String wav = dir.File("song.wav"), mp3 = dir.File("song.mp3");

    // No MP3 yet: nothing to ask.
    EXPECT_TRUE(approve(dir.File("new.wav")));
    EXPECT_TRUE(asker.asked.empty());

    WriteFileBytes(mp3, "the user's");
    EXPECT_FALSE(approve(wav));
    EXPECT_FALSE(approve(wav));  // No is not remembered as Yes
    asker.answer = true;
    EXPECT_TRUE(approve(wav));
    EXPECT_EQ(asker.asked, (std::vector<String>{mp3, mp3, mp3}));
    EXPECT_EQ(ReplaceMp3Question(mp3), mp3 + L" already exists. Replace it?");

    // An approval counts once the conversion is done, and for its own
    // source only: another file of that name is asked about, and so is a
    // later conversion after the other one wrote the MP3.
    asker.asked.clear();
    EXPECT_TRUE(approve(wav));
    requests.Converted(wav, mp3);
    EXPECT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(approve(wav));
    EXPECT_EQ(asker.asked.size(), 1u);
    const String aiff = dir.File("song.aiff");
    EXPECT_TRUE(approve(aiff));
    requests.Converted(aiff, mp3);
    EXPECT_TRUE(approve(wav));
    EXPECT_EQ(asker.asked.size(), 3u);

    // A recording waiting for its MP3: its WAV is not queued again, and
    // another file whose MP3 would replace the recording's is asked about
    // even before that MP3 is written.
    asker.asked.clear();
    const String takeWav = dir.File("take1.wav"), takeMp3 = dir.File("take1.mp3");
    inputs.Add(takeWav);
    outputs.Add(takeMp3);
    EXPECT_FALSE(approve(dir.File("TAKE1.wav")));
    EXPECT_TRUE(asker.asked.empty());
    asker.answer = false;
    EXPECT_FALSE(approve(dir.File("take1.aiff")));
    EXPECT_EQ(asker.asked, (std::vector<String>{takeMp3}));
    // Another program run asks again.
    asker.asked.clear();
    EXPECT_FALSE(TConvertRequests().Approve(wav, TStringList(), TStringList(), asker.Function()));
    EXPECT_EQ(asker.asked.size(), 1u);
}
