// The recorder window's pictures as the program gets them: linked in as
// bitmap resources, loaded by name and cut into window shapes by colour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KYPPublic.h"

namespace {

constexpr TColor kKey = 15866506;  // the window's see-through colour

struct Place {
    const wchar_t* part;
    TRect bounds;  // in the window's client pixels
};

// Where the main window puts each command button.
const std::vector<Place> kButtons = {
    {L"RECORD", TRect(186, 30, 364, 74)},   {L"HOME", TRect(207, 212, 276, 239)},
    {L"HELP", TRect(195, 248, 264, 275)},   {L"STOP", TRect(293, 206, 339, 254)},
    {L"PLAY", TRect(275, 260, 351, 336)},   {L"MINIMIZE", TRect(365, 398, 390, 411)},
    {L"CLOSE", TRect(365, 414, 390, 427)},
};

TOwned<TBitmap> Load(const std::wstring& name)
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name);
    return bitmap;
}

std::wstring Resource(const Place& place, const wchar_t* state)
{
    return std::wstring(L"RECORDER_") + place.part + L"_" + state;
}

TRect RegionBox(HRGN region)
{
    RECT box{};
    GetRgnBox(region, &box);
    return TRect(box.left, box.top, box.right, box.bottom);
}

// The part of `inner` that `outer` does not cover.
bool Covers(HRGN outer, HRGN inner)
{
    TRegionHandle rest(CreateRectRgn(0, 0, 0, 0));
    return CombineRgn(rest.get(), inner, outer, RGN_DIFF) == NULLREGION;
}

TEST(RecorderPicturesTest, EveryPictureLoadsAtItsControlsSize)
{
    auto window = Load(L"RECORDER_WINDOW");
    EXPECT_EQ(window->Width(), 539);
    EXPECT_EQ(window->Height(), 539);
    for (const Place& place : kButtons)
        for (const wchar_t* state : {L"NORMAL", L"HOT", L"DOWN", L"OUTLINE"}) {
            SCOPED_TRACE(Resource(place, state));
            auto picture = Load(Resource(place, state));
            EXPECT_EQ(picture->Width(), place.bounds.Width());
            EXPECT_EQ(picture->Height(), place.bounds.Height());
        }
    auto legend = Load(L"RECORDER_QUALITY");
    EXPECT_EQ(legend->Width(), 62);
    EXPECT_EQ(legend->Height(), 52);
    EXPECT_THROW(Load(L"RECORDER_NOTHING"), EResNotFound);
}

TEST(RecorderPicturesTest, TheKeyColourCutsTheWindowToItsBodyAndEveryButtonInsideIt)
{
    auto window = Load(L"RECORDER_WINDOW");
    TRegionHandle body = CreateRegionFromBitmap(window.get(), kKey);
    const TRect box = RegionBox(body.get());
    // the corners are see-through, so the key decoded to the right colour
    EXPECT_GT(box.Left, 0);
    EXPECT_GT(box.Top, 0);
    EXPECT_LT(box.Right, 539);
    EXPECT_LT(box.Bottom, 539);
    for (const Place& place : kButtons) {
        SCOPED_TRACE(place.part);
        auto outline = Load(Resource(place, L"OUTLINE"));
        TRegionHandle shape = CreateRegionFromBitmap(outline.get(), kKey);
        const TRect own = RegionBox(shape.get());
        EXPECT_GT(own.Width() * own.Height(), place.bounds.Width() * place.bounds.Height() / 2);
        EXPECT_FALSE(PtInRegion(shape.get(), 0, 0));  // a rounded corner
        EXPECT_TRUE(PtInRegion(shape.get(), place.bounds.Width() / 2, place.bounds.Height() / 2));
        OffsetRgn(shape.get(), place.bounds.Left, place.bounds.Top);
        EXPECT_TRUE(Covers(body.get(), shape.get()));
    }
}

TEST(RecorderPicturesTest, TheQualityLegendIsOpaqueAsItHasNoOutline)
{
    auto legend = Load(L"RECORDER_QUALITY");
    TRegionHandle shape = CreateRegionFromBitmap(legend.get(), kKey);
    TRegionHandle whole(CreateRectRgn(0, 0, 62, 52));
    EXPECT_TRUE(Covers(shape.get(), whole.get()));
}

}  // namespace
