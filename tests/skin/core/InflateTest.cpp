// The Deflate decoder, stage by stage: stored, fixed and dynamic blocks,
// the window, and one case per way that bad input is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "KYP2Inflate.h"
#include "SkinArchiveWriter.h"
#include "Streams.h"
#include "ZlibDeflate.h"

namespace {

struct TInflateRun {
    bool Ok = false;
    std::string Output;
};

TInflateRun Inflate(const std::string& deflated, int64_t maxOutput = kInflateUnlimited)
{
    TMemoryStream source;
    source.WriteBuffer(deflated.data(), static_cast<int64_t>(deflated.size()));
    source.SetPosition(0);
    TMemoryStream output;
    TInflateRun run;
    run.Ok = InflateStream(source, output, maxOutput);
    run.Output.assign(reinterpret_cast<const char*>(output.Memory()), static_cast<size_t>(output.Size()));
    return run;
}

void ExpectInflates(const std::string& deflated, const std::string& expected)
{
    const TInflateRun run = Inflate(deflated);
    EXPECT_TRUE(run.Ok);
    EXPECT_EQ(run.Output.size(), expected.size());
    EXPECT_TRUE(run.Output == expected);
}

void ExpectRefused(const std::string& deflated) { EXPECT_FALSE(Inflate(deflated).Ok); }

// Writes the lengths of the code-length code (all 19, in the header's
// order) after a dynamic block header.
void DynamicHeader(TBitWriter& w, bool final, int literals, int distances, const std::vector<std::pair<int, int>>& codeLengths)
{
    static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    w.Header(final, 2).Bits(literals - 257, 5).Bits(distances - 1, 5).Bits(19 - 4, 4);
    for (int symbol : order) {
        int length = 0;
        for (auto [s, l] : codeLengths)
            if (s == symbol) length = l;
        w.Bits(length, 3);
    }
}

// Code-length code: 18 -> 0, 1 -> 10, 2 -> 11. Literal code: 257 -> 0,
// 'a' -> 10, 256 -> 11; one distance code (symbol 0) of one bit: 0.
TBitWriter OneLetterBlock()
{
    TBitWriter w;
    DynamicHeader(w, true, 258, 1, {{18, 1}, {1, 2}, {2, 2}});
    const auto zeros = [&](int count) {
        w.Code(0, 1).Bits(count - 11, 7);
    };
    zeros(97);
    w.Code(3, 2);  // 'a': 2
    zeros(138);
    zeros(20);
    w.Code(3, 2).Code(2, 2);  // 256: 2, 257: 1
    w.Code(2, 2);  // distance 0: 1
    return w;
}

// Records the size of every write.
class TWriteLog : public TMemoryStream {
public:
    int64_t Write(const void* buffer, int64_t count) override
    {
        writes.push_back(count);
        return TMemoryStream::Write(buffer, count);
    }
    std::vector<int64_t> writes;
};

}  // namespace

TEST(InflateStored, EmptyBlocksAddNothingAndDecodingGoesOn)
{
    TBitWriter w;
    w.Header(false, 0).AlignToByte().Bits(0, 16).Bits(0xFFFF, 16);
    w.Header(true, 0).AlignToByte().Bits(3, 16).Bits(~3u & 0xFFFF, 16).Bytes("abc");
    ExpectInflates(w.Finish(), "abc");
}

TEST(InflateStored, LongBlocksArriveIntactAtAnyWindowPosition)
{
    ExpectInflates(StoredDeflate(SampleData(65535)), SampleData(65535));
    // A fixed block first leaves the window off the stored pieces' grid.
    TBitWriter w;
    w.Header(false, 1);
    for (int i = 0; i < 100; ++i) w.FixedLiteral('x');
    w.FixedLiteral(256);
    const std::string stored = SampleData(200000, 7);
    for (size_t offset = 0; offset < stored.size(); offset += 65535) {
        const std::string piece = stored.substr(offset, 65535);
        w.Header(offset + 65535 >= stored.size(), 0).AlignToByte();
        w.Bits(static_cast<uint32_t>(piece.size()), 16).Bits(~static_cast<uint32_t>(piece.size()) & 0xFFFF, 16).Bytes(piece);
    }
    ExpectInflates(w.Finish(), std::string(100, 'x') + stored);
}

TEST(InflateStored, LengthPastTheInputIsRefused)
{
    TBitWriter w;
    w.Header(true, 0).AlignToByte().Bits(10, 16).Bits(~10u & 0xFFFF, 16).Bytes("abc");
    ExpectRefused(w.Finish());
}

