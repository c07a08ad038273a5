#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "BmpCodec.h"
#include "Streams.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

Bytes Patch32(Bytes file, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return file;
}

Bytes Cut(Bytes file, size_t size)
{
    file.resize(size);
    return file;
}

// Lays a file out by hand, field by field, so the decoder is checked
// against an independent writer; rows are given unpadded, in file order.
struct BmpFile {
    uint32_t headerSize = 40;
    int32_t width = 1, height = 1;
    uint32_t planes = 1, bpp = 24, compression = 0, colorsUsed = 0;
    std::vector<uint32_t> masks;    // after a 40-byte header, inside a V4/V5 one
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<Bytes> rows;

    Bytes Info() const
    {
        Bytes out;
        Put(out, headerSize, 4);
        if (headerSize == 12) {
            Put(out, width, 2), Put(out, height, 2), Put(out, planes, 2), Put(out, bpp, 2);
        } else {
            Put(out, width, 4), Put(out, height, 4), Put(out, planes, 2), Put(out, bpp, 2);
            Put(out, compression, 4), Put(out, 0, 4), Put(out, 2835, 4), Put(out, 2835, 4);
            Put(out, colorsUsed, 4), Put(out, 0, 4);
            for (uint32_t mask : masks) Put(out, mask, 4);
            while (out.size() < headerSize) out.push_back(0);
        }
        for (uint32_t colour : palette) Put(out, colour, headerSize == 12 ? 3 : 4);
        for (const Bytes& row : rows) {
            out.insert(out.end(), row.begin(), row.end());
            for (size_t pad = row.size(); pad % 4 != 0; ++pad) out.push_back(0);
        }
        return out;
    }

    size_t PixelOffset() const
    {
        const size_t header = headerSize == 12 ? 12 : std::max<size_t>(40 + 4 * masks.size(), headerSize);
        return 14 + header + palette.size() * (headerSize == 12 ? 3 : 4);
    }

    Bytes File() const
    {
        const Bytes info = Info();
        Bytes out = {'B', 'M'};
        Put(out, static_cast<uint32_t>(14 + info.size()), 4);
        Put(out, 0, 4);
        Put(out, static_cast<uint32_t>(PixelOffset()), 4);
        out.insert(out.end(), info.begin(), info.end());
        return out;
    }
};

TDecodedBmp Decode(const Bytes& file) { return DecodeBmp(file.data(), file.size()); }

// 3x2, 8 bpp, four colours; index 9 lies outside the palette.
BmpFile Indexed8()
{
    BmpFile f;
    f.width = 3, f.height = 2, f.bpp = 8, f.colorsUsed = 4;
    f.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    f.rows = {{1, 2, 3}, {3, 9, 0}};
    return f;
}

BmpFile Fields16(std::vector<uint32_t> masks)
{
    BmpFile f;
    f.width = 2, f.height = 1, f.bpp = 16, f.compression = 3, f.masks = std::move(masks);
    f.rows = {{0x00, 0xF8, 0xFF, 0x07}};  // pure red, then green 0x3F and blue 0x1F
    return f;
}

BmpFile V4Fields16(std::vector<uint32_t> masks)
{
    BmpFile f = Fields16(std::move(masks));
    f.headerSize = 108;
    return f;
}

std::vector<uint32_t> TestPixels(int width, int height)
{
    std::vector<uint32_t> pixels;
    for (int i = 0; i < width * height; ++i) pixels.push_back(static_cast<uint32_t>(i * 0x01030507u + 0x11223344u));
    return pixels;
}

}  // namespace

TEST(BmpRoundTrip, TwentyFourAndThirtyTwoBitsThroughBytesAndStreams)
{
    const int width = 5, height = 3;  // 15 bytes a row at 24 bpp: padding in play
    const std::vector<uint32_t> pixels = TestPixels(width, height);
    for (int bpp : {24, 32}) {
        SCOPED_TRACE(bpp);
        const TDecodedBmp bmp = Decode(EncodeBmp(width, height, pixels.data(), bpp));
        ASSERT_EQ(bmp.Width, width);
        ASSERT_EQ(bmp.Height, height);
        EXPECT_EQ(bmp.BitsPerPixel, bpp);
        EXPECT_TRUE(bmp.Palette.empty());
        for (size_t i = 0; i < pixels.size(); ++i)
            ASSERT_EQ(bmp.Pixels[i], bpp == 32 ? pixels[i] : pixels[i] & 0xFFFFFF) << i;
    }

    // Two bitmaps back to back: each read stops exactly at its own end.
    TMemoryStream stream;
    WriteBmp(stream, width, height, pixels.data(), 32);
    WriteBmp(stream, 1, 1, pixels.data(), 24);
    stream.WriteBuffer("z", 1);
    stream.SetPosition(0);
    EXPECT_EQ(ReadBmp(stream).Pixels, pixels);
    EXPECT_EQ(ReadBmp(stream).Pixels, std::vector<uint32_t>{pixels[0] & 0xFFFFFF});
    EXPECT_EQ(stream.Position(), stream.Size() - 1);
}

