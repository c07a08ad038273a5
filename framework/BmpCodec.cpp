#include "BmpCodec.h"

#include <bit>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;  // OS/2-era header, 16-bit sizes, RGB triples
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr size_t kInfoMasksOffset = 40;   // V4/V5 keep red, green, blue, alpha masks here
constexpr size_t kTrailingMasksSize = 12; // a plain info header with bit fields has 3 masks after it

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// Larger than any skin picture by far, and small enough that stride and
// size arithmetic in 64 bits can never overflow.
constexpr int64_t kMaxDimension = 16384;
// Decoded size the program is willing to hold for one picture.
constexpr uint64_t kMaxPixelBytes = uint64_t{256} << 20;
// A file may carry headers, a palette and gaps besides its pixel rows;
// ReadBmp refuses to buffer more than this.
constexpr uint64_t kMaxFileBytes = kMaxPixelBytes + (uint64_t{1} << 20);
constexpr uint64_t kMaxPaletteEntries = 256;

[[noreturn]] void Invalid(const String& reason)
{
    throw EInvalidGraphic(L"Bitmap image is not valid: " + reason);
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void PutLe16(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    PutLe16(out, at, value & 0xFFFF);
    PutLe16(out, at + 2, value >> 16);
}

uint64_t StrideOf(int64_t width, int bitsPerPixel)
{
    return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

// Checked before anything is allocated from the dimensions, for encoder
// and decoder alike.
bool DimensionsTooLarge(int64_t width, int64_t height)
{
    return width > kMaxDimension || height > kMaxDimension ||
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 > kMaxPixelBytes;
}

// One colour channel of a bit-field pixel, widened or narrowed to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static Channel Of(uint32_t mask)
    {
        Channel c;
        c.mask = mask;
        if (mask != 0) {
            c.shift = std::countr_zero(mask);
            c.bits = std::popcount(mask);
        }
        return c;
    }

    uint32_t Extract(uint32_t pixel) const
    {
        if (bits == 0) return 0;
        const uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8) return value >> (bits - 8);
        const uint32_t max = (1u << bits) - 1;
        return (value * 255 + max / 2) / max;
    }
};

bool Contiguous(uint32_t mask)
{
    const uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;  // wraps to 0 for a full 32-bit run, which is fine
}

// Parses an info header (and what follows it) held in [info, info+size);
// every offset is relative to the info header's start.
class BmpParser {
public:
    BmpParser(const uint8_t* info, size_t size) : info_(info), size_(size)
    {
        ReadHeader();
        CheckFormat();
        ReadMasks();
        PlacePalette();
    }

    // The file header's pixel offset; without one the pixels follow the palette.
    void SetPixelOffset(uint64_t offset)
    {
        if (offset > size_) Invalid(L"pixel data offset is beyond the end of the data");
        if (offset < paletteOffset_) Invalid(L"pixel data overlaps the headers");
        if (bpp_ <= 8 && offset < PaletteEnd()) {
            // Old core-header files store only the colours they use, which the
            // pixel offset reveals; elsewhere it means a corrupt count.
            if (headerSize_ != kCoreHeaderSize) Invalid(L"pixel data overlaps the palette");
            paletteCount_ = (offset - paletteOffset_) / paletteEntrySize_;
        }
        pixelOffset_ = offset;
    }

