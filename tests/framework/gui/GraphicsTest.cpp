// Canvas, bitmap and image-list behaviour checked on real GDI pixels.
#include <gtest/gtest.h>

#include "SolidBitmap.h"

#include <vector>

#include "Bitmap.h"
#include "BmpCodec.h"
#include "Graphics.h"
#include "ImageList.h"

namespace {

// One column per colour of Columns, Height rows tall.
TOwned<TBitmap> ColumnBitmap(const std::vector<TColor>& columns, int height)
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(static_cast<int>(columns.size()), height);
    for (int x = 0; x < bitmap->Width(); ++x)
        for (int y = 0; y < height; ++y)
            bitmap->Canvas().SetPixels(x, y, columns[x]);
    return bitmap;
}

int CountPixels(TBitmap& bitmap, TColor color)
{
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            count += bitmap.Canvas().Pixels(x, y) == color;
    return count;
}

}  // namespace

TEST(Colors, SystemColorsResolveAndPlainColorsPassThrough)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clHighlight), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(ColorToRGB(clFuchsia), 0xFF00FF);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    auto bitmap = SolidBitmap(2, 2, clBtnFace);
    EXPECT_EQ(bitmap->Canvas().Pixels(1, 1), ColorToRGB(clBtnFace));
}

TEST(Canvas, PenBrushAndPixels)
{
    auto bitmap = SolidBitmap(10, 10, clWhite);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Pen().SetColor(clRed);
    canvas.MoveTo(0, 2);
    canvas.LineTo(5, 2);
    EXPECT_EQ(canvas.Pixels(0, 2), clRed);
    EXPECT_EQ(canvas.Pixels(4, 2), clRed);
    EXPECT_EQ(canvas.Pixels(5, 2), clWhite) << "the end point is not drawn";
    EXPECT_EQ(canvas.PenPos(), Point(5, 2));

    canvas.Brush().SetColor(clBlue);
    canvas.Pen().SetColor(clLime);
    canvas.Rectangle(2, 4, 6, 8);
    EXPECT_EQ(canvas.Pixels(2, 4), clLime);
    EXPECT_EQ(canvas.Pixels(3, 5), clBlue);
    EXPECT_EQ(canvas.Pixels(6, 8), clWhite);

    canvas.Brush().SetColor(clNavy);
    canvas.FrameRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(canvas.Pixels(9, 9), clNavy);
    EXPECT_EQ(canvas.Pixels(1, 1), clWhite);

    canvas.SetPixels(7, 1, clYellow);
    EXPECT_EQ(bitmap->Bits()[1 * 10 + 7], 0x00FFFF00u) << "Bits are 0x00RRGGBB";
}

TEST(Canvas, TextUsesTheFontAndFollowsItsChanges)
{
    auto bitmap = SolidBitmap(200, 40, clWhite);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Font().SetColor(clRed);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.TextOut(2, 2, L"Wide");
    EXPECT_GT(CountPixels(*bitmap, clRed), 10);

    int narrow = canvas.TextWidth(L"W");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(canvas.TextWidth(L"WW"), narrow);
    int height = canvas.TextHeight(L"W");
    // The font is selected now; growing it must swap the handle cleanly.
    canvas.Font().SetSize(canvas.Font().Size() * 3);
    EXPECT_GT(canvas.TextHeight(L"W"), height * 2);
    canvas.Font().SetStyle(fsBold);
    EXPECT_EQ(canvas.Font().Style(), static_cast<TFontStyles>(fsBold));

    TFont copy;
    copy.Assign(&canvas.Font());
    EXPECT_EQ(copy.Height(), canvas.Font().Height());
    EXPECT_EQ(copy.Color(), clRed);
}

TEST(Canvas, TextRectClipsToItsRectangle)
{
    auto bitmap = SolidBitmap(60, 30, clWhite);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Font().SetColor(clBlack);
    canvas.Brush().SetColor(clWhite);
    canvas.TextRect(Rect(0, 0, 8, 30), 0, 0, L"WWWWWW");
    for (int y = 0; y < 30; ++y)
        for (int x = 8; x < 60; ++x)
            ASSERT_EQ(canvas.Pixels(x, y), clWhite) << x << "," << y;
    EXPECT_GT(CountPixels(*bitmap, clBlack), 0);
}

