// The skinned popup menu: colours and sizes per style, measuring, items
// drawn into a bitmap and checked pixel by pixel in both reading orders,
// handler hooking, theme removal, and a real popup chosen with keys.
#include <gtest/gtest.h>

#include "SolidBitmap.h"

#include <vector>

#include "Forms.h"
#include "ImageList.h"
#include "KYPMgr.h"
#include "KYPPopupMenu.h"
#include "TypInfo.h"

namespace {

constexpr TColor kPaper = 0xFF00FF;

struct TStyleColours {
    TkypUIStyle style;
    TColor bar, color, font, selectedBorder, selected, selectedFont;
    int itemHeight, separatorHeight;
    TColor separator;
};

const TStyleColours kStyles[] = {
    {MacOS, 0x000000, 0x000000, 0x000000, 0xC47339, 0xC47339, 0xFFFFFF, 20, 12, 0x000000},
    {WinXP, 0xCED3D6, 0xFFFFFF, 0x000000, 0xC66931, 0xEFD3C6, 0x000000, 21, 5, 0x848284},
    {DeepBlue, 0xCED3D6, 0xFFFFFF, 0x000000, 0xA04A44, 0xA04A44, 0xFFFFFF, 21, 5, 0x848284},
    {Protein, 0xCED3D6, 0xFFFFFF, 0x000000, 0xC4302D, 0xC4302D, 0xFFFFFF, 21, 5, 0x848284},
    {BlueGlass, 0xCED3D6, 0xE7E7E7, 0x000000, 0xEC5E5E, 0xEC5E5E, 0xFFFFFF, 21, 5, 0x848284},
};

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
    TMenuItem* AddItem(const String& caption)
    {
        TMenuItem* item = New<TMenuItem>(form.get());
        item->SetCaption(caption);
        menu->Items()->Add(item);
        return item;
    }

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

// The columns between From and To (exclusive) holding any pixel of Colour
// on rows 1 .. height - 2, as [first, last]; -1 when none.
std::pair<int, int> ColumnsOf(TBitmap& bitmap, TColor colour, int from, int to)
{
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
        for (int y = 1; y < bitmap.Height() - 1; ++y)
            if (bitmap.Canvas().Pixels(x, y) == colour) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

// Text ink: anything but the two background colours given.
std::pair<int, int> InkColumns(TBitmap& bitmap, TColor background, TColor bar, int from, int to)
{
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
        for (int y = 1; y < bitmap.Height() - 1; ++y) {
            const TColor pixel = bitmap.Canvas().Pixels(x, y);
            if (pixel != background && pixel != bar) {
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
    return {first, last};
}

TOwned<TImageList> RedImages()
{
    TOwned<TImageList> images = MakeOwned<TImageList>(16, 16, nullptr);
    TOwned<TBitmap> red = SolidBitmap(16, 16, clRed);
    images->Add(red.get(), nullptr);
    return images;
}

}  // namespace

// ---------------------------------------------------------------- styles

TEST_F(PopupMenuTest, EachStyleSetsItsColoursHeightsAndBar)
{
    EXPECT_EQ(menu->UIStyle(), DeepBlue);  // no skinned frame on the form
    for (const TStyleColours& s : kStyles) {
        menu->SetBarWidth(3);
        menu->SetBorderColor(clRed);
        menu->SetUIStyle(s.style);
        EXPECT_EQ(menu->BarColor(), s.bar) << s.style;
        EXPECT_EQ(menu->BarToColor(), s.bar) << s.style;
        EXPECT_EQ(menu->Color(), s.color) << s.style;
        EXPECT_EQ(menu->FontColor(), s.font) << s.style;
        EXPECT_EQ(menu->SelectedBorderColor(), s.selectedBorder) << s.style;
        EXPECT_EQ(menu->SelectedColor(), s.selected) << s.style;
        EXPECT_EQ(menu->SelectedFontColor(), s.selectedFont) << s.style;
        EXPECT_EQ(menu->MenuItemHeight(), s.itemHeight) << s.style;
        EXPECT_EQ(menu->SeparatorHeight(), s.separatorHeight) << s.style;
        EXPECT_EQ(menu->SeparatorColor(), s.separator) << s.style;
        EXPECT_EQ(menu->BarWidth(), 26);
        EXPECT_EQ(menu->BorderColor(), clRed);  // not the style's
    }
    // Without a loaded theme the skin-file style draws as DeepBlue.
    menu->SetUIStyle(FromThemeFile);
    EXPECT_EQ(menu->SelectedColor(), 0xA04A44);
    EXPECT_EQ(menu->SeparatorHeight(), 5);
}

TEST_F(PopupMenuTest, MacOSKeepsItsHeightsUntilTheStyleChanges)
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
}

TEST_F(PopupMenuTest, StaysOwnerDrawnWhateverIsWritten)
{
    menu->SetOwnerDraw(false);
    EXPECT_TRUE(menu->OwnerDraw());
    SetOrdProp(menu, L"OwnerDraw", 0);
    EXPECT_EQ(GetOrdProp(menu, L"OwnerDraw"), 1);
    SetOrdProp(menu, L"UIStyle", Protein);
    EXPECT_EQ(menu->SelectedColor(), 0xC4302D);
    EXPECT_TRUE(IsPublishedProp(menu, L"FileTheme"));
}

// ------------------------------------------------------------- measuring

TEST_F(PopupMenuTest, MeasuresCaptionShortcutBarAndAtLeastTheItemHeight)
{
    TMenuItem* record = AddItem(L"Record");
    record->SetShortCut(ShortCut('R', scCtrl));
    TMenuItem* line = AddItem(L"-");
    TOwned<TBitmap> bitmap = SolidBitmap(10, 10, kPaper);
    TCanvas& canvas = bitmap->Canvas();

    for (TkypUIStyle style : {MacOS, DeepBlue}) {
        menu->SetUIStyle(style);
        int width = 0, height = 0;
        record->MeasureItem(canvas, width, height);
        EXPECT_EQ(height, style == MacOS ? 20 : 21);
        EXPECT_EQ(width, canvas.TextWidth(L"Record") + canvas.TextWidth(L"Ctrl+R") + 26 + 40);
        line->MeasureItem(canvas, width, height);
        EXPECT_EQ(height, style == MacOS ? 12 : 5);
    }

    canvas.Font().SetHeight(-40);
    int width = 0, height = 0;
    record->MeasureItem(canvas, width, height);
    EXPECT_EQ(height, canvas.TextHeight(L"Record"));
    EXPECT_GT(height, 21);
}

// --------------------------------------------------------------- drawing

TEST_F(PopupMenuTest, AnItemShowsBarBackgroundAndCaptionAfterTheBar)
{
    TMenuItem* item = AddItem(L"Help");
    TOwned<TBitmap> b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), 0xCED3D6);
    EXPECT_EQ(b->Canvas().Pixels(25, 20), 0xCED3D6);
    EXPECT_EQ(b->Canvas().Pixels(26, 0), clWhite);
    EXPECT_EQ(b->Canvas().Pixels(199, 20), clWhite);
    const auto ink = InkColumns(*b, clWhite, 0xCED3D6, 0, 200);
    EXPECT_GE(ink.first, 30);
    EXPECT_LE(ink.first, 33);
    EXPECT_LE(ColumnsOf(*b, clBlack, 26, 200).first, ink.first + 2);  // FontColor
}