    TDecodedBmp Decode()
    {
        TDecodedBmp bmp;
        bmp.Width = static_cast<int>(width_);
        bmp.Height = static_cast<int>(height_);
        bmp.BitsPerPixel = bpp_;
        bmp.Palette = ReadPalette();
        CheckPixelsPresent();
        bmp.Pixels.resize(static_cast<size_t>(width_ * height_));
        for (int64_t y = 0; y < height_; ++y) {
            const int64_t outRow = topDown_ ? y : height_ - 1 - y;
            DecodeRow(info_ + pixelOffset_ + static_cast<uint64_t>(y) * stride_, bmp.Palette,
                      bmp.Pixels.data() + outRow * width_);
        }
        return bmp;
    }

private:
    void ReadHeader()
    {
        if (size_ < 4) Invalid(L"info header is truncated");
        headerSize_ = Le32(info_);
        if (headerSize_ != kCoreHeaderSize && headerSize_ != kInfoHeaderSize && headerSize_ != kV4HeaderSize &&
            headerSize_ != kV5HeaderSize)
            Invalid(L"unsupported info header size " + UIntToStr(headerSize_));
        if (size_ < headerSize_) Invalid(L"info header is truncated");

        if (headerSize_ == kCoreHeaderSize) {
            width_ = Le16(info_ + 4);
            height_ = Le16(info_ + 6);  // unsigned here: core bitmaps are always bottom-up
            planes_ = Le16(info_ + 8);
            bpp_ = Le16(info_ + 10);
            paletteEntrySize_ = 3;
            return;
        }
        width_ = static_cast<int32_t>(Le32(info_ + 4));
        const int64_t height = static_cast<int32_t>(Le32(info_ + 8));
        topDown_ = height < 0;
        height_ = topDown_ ? -height : height;  // 64-bit, so INT32_MIN negates safely
        planes_ = Le16(info_ + 12);
        bpp_ = Le16(info_ + 14);
        compression_ = Le32(info_ + 16);
        colorsUsed_ = Le32(info_ + 32);
        paletteEntrySize_ = 4;
    }

    void CheckFormat()
    {
        if (width_ <= 0) Invalid(L"width must be positive, not " + IntToStr(width_));
        if (height_ == 0) Invalid(L"height is zero");
        if (planes_ != 1) Invalid(L"planes must be 1, not " + UIntToStr(planes_));
        if (bpp_ != 1 && bpp_ != 4 && bpp_ != 8 && bpp_ != 16 && bpp_ != 24 && bpp_ != 32)
            Invalid(L"unsupported bit depth " + IntToStr(bpp_));
        if (compression_ == kBiRle8 || compression_ == kBiRle4) Invalid(L"RLE compression is not supported");
        if (compression_ != kBiRgb && compression_ != kBiBitfields)
            Invalid(L"unsupported compression " + UIntToStr(compression_));
        if (compression_ == kBiBitfields && bpp_ != 16 && bpp_ != 32)
            Invalid(L"bit fields need 16 or 32 bpp, not " + IntToStr(bpp_));
        if (DimensionsTooLarge(width_, height_))
            Invalid(L"dimensions " + IntToStr(width_) + L"x" + IntToStr(height_) + L" are too large");
        stride_ = StrideOf(width_, bpp_);
    }

    void ReadMasks()
    {
        paletteOffset_ = headerSize_;
        if (compression_ != kBiBitfields) {
            // Without bit fields, 16 bpp is 5-5-5 and 32 bpp is read byte-wise.
            red_ = Channel::Of(0x7C00);
            green_ = Channel::Of(0x03E0);
            blue_ = Channel::Of(0x001F);
            return;
        }
        const uint8_t* masks = info_ + kInfoMasksOffset;
        if (headerSize_ == kInfoHeaderSize) {
            if (size_ < kInfoHeaderSize + kTrailingMasksSize) Invalid(L"bit masks are truncated");
            paletteOffset_ += kTrailingMasksSize;
        }
        const uint32_t red = Le32(masks), green = Le32(masks + 4), blue = Le32(masks + 8);
        const uint32_t alpha = headerSize_ == kInfoHeaderSize ? 0 : Le32(masks + 12);
        const uint32_t depthBits = bpp_ == 32 ? 0xFFFFFFFF : 0xFFFF;
        for (const uint32_t mask : {red, green, blue})
            if (mask == 0 || !Contiguous(mask)) Invalid(L"a colour mask is not one run of bits");
        if (alpha != 0 && !Contiguous(alpha)) Invalid(L"the alpha mask is not one run of bits");
        if (((red | green | blue | alpha) & ~depthBits) != 0) Invalid(L"a colour mask exceeds the bit depth");
        if ((red & green) | (red & blue) | (green & blue) | ((red | green | blue) & alpha))
            Invalid(L"colour masks overlap");
        red_ = Channel::Of(red);
        green_ = Channel::Of(green);
        blue_ = Channel::Of(blue);
        alpha_ = Channel::Of(alpha);
    }