TEST(Canvas, CopyRectAndStretchDraw)
{
    auto source = ColumnBitmap({clRed, clBlue}, 1);
    auto dest = SolidBitmap(4, 2, clWhite);
    dest->Canvas().StretchDraw(Rect(0, 0, 4, 2), source.get());
    EXPECT_EQ(dest->Canvas().Pixels(1, 1), clRed);
    EXPECT_EQ(dest->Canvas().Pixels(2, 0), clBlue);

    auto copy = SolidBitmap(3, 1, clWhite);
    copy->Canvas().CopyRect(Rect(1, 0, 2, 1), source->Canvas(), Rect(1, 0, 2, 1));
    EXPECT_EQ(copy->Canvas().Pixels(0, 0), clWhite);
    EXPECT_EQ(copy->Canvas().Pixels(1, 0), clBlue);
    copy->Canvas().SetCopyMode(cmNotSrcCopy);
    copy->Canvas().CopyRect(Rect(0, 0, 1, 1), source->Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(copy->Canvas().Pixels(0, 0), 0xFFFF00) << "inverted red";
}

TEST(Canvas, ArcRunsCounterClockwiseInThePen)
{
    // The upper-left quarter of the circle in (0, 0, 21, 21): from the top
    // point round to the left point. The rest of the circle stays blank.
    auto bitmap = SolidBitmap(21, 21, clWhite);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Pen().SetColor(clRed);
    canvas.Arc(0, 0, 21, 21, 10, 0, 0, 10);
    EXPECT_EQ(canvas.Pixels(3, 3), clRed) << "on the arc, half-way";
    EXPECT_EQ(canvas.Pixels(17, 17), clWhite) << "opposite quarter";
    EXPECT_EQ(canvas.Pixels(17, 3), clWhite) << "clockwise side";
    EXPECT_EQ(canvas.Pixels(10, 10), clWhite) << "an arc is not filled";
}

TEST(Canvas, PatternBrushTilesACopyFromTheOrigin)
{
    auto pattern = ColumnBitmap({clRed, clBlue}, 2);
    auto bitmap = SolidBitmap(6, 3, clWhite);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush().SetBitmap(pattern.get());
    pattern.reset();  // the brush holds its own copy
    canvas.FillRect(Rect(1, 0, 6, 3));
    EXPECT_EQ(canvas.Pixels(0, 0), clWhite);
    EXPECT_EQ(canvas.Pixels(1, 1), clBlue) << "tiled from the DC origin, not the rectangle";
    EXPECT_EQ(canvas.Pixels(4, 2), clRed);
    EXPECT_EQ(canvas.Pixels(5, 2), clBlue);

    TBrush copy;
    copy.Assign(&canvas.Brush());
    ASSERT_NE(copy.Bitmap(), nullptr);
    EXPECT_EQ(copy.Bitmap()->Width(), 2);

    canvas.Brush().SetColor(clLime);  // a colour ends the pattern
    EXPECT_EQ(canvas.Brush().Bitmap(), nullptr);
    canvas.FillRect(Rect(0, 0, 6, 3));
    EXPECT_EQ(canvas.Pixels(1, 1), clLime);
}

TEST(Bitmap, SetSizeKeepsPixelsAndFillsNewOnesWithTheBrush)
{
    auto bitmap = SolidBitmap(2, 2, clRed);
    bitmap->Canvas().Brush().SetColor(clLime);
    bitmap->SetSize(3, 1);
    EXPECT_EQ(bitmap->Canvas().Pixels(1, 0), clRed);
    EXPECT_EQ(bitmap->Canvas().Pixels(2, 0), clLime);
    bitmap->SetSize(-5, 4);
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(bitmap->Handle(), nullptr);
    EXPECT_EQ(bitmap->Width(), 0);
}

TEST(Bitmap, StreamRoundTripIn24And32Bits)
{
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        auto original = ColumnBitmap({clRed, clLime, clBlue, 0x123456, clWhite}, 3);
        original->Canvas().SetPixels(4, 2, clBlack);
        original->SetPixelFormat(format);
        TMemoryStream stream;
        original->SaveToStream(stream);
        stream.SetPosition(0);
        TBitmap loaded;
        loaded.LoadFromStream(stream);
        ASSERT_EQ(loaded.Width(), 5);
        ASSERT_EQ(loaded.Height(), 3);
        EXPECT_EQ(loaded.PixelFormat(), format);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(loaded.Canvas().Pixels(x, y), original->Canvas().Pixels(x, y)) << x << "," << y;
    }
}

