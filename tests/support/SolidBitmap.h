// Bitmaps for the Windows graphics tests: one colour, or a pattern.
#pragma once

#include <string>
#include <vector>

#include "Bitmap.h"

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
