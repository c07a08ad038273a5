// The skinned popup menu: colours and sizes per style, measuring, items
// drawn into a bitmap and checked pixel by pixel in both reading orders,
// handler hooking, theme removal, and a real popup chosen with keys.
#include <gtest/gtest.h>

#include "MenuItems.h"
#include "SolidBitmap.h"

#include <vector>

#include "Forms.h"
#include "ImageList.h"
#include "KYPMgr.h"
#include "KYPPopupMenu.h"
#include "TypInfo.h"

namespace {

constexpr TColor kPaper = 0xFF00FF;

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        form = MakeOwned<TForm>(nullptr);
        menu = New<TkypPopupMenu>(form.get());
        SysLocale.MiddleEast = false;
    }
    void TearDown() override { SysLocale.MiddleEast = false; }

    // Made at run time with the menu's owner, so the menu hooks it.
    TMenuItem* AddItem(const String& caption) { return ::AddItem(menu->Items(), caption, form.get()); }

    TOwned<TBitmap> Draw(TMenuItem* item, bool selected, int width = 200, int height = 21)
    {
        TOwned<TBitmap> bitmap = SolidBitmap(width, height, kPaper);
        item->DrawItem(bitmap->Canvas(), TRect(0, 0, width, height), selected);
        return bitmap;
    }

    void RightToLeft()
    {
        SysLocale.MiddleEast = true;
        menu->SetBiDiMode(TBiDiMode::bdRightToLeft);
    }

    TOwned<TForm> form;
    TkypPopupMenu* menu = nullptr;
};

constexpr TColor kBar = 0xCED3D6;

// The first and last columns in [From, To) with a pixel on rows 1 ..
// height - 2 that Matches; -1 when none.
template <class Match>
std::pair<int, int> Columns(TBitmap& bitmap, int from, int to, Match matches)
{
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
        for (int y = 1; y < bitmap.Height() - 1; ++y)
            if (matches(bitmap.Canvas().Pixels(x, y))) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

std::pair<int, int> ColumnsOf(TBitmap& bitmap, TColor colour, int from, int to)
{
    return Columns(bitmap, from, to, [colour](TColor pixel) { return pixel == colour; });
}

// Text on the DeepBlue bar and background.
std::pair<int, int> InkColumns(TBitmap& bitmap, int from, int to)
{
    return Columns(bitmap, from, to, [](TColor pixel) { return pixel != clWhite && pixel != kBar; });
}

}  // namespace

// ---------------------------------------------------------------- styles

TEST_F(PopupMenuTest, SettersKeepTheStyleRules)
{
    menu->SetUIStyle(MacOS);
    menu->SetMenuItemHeight(30);
    menu->SetSeparatorHeight(9);
    EXPECT_EQ(menu->MenuItemHeight(), 20);
    EXPECT_EQ(menu->SeparatorHeight(), 12);
    menu->SetUIStyle(DeepBlue);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
    menu->SetMenuItemHeight(30);
    EXPECT_EQ(menu->MenuItemHeight(), 30);

    SetOrdProp(menu, L"OwnerDraw", 0);
    EXPECT_TRUE(menu->OwnerDraw());
    // Without a loaded theme the skin-file style draws as DeepBlue.
    SetOrdProp(menu, L"UIStyle", FromThemeFile);
    EXPECT_EQ(menu->SelectedColor(), 0xA04A44);
}

