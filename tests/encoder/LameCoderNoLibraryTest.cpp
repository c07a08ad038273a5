// Runs from a folder without lame_enc: the program still starts, and the
// first encode says what is missing.
#include <gtest/gtest.h>

#include "LameCoder.h"
#include "LameLibrary.h"
#include "TempDir.h"
#include "WavFiles.h"

TEST(LameCoderWithoutLibrary, FirstEncodeNamesTheMissingLibrary)
{
    EXPECT_FALSE(LameLibraryAvailable());
    auto coder = MakeOwned<TLameCoder>(nullptr);
    EXPECT_EQ(coder->LameVersion()->MajorVersion(), 0);

    TempDir dir;
    WriteWav(dir.File("a.wav"), SineSamples(440, 0.1, 44100, 2), 44100, 2);
    coder->InputFiles()->Add(dir.File("a.wav"));
    coder->OutputFiles()->Add(dir.File("a.mp3"));
    try {
        coder->ProcessFiles();
        FAIL() << "no error";
    } catch (const ELameError& e) {
        EXPECT_NE(e.Message().find(L"lame_enc"), String::npos) << ToUtf8(e.Message());
    }
}
