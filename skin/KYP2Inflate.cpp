#include "KYP2Inflate.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "Streams.h"

namespace {

constexpr size_t kInputSize = 16384;
constexpr size_t kWindowSize = 65536;  // flushed when the output reaches it
constexpr size_t kHalfWindow = 32768;  // written per flush; the rest is history
constexpr size_t kMaxMatch = 258;
constexpr size_t kStoredPiece = 16384;
constexpr int kMaxLiteralCodes = 286;
constexpr int kMaxDistanceCodes = 30;
constexpr int kLengthSymbolBase = 257;
constexpr uint32_t kEndOfBlock = 256;
constexpr uint32_t kLastLengthSymbol = 285;

// Length symbols 257 to 285. The fixed code also assigns codes to 286 and
// 287, which mean nothing: their zero entries keep the tables in bounds
// and the decoder refuses the symbols.
constexpr std::array<uint16_t, 31> kLengthBase{3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
    35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258, 0, 0};
constexpr std::array<uint8_t, 31> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4,
    4, 4, 4, 5, 5, 5, 5, 0, 0, 0};
// Distance symbols 0 to 29; 30 and 31 likewise only exist in the fixed code.
constexpr std::array<uint16_t, 32> kDistanceBase{1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193,
    257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 0, 0};
constexpr std::array<uint8_t, 32> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8,
    9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 0, 0};
// The order in which a dynamic block header lists the code-length code.
constexpr std::array<uint8_t, 19> kCodeLengthOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr std::array<uint8_t, 256> MakeByteReversal()
{
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        int reversed = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (i & (1 << bit)) reversed |= 0x80 >> bit;
        table[i] = static_cast<uint8_t>(reversed);
    }
    return table;
}
constexpr std::array<uint8_t, 256> kByteReversal = MakeByteReversal();

constexpr uint32_t Mask(int bits) { return (1u << bits) - 1; }

uint32_t Reverse16(uint32_t value)
{
    return (static_cast<uint32_t>(kByteReversal[value & 0xFF]) << 8) | kByteReversal[(value >> 8) & 0xFF];
}

struct TFixedTrees {
    THuffmanTree literals{15};
    THuffmanTree distances{15};
    TFixedTrees()
    {
        std::array<uint8_t, 288> lengths{};
        std::fill(lengths.begin(), lengths.begin() + 144, 8);
        std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
        std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
        std::fill(lengths.begin() + 280, lengths.end(), 8);
        literals.Build(lengths.data(), 0, 288, kLengthExtra.data(), kLengthSymbolBase);
        std::array<uint8_t, 32> distanceLengths{};
        distanceLengths.fill(5);
        distances.Build(distanceLengths.data(), 0, 32, kDistanceExtra.data(), 0);
    }
};

const TFixedTrees& FixedTrees()
{
    static const TFixedTrees trees;
    return trees;
}

// Thrown inside the decoder only; InflateStream turns them into False.
struct TInputEnded {};
struct TOutputFull {};

// One run of the decoder over one stream. The bit reader keeps up to two
// 32-bit words of look-ahead, each taken whole from the input buffer, next
// bit lowest.
class TInflater {
public:
    TInflater(TStream& source, TStream& output, int64_t maxOutput)
        : source_(source), output_(output), maxOutput_(maxOutput),
          input_(new uint8_t[kInputSize + 4]), window_(new uint8_t[kWindowSize + kMaxMatch])
    {}

    bool Run();

private:
    bool RefillInput();
    void TakeWordSlow();
    void TakeWord()
    {
        if (inEnd_ - inPos_ < 4) return TakeWordSlow();
        uint32_t word;
        std::memcpy(&word, input_.get() + inPos_, 4);
        inPos_ += 4;
        takenBytes_ += 4;
        AddWord(word);
    }
    void AddWord(uint32_t word)
    {
        bitBuf_ |= static_cast<uint64_t>(word) << bitCount_;
        bitCount_ += 32;
    }
    // N up to 31 bits.
    void Need(int n)
    {
        if (bitCount_ < n) TakeWord();
    }
    uint32_t PeekBits(int n)
    {
        Need(n);
        return static_cast<uint32_t>(bitBuf_) & Mask(n);
    }
    void DropBits(int n)
    {
        bitBuf_ >>= n;
        bitCount_ -= n;
    }
    uint32_t GetBits(int n)
    {
        const uint32_t value = PeekBits(n);
        DropBits(n);
        return value;
    }
    void ReadAlignedBytes(uint8_t* destination, size_t count);
    bool ConsumedWithinInput() const
    {
        return takenBytes_ * 8 - static_cast<uint64_t>(bitCount_) <= realBytes_ * 8;
    }

