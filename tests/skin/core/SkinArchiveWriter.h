// Test-side writers of skin data: Deflate streams made bit by bit, skin
// archives (the ZIP layout with "SK" first) with optional traditional
// PKWARE encryption, and skin record files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Deflate fields go in first bit lowest; Huffman codes go in from their
// most significant bit.
class TBitWriter {
public:
    TBitWriter& Bits(uint32_t value, int count);
    TBitWriter& Code(uint32_t code, int length);
    // A block header: BFINAL, then BTYPE.
    TBitWriter& Header(bool final, int type) { return Bits(final ? 1 : 0, 1).Bits(static_cast<uint32_t>(type), 2); }
    // Symbols of the fixed code.
    TBitWriter& FixedLiteral(int symbol);
    TBitWriter& FixedDistance(int symbol) { return Code(static_cast<uint32_t>(symbol), 5); }
    TBitWriter& AlignToByte();
    TBitWriter& Bytes(const std::string& bytes);
    // The stream so far, its last byte zero-padded.
    std::string Finish() const;

private:
    std::string bytes_;
    uint32_t pending_ = 0;
    int pendingCount_ = 0;
};

// Data in stored blocks of at most 65535 bytes; the last one is final.
std::string StoredDeflate(const std::string& data);
// One fixed-code block of literals only.
std::string FixedLiteralsDeflate(const std::string& data);

struct TArchiveMember {
    std::string Name;
    std::string Payload;  // as stored: compressed, and encrypted when Flags bit 0 is set
    uint32_t UncompressedSize = 0;
    uint32_t Crc = 0x5A000000;  // only its high byte is ever checked
    uint16_t Flags = 0;
    uint16_t Time = 0;
    uint16_t Method = 8;
    std::string Extra;
    std::string Comment;
};

// Payload encrypted for Password: 12-byte header whose last byte is Check.
std::string EncryptPayload(const std::string& payload, const std::string& password, uint8_t check);

// Members, then the central directory, then the end record.
std::string BuildArchive(const std::vector<TArchiveMember>& members, const std::string& signature = "SK",
    const std::string& archiveComment = "");
// An archive of one unencrypted member "SKINDATA.SK2".
std::string SkinArchiveOf(const std::string& deflated, uint32_t uncompressedSize);
// The same, encrypted for Password with the check byte from the CRC.
std::string EncryptedSkinArchiveOf(const std::string& deflated, uint32_t uncompressedSize, const std::string& password);

struct TSkinRecord {
    std::string Name;
    uint8_t Type = 1;
    std::string Data;
};

constexpr size_t kRecordFileHeaderSize = 24;
constexpr size_t kRecordHeaderSize = 77;

// The header, then each record's header followed by its data, then the
// closing header (next position 0) that holds no record.
std::string BuildRecordFile(const std::vector<TSkinRecord>& records);
TSkinRecord IntegerRecord(const std::string& name, int32_t value);
TSkinRecord BooleanRecord(const std::string& name, uint8_t value);
// A w x h bitmap of one colour, as a whole BMP file.
TSkinRecord BitmapRecord(const std::string& name, int width, int height, uint32_t rgb);

void PutLe16(std::string& bytes, size_t offset, uint16_t value);
void PutLe32(std::string& bytes, size_t offset, uint32_t value);
