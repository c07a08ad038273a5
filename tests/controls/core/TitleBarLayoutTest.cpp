// The title bar's layout: buttons from the right edge, the icon and the
// caption at the left, sections from both ends, the caption section and
// the shortened caption. Text is measured at 6 pixels a character.
#include <gtest/gtest.h>

#include "KYPTitleBarLayout.h"

namespace {

int SixEach(const String& text) { return static_cast<int>(text.size()) * 6; }

TTitleButtonSpec Button(TkypTitleBarBtnType type, int size = 19)
{
    TTitleButtonSpec spec;
    spec.Type = type;
    spec.Width = size;
    spec.Height = size;
    return spec;
}

// The default buttons of a new bar in the DeepBlue style on a plain form.
TButtonsInput DefaultBar(int width)
{
    TButtonsInput in;
    in.BarWidth = width;
    in.BtnTop = 2;
    in.IconTop = 2;
    in.Cursor = TPoint(-50, -50);
    in.Buttons = {Button(kypControlBox), Button(kypClose), Button(kypMax), Button(kypMin)};
    return in;
}

int LeftOf(const TButtonsLayout& layout, int index)
{
    for (const TButtonPlacement& placement : layout.Buttons)
        if (placement.Index == index) return placement.Rect.Left;
    return -1000;
}

}  // namespace

TEST(TitleBarLayout, DefaultButtonsStandAtTheRightAndTheIconAtTheLeft)
{
    const TButtonsLayout layout = LayoutButtons(DefaultBar(400));
    ASSERT_EQ(layout.Buttons.size(), 3u);
    EXPECT_EQ(LeftOf(layout, 1), 380);  // close
    EXPECT_EQ(LeftOf(layout, 2), 360);  // maximise
    EXPECT_EQ(LeftOf(layout, 3), 340);  // minimise
    EXPECT_EQ(layout.Buttons[0].Rect, TRect(380, 2, 399, 21));
    EXPECT_EQ(layout.IconIndex, 0);
    EXPECT_TRUE(layout.AppIcon);
    EXPECT_EQ(layout.IconRect, TRect(3, 2, 19, 18));
    EXPECT_EQ(layout.CaptionLeft, 21);
    EXPECT_EQ(layout.ButtonsLeft, 340);
    EXPECT_EQ(layout.InButtons, -1);

    TButtonsInput spaced = DefaultBar(400);
    spaced.ButtonInterval = 3;
    spaced.RightBtnXOffset = 2;
    const TButtonsLayout wide = LayoutButtons(spaced);
    EXPECT_EQ(LeftOf(wide, 1), 378);
    EXPECT_EQ(LeftOf(wide, 2), 378 - 23);
    EXPECT_EQ(LeftOf(wide, 3), 378 - 46);

    // A skin frame's border answer moves the row right by answer - 1 more.
    TButtonsInput framed = DefaultBar(400);
    framed.RightBtnXOffset = 6;
    EXPECT_EQ(LeftOf(LayoutButtons(framed), 1), 374);
    framed.BorderAnswer = 5;
    EXPECT_EQ(LeftOf(LayoutButtons(framed), 1), 379);
}

TEST(TitleBarLayout, HiddenOrIncompleteButtonsTakeNoRoomAndTooManyStayInside)
{
    TButtonsInput in = DefaultBar(400);
    in.Buttons[2].Visible = false;
    in.Buttons[3].Complete = false;
    const TButtonsLayout layout = LayoutButtons(in);
    ASSERT_EQ(layout.Buttons.size(), 1u);
    EXPECT_EQ(layout.Buttons[0].Index, 1);

    // A negative right offset would push them out: each ends 1 pixel inside.
    TButtonsInput pushed = DefaultBar(400);
    pushed.RightBtnXOffset = -8;
    const TButtonsLayout inside = LayoutButtons(pushed);
    EXPECT_EQ(LeftOf(inside, 1), 380);
    EXPECT_EQ(LeftOf(inside, 2), 380 - 20);
}

