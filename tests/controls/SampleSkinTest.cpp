// Every skinned class drawn from the sample skin as a theme-file component
// loads it, checked by pixel against what the generator wrote: its
// pictures as BMP files of their own and its colours in CopperSkin.h.
// Freeing the theme brings each back to DeepBlue; the encrypted copy needs
// its password.
#include <gtest/gtest.h>

#include "ButtonGallery.h"
#include "DialogDriver.h"
#include "GdiHandles.h"
#include "KYPCheckBox.h"
#include "KYPFormBorder.h"
#include "KYPPopupMenu.h"
#include "KYPRadioButton.h"
#include "KYPThemes.h"
#include "MenuRobot.h"
#include "PollUntil.h"
#include "SampleSkin.h"
#include "SolidBitmap.h"
#include "WindowHarness.h"

namespace {

constexpr int kNoKey = -1;

// Whether Face shows piece Index (from 1) of a strip of Count equal pieces,
// the last flush right, with its corner at (Left, Top). Where the piece
// has the colour Key, Face must show Ground instead.
::testing::AssertionResult ShowsPiece(TBitmap& face, TBitmap& strip, int count, int index, int left, int top,
    int key = kNoKey, TColor ground = clBlack)
{
    const int width = strip.Width() / count;
    const int from = index == count ? strip.Width() - width : (index - 1) * width;
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < width; ++x) {
            const TColor drawn = strip.Canvas().Pixels(from + x, y);
            const TColor expected = key != kNoKey && drawn == static_cast<TColor>(key) ? ground : drawn;
            const TColor seen = face.Canvas().Pixels(left + x, top + y);
            if (seen != expected)
                return ::testing::AssertionFailure() << "piece " << index << " at " << x << "," << y << ": " << std::hex
                                                     << seen << " instead of " << expected;
        }
    return ::testing::AssertionSuccess();
}

TOwned<TBitmap> StyleStrip(TkypUIStyle style, int attr)
{
    auto strip = MakeOwned<TBitmap>();
    GetStyleBitmap(style, attr, strip.get(), 0, 0);
    return strip;
}

bool ReadsTheTheme(TkypFileTheme* theme, TkypUIStyle style)
{
    TkypUIStyle resolved = DeepBlue;
    return UsesThemeFile(theme, style, resolved) && resolved == FromThemeFile;
}

class SampleSkinTest : public WindowHarness {
protected:
    void SetUp() override
    {
        WindowHarness::SetUp();
        theme = New<TkypFileTheme>(form.get());
        theme->SetThemeFile(SampleSkinFile());
    }

    template <class T>
    T* Skinned(int left, int top, int width, int height)
    {
        T* control = Add<T>(left, top, width, height);
        control->SetFileTheme(theme);
        control->SetUIStyle(FromThemeFile);
        return control;
    }

    // Where a check box or radio button puts its glyph of this height.
    static int GlyphTop(TControl* box, int glyphHeight) { return (box->ClientHeight() - glyphHeight) / 2; }

    TkypFileTheme* theme = nullptr;
};

}  // namespace

TEST_F(SampleSkinTest, PushAndImageButtonsShowTheSkinsButtonPieces)
{
    ASSERT_TRUE(theme->CanUse());
    const auto strip = SampleSkinPicture(L"SKIN2_BUTTON");
    const int width = strip->Width() / 3, height = strip->Height();
    auto* button = Skinned<TPosedButton>(10, 10, width, height);
    EXPECT_TRUE(ReadsTheTheme(button->FileTheme(), button->UIStyle()));

    // An image button given the skin's pieces shows them; the theme never
    // changes what it draws.
    auto* image = Skinned<TPosedImageButton>(10, 50, width, height);
    TBitmap pieces[3];
    for (int i = 0; i < 3; ++i) theme->GetBitmap2(SKIN2_BUTTON, &pieces[i], 3, i + 1);
    image->SetPicNormal(&pieces[0]);
    image->SetPicMouseOn(&pieces[1]);
    image->SetPicMouseDown(&pieces[2]);
    ShowForm();

    struct State {
        bool in, down;
        int piece;
    };
    for (const State s : {State{false, false, 1}, State{true, false, 2}, State{true, true, 3}}) {
        button->Pose(s.in, s.down);
        image->Pose(s.in, s.down);
        EXPECT_TRUE(ShowsPiece(*Snapshot(button), *strip, 3, s.piece, 0, 0));
        EXPECT_TRUE(ShowsPiece(*Snapshot(image), *strip, 3, s.piece, 0, 0));
    }
    image->Pose(false, false);
    image->SetEnabled(false);
    EXPECT_TRUE(ShowsPiece(*Snapshot(image), *strip, 3, 1, 0, 0));  // the normal piece, not greyed

    FreeObject(theme);
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), DeepBlue);
    button->Pose(false, false);
    EXPECT_TRUE(ShowsPiece(*Snapshot(button), *StyleStrip(DeepBlue, 1), 3, 1, 0, 0));
    EXPECT_EQ(image->UIStyle(), FromThemeFile);
    EXPECT_TRUE(ShowsPiece(*Snapshot(image), *strip, 3, 1, 0, 0));
}

