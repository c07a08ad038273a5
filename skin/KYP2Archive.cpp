#include "KYP2Archive.h"

#include <array>
#include <optional>
#include <string>

#include "FileSystem.h"
#include "KYP2Inflate.h"
#include "Streams.h"

namespace {

constexpr uint32_t kEndRecordSignature = 0x06054B50;
constexpr int64_t kEndRecordSize = 22;
constexpr int64_t kCentralEntrySize = 46;
constexpr int64_t kLocalHeaderSize = 30;
constexpr int kEncryptionHeaderSize = 12;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagCheckByteFromTime = 0x0008;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | (static_cast<uint32_t>(Le16(p + 2)) << 16); }

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t CrcStep(uint32_t crc, uint8_t byte) { return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8); }

// What the extraction uses of a central directory entry.
struct TMemberEntry {
    uint16_t Flags = 0;
    uint16_t Time = 0;
    uint32_t Crc = 0;
    uint32_t UncompressedSize = 0;
    uint32_t LocalHeaderOffset = 0;
};

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The member name as 8-bit text; a character above 255 can match nothing.
std::optional<std::string> NameBytes(const String& name)
{
    std::string bytes;
    for (wchar_t c : name) {
        if (static_cast<uint32_t>(c) > 0xFF) return std::nullopt;
        bytes += static_cast<char>(c);
    }
    return UpperAscii(bytes);
}

// The end record must be the file's last 22 bytes: no archive comment.
std::optional<int64_t> LocateEndRecord(TStream& archive, uint32_t& centralOffset)
{
    const int64_t size = archive.Size();
    if (size < kEndRecordSize) return std::nullopt;
    const int64_t position = size - kEndRecordSize;
    uint8_t record[kEndRecordSize];
    archive.SetPosition(position);
    archive.ReadBuffer(record, kEndRecordSize);
    if (Le32(record) != kEndRecordSignature || Le16(record + 20) != 0) return std::nullopt;
    centralOffset = Le32(record + 16);
    return position;
}

// Entries must lie wholly before the end record; the walk stops at the
// first one that does not.
std::optional<TMemberEntry> FindMember(TStream& archive, const std::string& wanted)
{
    uint32_t centralOffset = 0;
    const std::optional<int64_t> endRecord = LocateEndRecord(archive, centralOffset);
    if (!endRecord) return std::nullopt;
    int64_t position = centralOffset;
    std::string name;
    while (position < *endRecord) {
        if (*endRecord - position < kCentralEntrySize) return std::nullopt;
        uint8_t fixed[kCentralEntrySize];
        archive.SetPosition(position);
        archive.ReadBuffer(fixed, kCentralEntrySize);
        const uint16_t nameLength = Le16(fixed + 28);
        if (*endRecord - position - kCentralEntrySize < nameLength) return std::nullopt;
        name.resize(nameLength);
        archive.ReadBuffer(name.data(), nameLength);
        if (UpperAscii(name) == wanted) {
            TMemberEntry entry;
            entry.Flags = Le16(fixed + 8);
            entry.Time = Le16(fixed + 12);
            entry.Crc = Le32(fixed + 16);
            entry.UncompressedSize = Le32(fixed + 24);
            entry.LocalHeaderOffset = Le32(fixed + 42);
            return entry;
        }
        position += kCentralEntrySize + nameLength + Le16(fixed + 30) + Le16(fixed + 32);
    }
    return std::nullopt;
}

// Decrypts the archive's bytes as the decoder reads them.
class TDecryptingStream : public TStream {
public:
    TDecryptingStream(TStream& source, TPkwareKeys keys) : source_(source), keys_(keys) {}

    int64_t Read(void* buffer, int64_t count) override
    {
        const int64_t got = source_.Read(buffer, count);
        if (got > 0) {
            DecryptBuffer(keys_, static_cast<uint8_t*>(buffer), static_cast<size_t>(got));
            position_ += got;
        }
        return got;
    }
    int64_t Write(const void*, int64_t) override { throw EWriteError(L"The decrypted member cannot be written"); }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        if (offset == 0 && origin == TSeekOrigin::soCurrent) return position_;
        throw EStreamError(L"The decrypted member cannot be repositioned");
    }
    void SetSize(int64_t) override { throw EStreamError(L"The decrypted member cannot be resized"); }

