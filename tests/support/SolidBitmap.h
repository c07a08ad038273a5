// Bitmaps for the Windows graphics tests: one colour, or a pattern.
#pragma once

#include <string>
#include <vector>

#include "Bitmap.h"
#include "ImageList.h"

inline TOwned<TBitmap> SolidBitmap(int width, int height, TColor color)
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas().Brush().SetColor(color);
    bitmap->Canvas().FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// '#' opaque red, '.' Key; every row as wide as the first.
inline TOwned<TBitmap> PatternBitmap(const std::vector<std::string>& rows, TColor key = clFuchsia)
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(rows.empty() ? 0 : static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x)
            bitmap->Canvas().SetPixels(x, y, rows[y][x] == '#' ? clRed : key);
    return bitmap;
}

// A list of one 16 x 16 image in that colour.
inline TOwned<TImageList> SolidImageList(TColor color)
{
    TOwned<TImageList> images = MakeOwned<TImageList>(16, 16, nullptr);
    TOwned<TBitmap> image = SolidBitmap(16, 16, color);
    images->Add(image.get(), nullptr);
    return images;
}