TEST_F(PopupMenuTest, TheSelectionIsFilledAndFramedAndItsTextTakesTheSelectedColour)
{
    TMenuItem* item = AddItem(L"Record");
    menu->SetSelectedBorderColor(clRed);
    menu->SetSelectedFontColor(clYellow);
    TOwned<TBitmap> b = Draw(item, true);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(b->Canvas().Pixels(199, 10), clRed);
    EXPECT_EQ(b->Canvas().Pixels(100, 20), clRed);
    EXPECT_EQ(b->Canvas().Pixels(1, 1), 0xA04A44);
    EXPECT_EQ(b->Canvas().Pixels(10, 10), 0xA04A44);  // over the bar too
    EXPECT_GE(ColumnsOf(*b, clYellow, 0, 200).first, 30);
}

TEST_F(PopupMenuTest, ADisabledItemLooksUnselectedWithGreyText)
{
    TMenuItem* item = AddItem(L"Stop Play");
    item->SetEnabled(false);
    TOwned<TBitmap> b = Draw(item, true);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), 0xCED3D6);
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
    TOwned<TImageList> images = RedImages();
    menu->SetImages(images.get());
    TOwned<TBitmap> b = Draw(line, true, 120, 5);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), 0xCED3D6);
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
    EXPECT_EQ(b->Canvas().Pixels(4, 3), 0xCED3D6);  // the mark's white is see-through

    TOwned<TImageList> images = RedImages();
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

TEST_F(PopupMenuTest, RightToLeftMirrorsBarImageCaptionAndShortcut)
{
    RightToLeft();
    TOwned<TImageList> images = RedImages();
    menu->SetImages(images.get());
    TMenuItem* item = AddItem(L"Record");
    item->SetImageIndex(0);
    item->SetShortCut(ShortCut('R', scCtrl));
    TOwned<TBitmap> b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(173, 0), clWhite);
    EXPECT_EQ(b->Canvas().Pixels(174, 0), 0xCED3D6);
    EXPECT_EQ(b->Canvas().Pixels(199, 20), 0xCED3D6);
    EXPECT_EQ(ColumnsOf(*b, clRed, 0, 200), std::make_pair(180, 195));
    const auto caption = InkColumns(*b, clWhite, 0xCED3D6, 100, 174);
    EXPECT_LE(caption.second, 169);  // right-aligned against x = 170
    EXPECT_GE(caption.second, 165);
    const auto shortcut = InkColumns(*b, clWhite, 0xCED3D6, 0, 100);
    EXPECT_GE(shortcut.first, 30);
    EXPECT_LE(shortcut.first, 33);

    // A left-to-right menu ignores the locale flag, and the flag alone does
    // not turn a left-to-right menu around.
    menu->SetBiDiMode(TBiDiMode::bdLeftToRight);
    b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), 0xCED3D6);
    EXPECT_EQ(ColumnsOf(*b, clRed, 0, 200), std::make_pair(4, 19));
}

