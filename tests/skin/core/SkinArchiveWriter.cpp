#include "SkinArchiveWriter.h"

#include <algorithm>

#include "BmpCodec.h"
#include "KYP2Archive.h"

namespace {

void AppendLe16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void AppendLe32(std::string& out, uint32_t value)
{
    AppendLe16(out, static_cast<uint16_t>(value & 0xFFFF));
    AppendLe16(out, static_cast<uint16_t>(value >> 16));
}

std::string Padded(const std::string& text, size_t size)
{
    std::string out = text.substr(0, size);
    out.resize(size, '\0');
    return out;
}

}  // namespace

TBitWriter& TBitWriter::Bits(uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) {
        pending_ |= ((value >> i) & 1) << pendingCount_;
        if (++pendingCount_ == 8) {
            bytes_ += static_cast<char>(pending_);
            pending_ = 0;
            pendingCount_ = 0;
        }
    }
    return *this;
}

TBitWriter& TBitWriter::Code(uint32_t code, int length)
{
    for (int i = length - 1; i >= 0; --i) Bits((code >> i) & 1, 1);
    return *this;
}

TBitWriter& TBitWriter::FixedLiteral(int symbol)
{
    if (symbol < 144) return Code(0x30 + symbol, 8);
    if (symbol < 256) return Code(0x190 + (symbol - 144), 9);
    if (symbol < 280) return Code(symbol - 256, 7);
    return Code(0xC0 + (symbol - 280), 8);
}

TBitWriter& TBitWriter::AlignToByte()
{
    if (pendingCount_) Bits(0, 8 - pendingCount_);
    return *this;
}

TBitWriter& TBitWriter::Bytes(const std::string& bytes)
{
    for (char c : bytes) Bits(static_cast<uint8_t>(c), 8);
    return *this;
}

std::string TBitWriter::Finish() const
{
    std::string out = bytes_;
    if (pendingCount_) out += static_cast<char>(pending_);
    return out;
}

std::string StoredDeflate(const std::string& data)
{
    TBitWriter writer;
    size_t offset = 0;
    do {
        const size_t piece = std::min<size_t>(65535, data.size() - offset);
        const bool final = offset + piece == data.size();
        writer.Header(final, 0).AlignToByte();
        writer.Bits(static_cast<uint32_t>(piece), 16).Bits(static_cast<uint32_t>(~piece & 0xFFFF), 16);
        writer.Bytes(data.substr(offset, piece));
        offset += piece;
    } while (offset < data.size());
    return writer.Finish();
}

std::string FixedLiteralsDeflate(const std::string& data)
{
    TBitWriter writer;
    writer.Header(true, 1);
    for (char c : data) writer.FixedLiteral(static_cast<uint8_t>(c));
    writer.FixedLiteral(256);
    return writer.Finish();
}

// Encryption is the decryption's key schedule run over the plain bytes.
std::string EncryptPayload(const std::string& payload, const std::string& password, uint8_t check)
{
    TPkwareKeys keys = TPkwareKeys::ForPassword(String(password.begin(), password.end()));
    std::string plain(11, '\x3C');
    plain += static_cast<char>(check);
    plain += payload;
    std::string out;
    for (char c : plain) {
        const uint8_t byte = static_cast<uint8_t>(c);
        out += static_cast<char>(byte ^ keys.StreamByte());
        keys.Update(byte);
    }
    return out;
}

namespace {

// The fields that the local header and the central directory entry share,
// from the flags to the extra field's length.
void AppendSharedHeaderFields(std::string& out, const TArchiveMember& m)
{
    AppendLe16(out, m.Flags);
    AppendLe16(out, m.Method);
    AppendLe16(out, m.Time);
    AppendLe16(out, 0);
    AppendLe32(out, m.Crc);
    AppendLe32(out, static_cast<uint32_t>(m.Payload.size()));
    AppendLe32(out, m.UncompressedSize);
    AppendLe16(out, static_cast<uint16_t>(m.Name.size()));
    AppendLe16(out, static_cast<uint16_t>(m.Extra.size()));
}

}  // namespace

