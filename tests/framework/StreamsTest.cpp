#include <gtest/gtest.h>

#include "FileSystem.h"
#include "Streams.h"
#include "StringList.h"
#include "TempDir.h"

TEST(FileStream, CreateReplacesReadsBackAndOpenErrorsNameTheFile)
{
    TempDir dir;
    const String name = dir.File("data.bin");
    WriteFileBytes(name, std::string(1000, 'x'));
    {
        TFileStream out(name, fmCreate | fmShareDenyNone);
        out.WriteBuffer("abc", 3);
        EXPECT_EQ(out.Size(), 3);
    }
    TFileStream in(name, fmOpenRead | fmShareDenyWrite);
    char buffer[8] = {};
    EXPECT_EQ(in.Read(buffer, 8), 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_THROW(in.ReadBuffer(buffer, 1), EReadError);

    try {
        TFileStream missing(dir.File("nope.bin"), fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(L"nope.bin"), String::npos);
    }
    EXPECT_THROW(TFileStream(dir.File("no/dir.bin"), fmCreate), EFCreateError);
}

TEST(MemoryStream, SeekPastTheEndThenWriteGrowsWithZeros)
{
    TMemoryStream stream;
    stream.WriteBuffer("ab", 2);
    stream.Seek(2, TSeekOrigin::soCurrent);
    stream.WriteBuffer("c", 1);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), 5), std::string("ab\0\0c", 5));
    stream.SetPosition(4);
    char c[2];
    EXPECT_EQ(stream.Read(c, 2), 1);
    stream.SetSize(1);
    EXPECT_EQ(stream.Position(), 1);
}

TEST(FileNames, ExtensionsAndPaths)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* changed;
        const wchar_t* path;
    } cases[] = {
        {L"C:\\rec\\take.wav", L"C:\\rec\\take.mp3", L"C:\\rec\\"},
        {L"C:\\rec.d\\take", L"C:\\rec.d\\take.mp3", L"C:\\rec.d\\"},
        {L"take.tar.wav", L"take.tar.mp3", L""},
        {L"C:take", L"C:take.mp3", L"C:"},
        {L"/home/u/a.b/c", L"/home/u/a.b/c.mp3", L"/home/u/a.b/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChangeFileExt(c.name, L".mp3"), c.changed);
        EXPECT_EQ(ExtractFilePath(c.name), c.path);
    }
}

TEST(Text, Utf8RoundTripKeepsCharactersOutsideTheBasicPlane)
{
    const String text = L"Aufnahme \u00e4\u20ac \U0001F3B5";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"\u00e4"), "\xc3\xa4");
}

TEST(StringList, IndexErrorsAndAssign)
{
    TStringList list{L"a", L"b"};
    EXPECT_THROW(list.Get(2), EStringListError);
    EXPECT_THROW(list.Insert(3, L"x"), EStringListError);
    list.Insert(2, L"c");
    TStringList copy;
    copy.Assign(&list);
    EXPECT_EQ(copy.Text(), L"a\r\nb\r\nc\r\n");
    EXPECT_EQ(copy.IndexOf(L"B"), 1);
}
