// Feeds arbitrary bytes to every BMP entry point. A rejected file must be
// an EInvalidGraphic; anything else escaping, a sanitizer report or a broken
// result is a finding.
#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "BmpCodec.h"
#include "Streams.h"

namespace {

void Require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "bmp_fuzzer: %s\n", what);
    std::abort();
}

// What the GUI's TBitmap relies on, and that re-encoding keeps every pixel.
void CheckDecoded(const TDecodedBmp& bmp)
{
    Require(bmp.Width > 0 && bmp.Height > 0, "non-positive dimensions");
    Require(bmp.Pixels.size() == static_cast<size_t>(bmp.Width) * static_cast<size_t>(bmp.Height),
            "pixel count differs from width x height");
    Require(bmp.Palette.size() <= 256, "palette over 256 entries");
    Require(bmp.BitsPerPixel <= 8 || bmp.Palette.empty(), "palette on a direct-colour bitmap");
    const std::vector<uint8_t> again = EncodeBmp(bmp.Width, bmp.Height, bmp.Pixels.data(), 32);
    Require(DecodeBmp(again.data(), again.size()).Pixels == bmp.Pixels, "32 bpp re-encoding changed pixels");
}

template <class Decoder>
void Try(Decoder decode)
{
    try {
        CheckDecoded(decode());
    } catch (const EInvalidGraphic&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Try([&] { return DecodeBmp(data, size); });
    // The same bytes past a file header, as a resource would hold them.
    if (size >= 14) Try([&] { return DecodeBmpInfo(data + 14, size - 14); });
    Try([&] {
        TMemoryStream stream;
        stream.WriteBuffer(data, static_cast<int64_t>(size));
        stream.SetPosition(0);
        return ReadBmp(stream);
    });
    return 0;
}
