// The shared skin helpers: window shapes checked on a real window, drawing
// helpers checked pixel by pixel, and a GDI handle count over many runs.
#include <gtest/gtest.h>

#include "HandleCounts.h"
#include "SolidBitmap.h"

#include <string>
#include <vector>

#include "ImageList.h"
#include "KYPPublic.h"

namespace {

constexpr TColor kKey = clFuchsia;

class TTestWindow {
public:
    TTestWindow()
        : handle_(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~TTestWindow() { DestroyWindow(handle_); }
    HWND Handle() const { return handle_; }

    // The window's region as a copy, or null when it has none.
    TRegionHandle Region() const
    {
        TRegionHandle copy(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(handle_, copy.get()) == ERROR)
            return TRegionHandle();
        return copy;
    }

private:
    HWND handle_;
};

void ExpectRegionIsPattern(HRGN region, const std::vector<std::string>& rows)
{
    ASSERT_NE(region, nullptr);
    int height = static_cast<int>(rows.size()), width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    for (int y = -1; y <= height; ++y)
        for (int x = -1; x <= width; ++x) {
            bool expected = y >= 0 && y < height && x >= 0 && x < width && rows[y][x] == '#';
            EXPECT_EQ(PtInRegion(region, x, y) != 0, expected) << "pixel " << x << "," << y;
        }
}

int GreyOf(TCanvas& canvas, int x, int y) { return canvas.Pixels(x, y) & 0xFF; }

}  // namespace

// ---------------------------------------------------------------------------
// Window region

TEST(WindowRegion, IsExactlyTheNonTransparentPixels)
{
    const std::vector<std::vector<std::string>> cases = {
        {"#..#"},                                     // ends of a row, nothing between
        {"....", "####", "...."},                     // empty rows, one full-width row
        {"#.#.#.#.#", ".#.#.#.#.", "........#"},     // many runs, last column alone
        {"##..##", "#....#", "######"},               // runs differing between rows
        {"###", "###"},                               // no transparent pixel at all
    };
    TTestWindow window;
    for (const auto& rows : cases) {
        auto bitmap = PatternBitmap(rows);
        SetWindowRegionFromBitmap(window.Handle(), bitmap.get(), kKey);
        TRegionHandle region = window.Region();
        ExpectRegionIsPattern(region.get(), rows);
    }
}

TEST(WindowRegion, RowWithEndsOnlyHasTwoOnePixelRects)
{
    auto bitmap = PatternBitmap({"#..#"});
    TRegionHandle region = CreateRegionFromBitmap(bitmap.get(), kKey);
    std::vector<uint8_t> buffer(GetRegionData(region.get(), 0, nullptr));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    ASSERT_GT(GetRegionData(region.get(), static_cast<DWORD>(buffer.size()), data), 0u);
    ASSERT_EQ(data->rdh.nCount, 2u);
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    EXPECT_EQ(TRect(rects[0]), Rect(0, 0, 1, 1));
    EXPECT_EQ(TRect(rects[1]), Rect(3, 0, 4, 1));
}

TEST(WindowRegion, SystemColourMatchesNoPixel)
{
    // Pixels that have clBtnFace's current value are still opaque.
    auto bitmap = SolidBitmap(5, 3, clBtnFace);
    TTestWindow window;
    SetWindowRegionFromBitmap(window.Handle(), bitmap.get(), clBtnFace);
    TRegionHandle region = window.Region();
    ExpectRegionIsPattern(region.get(), {"#####", "#####", "#####"});
}

TEST(WindowRegion, NullEmptyOrAllTransparentBitmapGivesEmptyRegion)
{
    TTestWindow window;
    auto empty = MakeOwned<TBitmap>();
    auto transparent = PatternBitmap({"...", "..."});
    for (TBitmap* bitmap : {static_cast<TBitmap*>(nullptr), empty.get(), transparent.get()}) {
        SetWindowRegionFromBitmap(window.Handle(), PatternBitmap({"#"}).get(), kKey);
        SetWindowRegionFromBitmap(window.Handle(), bitmap, kKey);
        TRegionHandle region = window.Region();
        ASSERT_TRUE(region);
        RECT box;
        EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
    }
}

TEST(PointInRect, AllFourEdgesAreInside)
{
    const TRect r = Rect(10, 20, 30, 40);
    struct {
        int x, y;
        bool inside;
    } const cases[] = {{10, 20, true}, {30, 40, true}, {20, 30, true}, {31, 40, false},
                       {9, 20, false}, {10, 19, false}, {30, 41, false}, {-10, -20, false}};
    for (auto c : cases) {
        EXPECT_EQ(PointInRect(c.x, c.y, r), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(PointInRect(Point(c.x, c.y), r), c.inside) << c.x << "," << c.y;
    }
}

// ---------------------------------------------------------------------------
// Gradients

TEST(Gradient, VerticalRowsFollowTheSteps)
{
    struct {
        int height;
        TColor from, to;
        std::vector<int> rows;
    } const cases[] = {
        {5, clBlack, clWhite, {0, 0, 51, 102, 255}},
        {7, clWhite, clBlack, {255, 255, 219, 183, 146, 110, 0}},
        {1, clBlack, clWhite, {255}},
        {2, clBlack, clWhite, {0, 255}},
    };
    for (const auto& c : cases) {
        auto bitmap = SolidBitmap(12, c.height + 1, clRed);
        DrawVerticalGradient(bitmap->Canvas(), Rect(1, 0, 11, c.height), c.from, c.to);
        for (int y = 0; y < c.height; ++y) {
            EXPECT_EQ(bitmap->Canvas().Pixels(1, y), MakeColor(c.rows[y], c.rows[y], c.rows[y])) << "row " << y;
            EXPECT_EQ(bitmap->Canvas().Pixels(10, y), bitmap->Canvas().Pixels(1, y)) << "row " << y;
            EXPECT_EQ(bitmap->Canvas().Pixels(0, y), clRed);
            EXPECT_EQ(bitmap->Canvas().Pixels(11, y), clRed) << "Right is exclusive";
        }
        EXPECT_EQ(bitmap->Canvas().Pixels(1, c.height), clRed) << "Bottom is exclusive";
        EXPECT_EQ(bitmap->Canvas().Pen().Color(), c.to);
    }
}

TEST(Gradient, HorizontalColumnsFollowTheSteps)
{
    struct {
        int width;
        TColor from, to;
        std::vector<int> columns;
    } const cases[] = {
        {5, clBlack, clWhite, {0, 51, 102, 153, 255}},
        {7, clWhite, clBlack, {255, 219, 183, 146, 110, 73, 0}},
        {1, clBlack, clWhite, {255}},
        {2, clBlack, clWhite, {0, 255}},
    };
    for (const auto& c : cases) {
        auto bitmap = SolidBitmap(c.width + 1, 10, clRed);
        DrawHorizontalGradient(bitmap->Canvas(), Rect(0, 0, c.width, 10), c.from, c.to);
        for (int x = 0; x < c.width; ++x) {
            EXPECT_EQ(GreyOf(bitmap->Canvas(), x, 0), c.columns[x]) << "column " << x;
            EXPECT_EQ(bitmap->Canvas().Pixels(x, 9), bitmap->Canvas().Pixels(x, 0)) << "column " << x;
        }
        EXPECT_EQ(bitmap->Canvas().Pixels(c.width, 0), clRed) << "Right is exclusive";
    }
}

TEST(Gradient, EmptyOrInvertedRectangleDrawsNothing)
{
    auto bitmap = SolidBitmap(4, 4, clRed);
    DrawVerticalGradient(bitmap->Canvas(), Rect(0, 2, 4, 2), clBlack, clWhite);
    DrawVerticalGradient(bitmap->Canvas(), Rect(0, 3, 4, 1), clBlack, clWhite);
    DrawHorizontalGradient(bitmap->Canvas(), Rect(2, 0, 2, 4), clBlack, clWhite);
    DrawHorizontalGradient(bitmap->Canvas(), Rect(3, 0, 1, 4), clBlack, clWhite);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bitmap->Canvas().Pixels(x, y), clRed);
}

TEST(Gradient, SystemColoursAreResolved)
{
    auto bitmap = SolidBitmap(1, 1, clRed);
    DrawVerticalGradient(bitmap->Canvas(), Rect(0, 0, 1, 1), clBlack, clBtnFace);
    EXPECT_EQ(bitmap->Canvas().Pixels(0, 0), ColorToRGB(clBtnFace));
}

// ---------------------------------------------------------------------------
// Strip pieces and three-slice borders

namespace {

// Column x of the 10-wide strip has grey level 10 * x.
TOwned<TBitmap> GreyStrip(int width)
{
    auto strip = MakeOwned<TBitmap>();
    strip->SetSize(width, 2);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 2; ++y)
            strip->Canvas().SetPixels(x, y, MakeColor(10 * x, 10 * x, 10 * x));
    return strip;
}

}  // namespace

