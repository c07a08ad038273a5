// The form frame's border painted into a memory bitmap and checked by
// pixel; its window outlines checked point by point.
#include <gtest/gtest.h>

#include "SolidBitmap.h"

#include <memory>
#include <string>
#include <vector>

#include "KYPFormBorder.h"

namespace {

constexpr TColor kKey = clFuchsia;
constexpr int kW = 120, kH = 90;

// The region's rows in PatternBitmap's letters ('#' inside), Width wide.
std::vector<std::string> RegionRows(HRGN region, int width, int height)
{
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x)
            row += PtInRegion(region, x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TRect BoxOf(HRGN region)
{
    RECT box{};
    GetRgnBox(region, &box);
    return TRect(box.left, box.top, box.right, box.bottom);
}

// A form window's worth of pixels, cleared to white.
struct TWindowImage {
    TOwned<TBitmap> bitmap = SolidBitmap(kW, kH, clWhite);
    TCanvas& Canvas() { return bitmap->Canvas(); }
    TColor At(int x, int y) { return bitmap->Canvas().Pixels(x, y); }
    int Count(const TRect& rect, TColor colour)
    {
        int count = 0;
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right; ++x)
                count += At(x, y) == colour;
        return count;
    }
};

TkypFrameLayout Layout(bool titleVisible, int menuBarHeight = 0)
{
    TkypFrameLayout layout;
    layout.Width = kW;
    layout.Height = kH;
    layout.TitleVisible = titleVisible;
    layout.TitleHeight = 20;
    layout.MenuBarHeight = menuBarHeight;
    layout.MenuBarColor = clNavy;
    layout.MenuBarToColor = clTeal;
    return layout;
}

}  // namespace

// ---------------------------------------------------------------------------
// Skin outline

TEST(SkinFrameRegion, ScansTheBandsAndKeepsTheRestSolid)
{
    auto title = PatternBitmap({"#.#", "..#", ".#.", "..."});
    auto bottom = PatternBitmap({"#..", "##."});
    TkypSkinRegionSource source;
    source.TitleImage = title.get();
    source.BottomImage = bottom.get();
    source.TitleNeedRegion = source.BottomNeedRegion = true;
    source.TransColor = kKey;
    source.Width = 5;
    source.Height = 8;
    // Both bands -1: every row of both pictures scanned, the middle solid.
    TRegionHandle all = CreateSkinFrameRegion(source);
    EXPECT_EQ(RegionRows(all.get(), 6, 9), (std::vector<std::string>{
        "#.#...", "..#...", ".#....", "......", "#####.", "#####.", "#.....", "##....", "......"}));

    // Title rows 1 to 2 scanned; row 0 and row 3 solid over the window's width.
    source.TitleMin = 1;
    source.TitleMax = 2;
    source.BottomNeedRegion = false;
    TRegionHandle band = CreateSkinFrameRegion(source);
    EXPECT_EQ(RegionRows(band.get(), 5, 4), (std::vector<std::string>{"#####", "..#..", ".#...", "#####"}));
}

TEST(SkinFrameRegion, BandsPastThePictureAndMissingPicturesAreClamped)
{
    auto title = PatternBitmap({"#.#", "..#"});
    TkypSkinRegionSource source;
    source.TitleImage = title.get();
    source.TitleNeedRegion = source.BottomNeedRegion = true;  // no bottom picture at all
    source.TransColor = kKey;
    source.Width = 4;
    source.Height = 6;
    source.TitleMin = 1;
    source.TitleMax = 4000;  // far below the picture's two rows
    TRegionHandle region = CreateSkinFrameRegion(source);
    EXPECT_EQ(RegionRows(region.get(), 4, 6), (std::vector<std::string>{
        "####", "..#.", "####", "####", "####", "####"}));
    EXPECT_EQ(BoxOf(region.get()), TRect(0, 0, 4, 6));

    source.TitleMin = 3000;  // band wholly below: the picture's rows are solid
    TRegionHandle solid = CreateSkinFrameRegion(source);
    EXPECT_TRUE(PtInRegion(solid.get(), 1, 0));
    EXPECT_EQ(BoxOf(solid.get()), TRect(0, 0, 4, 6));

    source.TitleImage = nullptr;
    TRegionHandle none = CreateSkinFrameRegion(source);
    std::vector<std::string> full(6, "####.");
    full.push_back(".....");
    EXPECT_EQ(RegionRows(none.get(), 5, 7), full);

}

