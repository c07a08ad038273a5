// Extraction against archives that our own writer did not make: Info-ZIP's
// encryption and Deflate coder (made at build time by
// make_infozip_archives.py), and the Python-made seeds of the archive
// fuzzer, each compared byte for byte with content written by the same
// independent source.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "FileSystem.h"
#include "KYP2Archive.h"
#include "TempDir.h"

namespace {

String Wide(const std::string& text) { return String(text.begin(), text.end()); }

const String kKnownDir = Wide(KNOWN_ARCHIVE_DIR) + L"/";
const String kSeedDir = Wide(SEED_ARCHIVE_DIR) + L"/";
const String kPassword = Wide(KNOWN_ARCHIVE_PASSWORD);

uint16_t Le16At(const std::string& bytes, size_t offset)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(offset)) | (static_cast<uint8_t>(bytes.at(offset + 1)) << 8));
}

// The flags of the archive's first central directory entry, found from
// the end record's offset field.
uint16_t CentralFlags(const std::string& archive)
{
    const size_t central = Le16At(archive, archive.size() - 6) | (static_cast<size_t>(Le16At(archive, archive.size() - 4)) << 16);
    return Le16At(archive, central + 8);
}

class KnownArchivesTest : public testing::Test {
protected:
    uint8_t Extract(const String& archive, const String& member, const String& password)
    {
        RemoveFile(output);
        const uint8_t result = ExtractArchiveMember(archive, member, output, password);
        extracted = FileExists(output) ? ReadFileBytes(output) : std::string();
        return result;
    }

    TempDir dir;
    const String output = dir.File("out.sk2");
    std::string extracted;
};

TEST_F(KnownArchivesTest, InfoZipArchivesExtractWithTheirPasswordOnly)
{
    const std::string content = ReadFileBytes(kKnownDir + L"content.bin");
    ASSERT_GT(content.size(), 100000u);
    const struct {
        const wchar_t* file;
        const wchar_t* member;
        bool checkByteFromTime;
    } archives[] = {{L"cloaked.skn", L"skindata.sk2", false}, {L"streamed.skn", L"-", true}};
    for (const auto& a : archives) {
        const String archive = kKnownDir + a.file;
        const std::string bytes = ReadFileBytes(archive);
        ASSERT_EQ(bytes.substr(0, 2), "SK") << a.file;
        const uint16_t flags = CentralFlags(bytes);
        EXPECT_EQ(flags & 1, 1) << a.file << ": encrypted";
        EXPECT_EQ((flags & 8) != 0, a.checkByteFromTime) << a.file << ": where the check byte comes from";

        EXPECT_EQ(Extract(archive, a.member, kPassword), kExtractOk) << a.file;
        EXPECT_TRUE(extracted == content) << a.file << ": " << extracted.size() << " bytes differ from the known content";
        for (const wchar_t* wrong : {L"", L"k3y sched&ule", L"K3y sched&ule!", L"k3y sched&ule!!"}) {
            EXPECT_NE(Extract(archive, a.member, wrong), kExtractOk) << a.file;
            EXPECT_FALSE(FileExists(output)) << a.file;
        }
    }
}

TEST_F(KnownArchivesTest, ThePythonMadeSeedsExtractByteForByte)
{
    const std::string member = ReadFileBytes(kKnownDir + L"seed-member.sk2");
    ASSERT_FALSE(member.empty());
    for (const wchar_t* seed : {L"deflated", L"stored-blocks", L"two-members", L"encrypted"}) {
        const String password = String(seed) == L"encrypted" ? L"secret" : L"";
        EXPECT_EQ(Extract(kSeedDir + seed, L"SKINDATA.SK2", password), kExtractOk) << seed;
        EXPECT_TRUE(extracted == member) << seed;
    }
    EXPECT_EQ(Extract(kSeedDir + L"encrypted", L"SKINDATA.SK2", L"Secret"), kExtractRefused);
}

}  // namespace
