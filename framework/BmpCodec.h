// Reading and writing Windows bitmaps (.bmp files and RT_BITMAP resources)
// without the GDI, so skins load the same way natively and on Windows.
//
// The decoder treats every file as hostile: it checks each header number
// before it allocates or reads, and a file it cannot take gives an
// EInvalidGraphic "Bitmap image is not valid: <reason>".
//   - RLE4/RLE8 compressed files are refused (no skin needs them).
//   - Palette indices beyond the palette decode as black.
//   - At most 16384 pixels a side and 256 MiB of decoded pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Streams.h"
#include "SysUtils.h"

class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

struct TDecodedBmp {
    int Width = 0, Height = 0;     // pixels; Height always positive
    int BitsPerPixel = 0;          // of the file: 1, 4, 8, 16, 24 or 32
    // Width*Height, top row first, 0x00RRGGBB; the alpha byte is 0 unless the
    // file has alpha, and for 32 bpp without masks it is the file's 4th byte.
    std::vector<uint32_t> Pixels;
    std::vector<uint32_t> Palette; // 0x00RRGGBB entries for <= 8 bpp, else empty
};

// A whole file, BITMAPFILEHEADER included.
TDecodedBmp DecodeBmp(const uint8_t* data, size_t size);
// No file header: starts at the BITMAPINFOHEADER, as resources store
// bitmaps; the pixels follow the bit masks and the palette directly.
TDecodedBmp DecodeBmpInfo(const uint8_t* info, size_t size);

// A bottom-up BI_RGB file of 24 or 32 bpp (32 keeps bits 24-31 of each
// pixel as the 4th byte). Bad arguments are an EInvalidGraphic too.
std::vector<uint8_t> EncodeBmp(int width, int height, const uint32_t* pixels /*top row first, 0x00RRGGBB*/,
                               int bitsPerPixel /*24 or 32*/);

// Reads one BMP from the stream's position: the file header, then the rest
// of the file as its size field gives it, which must be within the stream.
// The stream is left just after the bitmap.
TDecodedBmp ReadBmp(TStream& stream);
void WriteBmp(TStream& stream, int width, int height, const uint32_t* pixels, int bitsPerPixel);