    bool InflateStored();
    bool InflateDynamic();
    bool InflateCodes(const THuffmanTree& literals, const THuffmanTree& distances);
    void Flush();
    void WriteOut(const uint8_t* data, size_t count);

    TStream& source_;
    TStream& output_;
    const int64_t maxOutput_;
    int64_t written_ = 0;

    std::unique_ptr<uint8_t[]> input_;  // room for the zero padding of the last word
    size_t inPos_ = 0;
    size_t inReal_ = 0;  // end of the bytes read from the source
    size_t inEnd_ = 0;   // end including the zero padding
    bool sourceEnded_ = false;
    uint64_t realBytes_ = 0;   // read from the source so far
    uint64_t takenBytes_ = 0;  // taken into the bit buffer, padding included
    int zeroWords_ = 0;        // words supplied after the input ran out

    uint64_t bitBuf_ = 0;
    int bitCount_ = 0;

    std::unique_ptr<uint8_t[]> window_;  // room for one match past the flush mark
    size_t pos_ = 0;
};

bool TInflater::RefillInput()
{
    // Padding is never carried over: it is made again once the source ends.
    size_t held = inPos_ < inReal_ ? inReal_ - inPos_ : 0;
    std::memmove(input_.get(), input_.get() + inPos_, held);
    inPos_ = 0;
    while (!sourceEnded_ && held < kInputSize) {
        const int64_t got = source_.Read(input_.get() + held, static_cast<int64_t>(kInputSize - held));
        if (got <= 0) {
            sourceEnded_ = true;
            break;
        }
        held += static_cast<size_t>(got);
        realBytes_ += static_cast<uint64_t>(got);
    }
    inReal_ = inEnd_ = held;
    if (held == 0) return false;
    if (sourceEnded_)
        while (inEnd_ % 4) input_[inEnd_++] = 0;
    return true;
}

// A final code may be peeked at with bits from past the end of the input,
// so one word of zeros is supplied after it. A second one can only be
// asked for by a reader that has already consumed bits past the end.
void TInflater::TakeWordSlow()
{
    if (inEnd_ - inPos_ < 4 && !RefillInput()) {
        if (++zeroWords_ > 1) throw TInputEnded{};
        takenBytes_ += 4;
        AddWord(0);
        return;
    }
    TakeWord();
}

void TInflater::ReadAlignedBytes(uint8_t* destination, size_t count)
{
    while (count && bitCount_ >= 8) {
        *destination++ = static_cast<uint8_t>(bitBuf_);
        DropBits(8);
        --count;
    }
    while (count) {
        if (inPos_ >= inReal_ && !RefillInput()) throw TInputEnded{};
        const size_t piece = std::min(count, inReal_ - inPos_);
        std::memcpy(destination, input_.get() + inPos_, piece);
        inPos_ += piece;
        takenBytes_ += piece;
        destination += piece;
        count -= piece;
    }
}

void TInflater::WriteOut(const uint8_t* data, size_t count)
{
    if (static_cast<int64_t>(count) > maxOutput_ - written_) throw TOutputFull{};
    output_.WriteBuffer(data, static_cast<int64_t>(count));
    written_ += static_cast<int64_t>(count);
}

void TInflater::Flush()
{
    WriteOut(window_.get(), kHalfWindow);
    std::memmove(window_.get(), window_.get() + kHalfWindow, pos_ - kHalfWindow);
    pos_ -= kHalfWindow;
}

bool TInflater::InflateStored()
{
    DropBits(bitCount_ % 8);
    uint8_t header[4];
    ReadAlignedBytes(header, sizeof header);
    // The one's complement that follows the length is not compared.
    size_t remaining = header[0] | (header[1] << 8);
    while (remaining) {
        const size_t piece = std::min({remaining, kStoredPiece, kWindowSize - pos_});
        ReadAlignedBytes(window_.get() + pos_, piece);
        pos_ += piece;
        remaining -= piece;
        if (pos_ >= kWindowSize) Flush();
    }
    return true;
}

