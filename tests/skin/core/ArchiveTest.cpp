// Extracting a member of a skin archive: each result code, the output
// removed on every result but success, and archives that lie about
// their offsets and sizes.
#include <gtest/gtest.h>

#include "FileSystem.h"
#include "KYP2Archive.h"
#include "SkinArchiveWriter.h"
#include "TempDir.h"
#include "ZlibDeflate.h"

namespace {

class ArchiveTest : public testing::Test {
protected:
    // The result; Extracted holds the output when there was one.
    uint8_t Extract(const std::string& archive, const std::string& password = "",
        const String& member = L"SKINDATA.SK2")
    {
        WriteFileBytes(archiveFile, archive);
        const uint8_t result = ExtractArchiveMember(archiveFile, member, outputFile, String(password.begin(), password.end()));
        outputLeft = FileExists(outputFile);
        extracted = outputLeft ? ReadFileBytes(outputFile) : std::string();
        return result;
    }

    TempDir dir;
    const String archiveFile = dir.File("skin.skn");
    const String outputFile = dir.File("out.sk2");
    const std::string data = SampleData(150000, 11);
    bool outputLeft = false;
    std::string extracted;
};

TArchiveMember Member(const std::string& name, const std::string& plain)
{
    TArchiveMember member;
    member.Name = name;
    member.Payload = ZlibDeflate(plain);
    member.UncompressedSize = static_cast<uint32_t>(plain.size());
    return member;
}

}  // namespace

TEST_F(ArchiveTest, MembersOfEveryDeflateKindExtract)
{
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
        EXPECT_EQ(Extract(SkinArchiveOf(ZlibDeflate(data, 6, strategy), static_cast<uint32_t>(data.size()))), kExtractOk);
        EXPECT_TRUE(extracted == data);
    }
    EXPECT_EQ(Extract(SkinArchiveOf(StoredDeflate(data), static_cast<uint32_t>(data.size()))), kExtractOk);
    EXPECT_TRUE(extracted == data);
}

TEST_F(ArchiveTest, NamesMatchWithoutCaseAfterEntriesWithExtrasAndComments)
{
    TArchiveMember first = Member("other.bmp", "first");
    first.Extra = std::string(9, 'x');
    first.Comment = "a comment";
    TArchiveMember second = Member("skindata.sk2", data);
    second.Extra = "ex";
    EXPECT_EQ(Extract(BuildArchive({first, second})), kExtractOk);
    EXPECT_TRUE(extracted == data);
    EXPECT_EQ(Extract(BuildArchive({first, second}), "", L"Other.BMP"), kExtractOk);
    EXPECT_EQ(extracted, "first");
}

TEST_F(ArchiveTest, WhatIsNoSkinArchiveFailsWithoutOutput)
{
    const std::string good = SkinArchiveOf(ZlibDeflate(data), static_cast<uint32_t>(data.size()));
    EXPECT_EQ(Extract(BuildArchive({Member("SKINDATA.SK2", data)}, "PK")), kExtractFailed);
    EXPECT_EQ(Extract(BuildArchive({Member("SKINDATA.SK2", data)}, "SK", "a comment")), kExtractFailed);
    EXPECT_EQ(Extract(good.substr(0, 21)), kExtractFailed);
    EXPECT_EQ(Extract("SK"), kExtractFailed);
    EXPECT_EQ(Extract(BuildArchive({Member("SKINDATA.SK", data)})), kExtractFailed);
    EXPECT_EQ(Extract(good, "", L"SKINDATA.SK\u0132"), kExtractFailed);
    EXPECT_FALSE(outputLeft);
    EXPECT_EQ(ExtractArchiveMember(dir.File("missing.skn"), L"SKINDATA.SK2", outputFile, L""), kExtractFailed);
    EXPECT_FALSE(FileExists(outputFile));
}

TEST_F(ArchiveTest, AFileOfTheOutputNameIsKeptWhenNoMemberIsFound)
{
    WriteFileBytes(outputFile, "keep me");
    WriteFileBytes(archiveFile, BuildArchive({Member("OTHER", data)}));
    EXPECT_EQ(ExtractArchiveMember(archiveFile, L"SKINDATA.SK2", outputFile, L""), kExtractFailed);
    EXPECT_EQ(ReadFileBytes(outputFile), "keep me");
}

