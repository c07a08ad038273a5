// The tool-bar speed button: its flat and gradient faces, the hot frame
// that only a glyph gets, the glyph's see-through corner colour, a glyph
// that waits for the next paint, and paints that leak nothing.
#include <gtest/gtest.h>

#include "HandleCounts.h"
#include "KYPToolBarSpeedButton.h"
#include "SolidBitmap.h"
#include "WindowHarness.h"

namespace {

constexpr TColor kTop = 0x204060, kBottom = 0xC0A080;

class SpeedButtonTest : public WindowHarness {
protected:
    TkypToolBarSpeedButton* AddSpeedButton()
    {
        auto* button = New<TkypToolBarSpeedButton>(form.get());
        button->SetParent(form.get());
        button->SetLeft(20);
        button->SetTop(20);
        return button;
    }
    // A 16 x 16 glyph: green with a red centre, its lower-left pixel white
    // so that white is the see-through colour.
    static TOwned<TBitmap> Glyph()
    {
        auto glyph = SolidBitmap(16, 16, clGreen);
        glyph->Canvas().Brush().SetColor(clRed);
        glyph->Canvas().FillRect(Rect(6, 6, 10, 10));
        glyph->Canvas().SetPixels(0, 15, clWhite);
        glyph->Canvas().SetPixels(0, 0, clWhite);
        return glyph;
    }
    static TColor ScreenPixel(TWinControl* control, int x, int y)
    {
        HDC dc = GetDC(control->Handle());
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(control->Handle(), dc);
        return static_cast<TColor>(color);
    }
};

TEST_F(SpeedButtonTest, FacesAreFlatForEqualColoursAndAGradientOtherwise)
{
    auto* button = AddSpeedButton();
    EXPECT_EQ(button->Width(), 18);
    EXPECT_EQ(button->Height(), 18);
    EXPECT_EQ(button->ToColor(), 0);

    button->SetColor(kTop);
    button->SetToColor(kTop);
    auto flat = Snapshot(button);
    for (int y : {0, 9, 17})
        for (int x : {0, 9, 17}) EXPECT_EQ(flat->Canvas().Pixels(x, y), kTop) << x << "," << y;

    button->SetToColor(kBottom);
    auto gradient = Snapshot(button);
    EXPECT_EQ(gradient->Canvas().Pixels(0, 0), kTop);
    EXPECT_EQ(gradient->Canvas().Pixels(17, 17), kBottom);
    const TColor middle = gradient->Canvas().Pixels(9, 9);
    EXPECT_GT(middle & 0xFF, kTop & 0xFF);  // red rises from 0x60 towards 0x80
    EXPECT_LT(middle & 0xFF, kBottom & 0xFF);
    EXPECT_EQ(gradient->Canvas().Pixels(0, 9), middle);  // one colour per row

    // Never given a bottom colour: down to black.
    auto* fresh = AddSpeedButton();
    fresh->SetColor(kBottom);
    auto toBlack = Snapshot(fresh);
    EXPECT_EQ(toBlack->Canvas().Pixels(5, 0), kBottom);
    EXPECT_EQ(toBlack->Canvas().Pixels(5, 17), clBlack);
}

TEST_F(SpeedButtonTest, HotFrameAndGlyphWithItsSeeThroughColour)
{
    auto* bare = AddSpeedButton();
    auto* glyphed = AddSpeedButton();
    glyphed->SetLeft(60);
    for (auto* button : {bare, glyphed}) {
        button->SetColor(kTop);
        button->SetToColor(kTop);
    }
    auto glyph = Glyph();
    glyphed->SetGlyph(glyph.get());
    ShowForm();

    Hover(bare);
    ASSERT_TRUE(bare->MouseInside());
    EXPECT_EQ(Snapshot(bare)->Canvas().Pixels(0, 0), kTop);  // no frame without a glyph
    Leave(bare);

    auto idle = Snapshot(glyphed);
    EXPECT_EQ(idle->Canvas().Pixels(0, 0), kTop);
    EXPECT_EQ(idle->Canvas().Pixels(1, 1), kTop);  // the glyph's white corner lets the face through
    EXPECT_EQ(idle->Canvas().Pixels(2, 1), clGreen);
    EXPECT_EQ(idle->Canvas().Pixels(1 + 7, 1 + 7), clRed);
    EXPECT_EQ(idle->Canvas().Pixels(17, 17), kTop);

    Hover(glyphed);
    ASSERT_TRUE(glyphed->MouseInside());
    auto hot = Snapshot(glyphed);
    for (auto [x, y] : {std::pair{0, 0}, {17, 0}, {0, 17}, {17, 17}, {9, 0}, {0, 9}})
        EXPECT_EQ(hot->Canvas().Pixels(x, y), clBlack) << x << "," << y;
    EXPECT_EQ(hot->Canvas().Pixels(1, 1), kTop);
    Leave(glyphed);
    EXPECT_FALSE(glyphed->MouseInside());
    EXPECT_EQ(Snapshot(glyphed)->Canvas().Pixels(0, 0), kTop);
}

TEST_F(SpeedButtonTest, SettingTheGlyphWaitsForTheNextPaint)
{
    auto* button = AddSpeedButton();
    button->SetColor(kTop);
    button->SetToColor(kTop);
    ShowForm();
    button->Repaint();
    ASSERT_EQ(ScreenPixel(button, 8, 8), kTop);

    auto glyph = Glyph();
    button->SetGlyph(glyph.get());
    glyph.reset();  // the button holds its own copy
    Pump();
    EXPECT_EQ(ScreenPixel(button, 8, 8), kTop);
    button->Repaint();
    EXPECT_EQ(ScreenPixel(button, 8, 8), clRed);
}

TEST_F(SpeedButtonTest, HotAndPressedRepaintsLeakNoHandles)
{
    auto* button = AddSpeedButton();
    auto glyph = Glyph();
    button->SetGlyph(glyph.get());
    button->SetToColor(kBottom);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    auto cycle = [&] {
        Hover(button);
        Press(button);
        Release(button);
        Leave(button);
    };
    for (int i = 0; i < 20; ++i) cycle();
    const int gdi = CountGdiObjects(), windows = CountThreadWindows(), icons = CountIconHandles();
    for (int i = 0; i < 1000; ++i) cycle();
    EXPECT_LE(CountGdiObjects(), gdi);
    EXPECT_LE(CountThreadWindows(), windows);
    EXPECT_LE(CountIconHandles(), icons);
    EXPECT_EQ(clicks, 1020);
}

}  // namespace