    void PlacePalette()
    {
        if (bpp_ <= 8) {
            paletteCount_ = colorsUsed_ != 0 ? colorsUsed_ : uint64_t{1} << bpp_;
            if (paletteCount_ > kMaxPaletteEntries)
                Invalid(L"palette has " + UIntToStr(paletteCount_) + L" entries, more than 256");
        } else {
            paletteCount_ = colorsUsed_;  // an optional hint palette the pixels never use
        }
        pixelOffset_ = PaletteEnd();
    }

    uint64_t PaletteEnd() const { return paletteOffset_ + paletteCount_ * paletteEntrySize_; }

    std::vector<uint32_t> ReadPalette() const
    {
        if (bpp_ > 8) return {};
        if (PaletteEnd() > size_) Invalid(L"palette is truncated");
        std::vector<uint32_t> palette(static_cast<size_t>(paletteCount_));
        for (size_t i = 0; i < palette.size(); ++i) {
            const uint8_t* entry = info_ + paletteOffset_ + i * paletteEntrySize_;
            palette[i] = static_cast<uint32_t>(entry[2]) << 16 | static_cast<uint32_t>(entry[1]) << 8 | entry[0];
        }
        return palette;
    }

    void CheckPixelsPresent() const
    {
        // Both factors are capped, so the product cannot overflow.
        const uint64_t needed = stride_ * static_cast<uint64_t>(height_);
        if (pixelOffset_ > size_ || size_ - pixelOffset_ < needed) Invalid(L"pixel data is truncated");
    }

    void DecodeRow(const uint8_t* row, const std::vector<uint32_t>& palette, uint32_t* out) const
    {
        switch (bpp_) {
        case 1:
        case 4:
        case 8: return DecodeIndexedRow(row, palette, out);
        case 16:
            for (int64_t x = 0; x < width_; ++x) out[x] = FromFields(Le16(row + 2 * x));
            return;
        case 24:
            for (int64_t x = 0; x < width_; ++x, row += 3)
                out[x] = static_cast<uint32_t>(row[2]) << 16 | static_cast<uint32_t>(row[1]) << 8 | row[0];
            return;
        default:
            for (int64_t x = 0; x < width_; ++x, row += 4)
                out[x] = compression_ == kBiBitfields ? FromFields(Le32(row)) : Le32(row);
            return;
        }
    }

    void DecodeIndexedRow(const uint8_t* row, const std::vector<uint32_t>& palette, uint32_t* out) const
    {
        const uint32_t indexMask = (1u << bpp_) - 1;
        for (int64_t x = 0; x < width_; ++x) {
            const uint64_t bit = static_cast<uint64_t>(x) * bpp_;
            const int shift = 8 - bpp_ - static_cast<int>(bit % 8);  // leftmost pixel in the high bits
            const uint32_t index = (row[bit / 8] >> shift) & indexMask;
            // Corrupt indices show as black rather than failing the whole picture.
            out[x] = index < palette.size() ? palette[index] : 0;
        }
    }

    uint32_t FromFields(uint32_t pixel) const
    {
        return alpha_.Extract(pixel) << 24 | red_.Extract(pixel) << 16 | green_.Extract(pixel) << 8 |
               blue_.Extract(pixel);
    }

    const uint8_t* info_;
    size_t size_;
    uint32_t headerSize_ = 0;
    int64_t width_ = 0, height_ = 0;
    bool topDown_ = false;
    uint32_t planes_ = 0;
    int bpp_ = 0;
    uint32_t compression_ = kBiRgb;
    uint32_t colorsUsed_ = 0;
    Channel red_, green_, blue_, alpha_;
    uint64_t paletteOffset_ = 0, paletteCount_ = 0, paletteEntrySize_ = 4;
    uint64_t pixelOffset_ = 0;
    uint64_t stride_ = 0;
};

void CheckFileHeader(const uint8_t* data, size_t size)
{
    if (size < kFileHeaderSize) Invalid(L"file header is truncated");
    if (data[0] != 'B' || data[1] != 'M') Invalid(L"missing the BM signature");
}

[[noreturn]] void CannotEncode(const String& reason) { throw EInvalidGraphic(L"Cannot encode bitmap: " + reason); }

}  // namespace