TEST_F(SampleSkinTest, TheCheckBoxTakesFourOfTheSkinsSixPieces)
{
    ASSERT_TRUE(theme->CanUse());
    const auto strip = SampleSkinPicture(L"SKIN2_CHECKBOX");
    ASSERT_EQ(strip->Width(), 6 * strip->Height());  // square pieces
    auto* box = Skinned<TkypCheckBox>(10, 10, 90, 20);
    box->SetCaption(L"Loud");
    EXPECT_TRUE(ReadsTheTheme(box->FileTheme(), box->UIStyle()));
    ShowForm();

    struct State {
        bool checked, enabled;
        int piece;
    };
    for (const State s : {State{true, true, 1}, State{false, true, 3}, State{true, false, 4}, State{false, false, 6}}) {
        box->SetChecked(s.checked);
        box->SetEnabled(s.enabled);
        EXPECT_TRUE(ShowsPiece(*Snapshot(box), *strip, 6, s.piece, 1, GlyphTop(box, strip->Height())))
            << s.checked << s.enabled;
    }

    FreeObject(theme);
    EXPECT_EQ(box->FileTheme(), nullptr);
    EXPECT_EQ(box->UIStyle(), DeepBlue);
    const auto deepBlue = StyleStrip(DeepBlue, 3);
    EXPECT_TRUE(ShowsPiece(*Snapshot(box), *deepBlue, 4, 4, 1, GlyphTop(box, deepBlue->Height())));  // unchecked, disabled
}

TEST_F(SampleSkinTest, TheRadioButtonTakesTheSkinsFourPiecesWithTheLowerLeftColourSeeThrough)
{
    ASSERT_TRUE(theme->CanUse());
    const auto strip = SampleSkinPicture(L"SKIN2_RADIOBUTTON");
    const int key = static_cast<int>(strip->Canvas().Pixels(0, strip->Height() - 1));
    EXPECT_EQ(key, CopperSkin::SKIN2_TRANSCOLOR);  // the skin keys its pictures in its transparent colour
    constexpr TColor kGround = 0x30A050;
    auto* radio = Skinned<TkypRadioButton>(10, 10, 90, 20);
    radio->SetColor(kGround);
    radio->SetCaption(L"High");
    ShowForm();

    struct State {
        bool checked, enabled;
        int piece;
    };
    for (const State s : {State{true, true, 1}, State{false, true, 2}, State{true, false, 3}, State{false, false, 4}}) {
        radio->SetChecked(s.checked);
        radio->SetEnabled(s.enabled);
        EXPECT_TRUE(ShowsPiece(*Snapshot(radio), *strip, 4, s.piece, 1, GlyphTop(radio, strip->Height()), key, kGround))
            << s.checked << s.enabled;
    }

    FreeObject(theme);
    EXPECT_EQ(radio->UIStyle(), DeepBlue);
    const auto deepBlue = StyleStrip(DeepBlue, 4);
    const int deepBlueKey = static_cast<int>(deepBlue->Canvas().Pixels(0, deepBlue->Height() - 1));
    EXPECT_TRUE(ShowsPiece(*Snapshot(radio), *deepBlue, 4, 4, 1, GlyphTop(radio, deepBlue->Height()), deepBlueKey,
        kGround));
}