TEST(TitleBarLayout, TheButtonUnderTheCursorIsHotOrPressedEdgesIncluded)
{
    TButtonsInput in = DefaultBar(400);
    in.Cursor = TPoint(360 + 19, 2 + 19);  // the maximise button's far corner
    TButtonsLayout layout = LayoutButtons(in);
    EXPECT_EQ(layout.InButtons, 2);
    EXPECT_EQ(layout.Buttons[1].Face, TButtonFace::Hot);
    EXPECT_EQ(layout.Buttons[0].Face, TButtonFace::Normal);

    in.MouseDown = true;
    EXPECT_EQ(LayoutButtons(in).Buttons[1].Face, TButtonFace::Down);

    in.Cursor = TPoint(360 + 19, 2 + 20);
    EXPECT_EQ(LayoutButtons(in).InButtons, -1);

    // The icon is hit over the control box's picture size.
    in.Cursor = TPoint(18, 20);
    EXPECT_EQ(LayoutButtons(in).InButtons, 0);
}

TEST(TitleBarLayout, TheCaptionStartsAfterTheIconTheControlBoxOrSixPixelsIn)
{
    TButtonsInput picture = DefaultBar(400);
    picture.DrawAppIcon = false;
    picture.Cursor = TPoint(5, 5);
    picture.MouseDown = true;
    TButtonsLayout layout = LayoutButtons(picture);
    EXPECT_FALSE(layout.AppIcon);
    EXPECT_EQ(layout.IconRect, TRect(0, 1, 19, 20));  // one row above the icon top
    EXPECT_EQ(layout.IconFace, TButtonFace::Down);
    EXPECT_EQ(layout.CaptionLeft, 24);

    TButtonsInput none = DefaultBar(400);
    none.Buttons.erase(none.Buttons.begin());
    EXPECT_EQ(LayoutButtons(none).IconIndex, -1);
    EXPECT_EQ(LayoutButtons(none).CaptionLeft, 6);
    none.LeftBtnXOffset = 10;
    EXPECT_EQ(LayoutButtons(none).CaptionLeft, 7);

    TButtonsInput offset = DefaultBar(400);
    offset.LeftBtnXOffset = 4;  // BlueGlass
    EXPECT_EQ(LayoutButtons(offset).IconRect.Left, 4);
    EXPECT_EQ(LayoutButtons(offset).CaptionLeft, 22);
}

TEST(TitleBarLayout, ALongCaptionIsCutToTheLongestPrefixThatFitsWithFullStops)
{
    EXPECT_EQ(CaptionText(L"", L"ABCDEFGHIJ", 60, SixEach), L"ABCDEFGHIJ");
    EXPECT_EQ(CaptionText(L"", L"ABCDEFGHIJ", 40, SixEach), L"ABC...");
    EXPECT_EQ(CaptionText(L"", L"ABCDEFGHIJ", 10, SixEach), L"...");
    EXPECT_EQ(CaptionText(L"", L"ABCDEFGHIJ", -5, SixEach), L"...");
    // The caption section's own shortening wins.
    EXPECT_EQ(CaptionText(L"AB...", L"ABCDEFGHIJ", 10, SixEach), L"AB...");
}

TEST(TitleBarLayout, TheCaptionStandsByStyleAndReadingOrder)
{
    TCaptionInput in;
    in.BtnTop = 2;
    in.CapTop = 9;
    in.Left = 21;
    in.Right = 340;
    in.TextWidth = 50;
    EXPECT_EQ(CaptionPosition(in), TPoint(21, 2));
    in.Protein = true;
    EXPECT_EQ(CaptionPosition(in), TPoint(21, 5));
    in.Themed = true;
    EXPECT_EQ(CaptionPosition(in), TPoint(21, 6));
    in.RightToLeft = true;
    EXPECT_EQ(CaptionPosition(in), TPoint(280, 6));  // ends 10 pixels before the buttons
}

namespace {

TTitleSectionSpec Section(TkypTitleBarAlign align, int pictureWidth, int height = 32)
{
    TTitleSectionSpec spec;
    spec.Align = align;
    spec.PictureWidth = pictureWidth;
    spec.PictureHeight = height;
    return spec;
}

TSectionsInput ThreeSections(int width)
{
    TSectionsInput in;
    in.BarWidth = width;
    in.BarHeight = 32;
    in.Caption = L"Caption";
    in.Sections = {Section(kypLeft, 97), Section(kypRight, 97), Section(kypClient, 98)};
    return in;
}

}  // namespace