TEST(StripPiece, PiecesAreEqualAndTheLastIsFlushRight)
{
    auto strip = GreyStrip(10);
    const int firstColumn[] = {0, 3, 7};
    for (int piece = 1; piece <= 3; ++piece) {
        auto dest = SolidBitmap(1, 1, clRed);
        ExtractStripPiece(strip.get(), dest.get(), 3, piece);
        ASSERT_EQ(dest->Width(), 3);
        ASSERT_EQ(dest->Height(), 2);
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(GreyOf(dest->Canvas(), x, 1), 10 * (firstColumn[piece - 1] + x)) << piece << ":" << x;
    }
}

TEST(StripPiece, BadCountOrPieceLeavesTheDestinationAlone)
{
    auto strip = GreyStrip(10);
    const int bad[][2] = {{0, 1}, {-1, 1}, {3, 0}, {3, 4}, {3, -2}};
    for (auto [count, piece] : bad) {
        auto dest = SolidBitmap(5, 4, clRed);
        ExtractStripPiece(strip.get(), dest.get(), count, piece);
        EXPECT_EQ(dest->Width(), 5);
        EXPECT_EQ(dest->Canvas().Pixels(0, 0), clRed) << count << "/" << piece;
    }
    ExtractStripPiece(nullptr, strip.get(), 1, 1);
    EXPECT_EQ(strip->Width(), 10);
}