TEST_F(PopupMenuTest, EachStyleMeasuresAndSelectsInItsOwnWay)
{
    struct Case {
        TkypUIStyle style;
        int itemHeight, separatorHeight;
        TColor selectedFill, selectedBorder;
    };
    const Case cases[] = {{MacOS, 20, 12, 0xBF723A, 0xB35923},  // rows 11 and 1 of the selection bitmap
        {WinXP, 21, 5, 0xEFD3C6, 0xC66931}, {DeepBlue, 21, 5, 0xA04A44, 0xA04A44},
        {Protein, 21, 5, 0xC4302D, 0xC4302D}, {BlueGlass, 21, 5, 0xEC5E5E, 0xEC5E5E}};
    TMenuItem* record = AddItem(L"Record");
    record->SetShortCut(ShortCut('R', scCtrl));
    TMenuItem* line = AddItem(L"-");
    TOwned<TBitmap> bitmap = SolidBitmap(10, 10, kPaper);
    TCanvas& canvas = bitmap->Canvas();
    for (const Case& c : cases) {
        menu->SetUIStyle(c.style);
        int width = 0, height = 0;
        record->MeasureItem(canvas, width, height);
        EXPECT_EQ(height, c.itemHeight) << c.style;
        EXPECT_EQ(width, canvas.TextWidth(L"Record") + canvas.TextWidth(L"Ctrl+R") + 26 + 40) << c.style;
        line->MeasureItem(canvas, width, height);
        EXPECT_EQ(height, c.separatorHeight) << c.style;
        TOwned<TBitmap> b = Draw(record, true, 200, c.itemHeight);
        EXPECT_EQ(b->Canvas().Pixels(0, 0), c.selectedBorder) << c.style;
        EXPECT_EQ(b->Canvas().Pixels(10, 10), c.selectedFill) << c.style;
    }

    // Items are never lower than their caption on the canvas given.
    canvas.Font().SetHeight(-40);
    int width = 0, height = 0;
    record->MeasureItem(canvas, width, height);
    EXPECT_EQ(height, canvas.TextHeight(L"Record"));
    EXPECT_GT(height, 21);
}

// --------------------------------------------------------------- drawing

TEST_F(PopupMenuTest, ItemsShowBarAndBackgroundOrTheSelectionButDisabledOnesNeverLookSelected)
{
    TMenuItem* item = AddItem(L"Record");
    TOwned<TBitmap> b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), kBar);
    EXPECT_EQ(b->Canvas().Pixels(25, 20), kBar);
    EXPECT_EQ(b->Canvas().Pixels(26, 0), clWhite);
    EXPECT_EQ(b->Canvas().Pixels(199, 20), clWhite);
    const auto ink = InkColumns(*b, 0, 200);
    EXPECT_GE(ink.first, 30);  // after the bar, 4 pixels in
    EXPECT_LE(ink.first, 33);
    EXPECT_NE(ColumnsOf(*b, clBlack, 26, 200).first, -1);  // FontColor

    menu->SetSelectedFontColor(clYellow);
    EXPECT_GE(ColumnsOf(*Draw(item, true), clYellow, 0, 200).first, 30);

    item->SetEnabled(false);
    b = Draw(item, true);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), kBar);
    EXPECT_EQ(b->Canvas().Pixels(199, 0), clWhite);
    EXPECT_GE(ColumnsOf(*b, 0x808080, 26, 200).first, 30);
    EXPECT_EQ(ColumnsOf(*b, clBlack, 0, 200).first, -1);
    EXPECT_EQ(ColumnsOf(*b, 0xA04A44, 0, 200).first, -1);
}

TEST_F(PopupMenuTest, ASeparatorIsALineOnBarAndBackgroundWhateverElseTheItemHas)
{
    TMenuItem* line = AddItem(L"-");
    line->SetChecked(true);
    line->SetImageIndex(0);
    TOwned<TImageList> images = SolidImageList(clRed);
    menu->SetImages(images.get());
    TOwned<TBitmap> b = Draw(line, true, 120, 5);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), kBar);
    EXPECT_EQ(b->Canvas().Pixels(26, 0), clWhite);
    EXPECT_EQ(b->Canvas().Pixels(29, 2), clWhite);
    EXPECT_EQ(b->Canvas().Pixels(30, 2), 0x848284);
    EXPECT_EQ(b->Canvas().Pixels(117, 2), 0x848284);
    EXPECT_EQ(b->Canvas().Pixels(118, 2), clWhite);
    EXPECT_EQ(ColumnsOf(*b, clRed, 0, 120).first, -1);  // no image
}