bool TInflater::InflateDynamic()
{
    const int literalCount = static_cast<int>(GetBits(5)) + 257;
    const int distanceCount = static_cast<int>(GetBits(5)) + 1;
    const int codeLengthCount = static_cast<int>(GetBits(4)) + 4;
    if (literalCount > kMaxLiteralCodes || distanceCount > kMaxDistanceCodes) return false;

    std::array<uint8_t, 19> codeLengthLengths{};
    for (int i = 0; i < codeLengthCount; ++i) codeLengthLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(GetBits(3));
    THuffmanTree codeLengths(7);
    if (!codeLengths.Build(codeLengthLengths.data(), 0, 19, nullptr, 0xFFFF)) return false;

    std::array<uint8_t, kMaxLiteralCodes + 32> lengths{};
    const int total = literalCount + distanceCount;
    const int peek = codeLengths.MaxCodeLen() + 7;
    int filled = 0;
    while (filled < total) {
        const uint32_t bits = PeekBits(peek);
        const uint32_t entry = codeLengths.Decode(bits & codeLengths.LookupMask());
        if (entry == kHuffmanNoCode) return false;
        const int codeLen = static_cast<int>((entry >> 16) & 0xFF);
        const uint32_t symbol = entry & 0xFFFF;
        const uint32_t above = bits >> codeLen;
        if (symbol < 16) {
            DropBits(codeLen);
            lengths[filled++] = static_cast<uint8_t>(symbol);
            continue;
        }
        int repeat;
        uint8_t value = 0;
        if (symbol == 16) {
            if (filled == 0) return false;  // nothing to repeat
            value = lengths[filled - 1];
            repeat = 3 + static_cast<int>(above & 3);
            DropBits(codeLen + 2);
        } else if (symbol == 17) {
            repeat = 3 + static_cast<int>(above & 7);
            DropBits(codeLen + 3);
        } else {
            repeat = 11 + static_cast<int>(above & 0x7F);
            DropBits(codeLen + 7);
        }
        if (repeat > total - filled) return false;
        std::fill_n(lengths.begin() + filled, repeat, value);
        filled += repeat;
    }

    THuffmanTree literals(15);
    THuffmanTree distances(15);
    if (!literals.Build(lengths.data(), 0, literalCount, kLengthExtra.data(), kLengthSymbolBase)) return false;
    if (!distances.Build(lengths.data(), literalCount, distanceCount, kDistanceExtra.data(), 0)) return false;
    return InflateCodes(literals, distances);
}

// The hot loop works on local copies of the bit buffer and the output
// position (stores into the window could otherwise alias them) and syncs
// them around every call that reads or writes the members.
bool TInflater::InflateCodes(const THuffmanTree& literals, const THuffmanTree& distances)
{
    const int literalPeek = literals.MaxCodeLen() + 5;
    const uint32_t literalMask = literals.LookupMask();
    const int distancePeek = distances.MaxCodeLen() + 14;
    const uint32_t distanceMask = distances.LookupMask();
    uint8_t* const window = window_.get();
    size_t pos = pos_;

    const auto need = [&](int n) {
        if (bitCount_ < n) TakeWord();
    };
    const auto advance = [&](size_t count) {
        pos += count;
        if (pos >= kWindowSize) {
            pos_ = pos;
            Flush();
            pos = pos_;
        }
    };
    bool ended = false;
    for (;;) {
        need(literalPeek);
        uint32_t entry = literals.Decode(static_cast<uint32_t>(bitBuf_) & literalMask);
        if (entry == kHuffmanNoCode) break;
        int codeLen = static_cast<int>((entry >> 16) & 0xFF);
        uint32_t symbol = entry & 0xFFFF;
        if (symbol < kEndOfBlock) {
            DropBits(codeLen);
            window[pos] = static_cast<uint8_t>(symbol);
            advance(1);
            continue;
        }
        if (symbol == kEndOfBlock) {
            DropBits(codeLen);
            ended = true;
            break;
        }
        if (symbol > kLastLengthSymbol) break;
        int extra = static_cast<int>(entry >> 24);
        const size_t length =
            kLengthBase[symbol - kLengthSymbolBase] + ((static_cast<uint32_t>(bitBuf_) >> codeLen) & Mask(extra));
        DropBits(codeLen + extra);

        need(distancePeek);
        entry = distances.Decode(static_cast<uint32_t>(bitBuf_) & distanceMask);
        if (entry == kHuffmanNoCode) break;
        codeLen = static_cast<int>((entry >> 16) & 0xFF);
        symbol = entry & 0xFFFF;
        if (symbol >= static_cast<uint32_t>(kMaxDistanceCodes)) break;
        extra = static_cast<int>(entry >> 24);
        const size_t distance =
            kDistanceBase[symbol] + ((static_cast<uint32_t>(bitBuf_) >> codeLen) & Mask(extra));
        DropBits(codeLen + extra);
        // After the first flush at least 32 KiB of history stay below pos,
        // so this refuses exactly a distance before the first output byte.
        if (distance > pos) break;

        uint8_t* to = window + pos;
        const uint8_t* from = to - distance;
        if (length <= distance) {
            std::memcpy(to, from, length);
        } else {
            for (size_t i = 0; i < length; ++i) to[i] = from[i];  // repeats its own output
        }
        advance(length);
    }
    pos_ = pos;
    return ended;
}