TEST(StripPiece, CanCutAPieceOutOfItsOwnSource)
{
    auto strip = GreyStrip(10);
    ExtractStripPiece(strip.get(), strip.get(), 2, 2);
    ASSERT_EQ(strip->Width(), 5);
    EXPECT_EQ(GreyOf(strip->Canvas(), 0, 0), 50);
}

namespace {

// Frames of width 4 and height 2: red, lime, blue; pixel (1, 0) of the
// left cap and pixel (2, 0) of the right cap are the mask colour.
TOwned<TBitmap> ThreeFrames()
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(12, 2);
    const TColor colours[] = {clRed, clLime, clBlue};
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 2; ++y)
            bitmap->Canvas().SetPixels(x, y, colours[x / 4]);
    bitmap->Canvas().SetPixels(1, 0, kKey);
    bitmap->Canvas().SetPixels(10, 0, kKey);
    return bitmap;
}

std::string RowColours(TCanvas& canvas, int y, int width)
{
    std::string row;
    for (int x = 0; x < width; ++x) {
        TColor c = canvas.Pixels(x, y);
        row += c == clRed     ? 'R'
             : c == clLime    ? 'G'
             : c == clBlue    ? 'B'
             : c == clWhite   ? 'w'
             : c == clYellow  ? 'y'
             : c == kKey      ? 'k'
                              : '?';
    }
    return row;
}

}  // namespace

// Drawn on yellow, so that a masked pixel shows the ground and not a white
// that could have come from anywhere.
TEST(ThreeSlice, CapsAtTheEndsMiddleStretchedBetween)
{
    auto frames = ThreeFrames();
    struct {
        int width;
        bool mask;
        std::string row0, row1;
    } const cases[] = {
        {14, false, "RkRRGGGGGGBBkBy", "RRRRGGGGGGBBBBy"},
        {14, true, "RyRRGGGGGGBByBy", "RRRRGGGGGGBBBBy"},
        {8, false, "RkRRBBkByyyyyyy", "RRRRBBBByyyyyyy"},   // exactly 2F: no middle
        {8, true, "RyRRBByByyyyyyy", "RRRRBBBByyyyyyy"},
        // Between F and 2F - 1 the right cap overlaps the left one, no middle.
        {7, false, "RkRBBkByyyyyyyy", "RRRBBBByyyyyyyy"},
        {6, true, "RyBByByyyyyyyyy", "RRBBBByyyyyyyyy"},
        {5, true, "RBBRByyyyyyyyyy", "RBBBByyyyyyyyyy"},  // the left cap shows through the right one
        {4, false, "BBkByyyyyyyyyyy", "BBBByyyyyyyyyyy"},
        {4, true, "BBRByyyyyyyyyyy", "BBBByyyyyyyyyyy"},
        {3, false, "RkRyyyyyyyyyyyy", "RRRyyyyyyyyyyyy"},   // F - 1: the cut left cap only
        {3, true, "RwRyyyyyyyyyyyy", "RRRyyyyyyyyyyyy"},    // opaque: masked pixels of a white bitmap
    };
    for (const auto& c : cases) {
        auto dest = SolidBitmap(15, 3, clYellow);
        DrawThreeSliceBitmap(frames.get(), dest->Canvas(), Rect(0, 0, c.width, 1), kKey, c.mask);
        EXPECT_EQ(RowColours(dest->Canvas(), 0, 15), c.row0) << c.width << (c.mask ? " masked" : "");
        EXPECT_EQ(RowColours(dest->Canvas(), 1, 15), c.row1) << "the bitmap's height is drawn, not the rectangle's";
        EXPECT_EQ(RowColours(dest->Canvas(), 2, 15), std::string(15, 'y'));
    }
}