private:
    TStream& source_;
    TPkwareKeys keys_;
    int64_t position_ = 0;
};

uint8_t InflateMember(TStream& archive, const TMemberEntry& entry, const String& password, TStream& output)
{
    uint8_t local[kLocalHeaderSize];
    archive.SetPosition(entry.LocalHeaderOffset);
    archive.ReadBuffer(local, kLocalHeaderSize);
    archive.Seek(Le16(local + 26) + Le16(local + 28), TSeekOrigin::soCurrent);
    // The compression method is not consulted: every member is Deflate.
    if (!(entry.Flags & kFlagEncrypted)) return InflateStream(archive, output, entry.UncompressedSize) ? kExtractOk : kExtractFailed;

    if (password.empty()) return kExtractRefused;
    TPkwareKeys keys = TPkwareKeys::ForPassword(password);
    uint8_t header[kEncryptionHeaderSize];
    archive.ReadBuffer(header, kEncryptionHeaderSize);
    DecryptBuffer(keys, header, kEncryptionHeaderSize);
    const uint8_t check = (entry.Flags & kFlagCheckByteFromTime) ? static_cast<uint8_t>(entry.Time >> 8)
                                                                 : static_cast<uint8_t>(entry.Crc >> 24);
    if (header[kEncryptionHeaderSize - 1] != check) return kExtractRefused;
    TDecryptingStream plain(archive, keys);
    return InflateStream(plain, output, entry.UncompressedSize) ? kExtractOk : kExtractFailed;
}

// An empty result is a failure; any size but the recorded one is refused,
// whatever went before.
uint8_t ApplyResultRule(uint8_t result, int64_t outputSize, uint32_t recordedSize)
{
    if (outputSize == 0 && result == kExtractOk) return kExtractFailed;
    if (outputSize != static_cast<int64_t>(recordedSize)) return kExtractRefused;
    return result;
}

uint8_t ExtractFromOpenArchive(TStream& archive, const String& memberName, const String& outputFile,
    const String& password)
{
    uint8_t signature[4];
    if (archive.Read(signature, 4) != 4 || signature[0] != 'S' || signature[1] != 'K') return kExtractFailed;
    const std::optional<std::string> wanted = NameBytes(memberName);
    if (!wanted) return kExtractFailed;
    const std::optional<TMemberEntry> entry = FindMember(archive, *wanted);
    if (!entry || entry->UncompressedSize > kMaxMemberSize) return kExtractFailed;

    uint8_t result = kExtractFailed;
    {
        TFileStream output(outputFile, fmCreate | fmShareDenyWrite);
        try {
            result = InflateMember(archive, *entry, password, output);
        } catch (const std::exception&) {
            result = kExtractFailed;
        }
        result = ApplyResultRule(result, output.Size(), entry->UncompressedSize);
    }
    // Only a file made here is removed: a failure before this point leaves
    // any file of that name alone.
    if (result != kExtractOk) RemoveFile(outputFile);
    return result;
}

}  // namespace

TPkwareKeys TPkwareKeys::ForPassword(const String& password)
{
    TPkwareKeys keys;
    for (wchar_t c : password) keys.Update(static_cast<uint8_t>(c & 0xFF));
    return keys;
}

void TPkwareKeys::Update(uint8_t plain)
{
    Key0 = CrcStep(Key0, plain);
    Key1 = (Key1 + (Key0 & 0xFF)) * 0x08088405u + 1;
    Key2 = CrcStep(Key2, static_cast<uint8_t>(Key1 >> 24));
}

uint8_t TPkwareKeys::StreamByte() const
{
    const uint32_t temp = (Key2 | 2) & 0xFFFF;
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void DecryptBuffer(TPkwareKeys& keys, uint8_t* buffer, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        buffer[i] ^= keys.StreamByte();
        keys.Update(buffer[i]);
    }
}

uint8_t ExtractArchiveMember(const String& archiveFile, const String& memberName, const String& outputFile,
    const String& password)
{
    if (!FileExists(archiveFile)) return kExtractFailed;
    uint8_t result = kExtractFailed;
    try {
        TFileStream archive(archiveFile, fmOpenRead | fmShareDenyNone);
        result = ExtractFromOpenArchive(archive, memberName, outputFile, password);
    } catch (const std::exception&) {
        result = kExtractFailed;
    }
    return result;
}