bool TInflater::Run()
{
    try {
        for (;;) {
            const bool final = GetBits(1) != 0;
            bool ok;
            switch (GetBits(2)) {
            case 0: ok = InflateStored(); break;
            case 1: ok = InflateCodes(FixedTrees().literals, FixedTrees().distances); break;
            case 2: ok = InflateDynamic(); break;
            default: ok = false; break;  // reserved
            }
            if (!ok) return false;
            if (final) break;
        }
        if (!ConsumedWithinInput()) return false;
        WriteOut(window_.get(), pos_);
        return true;
    } catch (const TInputEnded&) {
        return false;
    } catch (const TOutputFull&) {
        return false;
    }
}

}  // namespace

bool THuffmanTree::Build(const uint8_t* lengths, int first, int count, const uint8_t* extra, int base)
{
    std::array<int, 16> lengthCount{};
    int maxLen = 0;
    for (int i = 0; i < count; ++i) {
        const int length = lengths[first + i];
        if (length > m_DefMaxCodeLen || length > 15) return false;
        ++lengthCount[length];
        maxLen = std::max(maxLen, length);
    }
    lengthCount[0] = 0;
    // Each length halves the code space left; a prefix code fills it
    // exactly. The one incomplete set that Deflate writers produce is a
    // single one-bit code (a block that uses one distance).
    int left = 1;
    int codes = 0;
    for (int length = 1; length <= maxLen; ++length) {
        left = left * 2 - lengthCount[length];
        codes += lengthCount[length];
        if (left < 0) return false;
    }
    if (left > 0 && codes > 0 && !(codes == 1 && maxLen == 1)) return false;

    m_MaxCodeLen = maxLen;
    const size_t size = size_t{1} << maxLen;
    m_Decodes.assign(size, kHuffmanNoCode);
    std::array<uint32_t, 16> nextCode{};
    uint32_t code = 0;
    for (int length = 1; length <= m_DefMaxCodeLen; ++length) {
        code = (code + static_cast<uint32_t>(lengthCount[length - 1])) << 1;
        nextCode[length] = code;
    }
    for (int symbol = 0; symbol < count; ++symbol) {
        const int length = lengths[first + symbol];
        if (length == 0) continue;
        const uint32_t reversed = Reverse16(nextCode[length]++) >> (16 - length);
        uint32_t entry = static_cast<uint32_t>(symbol) | (static_cast<uint32_t>(length) << 16);
        if (symbol >= base) entry |= static_cast<uint32_t>(extra[symbol - base]) << 24;
        for (size_t index = reversed; index < size; index += size_t{1} << length) m_Decodes[index] = entry;
    }
    return true;
}

bool InflateStream(TStream& source, TStream& output, int64_t maxOutput)
{
    TInflater inflater(source, output, maxOutput);
    return inflater.Run();
}
