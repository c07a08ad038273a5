// The MDI frame's child arrangement and child control buttons against
// worked cases.
#include <gtest/gtest.h>

#include "KYPMDIArrange.h"

namespace {

TRect Box(int left, int top, int width, int height) { return TRect(left, top, left + width, top + height); }

const std::vector<bool> kThree{false, false, false};

}  // namespace

TEST(CascadeChildren, TheLastEntryGoesFirstAndMinimisedOnesStay)
{
    const TkypChildBounds bounds = CascadeChildren(1000, 500, {false, true, false});
    ASSERT_EQ(bounds.size(), 3u);
    EXPECT_EQ(bounds[2], Box(0, 0, 800, 300));
    EXPECT_EQ(bounds[0], Box(22, 22, 800, 300));
    EXPECT_FALSE(bounds[1].has_value());

    // Truncated, and the steps never wrap however many there are.
    const TkypChildBounds many = CascadeChildren(999, 499, std::vector<bool>(40, false));
    EXPECT_EQ(many[39], Box(0, 0, 799, 299));
    EXPECT_EQ(many[0], Box(39 * 22, 39 * 22, 799, 299));
    EXPECT_TRUE(CascadeChildren(1000, 500, {}).empty());
}

TEST(TileChildren, VerticalTilesShareTheWidth)
{
    const TkypChildBounds bounds = TileChildren(true, 900, 600, 30, kThree);
    EXPECT_EQ(bounds[2], Box(0, 0, 298, 566));
    EXPECT_EQ(bounds[1], Box(298, 0, 298, 566));
    EXPECT_EQ(bounds[0], Box(596, 0, 298, 566));

    // A minimised fourth leaves a strip for the icons.
    const TkypChildBounds withIcon = TileChildren(true, 900, 600, 30, {false, false, true, false});
    EXPECT_FALSE(withIcon[2].has_value());
    EXPECT_EQ(withIcon[3], Box(0, 0, 298, 541));
    EXPECT_EQ(withIcon[1], Box(298, 0, 298, 541));
    EXPECT_EQ(withIcon[0], Box(596, 0, 298, 541));
}

TEST(TileChildren, HorizontalTilesShareWhatTheAlignedControlsLeave)
{
    const TkypChildBounds bounds = TileChildren(false, 900, 600, 30, kThree);
    EXPECT_EQ(bounds[2], Box(0, 0, 896, 188));
    EXPECT_EQ(bounds[1], Box(0, 188, 896, 188));
    EXPECT_EQ(bounds[0], Box(0, 376, 896, 188));
}

TEST(TileChildren, NothingMovesWithoutAShownChildAndSizesStayAtLeastZero)
{
    const TkypChildBounds none = TileChildren(true, 900, 600, 30, {true, true});
    ASSERT_EQ(none.size(), 2u);
    EXPECT_FALSE(none[0].has_value());
    EXPECT_FALSE(none[1].has_value());

    // A frame squeezed smaller than its gaps.
    const TkypChildBounds tiny = TileChildren(false, 3, 20, 30, kThree);
    for (const auto& box : tiny) {
        ASSERT_TRUE(box.has_value());
        EXPECT_GE(box->Width(), 0);
        EXPECT_GE(box->Height(), 0);
    }
}

TEST(ChildButtons, PlacedRightToLeftWithTheirTagsAndPictures)
{
    const TkypChildButtonPlace close = ChildButtonPlace(TkypChildButton::Close, 500, 4);
    const TkypChildButtonPlace restore = ChildButtonPlace(TkypChildButton::Restore, 500, 4);
    const TkypChildButtonPlace minimise = ChildButtonPlace(TkypChildButton::Minimize, 500, 5);
    EXPECT_EQ(close.Left, 480);
    EXPECT_EQ(restore.Left, 462);
    EXPECT_EQ(minimise.Left, 444);
    EXPECT_EQ(close.Top, 2);
    EXPECT_EQ(minimise.Top, 4) << "a frame thicker than 4 px keeps them lower";
    EXPECT_EQ(close.Tag, -1381);
    EXPECT_EQ(restore.Tag, -1382);
    EXPECT_EQ(minimise.Tag, -1383);
    EXPECT_EQ(close.StripPiece, 3);
    EXPECT_EQ(restore.StripPiece, 2);
    EXPECT_EQ(minimise.StripPiece, 1);

    EXPECT_EQ(ChildButtonAction(-1383), TkypChildAction::Minimize);
    EXPECT_EQ(ChildButtonAction(-1382), TkypChildAction::Restore);
    EXPECT_EQ(ChildButtonAction(-1381), TkypChildAction::Close);
    EXPECT_EQ(ChildButtonAction(-1380), TkypChildAction::None);
    EXPECT_EQ(ChildButtonAction(0), TkypChildAction::None);
}

TEST(ChildButtons, AMaximisedChildShowsThoseItsTitleBarHas)
{
    EXPECT_EQ(ChildButtonsFor({kypClose}), (TkypChildButtonsShown{true, false, false}));
    EXPECT_EQ(ChildButtonsFor({kypMin, kypMax, kypClose, kypHelp}), (TkypChildButtonsShown{true, true, true}));
    EXPECT_EQ(ChildButtonsFor({kypHelp, kypControlBox, kypCustom}), TkypChildButtonsShown{});
    EXPECT_EQ(ChildButtonsFor({}), TkypChildButtonsShown{});
}