TEST(RoundFrameRegion, TopAndBottomCornersFollowTheirOwnSizes)
{
    // WinXP: 13 at the top, square at the bottom.
    TRegionHandle xp = CreateRoundFrameRegion(kW, kH, 13, 0);
    EXPECT_FALSE(PtInRegion(xp.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(xp.get(), kW - 1, 0));
    EXPECT_FALSE(PtInRegion(xp.get(), 1, 1));
    EXPECT_TRUE(PtInRegion(xp.get(), kW / 2, 0));
    EXPECT_TRUE(PtInRegion(xp.get(), 0, 13));
    EXPECT_TRUE(PtInRegion(xp.get(), 0, kH - 1));
    EXPECT_TRUE(PtInRegion(xp.get(), kW - 1, kH - 1));
    EXPECT_TRUE(PtInRegion(xp.get(), 0, kH / 2));

    TRegionHandle square = CreateRoundFrameRegion(kW, kH, 0, -1);
    for (POINT p : {POINT{0, 0}, POINT{kW - 1, 0}, POINT{0, kH - 1}, POINT{kW - 1, kH - 1}})
        EXPECT_TRUE(PtInRegion(square.get(), p.x, p.y)) << p.x << "," << p.y;

    TRegionHandle both = CreateRoundFrameRegion(kW, kH, 11, 11);
    EXPECT_FALSE(PtInRegion(both.get(), 0, kH - 1));
    EXPECT_FALSE(PtInRegion(both.get(), kW - 1, kH - 1));
    EXPECT_TRUE(PtInRegion(both.get(), kW / 2, kH - 1));
}

// ---------------------------------------------------------------------------
// Built-in styles

TEST(StyleFrameBorder, LinesStripsAndMenuBarColoursWithoutTitle)
{
    TWindowImage image;
    TkypFrameBorder border;
    TkypStyleFrameLook look;
    look.BorderColor = clBlack;
    look.Color = clSilver;
    border.PaintStyle(image.Canvas(), Layout(false, 22), look);
    EXPECT_EQ(image.At(kW / 2, 0), clBlack);
    EXPECT_EQ(image.At(kW / 2, 2), clSilver);
    EXPECT_EQ(image.At(0, kH / 2), clBlack);
    EXPECT_EQ(image.At(kW - 1, kH / 2), clBlack);
    EXPECT_EQ(image.At(kW / 2, kH - 1), clBlack);
    EXPECT_EQ(image.At(kW / 2, kH - 2), clSilver);
    EXPECT_EQ(image.At(2, 40), clSilver);
    EXPECT_EQ(image.At(kW - 2, 40), clSilver);
    // No title: the menu bar strips start at the top, from its first colour.
    EXPECT_EQ(image.At(1, 1), clNavy);
    EXPECT_EQ(image.At(kW - 3, 1), clNavy);
    EXPECT_EQ(image.At(kW / 2, kH / 2), clWhite);  // the client area is not touched
}

TEST(StyleFrameBorder, TitleEdgeFromSectionsAndRoundCornerArcs)
{
    auto left = SolidBitmap(30, 24, clRed), right = SolidBitmap(30, 24, clLime), middle = SolidBitmap(5, 24, clBlue);
    TkypStyleFrameLook look;
    look.LeftTitle = left.get();
    look.RightTitle = right.get();
    look.MiddleTitle = middle.get();
    look.BorderColor = clBlack;
    look.Color = clSilver;
    look.RoundCorner = 11;
    look.DialogBorder = true;

    TWindowImage arcs;
    TkypFrameBorder().PaintStyle(arcs.Canvas(), Layout(true, 22), look);
    EXPECT_GT(arcs.Count(TRect(1, 1, 8, 8), clBlack), 0);  // the arcs of radius 11
    EXPECT_GT(arcs.Count(TRect(kW - 8, 1, kW - 1, 8), clBlack), 0);
    EXPECT_EQ(arcs.At(10, 1), clRed);
    EXPECT_EQ(arcs.At(kW / 2, 1), clBlue);
    EXPECT_EQ(arcs.At(kW - 12, 1), clLime);
    EXPECT_EQ(arcs.At(1, 10), clRed);       // corner columns beside the title bar
    EXPECT_EQ(arcs.At(kW - 2, 10), clLime);
    EXPECT_EQ(arcs.At(1, 24), clNavy);      // menu bar strip from title height + 3

    look.RoundCorner = 13;
    TWindowImage plain;
    TkypFrameBorder().PaintStyle(plain.Canvas(), Layout(true, 22), look);
    EXPECT_EQ(plain.Count(TRect(1, 1, 8, 8), clBlack), 0);

    look.BorderWidth = 3;  // the corner columns vanish
    TWindowImage wide;
    TkypFrameBorder().PaintStyle(wide.Canvas(), Layout(true), look);
    EXPECT_EQ(wide.At(2, 2), clBlack);
    EXPECT_EQ(wide.At(3, 2), clRed);
    EXPECT_EQ(wide.At(kW - 4, 2), clLime);
    EXPECT_EQ(wide.At(kW - 3, 2), clBlack);
}

// ---------------------------------------------------------------------------
// Skin file

TEST(SkinFrameBorder, PicturesStretchedNarrowOnesPaddedMissingOnesZero)
{
    auto title = SolidBitmap(kW, 23, clYellow);
    auto left = SolidBitmap(2, 10, clLime), right = SolidBitmap(6, 10, clBlue);
    auto bottom = MakeOwned<TBitmap>();  // three frames: red, key colour, green
    bottom->SetSize(9, 5);
    for (int frame = 0; frame < 3; ++frame) {
        bottom->Canvas().Brush().SetColor(frame == 0 ? clRed : frame == 1 ? kKey : clGreen);
        bottom->Canvas().FillRect(TRect(frame * 3, 0, frame * 3 + 3, 5));
    }
    TkypSkinFrameLook look;
    look.Title = title.get();
    look.Left = left.get();
    look.Right = right.get();
    look.Bottom1 = bottom.get();
    look.BottomNeedRegion = true;
    look.FormColor = clSilver;
    look.TransparentColor = kKey;

    TWindowImage image;
    TkypFrameBorder border;
    border.PaintSkin(image.Canvas(), Layout(true, 22), look);
    EXPECT_EQ(image.At(1, 10), clYellow);  // the title's left end
    EXPECT_EQ(image.At(kW / 2, 2), clYellow);
    EXPECT_EQ(image.At(kW / 2, 3), clWhite);
    EXPECT_EQ(image.At(0, 60), clLime);
    EXPECT_EQ(image.At(3, 60), clSilver);  // a 2-pixel picture leaves 2 pixels of form colour
    EXPECT_EQ(image.At(2, 24), clNavy);    // ... the menu bar's colours beside the menu bar
    EXPECT_EQ(image.At(kW - 6, 60), clBlue);
    EXPECT_EQ(image.At(1, kH - 3), clRed);
    EXPECT_EQ(image.At(kW / 2, kH - 3), clSilver);  // key colour shows the form colour
    EXPECT_EQ(image.At(kW - 1, kH - 3), clGreen);
    EXPECT_EQ(border.BottomBuffer()->Canvas().Pixels(kW / 2, 0), kKey);  // kept for the region

    look.Right = nullptr;
    look.Bottom1 = nullptr;
    TWindowImage missing;
    border.PaintSkin(missing.Canvas(), Layout(true), look);
    EXPECT_EQ(missing.At(kW - 1, 60), clSilver);
    EXPECT_EQ(missing.At(kW - 4, 60), clSilver);
    EXPECT_EQ(missing.At(kW / 2, kH - 1), clSilver);
    EXPECT_EQ(missing.At(kW / 2, kH - 5), clWhite);
    EXPECT_TRUE(border.BottomBuffer()->Empty());
}

// The MDI frame's own rules against the form frame's, edge by edge.
TEST(StyleFrameBorder, TheMDIFramesRulesMoveTheInnerStripsAndDrawTheTopLast)
{
    TOwned<TBitmap> left, right, middle = SolidBitmap(5, 30, clBlue);
    TkypStyleFrameLook look;
    const auto titleRows = [&](int rows) {
        left = SolidBitmap(30, rows, clRed);
        right = SolidBitmap(30, rows, clLime);
        look.LeftTitle = left.get();
        look.RightTitle = right.get();
    };
    titleRows(20);
    look.MiddleTitle = middle.get();
    look.Color = clSilver;
    look.DialogBorder = true;
    TkypFrameLayout layout = Layout(true, 22);
    layout.MenuBarFill = clMaroon;
    const auto paint = [&](const TkypStyleFrameRules& rules, const TkypFrameLayout& with) {
        look.Rules = rules;
        auto image = std::make_unique<TWindowImage>();
        TkypFrameBorder().PaintStyle(image->Canvas(), with, look);
        return image;
    };
    auto form = paint({}, layout), mdi = paint(kMDIFrameRules, layout);
    // Three rows of the frame's colour above the bottom line, not two.
    EXPECT_EQ(form->At(kW / 2, kH - 3), clWhite);
    EXPECT_EQ(mdi->At(kW / 2, kH - 3), clSilver);
    EXPECT_EQ(mdi->At(kW / 2, kH - 4), clWhite);
    // Beside the menu bar (title height + 3 down) the bar's own colour, flat.
    EXPECT_EQ(form->At(1, 23), clNavy);
    EXPECT_NE(form->At(1, 44), clMaroon);
    EXPECT_EQ(mdi->At(1, 23), clMaroon);
    EXPECT_EQ(mdi->At(kW - 2, 44), clMaroon);
    EXPECT_EQ(mdi->At(1, 45), clSilver);
    // Without a title bar the menu bar sits at the top, and so does its colour.
    TkypFrameLayout untitled = Layout(false, 22);
    untitled.MenuBarFill = clMaroon;
    mdi = paint(kMDIFrameRules, untitled);
    EXPECT_EQ(mdi->At(1, 5), clMaroon);
    EXPECT_EQ(mdi->At(1, 23), clSilver);

    // The title pictures reach below the title bar's rows: the MDI frame's
    // top edge, drawn last, covers its side strips, which start at the
    // title bar's own height.
    layout = Layout(true);
    titleRows(30);
    form = paint({}, layout);
    mdi = paint(kMDIFrameRules, layout);
    EXPECT_EQ(form->At(1, 25), clSilver);
    EXPECT_EQ(mdi->At(1, 25), clRed);
    EXPECT_EQ(mdi->At(kW - 2, 25), clLime);
    titleRows(10);
    form = paint({}, layout);
    mdi = paint(kMDIFrameRules, layout);
    EXPECT_EQ(form->At(1, 20), clWhite);
    EXPECT_EQ(mdi->At(1, 20), clSilver);

    // An outer line of four pixels or more: the MDI frame leaves the top alone.
    look.BorderWidth = 4;
    form = paint({}, layout);
    mdi = paint(kMDIFrameRules, layout);
    EXPECT_EQ(form->At(kW / 2, 1), clBlue);
    EXPECT_EQ(mdi->At(kW / 2, 1), clWhite);
}
