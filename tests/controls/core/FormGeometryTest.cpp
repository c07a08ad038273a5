// The skinned form frame's non-client arithmetic against worked cases.
#include <gtest/gtest.h>

#include "KYPFormGeometry.h"

namespace {

const TRect kWindow(100, 50, 400, 250);  // at (100, 50), 300 x 200

TkypFrameBorders BuiltIn(int borderWidth, int oldLeft = 4, int oldBottom = 4)
{
    TkypFrameBorders b;
    b.BorderWidth = borderWidth;
    b.OldLeftBorderWidth = oldLeft;
    b.OldBottomBorderWidth = oldBottom;
    return b;
}

TkypFrameBorders Skin(int left, int right, int bottom)
{
    TkypFrameBorders b = BuiltIn(1);
    b.LeftBorderWidth = left;
    b.RightBorderWidth = right;
    b.BottomBorderWidth = bottom;
    return b;
}

}  // namespace

TEST(FrameClientRect, BuiltInStylesKeepTheirOuterLineAndTwoPixelStrip)
{
    EXPECT_EQ(FrameClientRect(kWindow, BuiltIn(1)), TRect(100, 50, 400, 251));
    EXPECT_EQ(FrameClientRect(kWindow, BuiltIn(3)), TRect(100, 50, 400, 250));
    // A thicker system frame is added back on every side.
    EXPECT_EQ(FrameClientRect(kWindow, BuiltIn(1, 8, 8)), TRect(96, 46, 404, 255));
}

TEST(FrameClientRect, SkinBordersReplaceTheSystemFrame)
{
    EXPECT_EQ(FrameClientRect(kWindow, Skin(5, 6, 10)), TRect(102, 50, 397, 243));
    // Narrow pictures still leave four pixels each side.
    EXPECT_EQ(FrameClientRect(kWindow, Skin(2, 1, 2)), TRect(101, 50, 399, 249));
}

TEST(FrameBorderWidthAnswer, SkinLeftBorderAtLeastFourElseOldBottomLessOne)
{
    EXPECT_EQ(FrameBorderWidthAnswer(BuiltIn(1)), 3);
    EXPECT_EQ(FrameBorderWidthAnswer(Skin(2, 2, 2)), 4);
    EXPECT_EQ(FrameBorderWidthAnswer(Skin(7, 2, 2)), 7);
}

TEST(FrameGeometry, MeasuredThicknessesAndFixedEdges)
{
    EXPECT_EQ(SaneFrameThickness(0), 0);
    EXPECT_EQ(SaneFrameThickness(12), 12);
    EXPECT_EQ(SaneFrameThickness(13), 4);
    EXPECT_EQ(SaneFrameThickness(-1), 4);
    EXPECT_EQ(FrameHitTest(10, true), 18);
    EXPECT_EQ(FrameHitTest(17, true), 18);
    EXPECT_EQ(FrameHitTest(2, true), 2);     // caption stays
    EXPECT_EQ(FrameHitTest(18, true), 18);
    EXPECT_EQ(FrameHitTest(13, false), 13);  // sizeable child keeps its edges
}

// A title picture whose pieces are 50 and 40 wide and a button 20 wide.
TEST(FrameGeometry, MDIFrameMinimumWidth)
{
    EXPECT_EQ(MDIFrameMinWidth(false, 50, 40, 20, 4), 115);   // 50 + max(20 + 45, 40)
    EXPECT_EQ(MDIFrameMinWidth(false, 50, 90, 20, 4), 140);   // the right piece wins
    EXPECT_EQ(MDIFrameMinWidth(true, 50, 40, 20, 4), 155);    // all pieces side by side
    EXPECT_EQ(MDIFrameMinWidth(false, 50, 40, 20, -1), 105);  // no title bar: room for 35
    EXPECT_EQ(MDIFrameMinWidth(false, 50, 0, 20, 0), 55);     // no buttons: one fewer gap
}
