// What the push buttons paint: the base's disabled silhouette, the
// embossed and pressed caption, the focus rectangle, and the image
// button's pictures, stretching, transparency and size.
#include <gtest/gtest.h>

#include <set>

#include "KYPButton.h"
#include "KYPImageButton.h"
#include "SolidBitmap.h"
#include "WindowHarness.h"

namespace {

// No picture at all: only the background and the caption show.
class TCaptionOnly : public TkypCustomButton {
public:
    using TkypCustomButton::TkypCustomButton;

protected:
    void GetNormalPicture(TBitmap*) override {}
    void GetMouseOnPicture(TBitmap*) override {}
    void GetMouseDownPicture(TBitmap*) override {}
    void GetDisabledPicture(TBitmap*) override {}
};

using TPixels = std::set<std::pair<int, int>>;

TPixels PixelsOf(TBitmap& bitmap, TColor color)
{
    TPixels found;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Canvas().Pixels(x, y) == color) found.insert({x, y});
    return found;
}

TPixels Shifted(const TPixels& pixels, int dx, int dy)
{
    TPixels moved;
    for (auto [x, y] : pixels) moved.insert({x + dx, y + dy});
    return moved;
}

// A picture whose top-left colour is Key, with a Middle square inset by 4.
TOwned<TBitmap> FramedPicture(int width, int height, TColor key, TColor middle)
{
    auto picture = SolidBitmap(width, height, key);
    picture->Canvas().Brush().SetColor(middle);
    picture->Canvas().FillRect(Rect(4, 4, width - 4, height - 4));
    return picture;
}

class ButtonFaceTest : public WindowHarness {};

TEST_F(ButtonFaceTest, ADisabledBaseButtonShowsItsPictureAsAnEmbossedSilhouette)
{
    auto* button = Add<TkypCustomButton>(10, 10, 74, 21);
    button->SetUIStyle(DeepBlue);
    ShowForm();
    auto enabled = Snapshot(button);
    button->SetEnabled(false);
    auto disabled = Snapshot(button);

    const std::set<TColor> allowed{clWhite, static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)),
        static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))};
    bool changed = false;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 74; ++x) {
            const TColor pixel = disabled->Canvas().Pixels(x, y);
            EXPECT_TRUE(allowed.count(pixel)) << x << "," << y;
            changed |= pixel != enabled->Canvas().Pixels(x, y);
        }
    EXPECT_TRUE(changed);
}

TEST_F(ButtonFaceTest, TheCaptionIsEmbossedWhenDisabledAndMovesWhenPressed)
{
    form->SetColor(clSilver);
    auto* button = Add<TCaptionOnly>(10, 10, 60, 30);
    button->Font().SetColor(clBlack);
    button->SetCaption(L"W");
    ShowForm();
    const TPixels text = PixelsOf(*Snapshot(button), clBlack);
    ASSERT_FALSE(text.empty());

    Press(button);
    EXPECT_EQ(PixelsOf(*Snapshot(button), clBlack), Shifted(text, 1, 1));
    Release(button);
    EXPECT_EQ(PixelsOf(*Snapshot(button), clBlack), text);

    button->SetEnabled(false);
    auto disabled = Snapshot(button);
    EXPECT_TRUE(PixelsOf(*disabled, clBlack).empty());
    EXPECT_EQ(PixelsOf(*disabled, clGray), text);
    // The white copy lies one pixel right and down, under the grey one.
    // Smoothed text blends the edges, so the lighter-than-background
    // pixels are weighed as a whole: they sit below and right of the text.
    auto centre = [](const TPixels& pixels) {
        double x = 0, y = 0;
        for (auto [px, py] : pixels) x += px, y += py;
        return std::pair{x / pixels.size(), y / pixels.size()};
    };
    TPixels light;
    for (int y = 0; y < disabled->Height(); ++y)
        for (int x = 0; x < disabled->Width(); ++x) {
            const TColor pixel = disabled->Canvas().Pixels(x, y);
            if ((pixel & 0xFF) > 0xC0 && ((pixel >> 8) & 0xFF) > 0xC0 && ((pixel >> 16) & 0xFF) > 0xC0) light.insert({x, y});
        }
    ASSERT_FALSE(light.empty());
    EXPECT_GT(centre(light).first, centre(text).first + 0.3);
    EXPECT_GT(centre(light).second, centre(text).second + 0.3);

    button->SetEnabled(true);
    button->SetCaption(L"   ");
    EXPECT_EQ(PixelsOf(*Snapshot(button), clSilver).size(), 60u * 30u);
}