TEST(BmpIndexed, OneFourAndEightBitsWithPaddingAndOrientation)
{
    BmpFile one;
    one.width = 9, one.height = 1, one.bpp = 1;  // 9 pixels spill into a second byte
    one.palette = {0x102030, 0xA0B0C0};
    one.rows = {{0b10110000, 0b10000000}};
    const TDecodedBmp b1 = Decode(one.File());
    const uint32_t k = 0x102030, w = 0xA0B0C0;
    EXPECT_EQ(b1.Pixels, (std::vector<uint32_t>{w, k, w, w, k, k, k, k, w}));
    EXPECT_EQ(b1.Palette, one.palette);

    BmpFile four;
    four.width = 3, four.height = 2, four.bpp = 4, four.colorsUsed = 3;
    four.palette = {0x111111, 0x222222, 0x333333};
    four.rows = {{0x01, 0x20}, {0x21, 0xF0}};  // bottom row first; index 15 is beyond the palette
    const TDecodedBmp b4 = Decode(four.File());
    EXPECT_EQ(b4.Pixels, (std::vector<uint32_t>{0x333333, 0x222222, 0, 0x111111, 0x222222, 0x333333}));
    EXPECT_EQ(b4.Palette.size(), 3u);

    const BmpFile bottomUp = Indexed8();
    BmpFile topDown = bottomUp;
    topDown.height = -2;
    const std::vector<uint32_t> lower = {0xFF0000, 0x00FF00, 0x0000FF}, upper = {0x0000FF, 0, 0};
    const TDecodedBmp up = Decode(bottomUp.File()), down = Decode(topDown.File());
    EXPECT_EQ(up.Height, 2);
    EXPECT_EQ(down.Height, 2);
    EXPECT_EQ(std::vector<uint32_t>(up.Pixels.begin(), up.Pixels.begin() + 3), upper);
    EXPECT_EQ(std::vector<uint32_t>(down.Pixels.begin(), down.Pixels.begin() + 3), lower);
}

TEST(BmpIndexed, ResourceAndCoreHeaderForms)
{
    // A resource holds the same bytes minus the file header.
    const Bytes file = Indexed8().File();
    const TDecodedBmp fromFile = Decode(file);
    const TDecodedBmp fromInfo = DecodeBmpInfo(file.data() + 14, file.size() - 14);
    EXPECT_EQ(fromInfo.Pixels, fromFile.Pixels);
    EXPECT_EQ(fromInfo.Palette, fromFile.Palette);

    // Core header: RGB triples, and only as many colours as precede the pixels.
    BmpFile core;
    core.headerSize = 12, core.width = 2, core.height = 1, core.bpp = 4;
    core.palette = {0xABCDEF, 0x123456};
    core.rows = {{0x10}};
    const TDecodedBmp c = Decode(core.File());
    EXPECT_EQ(c.Palette, core.palette);
    EXPECT_EQ(c.Pixels, (std::vector<uint32_t>{0x123456, 0xABCDEF}));
}

TEST(BmpBitFields, SixteenAndThirtyTwoBitMasks)
{
    EXPECT_EQ(Decode(Fields16({0xF800, 0x07E0, 0x001F}).File()).Pixels,
              (std::vector<uint32_t>{0xFF0000, 0x00FFFF}));

    BmpFile rgb555 = Fields16({});
    rgb555.compression = 0;
    rgb555.rows = {{0x00, 0x7C, 0x10, 0x02}};  // red 31; green 16, blue 16
    EXPECT_EQ(Decode(rgb555.File()).Pixels, (std::vector<uint32_t>{0xFF0000, 0x008484}));

    // V4 with an alpha mask, channels stored in an unusual order.
    BmpFile v4;
    v4.headerSize = 108, v4.width = 1, v4.bpp = 32, v4.compression = 3;
    v4.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    v4.rows = {{0x11, 0x22, 0x33, 0x80}};
    EXPECT_EQ(Decode(v4.File()).Pixels, std::vector<uint32_t>{0x80112233});
}