TEST(InflateFixed, CodesOfTheFixedTable)
{
    ExpectInflates(TBitWriter().Header(true, 1).Code(0, 7).Finish(), "");  // 0000000 ends the block
    ExpectInflates(FixedLiteralsDeflate(std::string("\x00\x8F\x90\xFF", 4)), std::string("\x00\x8F\x90\xFF", 4));
    // Symbol 285 is 258 without extra bits: the literal after it must survive.
    ExpectInflates(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral(285).FixedDistance(0)
                       .FixedLiteral('b').FixedLiteral(256).Finish(),
        std::string(259, 'a') + "b");
    // Length 10 (symbol 264) from distance 2 repeats its own output.
    ExpectInflates(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral('b').FixedLiteral(264)
                       .FixedDistance(1).FixedLiteral(256).Finish(),
        "abababababab");
    // Extra bits: symbol 269 is 19 + 2 bits, distance code 4 is 5 + 1 bit.
    std::string expected = "abcdef";
    for (int i = 0; i < 21; ++i) expected += expected[expected.size() - 6];
    ExpectInflates(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral('b').FixedLiteral('c')
                       .FixedLiteral('d').FixedLiteral('e').FixedLiteral('f').FixedLiteral(269).Bits(2, 2)
                       .FixedDistance(4).Bits(1, 1).FixedLiteral(256).Finish(),
        expected);
}

TEST(InflateFixed, SymbolsOutsideTheLengthAndDistanceTablesAreRefused)
{
    for (int symbol : {286, 287})
        ExpectRefused(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral(symbol).FixedDistance(0).FixedLiteral(256).Finish());
    for (int distance : {30, 31})
        ExpectRefused(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral(257).FixedDistance(distance).FixedLiteral(256).Finish());
}

TEST(InflateFixed, DistanceBeforeTheFirstByteIsRefused)
{
    ExpectRefused(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral(257).FixedDistance(1).FixedLiteral(256).Finish());
    ExpectInflates(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral('b').FixedLiteral(257)
                       .FixedDistance(1).FixedLiteral(256).Finish(),
        "ababa");
}

TEST(InflateDynamic, ZlibStreamsOfEveryKind)
{
    const std::string data = SampleData(300000);
    for (auto [level, strategy] : std::vector<std::pair<int, int>>{{6, Z_DEFAULT_STRATEGY}, {9, Z_DEFAULT_STRATEGY},
             {1, Z_DEFAULT_STRATEGY}, {0, Z_DEFAULT_STRATEGY}, {6, Z_FIXED}, {6, Z_HUFFMAN_ONLY}, {6, Z_RLE}}) {
        SCOPED_TRACE(testing::Message() << "level " << level << " strategy " << strategy);
        ExpectInflates(ZlibDeflate(data, level, strategy), data);
    }
    ExpectInflates(ZlibDeflate(""), "");
    ExpectInflates(ZlibDeflate(std::string(100000, 'z')), std::string(100000, 'z'));
}

TEST(InflateDynamic, SingleOneBitDistanceCodeIsAccepted)
{
    TBitWriter w = OneLetterBlock();
    w.Code(2, 2).Code(0, 1).Code(0, 1).Code(3, 2);  // 'a', length 3 from distance 1, end
    ExpectInflates(w.Finish(), "aaaa");
}

TEST(InflateDynamic, BadHeadersAreRefused)
{
    ExpectRefused(TBitWriter().Header(true, 2).Bits(30, 5).Bits(0, 5).Bits(0, 4).Finish());  // 287 literal codes
    ExpectRefused(TBitWriter().Header(true, 2).Bits(0, 5).Bits(30, 5).Bits(0, 4).Finish());  // 31 distance codes
    ExpectRefused(TBitWriter().Header(true, 3).Bits(0, 16).Finish());                      // reserved type

    TBitWriter repeatFirst;  // code-length code 0 -> 00, 8 -> 01, 16 -> 10, 18 -> 11
    DynamicHeader(repeatFirst, true, 257, 1, {{0, 2}, {8, 2}, {16, 2}, {18, 2}});
    repeatFirst.Code(2, 2).Bits(0, 2);
    ExpectRefused(repeatFirst.Finish());

    TBitWriter pastTheEnd;
    DynamicHeader(pastTheEnd, true, 257, 1, {{0, 2}, {8, 2}, {16, 2}, {18, 2}});
    pastTheEnd.Code(3, 2).Bits(127, 7).Code(3, 2).Bits(127, 7);  // 276 zeros for 258 lengths
    ExpectRefused(pastTheEnd.Finish());

    TBitWriter overSubscribed;
    DynamicHeader(overSubscribed, true, 257, 1, {{0, 1}, {1, 1}, {18, 1}});
    ExpectRefused(overSubscribed.Bits(0, 32).Finish());

    TBitWriter incompleteLiterals;  // 18 -> 0, 1 -> 10, 2 -> 11; 'a': 1 and 256: 2 leave a quarter unused
    DynamicHeader(incompleteLiterals, true, 257, 1, {{18, 1}, {1, 2}, {2, 2}});
    incompleteLiterals.Code(0, 1).Bits(97 - 11, 7).Code(2, 2).Code(0, 1).Bits(127, 7).Code(0, 1).Bits(9, 7);
    incompleteLiterals.Code(3, 2).Code(2, 2);
    ExpectRefused(incompleteLiterals.Finish());
}

TEST(InflateDynamic, CodeWithoutTableEntryIsRefused)
{
    TBitWriter w = OneLetterBlock();
    w.Code(2, 2).Code(0, 1).Code(1, 1).Code(3, 2);  // the distance code 1 does not exist
    ExpectRefused(w.Finish());
}

