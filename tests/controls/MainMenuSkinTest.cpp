// The skinned main menu: what it does to its owner form's native bar, its
// own check-mark list behind Images, the height rule that differs from the
// popup's, items drawn by pixel, and one real drop-down of its items
// chosen with keys.
#include <gtest/gtest.h>

#include "MenuItems.h"
#include "SolidBitmap.h"

#include <vector>

#include "Forms.h"
#include "ImageList.h"
#include "KYPMainMenu.h"
#include "ToolBar.h"

namespace {

constexpr TColor kPaper = 0xFF00FF;
constexpr TColor kCheckGreen = 0x1DCB00;

class MainMenuSkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        form = MakeOwned<TForm>(nullptr);
        menu = New<TkypMainMenu>(form.get());
        file = AddItem(menu->Items(), L"&File");
    }

    TMenuItem* AddItem(TMenuItem* parent, const String& caption) { return ::AddItem(parent, caption, form.get()); }

    TOwned<TBitmap> Draw(TMenuItem* item, bool selected)
    {
        TOwned<TBitmap> bitmap = SolidBitmap(200, 21, kPaper);
        item->DrawItem(bitmap->Canvas(), TRect(0, 0, 200, 21), selected);
        return bitmap;
    }

    static bool Shows(TBitmap& bitmap, TColor colour)
    {
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (bitmap.Canvas().Pixels(x, y) == colour) return true;
        return false;
    }

    TOwned<TForm> form;
    TkypMainMenu* menu = nullptr;
    TMenuItem* file = nullptr;
};

}  // namespace

TEST_F(MainMenuSkinTest, CreatingOneOnAFormTakesTheFormsNativeBarAway)
{
    auto* native = New<TMainMenu>(form.get());
    AddItem(native->Items(), L"&Native");
    form->SetMenu(native);
    ASSERT_NE(GetMenu(form->Handle()), nullptr);
    New<TkypMainMenu>(form.get());
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);

    // Not owned by a form: nothing else is touched.
    form->SetMenu(native);
    TOwned<TkypMainMenu> loose(New<TkypMainMenu>(nullptr));
    EXPECT_EQ(form->Menu(), native);
}

TEST_F(MainMenuSkinTest, ImagesReadNullWhileTheOwnListServesAndCheckMarksStay)
{
    TMenuItem* high = AddItem(file, L"High");
    high->SetChecked(true);
    high->SetImageIndex(0);
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_TRUE(menu->IsOwnerDraw());
    TOwned<TBitmap> b = Draw(high, false);
    EXPECT_TRUE(Shows(*b, kCheckGreen));  // no valid image: the check mark
    EXPECT_FALSE(Shows(*b, clRed));

    TOwned<TImageList> red = SolidImageList(clRed);
    menu->SetImages(red.get());
    EXPECT_EQ(menu->Images(), red.get());
    b = Draw(high, false);
    EXPECT_EQ(b->Canvas().Pixels(4, 3), clRed);
    EXPECT_EQ(b->Canvas().Pixels(3, 2), 0xA04A44);  // the pressed box
    EXPECT_FALSE(Shows(*b, kCheckGreen));

    menu->SetImages(nullptr);
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_TRUE(Shows(*Draw(high, false), kCheckGreen));

    // A user's list that is freed leaves the menu owner-drawn with its marks.
    menu->SetImages(red.get());
    red.reset();
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_TRUE(menu->IsOwnerDraw());
    EXPECT_TRUE(Shows(*Draw(high, false), kCheckGreen));
}

TEST_F(MainMenuSkinTest, ItemsDrawAsThePopupsDoButMacOSKeepsAHeightSetInCode)
{
    TMenuItem* open = AddItem(file, L"Open");
    TOwned<TBitmap> b = Draw(open, true);
    EXPECT_EQ(b->Canvas().Pixels(0, 0), 0xA04A44);
    EXPECT_EQ(b->Canvas().Pixels(10, 10), 0xA04A44);
    EXPECT_TRUE(Shows(*b, clWhite));
    EXPECT_EQ(Draw(open, false)->Canvas().Pixels(0, 0), 0xCED3D6);

    menu->SetUIStyle(MacOS);
    menu->SetMenuItemHeight(30);
    menu->SetSeparatorHeight(9);
    int width = 0, height = 0;
    open->MeasureItem(b->Canvas(), width, height);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(menu->SeparatorHeight(), 12);
    menu->SetUIStyle(DeepBlue);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
}

TEST_F(MainMenuSkinTest, ARealDropDownOfItsItemsIsDrawnByItAndChosenWithKeys)
{
    std::vector<String> clicked, errors;
    Application->OnException = [&errors](TObject*, const Exception& error) { errors.push_back(error.Message()); };
    for (const wchar_t* caption : {L"New", L"-", L"Open", L"Exit"})
        AddItem(file, caption)->OnClick = [&clicked](TObject* sender) {
            clicked.push_back(static_cast<TMenuItem*>(sender)->Caption());
        };
    int drawn = 0;
    TMenuItem* exitItem = file->Items(3);
    const TMenuDrawItemEvent draw = exitItem->OnDrawItem;
    ASSERT_TRUE(draw);
    exitItem->OnDrawItem = [&](TObject* sender, TCanvas& canvas, const TRect& rect, bool selected) {
        ++drawn;
        draw(sender, canvas, rect, selected);
    };
    TOwned<TDropDownMenu> dropDown(New<TDropDownMenu>(nullptr));
    dropDown->SetSource(file);
    EXPECT_TRUE(dropDown->OwnerDraw());
    dropDown->OnPopup = [](TObject*) {
        for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(PopupListWindow(), WM_KEYDOWN, key, 1);
            PostMessageW(PopupListWindow(), WM_KEYUP, key, 0xC0000001);
        }
    };
    dropDown->Popup(300, 300);
    Application->ProcessMessages();
    Application->OnException = nullptr;
    EXPECT_EQ(clicked, std::vector<String>{L"Exit"});
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(errors, std::vector<String>{});
}