TEST_F(PopupMenuTest, TheRightToLeftSeparatorLeavesRoomForTheBarOnTheRight)
{
    RightToLeft();
    TOwned<TBitmap> b = Draw(AddItem(L"-"), false, 120, 5);
    EXPECT_EQ(b->Canvas().Pixels(94, 0), 0xCED3D6);
    EXPECT_EQ(b->Canvas().Pixels(93, 0), clWhite);
    EXPECT_EQ(ColumnsOf(*b, 0x848284, 0, 120), std::make_pair(2, 89));
}

TEST_F(PopupMenuTest, ADifferentBarEndColourGivesALeftToRightGradientInBothOrders)
{
    menu->SetBarColor(clBlack);
    menu->SetBarToColor(clWhite);
    TMenuItem* item = AddItem(L"Play");
    TOwned<TBitmap> b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(0, 5), clBlack);
    EXPECT_EQ(b->Canvas().Pixels(25, 5), clWhite);
    const int middle = b->Canvas().Pixels(13, 5) & 0xFF;
    EXPECT_GT(middle, 80);
    EXPECT_LT(middle, 180);

    RightToLeft();
    b = Draw(item, false);
    EXPECT_EQ(b->Canvas().Pixels(174, 5), clBlack);
    EXPECT_EQ(b->Canvas().Pixels(199, 5), clWhite);
}

TEST_F(PopupMenuTest, MacOSDrawsItsRowsFromTheBitmapsOneToOne)
{
    menu->SetUIStyle(MacOS);
    TMenuItem* item = AddItem(L"Help");
    TOwned<TBitmap> normal = Draw(item, false, 200, 20);
    TOwned<TBitmap> selected = Draw(item, true, 200, 20);
    EXPECT_EQ(normal->Canvas().Pixels(2, 0), 0xE9E9E9);
    EXPECT_EQ(normal->Canvas().Pixels(2, 19), 0xFAF9FB);   // row 20: FBF9FA
    EXPECT_EQ(selected->Canvas().Pixels(2, 0), 0xB35923);  // 2359B3
    EXPECT_EQ(selected->Canvas().Pixels(2, 19), 0xBC6A33);
    EXPECT_GE(ColumnsOf(*selected, clWhite, 26, 200).first, 30);  // selected text
    TOwned<TBitmap> line = Draw(AddItem(L"-"), false, 200, 12);
    EXPECT_EQ(line->Canvas().Pixels(100, 11), 0xFAFAFA);
}

TEST_F(PopupMenuTest, ADefaultItemIsBold)
{
    TMenuItem* item = AddItem(L"Show Window");
    const auto plain = InkColumns(*Draw(item, false), clWhite, 0xCED3D6, 0, 200);
    item->SetDefault(true);
    const auto bold = InkColumns(*Draw(item, false), clWhite, 0xCED3D6, 0, 200);
    EXPECT_EQ(bold.first, plain.first);
    EXPECT_GT(bold.second, plain.second);
}

TEST_F(PopupMenuTest, ItsOwnFontIsUsedWhenTheSystemFontIsNot)
{
    TMenuItem* item = AddItem(L"Recording Source ...");
    const auto system = InkColumns(*Draw(item, false), clWhite, 0xCED3D6, 0, 200);
    menu->SetUseSystemFont(false);
    menu->SetFontName(L"Tahoma");
    menu->SetFontSize(14);
    const auto large = InkColumns(*Draw(item, false), clWhite, 0xCED3D6, 0, 200);
    EXPECT_GT(large.second, system.second + 20);
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
    std::vector<String> clicked;
    int drawn = 0;
    for (const wchar_t* caption : {L"Help", L"-", L"Record", L"Stop Record"}) {
        TMenuItem* item = AddItem(caption);
        item->OnClick = [&clicked](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
        auto draw = item->OnDrawItem;
        item->OnDrawItem = [&drawn, draw](TObject* sender, TCanvas& canvas, const TRect& rect, bool selected) {
            ++drawn;
            draw(sender, canvas, rect, selected);
        };
    }
    menu->OnPopup = [](TObject*) {
        for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(PopupListWindow(), WM_KEYDOWN, key, 1);
            PostMessageW(PopupListWindow(), WM_KEYUP, key, 0xC0000001);
        }
    };
    menu->Popup(300, 300);
    Application->ProcessMessages();
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(clicked, std::vector<String>{L"Stop Record"});
}
