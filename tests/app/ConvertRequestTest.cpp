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
        EXPECT_THROW(requests.Approve(file, queued, asker.Function()), EConvertOntoItself) << name;
    }
    try {
        requests.Approve(dir.File("song.mp3"), queued, asker.Function());
    } catch (const EConvertOntoItself& error) {
        EXPECT_EQ(error.Message(), dir.File("song.mp3") + L" is already an MP3 file; it can not be converted onto itself.");
    }
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(ReadFileBytes(dir.File("song.mp3")), "frames");
}

TEST(ConvertRequests, AnExistingMp3IsReplacedOnlyWhenTheUserAgreesButTheProgramsOwnAreNotAskedAbout)
{
    TempDir dir;
    TConvertRequests requests;
    TStringList queued;
    Asker asker;
    const String wav = dir.File("song.wav"), mp3 = dir.File("song.mp3");

    // No MP3 yet: nothing to ask.
    EXPECT_TRUE(requests.Approve(dir.File("new.wav"), queued, asker.Function()));
    EXPECT_TRUE(asker.asked.empty());

    WriteFileBytes(mp3, "the user's");
    EXPECT_FALSE(requests.Approve(wav, queued, asker.Function()));
    EXPECT_FALSE(requests.Approve(wav, queued, asker.Function()));  // No is not remembered as Yes
    asker.answer = true;
    EXPECT_TRUE(requests.Approve(wav, queued, asker.Function()));
    EXPECT_EQ(asker.asked, (std::vector<String>{mp3, mp3, mp3}));
    EXPECT_EQ(ReplaceMp3Question(mp3), mp3 + L" already exists. Replace it?");

    // Converted once in this run, the same MP3 is not asked about again,
    // nor one the encoder still has to write (a recording's, say).
    asker.asked.clear();
    EXPECT_TRUE(requests.Approve(wav, queued, asker.Function()));
    WriteFileBytes(dir.File("new.mp3"), "written");
    EXPECT_TRUE(requests.Approve(dir.File("new.wav"), queued, asker.Function()));
    const String take = dir.File("take1.mp3");
    WriteFileBytes(take, "being written");
    queued.Add(take);
    EXPECT_TRUE(requests.Approve(dir.File("take1.wav"), queued, asker.Function()));
    EXPECT_TRUE(asker.asked.empty());
    // Another program run asks again.
    asker.answer = false;
    EXPECT_FALSE(TConvertRequests().Approve(wav, TStringList(), asker.Function()));
    EXPECT_EQ(asker.asked.size(), 1u);
}
