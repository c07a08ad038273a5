// The skin file reader: bitmaps, values and the password outcomes, and
// the temporary file that never outlives a load.
#include <gtest/gtest.h>

#include <cwctype>

#include "Bitmap.h"
#include "BmpCodec.h"
#include "FileSystem.h"
#include "KYP2SkinReader.h"
#include "SkinFileSupport.h"
#include "TempDir.h"

namespace {

class SkinFileReaderTest : public testing::Test {
protected:
    void SetUp() override { tempsBefore = GuidNamedTempFiles(); }
    void TearDown() override { EXPECT_EQ(GuidNamedTempFiles(), tempsBefore) << "a temporary file was left"; }

    TempDir dir;
    const String skin = dir.File("test.skn");
    std::vector<String> tempsBefore;
};

}  // namespace

TEST_F(SkinFileReaderTest, ReadsBitmapsAndValues)
{
    WriteSkinFile(skin, {BitmapRecord("SKIN2_BUTTON", 6, 2, 0x00FF00), IntegerRecord("SKIN2_FORMCOLOR", 0x123456),
                            BooleanRecord("SKIN2_TITLEFIVESECT", 1), {"Note", 3, "hi"}});
    Tsk2SkinFileReader reader(skin, L"");
    ASSERT_TRUE(reader.Ready());
    TBitmap* button = reader.GetBitmap(L"skin2_button");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Width(), 6);
    EXPECT_EQ(button->Height(), 2);
    EXPECT_EQ(reader.GetBitmap(L"SKIN2_CHECKBOX"), nullptr);
    EXPECT_EQ(reader.GetInteger(L"SKIN2_FORMCOLOR"), 0x123456);
    EXPECT_TRUE(reader.GetBool(L"SKIN2_TITLEFIVESECT"));
    EXPECT_EQ(reader.GetStr(L"Note"), L"hi");

    TBitmap replacement;
    replacement.SetSize(3, 3);
    reader.SetBitmap(L"SKIN2_BUTTON", &replacement);
    EXPECT_EQ(button->Width(), 3);
    reader.SetBitmap(L"SKIN2_CHECKBOX", &replacement);
    EXPECT_EQ(reader.GetBitmap(L"SKIN2_CHECKBOX"), nullptr);
    reader.ProcessTransparentColor(0x00FF00FF);
    EXPECT_EQ(button->TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(button->TransparentColor(), 0x00FF00FF);
}

TEST_F(SkinFileReaderTest, PasswordProblemsLeaveTheReaderNotReady)
{
    WriteSkinFile(skin, {IntegerRecord("A", 1)}, "pw");
    EXPECT_FALSE(Tsk2SkinFileReader(skin, L"").Ready());
    EXPECT_FALSE(Tsk2SkinFileReader(skin, L"other").Ready());
    Tsk2SkinFileReader right(skin, L"pw");
    EXPECT_TRUE(right.Ready());
    EXPECT_EQ(right.GetInteger(L"A"), 1);
}

TEST_F(SkinFileReaderTest, FilesThatAreNoSkinRaise)
{
    WriteFileBytes(skin, "not a skin file at all, just text that is long enough");
    try {
        Tsk2SkinFileReader reader(skin, L"");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Failed to read skin file!");
    }
    EXPECT_THROW(Tsk2SkinFileReader(dir.File("missing.skn"), L""), Exception);

    TSkinRecord broken = BitmapRecord("SKIN2_BUTTON", 2, 2, 0);
    broken.Data[0] = 'X';
    WriteSkinFile(skin, {broken});
    EXPECT_THROW(Tsk2SkinFileReader(skin, L""), EInvalidGraphic);

    std::string looped = BuildRecordFile({IntegerRecord("A", 1)});
    PutLe32(looped, kRecordFileHeaderSize + 73, kRecordFileHeaderSize);
    const uint32_t size = static_cast<uint32_t>(looped.size());
    WriteFileBytes(skin, SkinArchiveOf(StoredDeflate(looped), size));
    EXPECT_THROW(Tsk2SkinFileReader(skin, L""), ESkinFileError);
}

TEST(SkinTempFileName, IsANewGuidInTheTemporaryDirectory)
{
    const String first = NewSkinTempFileName();
    const String dirPart = TempDirectory();
    ASSERT_EQ(first.compare(0, dirPart.size(), dirPart), 0);
    const String name = first.substr(dirPart.size());
    ASSERT_EQ(name.size(), 38u);
    EXPECT_EQ(name.front(), L'{');
    EXPECT_EQ(name.back(), L'}');
    for (size_t i : {9u, 14u, 19u, 24u}) EXPECT_EQ(name[i], L'-');
    for (wchar_t c : name) EXPECT_FALSE(std::iswlower(c));
    EXPECT_NE(first, NewSkinTempFileName());
}
