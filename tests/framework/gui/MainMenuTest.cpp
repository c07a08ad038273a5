// A form's menu bar: built from the items and kept on the window through
// changes and recreation, owner-drawn with an image list, and shortcuts.
#include <gtest/gtest.h>

#include <vector>

#include "Forms.h"
#include "HeldKeys.h"
#include "ImageList.h"
#include "MenuItems.h"
#include "Menus.h"

namespace {

class MainMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        file = Item(menu->Items(), L"&File");
        open = Item(file, L"&Open");
        open->SetShortCut(ShortCut('O', scCtrl));
        refresh = Item(file, L"Refresh");
        refresh->SetShortCut(ShortCut(VK_F5, scNone));
        Item(menu->Items(), L"&Help");
        for (TMenuItem* item : {open, refresh}) item->OnClick = [this](TObject* sender) { clicked.push_back(sender); };
        menu->OnChange = [this](TObject*, TMenuItem*, bool rebuild) { rebuilds.push_back(rebuild); };
        form->SetBorderStyle(TFormBorderStyle::bsSizeable);
        form->SetClientWidth(300);
        form->SetClientHeight(200);
    }
    TMenuItem* Item(TMenuItem* parent, const String& caption) { return AddItem(parent, caption, form.get()); }

    std::vector<TObject*> clicked;
    std::vector<bool> rebuilds;
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    TMainMenu* menu = New<TMainMenu>(form.get());
    TMenuItem *file = nullptr, *open = nullptr, *refresh = nullptr;
};

}  // namespace

TEST_F(MainMenuTest, TheBarFollowsTheItemsAndStaysOnTheWindow)
{
    const HWND window = form->Handle();
    form->SetMenu(menu);
    const HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, menu->Handle());
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(form->ClientRect().Height(), 200) << "the bar takes no client space";

    rebuilds.clear();
    open->SetChecked(true);
    EXPECT_EQ(GetMenu(window), bar) << "a state change keeps the bar";
    EXPECT_TRUE(GetMenuState(bar, open->Command(), MF_BYCOMMAND) & MF_CHECKED);
    refresh->SetCaption(L"Re&fresh");
    EXPECT_NE(GetMenu(window), bar) << "a text change builds it anew";
    EXPECT_EQ(GetMenu(window), menu->Handle());
    EXPECT_EQ(rebuilds, (std::vector<bool>{false, true}));

    form->RecreateWnd();
    const HMENU kept = GetMenu(form->Handle());
    EXPECT_EQ(kept, menu->Handle()) << "the new window shows the same bar";
    form->DestroyHandle();
    EXPECT_TRUE(IsMenu(kept)) << "the window does not destroy the menu's bar";

    form->Handle();
    FreeObject(menu);
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST_F(MainMenuTest, WithAnImageListItsItemsAreOwnerDrawn)
{
    auto* images = New<TImageList>(form.get());
    menu->SetImages(images);
    form->SetMenu(menu);
    const HMENU bar = GetMenu(form->Handle());
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(bar, 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);

    file->OnMeasureItem = [](TObject*, TCanvas&, int& width, int& height) {
        width = 77;
        height = 19;
    };
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, file->Command(), 0, 0, info.dwItemData};
    EXPECT_EQ(SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_EQ(measure.itemWidth, 77u);
    EXPECT_EQ(measure.itemHeight, 19u);

    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(refresh->Command(), 0), 0);
    EXPECT_EQ(clicked, (std::vector<TObject*>{refresh}));
}

TEST_F(MainMenuTest, ShortCutsReachTheItemsFromAnyControlOfTheForm)
{
    form->SetMenu(menu);
    auto* edit = New<TPanel>(form.get());
    edit->SetParent(form.get());
    form->Show();

    {
        const THeldKeys ctrl{VK_CONTROL};
        EXPECT_TRUE(form->IsShortCut(TMessage{WM_KEYDOWN, 'O', 1, 0}));
        EXPECT_FALSE(form->IsShortCut(TMessage{WM_KEYDOWN, 'R', 1, 0}));
    }
    EXPECT_FALSE(form->IsShortCut(TMessage{WM_KEYDOWN, 'O', 1, 0})) << "Ctrl is not held";
    EXPECT_EQ(clicked, (std::vector<TObject*>{open}));

    clicked.clear();
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_F5, 1);
    Application->ProcessMessages();
    EXPECT_EQ(clicked, (std::vector<TObject*>{refresh}));

    refresh->SetEnabled(false);
    EXPECT_FALSE(form->IsShortCut(TMessage{WM_KEYDOWN, VK_F5, 1, 0}));
    form->SetVisible(false);
}