TEST_F(PopupMenuTest, CheckedItemsShowTheCheckMarkOrTheirImageOnAPressedBox)
{
    TMenuItem* plain = AddItem(L"High");
    plain->SetChecked(true);
    TOwned<TBitmap> b = Draw(plain, false);
    // The mark's green lies within 16 x 16 pixels from (L + 4, T + 3).
    const auto green = ColumnsOf(*b, 0x1DCB00, 0, 200);
    EXPECT_GE(green.first, 4);
    EXPECT_LE(green.second, 19);
    EXPECT_EQ(b->Canvas().Pixels(4, 3), kBar);  // the mark's white is see-through

    TOwned<TImageList> images = SolidImageList(clRed);
    menu->SetImages(images.get());
    TMenuItem* pictured = AddItem(L"Low");
    pictured->SetImageIndex(0);
    pictured->SetChecked(true);
    b = Draw(pictured, false);
    EXPECT_EQ(b->Canvas().Pixels(2, 1), clBlack);    // box frame (x - 2, T + 1)
    EXPECT_EQ(b->Canvas().Pixels(20, 19), clBlack);  // to (x + 16, T + 19)
    EXPECT_EQ(b->Canvas().Pixels(3, 2), 0xA04A44);   // SelectedColor inside
    EXPECT_EQ(b->Canvas().Pixels(4, 3), clRed);      // the image at (x, T + 3)
    EXPECT_EQ(b->Canvas().Pixels(19, 18), clRed);
    EXPECT_EQ(ColumnsOf(*b, 0x1DCB00, 0, 200).first, -1);

    // An index past the list: no image, and the check mark instead.
    pictured->SetImageIndex(5);
    b = Draw(pictured, false);
    EXPECT_EQ(ColumnsOf(*b, clRed, 0, 200).first, -1);
    EXPECT_GE(ColumnsOf(*b, 0x1DCB00, 0, 200).first, 4);
}

TEST_F(PopupMenuTest, TheSharedLookDrawsTheCheckMarksItIsHanded)
{
    TMenuItem* item = AddItem(L"High");
    item->SetChecked(true);
    TkypMenuLook look;
    look.SetUIStyle(DeepBlue, nullptr);
    TOwned<TImageList> red = SolidImageList(clRed);
    TOwned<TBitmap> b = SolidBitmap(200, 21, kPaper);
    look.Draw(*item, b->Canvas(), TRect(0, 0, 200, 21), false, TkypMenuImages{*red, nullptr}, true, nullptr);
    EXPECT_EQ(b->Canvas().Pixels(4, 3), clRed) << "image 0 of the list handed in";
    EXPECT_EQ(b->Canvas().Pixels(19, 18), clRed);
    EXPECT_EQ(ColumnsOf(*b, 0x1DCB00, 0, 200).first, -1) << "not the popup menus' own mark";
}

TEST_F(PopupMenuTest, RightToLeftMirrorsBarImageCaptionAndShortcut)
{
    RightToLeft();
    TOwned<TImageList> images = SolidImageList(clRed);
    menu->SetImages(images.get());
    TMenuItem* item = AddItem(L"Record");
    item->SetImageIndex(0);
    item->SetShortCut(ShortCut('R', scCtrl));
    TOwned<TBitmap> b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(173, 0), clWhite);
    EXPECT_EQ(b->Canvas().Pixels(174, 0), kBar);
    EXPECT_EQ(b->Canvas().Pixels(199, 20), kBar);
    EXPECT_EQ(ColumnsOf(*b, clRed, 0, 200), std::make_pair(180, 195));
    const auto caption = InkColumns(*b, 100, 174);
    EXPECT_LE(caption.second, 169);  // right-aligned against x = 170
    EXPECT_GE(caption.second, 165);
    const auto shortcut = InkColumns(*b, 0, 100);
    EXPECT_GE(shortcut.first, 30);
    EXPECT_LE(shortcut.first, 33);

    // A gradient bar runs left to right in both reading orders.
    menu->SetBarColor(clBlack);
    menu->SetBarToColor(clWhite);
    b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(174, 5), clBlack);
    EXPECT_EQ(b->Canvas().Pixels(199, 5), clWhite);

    // The locale flag alone does not turn a left-to-right menu around.
    menu->SetBiDiMode(TBiDiMode::bdLeftToRight);
    b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(0, 1), clBlack);  // above the image
    EXPECT_EQ(b->Canvas().Pixels(25, 1), clWhite);
    const int middle = b->Canvas().Pixels(13, 1) & 0xFF;
    EXPECT_GT(middle, 80);
    EXPECT_LT(middle, 180);
    EXPECT_EQ(ColumnsOf(*b, clRed, 0, 200), std::make_pair(4, 19));
}

