// The MDI frame's child arrangement and child control buttons against
// worked cases.
#include <gtest/gtest.h>

#include "KYPMDIArrange.h"

namespace {
TRect Box(int left, int top, int width, int height) { return TRect(left, top, left + width, top + height); }
const std::vector<bool> kThree{false, false, false};
}  // namespace

TEST(MDIArrange, CascadeFromTheLastEntryMinimisedOnesStaying)
{
    EXPECT_EQ(CascadeChildren(1000, 500, {false, true, false}), (TkypChildBounds{Box(22, 22, 800, 300), {}, Box(0, 0, 800, 300)}));
    const TkypChildBounds many = CascadeChildren(999, 499, std::vector<bool>(40, false));
    EXPECT_EQ(many[0], Box(858, 858, 799, 299)) << "truncated, and the steps never wrap";
}

TEST(MDIArrange, TilesShareWhatTheAlignedControlsLeave)
{
    EXPECT_EQ(TileChildren(true, 900, 600, 30, kThree),
        (TkypChildBounds{Box(596, 0, 298, 566), Box(298, 0, 298, 566), Box(0, 0, 298, 566)}));
    EXPECT_EQ(TileChildren(true, 900, 600, 30, {false, false, true, false}),
        (TkypChildBounds{Box(596, 0, 298, 541), Box(298, 0, 298, 541), {}, Box(0, 0, 298, 541)}));
    EXPECT_EQ(TileChildren(false, 900, 600, 30, kThree),
        (TkypChildBounds{Box(0, 376, 896, 188), Box(0, 188, 896, 188), Box(0, 0, 896, 188)}));
    EXPECT_EQ(TileChildren(true, 900, 600, 30, {true, true}), (TkypChildBounds{{}, {}}));
    for (const auto& box : TileChildren(false, 3, 20, 30, kThree))
        EXPECT_TRUE(box && box->Width() >= 0 && box->Height() >= 0) << "a squeezed frame gives no negative size";
}

TEST(MDIArrange, ChildButtonsPlacesTagsPicturesAndDeeds)
{
    const TkypChildButtonPlace close = ChildButtonPlace(TkypChildButton::Close, 500, 4);
    const TkypChildButtonPlace restore = ChildButtonPlace(TkypChildButton::Restore, 500, 4);
    const TkypChildButtonPlace minimise = ChildButtonPlace(TkypChildButton::Minimize, 500, 5);
    EXPECT_EQ((std::vector<int>{close.Left, restore.Left, minimise.Left}), (std::vector<int>{480, 462, 444}));
    EXPECT_EQ((std::vector<int>{close.Top, minimise.Top}), (std::vector<int>{2, 4}));
    EXPECT_EQ((std::vector<int>{close.Tag, restore.Tag, minimise.Tag}), (std::vector<int>{-1381, -1382, -1383}));
    EXPECT_EQ((std::vector<int>{close.StripPiece, restore.StripPiece, minimise.StripPiece}), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(ChildButtonAction(-1381), TkypChildAction::Close);
    EXPECT_EQ(ChildButtonAction(-1382), TkypChildAction::Restore);
    EXPECT_EQ(ChildButtonAction(-1383), TkypChildAction::Minimize);
    EXPECT_EQ(ChildButtonAction(-1380), TkypChildAction::None);

    EXPECT_EQ(ChildButtonsFor({kypClose}), (TkypChildButtonsShown{true, false, false}));
    EXPECT_EQ(ChildButtonsFor({kypMin, kypMax, kypClose, kypHelp}), (TkypChildButtonsShown{true, true, true}));
    EXPECT_EQ(ChildButtonsFor({kypHelp, kypControlBox, kypCustom}), TkypChildButtonsShown{});
}