TEST(InflateWindow, LongOutputIsFlushedInHalfWindowsAndTheRestAtTheEnd)
{
    const std::string data = SampleData(200000, 3);
    const std::string deflated = ZlibDeflate(data);
    TMemoryStream source;
    source.WriteBuffer(deflated.data(), static_cast<int64_t>(deflated.size()));
    source.SetPosition(0);
    TWriteLog output;
    ASSERT_TRUE(InflateStream(source, output));
    ASSERT_GE(output.writes.size(), 2u);
    for (size_t i = 0; i + 1 < output.writes.size(); ++i) EXPECT_EQ(output.writes[i], 32768);
    EXPECT_EQ(output.Size(), 200000);
    EXPECT_EQ(0, std::memcmp(output.Memory(), data.data(), data.size()));
}

TEST(InflateWindow, OutputStopsAtItsLimit)
{
    const std::string data = SampleData(100000, 5);
    const std::string deflated = ZlibDeflate(data);
    EXPECT_TRUE(Inflate(deflated, 100000).Ok);
    const TInflateRun capped = Inflate(deflated, 99999);
    EXPECT_FALSE(capped.Ok);
    EXPECT_LE(capped.Output.size(), 99999u);
    // A small stream that inflates to a gigabyte stops at once.
    const std::string bomb = ZlibDeflate(std::string(50u << 20, '\0'));
    const TInflateRun stopped = Inflate(bomb, 40000);
    EXPECT_FALSE(stopped.Ok);
    EXPECT_LE(stopped.Output.size(), 40000u);
}

TEST(InflateTruncated, EveryCutOfAStreamIsRefused)
{
    const std::string deflated = ZlibDeflate(SampleData(5000, 9));
    for (size_t cut = 0; cut < deflated.size(); ++cut) {
        SCOPED_TRACE(cut);
        ExpectRefused(deflated.substr(0, cut));
    }
}

TEST(InflateTruncated, ZeroPaddingNeverCompletesAStream)
{
    ExpectRefused("");
    ExpectRefused(std::string(1 << 20, '\0'));  // endless empty stored blocks
    // The end-of-block code would come from the padding.
    ExpectRefused(TBitWriter().Header(true, 1).FixedLiteral('a').Finish());
    // A final code that ends in the last byte still counts.
    ExpectInflates(TBitWriter().Header(true, 1).FixedLiteral('a').FixedLiteral(256).Finish(), "a");
}

TEST(HuffmanTree, CanonicalCodesAndRefusedLengthSets)
{
    // The example of the Deflate format: lengths 3,3,3,3,3,2,4,4 give
    // F=00, A=010 ... E=110, G=1110, H=1111 (read first bit first).
    const uint8_t lengths[] = {3, 3, 3, 3, 3, 2, 4, 4};
    THuffmanTree tree(15);
    ASSERT_TRUE(tree.Build(lengths, 0, 8, nullptr, 0xFFFF));
    EXPECT_EQ(tree.MaxCodeLen(), 4);
    const auto decode = [&](uint32_t msbFirst, int length) {
        uint32_t bits = 0;
        for (int i = 0; i < length; ++i) bits |= ((msbFirst >> (length - 1 - i)) & 1) << i;
        return tree.Decode(bits) & 0xFFFF;
    };
    EXPECT_EQ(decode(0b00, 2), 5u);
    EXPECT_EQ(decode(0b010, 3), 0u);
    EXPECT_EQ(decode(0b110, 3), 4u);
    EXPECT_EQ(decode(0b1110, 4), 6u);
    EXPECT_EQ(decode(0b1111, 4), 7u);
    EXPECT_EQ(tree.Decode(0) >> 16, 2u);  // code length in bits 16-23

    const uint8_t extra[] = {0, 3};
    THuffmanTree withExtra(15);
    const uint8_t two[] = {1, 1};
    ASSERT_TRUE(withExtra.Build(two, 0, 2, extra, 0));
    EXPECT_EQ(withExtra.Decode(1) >> 24, 3u);

    const uint8_t over[] = {1, 1, 1};
    const uint8_t incomplete[] = {1, 2};
    const uint8_t single[] = {0, 1};
    const uint8_t none[] = {0, 0};
    THuffmanTree t(15);
    EXPECT_FALSE(t.Build(over, 0, 3, nullptr, 0xFFFF));
    EXPECT_FALSE(t.Build(incomplete, 0, 2, nullptr, 0xFFFF));
    ASSERT_TRUE(t.Build(single, 0, 2, nullptr, 0xFFFF));
    EXPECT_EQ(t.Decode(0) & 0xFFFF, 1u);
    EXPECT_EQ(t.Decode(1), kHuffmanNoCode);
    ASSERT_TRUE(t.Build(none, 0, 2, nullptr, 0xFFFF));
    EXPECT_EQ(t.Decode(0), kHuffmanNoCode);
    const uint8_t tooLong[] = {8, 8};
    EXPECT_FALSE(THuffmanTree(7).Build(tooLong, 0, 2, nullptr, 0xFFFF));
}