TEST_F(PopupMenuTest, ADefaultItemIsBoldAndItsOwnFontServesWithoutTheSystemFont)
{
    TMenuItem* item = AddItem(L"Show Window");
    const auto plain = InkColumns(*Draw(item, false), 0, 200);
    item->SetDefault(true);
    const auto bold = InkColumns(*Draw(item, false), 0, 200);
    EXPECT_EQ(bold.first, plain.first);
    EXPECT_GT(bold.second, plain.second);

    menu->SetUseSystemFont(false);
    menu->SetFontName(L"Tahoma");
    menu->SetFontSize(14);
    const auto large = InkColumns(*Draw(item, false), 0, 200);
    EXPECT_GT(large.second, bold.second + 20);
}

// ---------------------------------------------------- hooking and themes

TEST_F(PopupMenuTest, LoadingHooksNestedItemsAndRunTimeItemsAreHookedOnInsert)
{
    TOwned<TkypPopupMenu> loaded(New<TkypPopupMenu>(nullptr));
    loaded->BeginLoading();
    TMenuItem* top = New<TMenuItem>(nullptr);
    TMenuItem* inner = New<TMenuItem>(nullptr);
    TMenuItem* innermost = New<TMenuItem>(nullptr);
    loaded->Items()->Add(top);
    top->Add(inner);
    inner->Add(innermost);
    EXPECT_FALSE(innermost->OnDrawItem);
    loaded->EndLoading();
    EXPECT_TRUE(top->OnDrawItem);
    EXPECT_TRUE(innermost->OnDrawItem);
    EXPECT_TRUE(innermost->OnMeasureItem);

    // Owned by the menu's owner, an item is hooked before any menu holds it.
    TMenuItem* runTime = New<TMenuItem>(form.get());
    runTime->SetCaption(L"-");
    ASSERT_TRUE(runTime->OnMeasureItem);
    int width = 0, height = 0;
    TOwned<TBitmap> bitmap = SolidBitmap(4, 4, kPaper);
    runTime->MeasureItem(bitmap->Canvas(), width, height);
    EXPECT_EQ(height, 5);
}

TEST_F(PopupMenuTest, ItemsThatOutliveTheMenuDrawNothing)
{
    TMenuItem* orphan = New<TMenuItem>(form.get());  // hooked, never added
    orphan->SetCaption(L"Help");
    FreeObject(menu);
    menu = nullptr;
    TOwned<TBitmap> b = SolidBitmap(50, 21, kPaper);
    orphan->DrawItem(b->Canvas(), TRect(0, 0, 50, 21), false);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), kPaper);
}

TEST_F(PopupMenuTest, FreeingTheThemeFallsBackToDeepBlueWhoeverOwnedIt)
{
    TOwned<TComponent> elsewhere = MakeOwned<TComponent>(nullptr);
    for (TComponent* owner : {static_cast<TComponent*>(form.get()), elsewhere.get()}) {
        auto* theme = New<TkypFileTheme>(owner);
        menu->SetUIStyle(Protein);
        menu->SetFileTheme(theme);
        EXPECT_EQ(menu->UIStyle(), Protein);
        FreeObject(theme);
        EXPECT_EQ(menu->FileTheme(), nullptr);
        EXPECT_EQ(menu->UIStyle(), DeepBlue);
        EXPECT_EQ(menu->SelectedColor(), 0xA04A44);
    }
}

// ------------------------------------------------------------ real popup

TEST_F(PopupMenuTest, ARealPopupIsDrawnByTheMenuAndAnItemIsChosenWithKeys)
{
    menu->SetFlatMenu(true);
    std::vector<String> clicked, errors;
    Application->OnException = [&errors](TObject*, const Exception& error) { errors.push_back(error.Message()); };
    for (const wchar_t* caption : {L"Help", L"-", L"Record", L"Stop Record"})
        AddItem(caption)->OnClick = [&clicked](TObject* sender) {
            clicked.push_back(static_cast<TMenuItem*>(sender)->Caption());
        };
    menu->OnPopup = [](TObject*) {
        for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(PopupListWindow(), WM_KEYDOWN, key, 1);
            PostMessageW(PopupListWindow(), WM_KEYUP, key, 0xC0000001);
        }
    };
    menu->Popup(300, 300);
    Application->ProcessMessages();
    Application->OnException = nullptr;
    EXPECT_EQ(clicked, std::vector<String>{L"Stop Record"});
    EXPECT_EQ(errors, std::vector<String>{});  // nothing escaped the drawing
}