TEST_F(ArchiveTest, EncryptedMembersNeedTheirPassword)
{
    const uint32_t size = static_cast<uint32_t>(data.size());
    const std::string archive = EncryptedSkinArchiveOf(ZlibDeflate(data), size, "s3cret");
    EXPECT_EQ(Extract(archive, "s3cret"), kExtractOk);
    EXPECT_TRUE(extracted == data);
    EXPECT_EQ(Extract(archive, ""), kExtractRefused);
    EXPECT_FALSE(outputLeft);
    EXPECT_EQ(Extract(archive, "wrong"), kExtractRefused);
    EXPECT_FALSE(outputLeft);

    // Bit 3: the check byte is the high byte of the time, not of the CRC.
    TArchiveMember timed = Member("SKINDATA.SK2", data);
    timed.Flags = 1 | 8;
    timed.Time = 0x9A12;
    timed.Payload = EncryptPayload(ZlibDeflate(data), "pw", 0x9A);
    EXPECT_EQ(Extract(BuildArchive({timed}), "pw"), kExtractOk);
    timed.Payload = EncryptPayload(ZlibDeflate(data), "pw", static_cast<uint8_t>(timed.Crc >> 24));
    EXPECT_EQ(Extract(BuildArchive({timed}), "pw"), kExtractRefused);
}

TEST_F(ArchiveTest, TheResultRule)
{
    const uint32_t size = static_cast<uint32_t>(data.size());
    // Inflated size other than recorded.
    EXPECT_EQ(Extract(SkinArchiveOf(ZlibDeflate(data), size + 1)), kExtractRefused);
    EXPECT_FALSE(outputLeft);
    // Complete but empty.
    EXPECT_EQ(Extract(SkinArchiveOf(ZlibDeflate(""), 0)), kExtractFailed);
    EXPECT_FALSE(outputLeft);
    // A stored (method 0) member is no Deflate stream.
    TArchiveMember stored = Member("SKINDATA.SK2", data);
    stored.Method = 0;
    stored.Payload = data;
    EXPECT_NE(Extract(BuildArchive({stored})), kExtractOk);
    EXPECT_FALSE(outputLeft);
    // Stopped on bad data after one half window went out, which happens
    // to be the recorded size: the failure stands.
    std::string broken = StoredDeflate(data.substr(0, 65536));
    broken[0] &= ~1;  // not final: a reserved block follows
    broken += TBitWriter().Header(true, 3).Finish();
    EXPECT_EQ(Extract(SkinArchiveOf(broken, 32768)), kExtractFailed);
    EXPECT_FALSE(outputLeft);
}

TEST_F(ArchiveTest, OutputStopsAtTheRecordedSize)
{
    const std::string bomb = ZlibDeflate(std::string(20u << 20, 'b'));
    EXPECT_EQ(Extract(SkinArchiveOf(bomb, 1000)), kExtractRefused);
    EXPECT_FALSE(outputLeft);
    // Sizes no skin reaches are not even tried.
    EXPECT_EQ(Extract(SkinArchiveOf(bomb, kMaxMemberSize + 1)), kExtractFailed);
}

TEST_F(ArchiveTest, OffsetsOutsideTheArchiveAreRefused)
{
    const std::string good = SkinArchiveOf(ZlibDeflate(data), static_cast<uint32_t>(data.size()));
    const size_t end = good.size() - 22;
    const size_t central = good.size() - 22 - 46 - 12;

    std::string centralPastEnd = good;
    PutLe32(centralPastEnd, end + 16, 0xFFFFFF00);
    EXPECT_EQ(Extract(centralPastEnd), kExtractFailed);

    std::string nameIntoEndRecord = good;
    PutLe16(nameIntoEndRecord, central + 28, 500);
    EXPECT_EQ(Extract(nameIntoEndRecord), kExtractFailed);

    std::string entryIntoEndRecord = good;
    PutLe32(entryIntoEndRecord, end + 16, static_cast<uint32_t>(end - 10));
    EXPECT_EQ(Extract(entryIntoEndRecord), kExtractFailed);

    std::string localPastEnd = good;
    PutLe32(localPastEnd, central + 42, 0xFFFFFFF0);
    EXPECT_EQ(Extract(localPastEnd), kExtractRefused);
    EXPECT_FALSE(outputLeft);

    std::string hugeExtra = good;
    PutLe16(hugeExtra, 28, 0xFFFF);  // local header's extra length
    EXPECT_EQ(Extract(hugeExtra), kExtractRefused);
    EXPECT_FALSE(outputLeft);
}