std::string BuildArchive(const std::vector<TArchiveMember>& members, const std::string& signature,
    const std::string& archiveComment)
{
    std::string out;
    std::vector<uint32_t> offsets;
    for (const TArchiveMember& m : members) {
        offsets.push_back(static_cast<uint32_t>(out.size()));
        AppendLe32(out, 0x04034B50);
        AppendLe16(out, 20);
        AppendSharedHeaderFields(out, m);
        out += m.Name + m.Extra + m.Payload;
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    for (size_t i = 0; i < members.size(); ++i) {
        const TArchiveMember& m = members[i];
        AppendLe32(out, 0x02014B50);
        AppendLe16(out, 20);
        AppendLe16(out, 20);
        AppendSharedHeaderFields(out, m);
        AppendLe16(out, static_cast<uint16_t>(m.Comment.size()));
        AppendLe16(out, 0);
        AppendLe16(out, 0);
        AppendLe32(out, 0);
        AppendLe32(out, offsets[i]);
        out += m.Name + m.Extra + m.Comment;
    }
    const uint32_t centralSize = static_cast<uint32_t>(out.size()) - centralOffset;
    AppendLe32(out, 0x06054B50);
    AppendLe16(out, 0);
    AppendLe16(out, 0);
    AppendLe16(out, static_cast<uint16_t>(members.size()));
    AppendLe16(out, static_cast<uint16_t>(members.size()));
    AppendLe32(out, centralSize);
    AppendLe32(out, centralOffset);
    AppendLe16(out, static_cast<uint16_t>(archiveComment.size()));
    out += archiveComment;
    out.replace(0, std::min<size_t>(2, signature.size()), signature.substr(0, 2));
    return out;
}

std::string SkinArchiveOf(const std::string& deflated, uint32_t uncompressedSize)
{
    TArchiveMember member;
    member.Name = "SKINDATA.SK2";
    member.Payload = deflated;
    member.UncompressedSize = uncompressedSize;
    return BuildArchive({member});
}

std::string EncryptedSkinArchiveOf(const std::string& deflated, uint32_t uncompressedSize, const std::string& password)
{
    TArchiveMember member;
    member.Name = "SKINDATA.SK2";
    member.Flags = 1;
    member.Payload = EncryptPayload(deflated, password, static_cast<uint8_t>(member.Crc >> 24));
    member.UncompressedSize = uncompressedSize;
    return BuildArchive({member});
}

std::string BuildRecordFile(const std::vector<TSkinRecord>& records)
{
    std::string out(12, '\0');
    AppendLe32(out, kRecordFileHeaderSize);
    AppendLe32(out, 0);
    AppendLe32(out, kRecordFileHeaderSize);
    for (const TSkinRecord& record : records) {
        const uint32_t dataPosition = static_cast<uint32_t>(out.size() + kRecordHeaderSize);
        out += Padded(record.Name, 64);
        out += static_cast<char>(record.Type);
        AppendLe32(out, dataPosition);
        AppendLe32(out, static_cast<uint32_t>(record.Data.size()));
        AppendLe32(out, dataPosition + static_cast<uint32_t>(record.Data.size()));
        out += record.Data;
    }
    // Named and typed like a real record, pointing at four readable bytes,
    // so that reading it by mistake would show.
    out += Padded("LAST", 64);
    out += '\x01';
    AppendLe32(out, 0);
    AppendLe32(out, 4);
    AppendLe32(out, 0);
    return out;
}

TSkinRecord IntegerRecord(const std::string& name, int32_t value)
{
    std::string data;
    AppendLe32(data, static_cast<uint32_t>(value));
    return {name, 1, data};
}

TSkinRecord BooleanRecord(const std::string& name, uint8_t value) { return {name, 2, std::string(1, static_cast<char>(value))}; }

TSkinRecord BitmapRecord(const std::string& name, int width, int height, uint32_t rgb)
{
    const std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), rgb);
    const std::vector<uint8_t> bmp = EncodeBmp(width, height, pixels.data(), 24);
    return {name, 0, std::string(bmp.begin(), bmp.end())};
}

void PutLe16(std::string& bytes, size_t offset, uint16_t value)
{
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

void PutLe32(std::string& bytes, size_t offset, uint32_t value)
{
    PutLe16(bytes, offset, static_cast<uint16_t>(value & 0xFFFF));
    PutLe16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}