TEST(TitleBarLayout, ThreeSectionsFillTheBarFromBothEndsInwards)
{
    const TSectionsLayout layout = LayoutSections(ThreeSections(400), SixEach);
    EXPECT_EQ(layout.BufSize, (TSize{400, 32}));
    ASSERT_EQ(layout.Placements.size(), 3u);
    EXPECT_EQ(layout.Placements[0].Work, TRect(0, 0, 97, 32));
    EXPECT_EQ(layout.Placements[1].Work, TRect(303, 0, 400, 32));
    EXPECT_EQ(layout.Placements[1].Draw, TSectionDraw::RightSide);
    EXPECT_EQ(layout.Placements[2].Index, 2);  // the middle comes last
    EXPECT_EQ(layout.Placements[2].Work, TRect(97, 0, 303, 32));
    EXPECT_EQ(layout.Placements[2].Draw, TSectionDraw::Stretch);
    EXPECT_FALSE(layout.CaptionDrawn);
    EXPECT_EQ(layout.DrawingCap, L"");

    // Inside a skin frame the title image reaches over the borders.
    TSectionsInput framed = ThreeSections(400);
    framed.Insets = TitleInsets(true, false, 0);
    const TSectionsLayout image = LayoutSections(framed, SixEach);
    EXPECT_EQ(image.BufSize, (TSize{406, 35}));
    EXPECT_EQ(image.Placements[0].Work, TRect(-3, -3, 94, 29));
    EXPECT_EQ(image.Placements[0].Buf, TRect(0, 0, 97, 32));
    EXPECT_EQ(image.Placements[1].Buf, TRect(309, 0, 406, 32));
    EXPECT_EQ(TitleInsets(true, true, 0).XOff, -4);
    EXPECT_EQ(TitleInsets(true, false, 6).XOff, -6);
    EXPECT_EQ(TitleInsets(false, true, 6).XOff, 0);

    // Narrower than both sides: the middle is empty, not mirrored.
    const TSectionsLayout narrow = LayoutSections(ThreeSections(150), SixEach);
    EXPECT_EQ(narrow.Placements[2].Work.Width(), 0);
}

TEST(TitleBarLayout, TheCaptionSectionGrowsWithTheCaptionAndNeverMirrors)
{
    TSectionsInput in;
    in.BarWidth = 400;
    in.BarHeight = 30;
    in.LeftBtnXOffset = 4;
    in.ButtonsWidth = 60;
    in.Caption = L"Hello";
    in.Sections = {Section(kypLeft, 20, 30), Section(kypLeft, 5, 30), Section(kypLeft, 30, 30),
        Section(kypClient, 8, 30), Section(kypRight, 25, 30)};
    in.Sections[1].CapSec = true;
    in.Sections[2].Width = 30;
    TSectionsLayout layout = LayoutSections(in, SixEach);
    EXPECT_TRUE(layout.CaptionDrawn);
    EXPECT_EQ(layout.DrawingCap, L"Hello");
    EXPECT_EQ(layout.Placements[1].Work, TRect(20, 0, 51, 30));  // 4 + 30 + 17 past the left section
    EXPECT_EQ(layout.Placements[2].Work, TRect(51, 0, 81, 30));
    EXPECT_EQ(layout.Placements[4].Work, TRect(81, 0, 375, 30));

    // The caption is shortened to what the bar leaves it: the shortest
    // "prefix..." that reaches the room.
    in.BarWidth = 160;  // room 160 - 4 - 60 - 30 - 21 = 45
    in.Caption = L"A long caption";
    layout = LayoutSections(in, SixEach);
    EXPECT_EQ(layout.DrawingCap, L"A lon...");

    // A wide left section before a short caption: width 0, not negative.
    in.Sections[0].PictureWidth = 100;
    in.Caption = L"";
    layout = LayoutSections(in, SixEach);
    EXPECT_EQ(layout.Placements[1].Work, TRect(100, 0, 100, 30));
}
