// A bitmap of one colour, for the Windows graphics tests.
#pragma once

#include "Bitmap.h"

inline TOwned<TBitmap> SolidBitmap(int width, int height, TColor color)
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas().Brush().SetColor(color);
    bitmap->Canvas().FillRect(Rect(0, 0, width, height));
    return bitmap;
}
