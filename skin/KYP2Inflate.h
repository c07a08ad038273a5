// The Deflate decoder of skin archives: raw Deflate streams (no zlib or
// gzip wrapper) decoded with one flat lookup table per Huffman code.
//
// Skin files are untrusted: every malformed stream ends in a False result,
// never in a read or write outside the decoder's buffers, and the output
// can be capped so that a small file cannot fill a disk.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "Classes.h"

class TStream;

// A table entry: bits 0-15 the symbol, 16-23 the code length, 24-31 the
// number of extra bits that follow the code.
constexpr uint32_t kHuffmanNoCode = 0xFFFFFFFF;  // an index that no code reaches

class THuffmanTree : public TObject {
public:
    // DefMaxCodeLen: how many lengths the canonical assignment walks (15 for
    // literal/length and distance codes, 7 for the code-length code).
    explicit THuffmanTree(int defMaxCodeLen) : m_DefMaxCodeLen(defMaxCodeLen) {}

    // The codes of Count symbols whose lengths stand at Lengths[First...];
    // symbol j gets Extra[j - Base] extra bits when j >= Base (Extra must
    // cover every symbol from Base to Count - 1). False for a set of lengths
    // that is no prefix code: over-subscribed, or incomplete other than by a
    // single one-bit code. A set without any code builds a table that only
    // answers kHuffmanNoCode.
    bool Build(const uint8_t* lengths, int first, int count, const uint8_t* extra, int base);

    // LookupBits: the next MaxCodeLen() input bits, first bit lowest.
    uint32_t Decode(uint32_t lookupBits) const { return m_Decodes[lookupBits]; }
    int MaxCodeLen() const { return m_MaxCodeLen; }
    uint32_t LookupMask() const { return (1u << m_MaxCodeLen) - 1; }

private:
    std::vector<uint32_t> m_Decodes;
    int m_DefMaxCodeLen;
    int m_MaxCodeLen = 0;
};

constexpr int64_t kInflateUnlimited = std::numeric_limits<int64_t>::max();

// Decodes one raw Deflate stream from Source's position into Output. True
// when the final block ended within the input; False on bad or truncated
// input, or when the output would grow past MaxOutput bytes. Bytes written
// before a failure stay written: the caller discards them. Stream errors
// (EStreamError) pass through.
bool InflateStream(TStream& source, TStream& output, int64_t maxOutput = kInflateUnlimited);