TEST_F(SampleSkinTest, ThePopupMenuTakesTheSkinsSevenColoursAndItsFormColourForTheFlatBorder)
{
    ASSERT_TRUE(theme->CanUse());
    auto* menu = New<TkypPopupMenu>(form.get());
    menu->SetFileTheme(theme);
    menu->SetUIStyle(FromThemeFile);
    EXPECT_TRUE(ReadsTheTheme(menu->FileTheme(), menu->UIStyle()));
    namespace skin = CopperSkin;
    EXPECT_EQ(menu->BarColor(), skin::SKIN2_LEFTBARSTARTCOLOR);
    EXPECT_EQ(menu->BarToColor(), skin::SKIN2_LEFTBARENDCOLOR);
    EXPECT_EQ(menu->Color(), skin::SKIN2_MENUITEMCOLOR);
    EXPECT_EQ(menu->FontColor(), skin::SKIN2_MENUITEMFONTCOLOR);
    EXPECT_EQ(menu->SelectedBorderColor(), skin::SKIN2_SELECTEDMENUBORDERCOLOR);
    EXPECT_EQ(menu->SelectedColor(), skin::SKIN2_SELECTEDMENUCOLOR);
    EXPECT_EQ(menu->SelectedFontColor(), skin::SKIN2_SELECTEDMENUFONTCOLOR);

    TMenuItem* item = New<TMenuItem>(form.get());
    item->SetCaption(L"Record");
    menu->Items()->Add(item);
    auto countOf = [](TBitmap& b, TColor colour) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 26; x < b.Width(); ++x) n += b.Canvas().Pixels(x, y) == colour;
        return n;
    };
    auto plain = SolidBitmap(200, 21, clFuchsia);
    item->DrawItem(plain->Canvas(), TRect(0, 0, 200, 21), false);
    EXPECT_EQ(plain->Canvas().Pixels(0, 10), skin::SKIN2_LEFTBARSTARTCOLOR);  // the bar, a gradient
    EXPECT_EQ(plain->Canvas().Pixels(25, 10), skin::SKIN2_LEFTBARENDCOLOR);
    EXPECT_EQ(plain->Canvas().Pixels(199, 0), skin::SKIN2_MENUITEMCOLOR);
    EXPECT_GT(countOf(*plain, skin::SKIN2_MENUITEMFONTCOLOR), 10);
    auto selected = SolidBitmap(200, 21, clFuchsia);
    item->DrawItem(selected->Canvas(), TRect(0, 0, 200, 21), true);
    EXPECT_EQ(selected->Canvas().Pixels(0, 0), skin::SKIN2_SELECTEDMENUBORDERCOLOR);
    EXPECT_EQ(selected->Canvas().Pixels(199, 20), skin::SKIN2_SELECTEDMENUBORDERCOLOR);
    EXPECT_EQ(selected->Canvas().Pixels(10, 10), skin::SKIN2_SELECTEDMENUCOLOR);
    EXPECT_GT(countOf(*selected, skin::SKIN2_SELECTEDMENUFONTCOLOR), 10);

    // On the screen: the flat border's top row in the skin's form colour,
    // inside a black outer frame.
    menu->SetFlatMenu(true);
    TColor top = clFuchsia, side = clFuchsia;
    {
        const DWORD gui = GetCurrentThreadId();
        TDialogRobot robot([&] {
            int count = 0;
            const HWND window = WaitForMenu(gui, count);
            RECT r{};
            // The border is painted some time after the window shows.
            if (window && GetWindowRect(window, &r))
                PollUntil([&] {
                    const TClientDC screen(nullptr);
                    top = static_cast<TColor>(GetPixel(screen.Handle(), (r.left + r.right) / 2, r.top));
                    side = static_cast<TColor>(GetPixel(screen.Handle(), r.left, (r.top + r.bottom) / 2));
                    return top == skin::SKIN2_FORMCOLOR && side == clBlack;
                }, 3000);
            PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
        });
        menu->Popup(200, 200);
    }
    EXPECT_EQ(top, skin::SKIN2_FORMCOLOR);
    EXPECT_EQ(side, clBlack);

    FreeObject(theme);
    EXPECT_EQ(menu->UIStyle(), DeepBlue);
    EXPECT_EQ(menu->SelectedColor(), TColor(0xA04A44));  // DeepBlue's selected item
    EXPECT_EQ(menu->Color(), clWhite);
}