TDecodedBmp DecodeBmp(const uint8_t* data, size_t size)
{
    CheckFileHeader(data, size);
    const uint32_t pixelOffset = Le32(data + 10);
    BmpParser parser(data + kFileHeaderSize, size - kFileHeaderSize);
    if (pixelOffset < kFileHeaderSize) Invalid(L"pixel data overlaps the headers");
    parser.SetPixelOffset(pixelOffset - kFileHeaderSize);
    return parser.Decode();
}

TDecodedBmp DecodeBmpInfo(const uint8_t* info, size_t size)
{
    BmpParser parser(info, size);
    return parser.Decode();
}

std::vector<uint8_t> EncodeBmp(int width, int height, const uint32_t* pixels, int bitsPerPixel)
{
    if (width <= 0 || height <= 0) CannotEncode(L"width and height must be positive");
    if (DimensionsTooLarge(width, height)) CannotEncode(L"dimensions are too large");
    if (bitsPerPixel != 24 && bitsPerPixel != 32) CannotEncode(L"only 24 and 32 bpp are written");
    if (pixels == nullptr) CannotEncode(L"no pixels");

    const size_t stride = static_cast<size_t>(StrideOf(width, bitsPerPixel));
    const size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
    const size_t imageSize = stride * static_cast<size_t>(height);
    std::vector<uint8_t> out(pixelOffset + imageSize, 0);

    out[0] = 'B';
    out[1] = 'M';
    PutLe32(out, 2, static_cast<uint32_t>(out.size()));
    PutLe32(out, 10, static_cast<uint32_t>(pixelOffset));
    PutLe32(out, 14, kInfoHeaderSize);
    PutLe32(out, 18, static_cast<uint32_t>(width));
    PutLe32(out, 22, static_cast<uint32_t>(height));  // positive: bottom-up, which every reader takes
    PutLe16(out, 26, 1);
    PutLe16(out, 28, static_cast<uint32_t>(bitsPerPixel));
    PutLe32(out, 30, kBiRgb);
    PutLe32(out, 34, static_cast<uint32_t>(imageSize));

    const size_t bytesPerPixel = static_cast<size_t>(bitsPerPixel / 8);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = pixels + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width);
        uint8_t* row = out.data() + pixelOffset + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x, row += bytesPerPixel) {
            const uint32_t p = source[x];
            row[0] = static_cast<uint8_t>(p);
            row[1] = static_cast<uint8_t>(p >> 8);
            row[2] = static_cast<uint8_t>(p >> 16);
            if (bytesPerPixel == 4) row[3] = static_cast<uint8_t>(p >> 24);
        }
    }
    return out;
}

TDecodedBmp ReadBmp(TStream& stream)
{
    const int64_t remaining = stream.Size() - stream.Position();
    std::vector<uint8_t> file(kFileHeaderSize);
    if (remaining < static_cast<int64_t>(kFileHeaderSize) ||
        stream.Read(file.data(), kFileHeaderSize) != static_cast<int64_t>(kFileHeaderSize))
        Invalid(L"file header is truncated");
    CheckFileHeader(file.data(), file.size());

    const uint32_t fileSize = Le32(file.data() + 2);
    if (fileSize < kFileHeaderSize + kCoreHeaderSize)
        Invalid(L"file size " + UIntToStr(fileSize) + L" in the header is too small");
    if (fileSize > kMaxFileBytes) Invalid(L"file size " + UIntToStr(fileSize) + L" is too large");
    if (fileSize > remaining)
        Invalid(L"file is truncated: " + UIntToStr(fileSize) + L" bytes expected, " + IntToStr(remaining) +
                L" present");

    file.resize(fileSize);
    const int64_t rest = static_cast<int64_t>(fileSize - kFileHeaderSize);
    if (stream.Read(file.data() + kFileHeaderSize, rest) != rest) Invalid(L"file is truncated");
    return DecodeBmp(file.data(), file.size());
}

void WriteBmp(TStream& stream, int width, int height, const uint32_t* pixels, int bitsPerPixel)
{
    const std::vector<uint8_t> file = EncodeBmp(width, height, pixels, bitsPerPixel);
    stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
}