TEST(BmpErrors, EachBadFileSaysWhy)
{
    const Bytes good = Indexed8().File();
    struct Case {
        const wchar_t* fragment;
        std::function<Bytes()> make;
        bool resourceForm = false;  // decoded without the file header
    };
    const auto with = [](auto change) {
        BmpFile f = Indexed8();
        change(f);
        return f.File();
    };
    const Case cases[] = {
        {L"file header is truncated", [&] { return Cut(good, 13); }},
        {L"missing the BM signature", [&] { return Patch32(good, 0, 0x4D58); }},
        {L"info header is truncated", [&] { return Cut(good, 30); }},
        {L"info header is truncated", [&] { return Cut(good, 16); }},
        {L"unsupported info header size 64", [&] { return Patch32(good, 14, 64); }},
        {L"width must be positive", [&] { return with([](BmpFile& f) { f.width = 0; }); }},
        {L"height is zero", [&] { return with([](BmpFile& f) { f.height = 0; }); }},
        {L"planes must be 1", [&] { return with([](BmpFile& f) { f.planes = 2; }); }},
        {L"unsupported bit depth 7", [&] { return with([](BmpFile& f) { f.bpp = 7; }); }},
        {L"RLE compression is not supported", [&] { return with([](BmpFile& f) { f.compression = 1; }); }},
        {L"unsupported compression 4", [&] { return with([](BmpFile& f) { f.compression = 4; }); }},
        {L"bit fields need 16 or 32 bpp", [&] { return with([](BmpFile& f) { f.compression = 3; }); }},
        {L"too large", [&] { return with([](BmpFile& f) { f.width = INT32_MAX; }); }},
        {L"too large", [&] { return with([](BmpFile& f) { f.height = INT32_MIN; }); }},
        {L"too large", [&] { return with([](BmpFile& f) { f.width = f.height = 16384; }); }},
        {L"257 entries, more than 256", [&] { return with([](BmpFile& f) { f.colorsUsed = 257; }); }},
        {L"pixel data overlaps the palette", [&] { return with([](BmpFile& f) { f.colorsUsed = 5; }); }},
        {L"pixel data overlaps the headers", [&] { return Patch32(good, 10, 20); }},
        {L"pixel data overlaps the headers", [&] { return Patch32(good, 10, 4); }},
        {L"beyond the end", [&] { return Patch32(good, 10, 0xFFFFFFF0); }},
        {L"pixel data is truncated", [&] { return Cut(good, good.size() - 1); }},
        {L"palette is truncated", [&] { return Cut(good, 14 + 40 + 15); }, true},
        {L"pixel data is truncated", [&] { return Cut(good, 14 + 40 + 16); }, true},
        {L"bit masks are truncated", [&] { return Cut(Fields16({1, 2, 4}).File(), 14 + 48); }, true},
        {L"not one run of bits", [&] { return Fields16({0xF800, 0x07E0, 0}).File(); }},
        {L"not one run of bits", [&] { return Fields16({0xF0F0, 0x0F00, 0x000F}).File(); }},
        {L"alpha mask is not one run", [] { return V4Fields16({0xF00, 0xF0, 0xF, 0xA000}).File(); }},
        {L"exceeds the bit depth", [&] { return Fields16({0x1F0000, 0x07E0, 0x001F}).File(); }},
        {L"colour masks overlap", [&] { return Fields16({0xF800, 0x0FE0, 0x001F}).File(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.fragment));
        const Bytes data = c.make();
        try {
            if (c.resourceForm)
                DecodeBmpInfo(data.data() + 14, data.size() - 14);
            else
                Decode(data);
            ADD_FAILURE() << "decoded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(c.fragment), String::npos) << ToUtf8(e.Message());
            EXPECT_EQ(e.Message().rfind(L"Bitmap image is not valid: ", 0), 0u);
        }
    }
}

TEST(BmpErrors, StreamsAndEncoderArguments)
{
    const Bytes good = Indexed8().File();
    const auto readFrom = [](const Bytes& file) {
        TMemoryStream stream;
        stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
        stream.SetPosition(0);
        return ReadBmp(stream);
    };
    const std::pair<Bytes, const wchar_t*> cases[] = {
        {Cut(good, 9), L"file header is truncated"},
        {Patch32(good, 2, 20), L"too small"},
        {Patch32(good, 2, 0xFFFFFF00), L"too large"},
        {Patch32(good, 2, static_cast<uint32_t>(good.size() + 1)), L"file is truncated"},
    };
    for (const auto& [file, fragment] : cases) {
        SCOPED_TRACE(ToUtf8(fragment));
        try {
            readFrom(file);
            ADD_FAILURE() << "read";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(fragment), String::npos) << ToUtf8(e.Message());
        }
    }

    const uint32_t pixel = 0;
    EXPECT_THROW(EncodeBmp(1, 1, &pixel, 8), EInvalidGraphic);
    EXPECT_THROW(EncodeBmp(0, 1, &pixel, 24), EInvalidGraphic);
    EXPECT_THROW(EncodeBmp(20000, 1, &pixel, 24), EInvalidGraphic);
    EXPECT_THROW(EncodeBmp(1, 1, nullptr, 24), EInvalidGraphic);
}