TEST_F(SampleSkinTest, TheEncryptedCopyLoadsWithItsPasswordOnly)
{
    auto* box = Skinned<TkypCheckBox>(10, 10, 90, 20);
    auto* locked = New<TkypFileTheme>(form.get());
    box->SetFileTheme(locked);
    locked->SetThemeFile(LockedSampleSkinFile());
    EXPECT_FALSE(locked->CanUse());
    EXPECT_FALSE(ReadsTheTheme(locked, FromThemeFile));
    ShowForm();
    const auto deepBlue = StyleStrip(DeepBlue, 3);
    EXPECT_TRUE(ShowsPiece(*Snapshot(box), *deepBlue, 4, 2, 1, GlyphTop(box, deepBlue->Height())));  // unchecked

    locked->SetPassword(String(SampleSkinPassword()) + L"?");
    EXPECT_FALSE(locked->CanUse());
    locked->SetPassword(SampleSkinPassword());
    ASSERT_TRUE(locked->CanUse());
    EXPECT_EQ(locked->GetColor(SKIN2_FORMCOLOR), CopperSkin::SKIN2_FORMCOLOR);
    const auto strip = SampleSkinPicture(L"SKIN2_CHECKBOX");
    EXPECT_TRUE(ShowsPiece(*Snapshot(box), *strip, 6, 3, 1, GlyphTop(box, strip->Height())));
}

TEST_F(SampleSkinTest, TheFrameBorderAndOutlineComeFromTheSkinsBorderPictures)
{
    ASSERT_TRUE(theme->CanUse());
    const auto left = SampleSkinPicture(L"SKIN2_FORMLEFTBORDER"), right = SampleSkinPicture(L"SKIN2_FORMRIGHTBORDER");
    const auto corner = SampleSkinPicture(L"SKIN2_FORMBOTTOMBORDER1");
    const auto middle = SampleSkinPicture(L"SKIN2_FORMBOTTOMBORDER2");
    TkypSkinFrameLook look = SkinFrameLookOf(*theme);
    EXPECT_EQ(look.LeftWidth(), left->Width());
    EXPECT_EQ(look.RightWidth(), right->Width());
    EXPECT_EQ(look.BottomHeight(), corner->Height());
    EXPECT_EQ(look.BottomThreeSect, CopperSkin::SKIN2_BOTTOMBORDERTHREESECT);

    constexpr int kW = 160, kH = 100;
    auto window = SolidBitmap(kW, kH, clWhite);
    TkypFrameLayout layout;
    layout.Width = kW;
    layout.Height = kH;
    layout.TitleVisible = false;
    TkypFrameBorder border;
    border.PaintSkin(window->Canvas(), layout, look);
    window->SaveToFile(L"frame_border_skin.bmp");  // for looking at
    const int bottom = kH - corner->Height();
    for (int x = 0; x < left->Width(); ++x)
        EXPECT_EQ(window->Canvas().Pixels(x, 40), left->Canvas().Pixels(x, 0)) << x;
    for (int x = 0; x < right->Width(); ++x)
        EXPECT_EQ(window->Canvas().Pixels(kW - right->Width() + x, 40), right->Canvas().Pixels(x, 0)) << x;
    for (int y = 0; y < corner->Height(); ++y) {
        for (int x = 0; x < corner->Width(); ++x) {
            const TColor drawn = corner->Canvas().Pixels(x, y);
            const TColor expected = drawn == CopperSkin::SKIN2_TRANSCOLOR ? CopperSkin::SKIN2_FORMCOLOR : drawn;
            EXPECT_EQ(window->Canvas().Pixels(x, bottom + y), expected) << x << "," << y;
        }
        EXPECT_EQ(window->Canvas().Pixels(kW / 2, bottom + y), middle->Canvas().Pixels(0, y)) << y;
    }

    // The outline cuts the corners' see-through pixels and nothing else.
    TkypSkinRegionSource source;
    source.BottomImage = border.BottomBuffer();
    source.BottomNeedRegion = CopperSkin::SKIN2_BOTTOMBORDERNEEDREGION;
    source.BottomMin = CopperSkin::SKIN2_BOTTOMREGIONMINY;
    source.BottomMax = CopperSkin::SKIN2_BOTTOMREGIONMAXY;
    source.TransColor = CopperSkin::SKIN2_TRANSCOLOR;
    source.Width = kW;
    source.Height = kH;
    TRegionHandle outline = CreateSkinFrameRegion(source);
    EXPECT_TRUE(PtInRegion(outline.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(outline.get(), kW / 2, kH - 1));
    for (int y = 0; y < corner->Height(); ++y)
        for (int x = 0; x < corner->Width(); ++x)
            EXPECT_EQ(PtInRegion(outline.get(), x, bottom + y) != 0,
                      corner->Canvas().Pixels(x, y) != CopperSkin::SKIN2_TRANSCOLOR) << x << "," << y;
    EXPECT_FALSE(PtInRegion(outline.get(), kW - 1, kH - 1));
}