TEST(Bitmap, BadInputRaisesAndKeepsTheBitmapUsable)
{
    TMemoryStream garbage;
    garbage.WriteBuffer("BMnot really a bitmap at all", 28);
    garbage.SetPosition(0);
    auto bitmap = SolidBitmap(2, 2, clRed);
    EXPECT_THROW(bitmap->LoadFromStream(garbage), Exception);
    EXPECT_EQ(bitmap->Canvas().Pixels(1, 1), clRed);
    EXPECT_THROW(bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP"), EResNotFound);
}

TEST(Bitmap, AssignCopiesDeeplyAndPictureHoldsOne)
{
    auto original = SolidBitmap(3, 2, clRed);
    original->SetTransparent(true);
    TBitmap copy;
    copy.Assign(original.get());
    copy.Canvas().SetPixels(0, 0, clBlue);
    EXPECT_EQ(original->Canvas().Pixels(0, 0), clRed);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.Width(), 3);

    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(picture.Graphic(), nullptr);
    picture.Assign(original.get());
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.Graphic(), picture.Bitmap());
    EXPECT_GT(changes, 0);
    picture.Assign(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST(Bitmap, TransparentDrawLeavesTheKeyColourOut)
{
    // Lower-left pixel is fuchsia: the automatic transparent colour.
    auto picture = ColumnBitmap({clFuchsia, clRed, clFuchsia}, 2);
    picture->SetTransparent(true);
    EXPECT_EQ(picture->TransparentColor(), clFuchsia);
    auto dest = SolidBitmap(5, 2, clGreen);
    dest->Canvas().Draw(1, 0, picture.get());
    EXPECT_EQ(dest->Canvas().Pixels(1, 0), clGreen);
    EXPECT_EQ(dest->Canvas().Pixels(2, 1), clRed);
    EXPECT_EQ(dest->Canvas().Pixels(3, 0), clGreen);

    picture->SetTransparentColor(clRed);
    EXPECT_EQ(picture->TransparentMode(), TTransparentMode::tmFixed);
    dest->Canvas().Draw(1, 0, picture.get());
    EXPECT_EQ(dest->Canvas().Pixels(1, 0), clFuchsia);
    EXPECT_EQ(dest->Canvas().Pixels(2, 0), clRed) << "red now left out: the earlier red stays";

    picture->SetTransparent(false);
    auto opaque = SolidBitmap(3, 2, clGreen);
    opaque->Canvas().Draw(0, 0, picture.get());
    EXPECT_EQ(opaque->Canvas().Pixels(0, 0), clFuchsia);
    opaque->Canvas().Draw(0, 0, nullptr);
}

TEST(ImageList, AddMaskedSplitsAStripAndDrawsThroughTheMask)
{
    // Three 2-wide frames: [fuchsia red] [blue fuchsia] [lime lime].
    auto strip = ColumnBitmap({clFuchsia, clRed, clBlue, clFuchsia, clLime, clLime}, 2);
    auto list = TImageList::CreateSize(2, 2);
    EXPECT_EQ(list->AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(strip->Canvas().Pixels(0, 0), clFuchsia) << "the caller's bitmap is not changed";

    auto dest = SolidBitmap(2, 2, clYellow);
    list->Draw(dest->Canvas(), 0, 0, 1);
    EXPECT_EQ(dest->Canvas().Pixels(0, 0), clBlue);
    EXPECT_EQ(dest->Canvas().Pixels(1, 1), clYellow);
    list->Draw(dest->Canvas(), 0, 0, 3);
    list->Draw(dest->Canvas(), 0, 0, -1);
    EXPECT_EQ(dest->Canvas().Pixels(1, 1), clYellow);

    auto piece = SolidBitmap(2, 2, clNavy);
    list->GetBitmap(0, piece.get());
    EXPECT_EQ(piece->Canvas().Pixels(0, 0), clNavy) << "masked pixels keep the destination's background";
    EXPECT_EQ(piece->Canvas().Pixels(1, 0), clRed);
}

TEST(ImageList, AddWithAndWithoutAMask)
{
    auto image = ColumnBitmap({clRed, clBlue}, 1);
    auto mask = ColumnBitmap({clWhite, clBlack}, 1);
    auto list = TImageList::CreateSize(2, 1);
    EXPECT_EQ(list->Add(image.get(), nullptr), 0);
    EXPECT_EQ(list->Add(image.get(), mask.get()), 1);
    EXPECT_EQ(list->Add(nullptr, nullptr), -1);
    auto dest = SolidBitmap(2, 1, clLime);
    list->Draw(dest->Canvas(), 0, 0, 0);
    EXPECT_EQ(dest->Canvas().Pixels(0, 0), clRed);
    dest = SolidBitmap(2, 1, clLime);
    list->Draw(dest->Canvas(), 0, 0, 1);
    EXPECT_EQ(dest->Canvas().Pixels(0, 0), clLime) << "white in the mask is see-through";
    EXPECT_EQ(dest->Canvas().Pixels(1, 0), clBlue);
}

TEST(ImageList, DisabledDrawEmbossesTheDarkPixels)
{
    // Dark pixel at (0,0), light one at (2,0), transparent fuchsia elsewhere.
    auto image = SolidBitmap(4, 3, clFuchsia);
    image->Canvas().SetPixels(0, 0, clBlack);
    image->Canvas().SetPixels(2, 0, 0xE0E0E0);
    auto list = TImageList::CreateSize(4, 3);
    list->AddMasked(image.get(), clFuchsia);
    auto dest = SolidBitmap(6, 5, clRed);
    list->Draw(dest->Canvas(), 1, 1, 0, false);
    TCanvas& canvas = dest->Canvas();
    EXPECT_EQ(canvas.Pixels(1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(canvas.Pixels(2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(canvas.Pixels(3, 1), clRed) << "light pixels are left out";
    EXPECT_EQ(canvas.Pixels(4, 3), clRed) << "transparent pixels are left out";
}