TEST(ThreeSlice, NullEmptyOrTooNarrowBitmapDrawsNothing)
{
    auto empty = MakeOwned<TBitmap>();
    auto narrow = SolidBitmap(2, 2, clRed);
    for (TBitmap* bitmap : {static_cast<TBitmap*>(nullptr), empty.get(), narrow.get()}) {
        auto dest = SolidBitmap(6, 2, clWhite);
        DrawThreeSliceBitmap(bitmap, dest->Canvas(), Rect(0, 0, 6, 2), kKey, true);
        EXPECT_EQ(RowColours(dest->Canvas(), 0, 6), "wwwwww");
    }
}

// ---------------------------------------------------------------------------
// Text and colours

TEST(EllipsisText, ShortensToTheFirstPrefixThatReachesTheWidth)
{
    auto bitmap = SolidBitmap(1, 1, clWhite);
    TCanvas& canvas = bitmap->Canvas();
    String result;
    const String text = L"A rather long caption for a title bar";
    int full = canvas.TextWidth(text);

    EXPECT_EQ(EllipsisText(canvas, text, full, result), text);
    EXPECT_EQ(result, text);
    EXPECT_EQ(EllipsisText(canvas, L"W", 1, result), L"W") << "one character cannot be shortened";

    int maximum = full / 2;
    String shortened = EllipsisText(canvas, text, maximum, result);
    ASSERT_EQ(shortened.substr(shortened.size() - 3), L"...");
    size_t kept = shortened.size() - 3;
    EXPECT_EQ(shortened.substr(0, kept), text.substr(0, kept));
    EXPECT_GE(canvas.TextWidth(shortened), maximum);
    EXPECT_LT(canvas.TextWidth(text.substr(0, kept - 1) + L"..."), maximum) << "the shortest such prefix";
}

TEST(Colours, SplitResolvesSystemColoursAndMakeRebuilds)
{
    uint8_t r, g, b;
    SplitColor(clBtnFace, r, g, b);
    EXPECT_EQ(MakeColor(r, g, b), ColorToRGB(clBtnFace));
    SplitColor(0x123456, r, g, b);
    EXPECT_EQ(r, 0x56);
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(WideTextToString(nullptr), L"");
    EXPECT_EQ(WideTextToString(L"DEEPBLUE_BUTTON"), L"DEEPBLUE_BUTTON");
}

// ---------------------------------------------------------------------------
// Handles

TEST(GdiHandles, ThousandRoundsLeakNothing)
{
    TTestWindow window;
    auto round = [&] {
        auto bitmap = PatternBitmap({"#..#.#", "######", "..##.."});
        auto canvasBitmap = SolidBitmap(20, 12, clBtnFace);
        TCanvas& canvas = canvasBitmap->Canvas();
        canvas.Font().SetStyle(fsBold);
        canvas.TextOut(0, 0, L"Rec");
        canvas.Font().SetSize(12);
        canvas.Pen().SetWidth(2);
        canvas.Rectangle(0, 0, 5, 5);
        DrawVerticalGradient(canvas, Rect(0, 0, 20, 6), clBlack, clHighlight);
        DrawHorizontalGradient(canvas, Rect(0, 6, 20, 12), clWhite, clNavy);
        bitmap->SetTransparent(true);
        canvas.Draw(2, 2, bitmap.get());
        DrawThreeSliceBitmap(bitmap.get(), canvas, Rect(0, 0, 15, 3), kKey, true);
        DrawThreeSliceBitmap(bitmap.get(), canvas, Rect(0, 0, 1, 3), kKey, false);
        auto piece = MakeOwned<TBitmap>();
        ExtractStripPiece(bitmap.get(), piece.get(), 3, 2);
        auto list = TImageList::CreateSize(2, 3);
        list->AddMasked(bitmap.get(), kKey);
        list->Draw(canvas, 0, 0, 1, false);
        SetWindowRegionFromBitmap(window.Handle(), bitmap.get(), kKey);
        SetWindowRegionFromBitmap(nullptr, bitmap.get(), kKey);  // fails: the region must be freed
        TMemoryStream stream;
        bitmap->SaveToStream(stream);
        stream.SetPosition(0);
        piece->LoadFromStream(stream);
        String shortened;
        EllipsisText(canvas, L"Recording", 10, shortened);
    };
    round();  // first use makes the stock and cached objects
    const int before = CountGdiObjects();
    for (int i = 0; i < 1000; ++i)
        round();
    EXPECT_EQ(CountGdiObjects(), before);
}
