// Walking a skin record file: the values and their lookups, and chains
// that loop, overlap or leave the file.
#include <gtest/gtest.h>

#include "KYP2SkinRecords.h"
#include "SkinArchiveWriter.h"
#include "Streams.h"

namespace {

Tsk2SkinRecords ReadRecords(const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Tsk2SkinRecords records;
    records.Read(stream);
    return records;
}

void ExpectDamaged(const std::string& bytes) { EXPECT_THROW(ReadRecords(bytes), ESkinFileError); }

// Where the n-th record header of BuildRecordFile starts.
size_t HeaderAt(const std::vector<TSkinRecord>& records, size_t n)
{
    size_t position = kRecordFileHeaderSize;
    for (size_t i = 0; i < n; ++i) position += kRecordHeaderSize + records[i].Data.size();
    return position;
}

}  // namespace

TEST(SkinRecords, ValuesByTypeAndName)
{
    const std::vector<TSkinRecord> list{IntegerRecord("SKIN2_FORMCOLOR", 0x00C0FFEE), BooleanRecord("Two", 2),
        BooleanRecord("Zero", 0), {"Text", 3, std::string("hello\0junk", 10)}, {"Odd", 9, "ignored"},
        IntegerRecord("A", 1), IntegerRecord("a", 2), IntegerRecord("Minus", -1), BitmapRecord("Pic", 2, 1, 0xFF0000)};
    const Tsk2SkinRecords records = ReadRecords(BuildRecordFile(list));
    EXPECT_EQ(records.GetInteger(L"skin2_formcolor"), 0x00C0FFEE);
    EXPECT_TRUE(records.GetBool(L"Two"));
    EXPECT_FALSE(records.GetBool(L"Zero"));
    EXPECT_FALSE(records.GetBool(L"Absent"));
    EXPECT_EQ(records.GetStr(L"TEXT"), L"hello");
    EXPECT_EQ(records.GetStr(L"Odd"), L"");
    EXPECT_EQ(records.GetInteger(L"A"), 1);
    EXPECT_EQ(records.GetInteger(L"a"), 1);
    EXPECT_EQ(records.GetInteger(L"Minus"), records.GetInteger(L"Absent"));
    ASSERT_EQ(records.Bitmaps().size(), 1u);
    EXPECT_EQ(records.Bitmaps()[0].Name, L"Pic");
    EXPECT_EQ(records.Bitmaps()[0].Data.size(), list.back().Data.size());
    // The closing header names a readable integer, and still adds nothing.
    EXPECT_EQ(records.GetInteger(L"LAST"), -1);
}

TEST(SkinRecords, SettersChangeTheFirstValueOrAdd)
{
    Tsk2SkinRecords records = ReadRecords(BuildRecordFile({IntegerRecord("A", 1), IntegerRecord("a", 2)}));
    records.SetInteger(L"a", 7);
    EXPECT_EQ(records.GetInteger(L"A"), 7);
    records.SetInteger(L"New", 3);
    EXPECT_EQ(records.GetInteger(L"new"), 3);
    records.SetBool(L"Flag", true);
    EXPECT_TRUE(records.GetBool(L"FLAG"));
    records.SetBool(L"Flag", false);
    EXPECT_FALSE(records.GetBool(L"Flag"));
}

TEST(SkinRecords, ChainsThatEndAtOnceAndNamesWithoutNul)
{
    EXPECT_EQ(ReadRecords(BuildRecordFile({})).GetInteger(L"LAST"), -1);
    const std::string longName(64, 'N');
    std::string bytes = BuildRecordFile({IntegerRecord(longName, 5)});
    EXPECT_EQ(ReadRecords(bytes).GetInteger(String(longName.begin(), longName.end())), 5);
}

TEST(SkinRecords, DamagedFilesAreRefused)
{
    const std::vector<TSkinRecord> list{IntegerRecord("A", 1), BitmapRecord("B", 4, 4, 0x123456), IntegerRecord("C", 3)};
    const std::string good = BuildRecordFile(list);
    ReadRecords(good);

    ExpectDamaged(good.substr(0, 23));
    std::string firstOutside = good;
    PutLe32(firstOutside, 20, static_cast<uint32_t>(good.size() - 76));
    ExpectDamaged(firstOutside);

    std::string loop = good;
    PutLe32(loop, HeaderAt(list, 2) + 73, static_cast<uint32_t>(HeaderAt(list, 0)));
    ExpectDamaged(loop);

    std::string nextOutside = good;
    PutLe32(nextOutside, HeaderAt(list, 0) + 73, 0xFFFFFFF0);
    ExpectDamaged(nextOutside);

    std::string bitmapTooLarge = good;
    PutLe32(bitmapTooLarge, HeaderAt(list, 1) + 69, static_cast<uint32_t>(good.size()));
    ExpectDamaged(bitmapTooLarge);

    std::string dataOutside = good;
    PutLe32(dataOutside, HeaderAt(list, 0) + 65, static_cast<uint32_t>(good.size() - 2));
    ExpectDamaged(dataOutside);

    // Headers that all point at one large bitmap claim more data than the
    // file holds: a small file must not make many large copies.
    std::vector<TSkinRecord> shared{BitmapRecord("Big", 40, 40, 0)};
    for (int i = 0; i < 10; ++i) shared.push_back({"Alias", 9, ""});
    std::string aliased = BuildRecordFile(shared);
    ReadRecords(aliased);
    for (size_t i = 1; i < shared.size(); ++i) {
        aliased[HeaderAt(shared, i) + 64] = 0;
        PutLe32(aliased, HeaderAt(shared, i) + 65, static_cast<uint32_t>(HeaderAt(shared, 0) + kRecordHeaderSize));
        PutLe32(aliased, HeaderAt(shared, i) + 69, static_cast<uint32_t>(shared[0].Data.size()));
    }
    ExpectDamaged(aliased);
}