TEST_F(ButtonFaceTest, TheFocusRectangleNeedsTheFocusAndTabStop)
{
    auto* button = Add<TCaptionOnly>(10, 10, 40, 20);
    auto* image = Add<TkypImageButton>(60, 10, 40, 20);
    ShowForm();
    auto outlineAt = [](TBitmap& face, int margin) {
        int marked = 0;
        for (int x = margin; x < face.Width() - margin; ++x) marked += face.Canvas().Pixels(x, margin) != clWhite;
        return marked;
    };

    button->SetFocus();
    auto focused = Snapshot(button);
    EXPECT_GT(outlineAt(*focused, 2), 5);
    EXPECT_EQ(outlineAt(*focused, 1), 0);
    button->SetFocusedRectMargin(4);
    EXPECT_GT(outlineAt(*Snapshot(button), 4), 5);
    button->SetTabStop(false);
    EXPECT_EQ(outlineAt(*Snapshot(button), 4), 0);

    image->SetFocus();
    EXPECT_EQ(outlineAt(*Snapshot(image), 2), 0);  // DrawFocused is off by default
    image->SetDrawFocused(true);
    EXPECT_GT(outlineAt(*Snapshot(image), 2), 5);
}

TEST_F(ButtonFaceTest, AnImageButtonShowsThePictureOfItsStateOrElseTheNormalOne)
{
    auto* button = Add<TkypImageButton>(10, 10, 30, 20);
    button->SetPicNormal(SolidBitmap(30, 20, clRed).get());
    ShowForm();
    auto colour = [&] { return Snapshot(button)->Canvas().Pixels(15, 10); };
    Hover(button);
    EXPECT_EQ(colour(), clRed);
    Press(button);
    EXPECT_EQ(colour(), clRed);
    Release(button);
    button->SetEnabled(false);
    EXPECT_EQ(colour(), clRed);  // not greyed

    button->SetEnabled(true);
    button->SetPicMouseOn(SolidBitmap(30, 20, clLime).get());
    button->SetPicMouseDown(SolidBitmap(30, 20, clBlue).get());
    button->SetPicDisabled(SolidBitmap(30, 20, clYellow).get());
    EXPECT_EQ(colour(), clRed);  // disabling ended the hover
    Hover(button);
    EXPECT_EQ(colour(), clLime);
    Press(button);
    EXPECT_EQ(colour(), clBlue);
    Release(button);
    Leave(button);
    EXPECT_EQ(colour(), clRed);
    button->SetEnabled(false);
    EXPECT_EQ(colour(), clYellow);
}

TEST_F(ButtonFaceTest, StretchFillsTheButtonAndAnUnstretchedPictureIsCut)
{
    auto* button = Add<TkypImageButton>(10, 10, 40, 30);
    button->SetColor(clAqua);
    button->SetPicNormal(SolidBitmap(20, 10, clRed).get());
    ShowForm();
    EXPECT_EQ(Snapshot(button)->Canvas().Pixels(39, 29), clAqua);
    button->SetStretch(true);
    EXPECT_EQ(PixelsOf(*Snapshot(button), clRed).size(), 40u * 30u);
}

TEST_F(ButtonFaceTest, ATransparentImageButtonShowsItsParentThroughTheKeyColour)
{
    auto* panel = Add<TPanel>(10, 10, 100, 60);
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetColor(clYellow);
    auto* button = Add<TkypImageButton>(5, 5, 40, 30, panel);
    button->SetColor(clAqua);
    button->SetPicNormal(FramedPicture(30, 20, clFuchsia, clRed).get());
    ShowForm();

    auto opaque = Snapshot(button);
    EXPECT_EQ(opaque->Canvas().Pixels(1, 1), clFuchsia);
    EXPECT_EQ(opaque->Canvas().Pixels(35, 25), clAqua);
    button->SetTransparent(true);
    auto seeThrough = Snapshot(button);
    EXPECT_EQ(seeThrough->Canvas().Pixels(1, 1), clYellow);
    EXPECT_EQ(seeThrough->Canvas().Pixels(35, 25), clYellow);
    EXPECT_EQ(seeThrough->Canvas().Pixels(15, 10), clRed);
}

TEST_F(ButtonFaceTest, AnAutoSizedImageButtonTakesTheNormalPicturesSizeOnceItHasAParent)
{
    TOwned<TkypImageButton> loose = MakeOwned<TkypImageButton>(nullptr);
    loose->SetBounds(0, 0, 10, 10);
    loose->SetAutoSize(true);
    loose->SetPicNormal(SolidBitmap(62, 52, clRed).get());
    EXPECT_EQ(loose->Width(), 10);

    auto* button = Add<TkypImageButton>(10, 10, 10, 10);
    button->SetAutoSize(true);
    EXPECT_EQ(button->Width(), 10);  // no picture yet
    button->SetPicNormal(SolidBitmap(62, 52, clRed).get());
    EXPECT_EQ(button->Width(), 62);
    EXPECT_EQ(button->Height(), 52);

    button->SetUIStyle(WinXP);
    EXPECT_EQ(button->UIStyle(), FromThemeFile);
}

}  // namespace
