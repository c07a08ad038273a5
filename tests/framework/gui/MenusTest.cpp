// Menus: shortcut texts, the item tree's ownership, the system menu built
// from it, real popups driven by keys, and the context-menu path from a
// right click to a control's popup menu.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "Controls.h"
#include "Forms.h"
#include "ImageList.h"
#include "MenuItems.h"
#include "Menus.h"

namespace {

// Queued before the menu opens, read by the system's menu loop.
void PostKeys(std::initializer_list<WORD> keys)
{
    for (WORD key : keys) {
        PostMessageW(PopupListWindow(), WM_KEYDOWN, key, 1);
        PostMessageW(PopupListWindow(), WM_KEYUP, key, 0xC0000001);
    }
}

MENUITEMINFOW ItemInfo(HMENU menu, UINT position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

String ItemText(HMENU menu, UINT position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

class TRecordingPopup : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int x, int y) override { Shown.push_back(TPoint(x, y)); }
    std::vector<TPoint> Shown;
};

class TPlainGraphic : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

}  // namespace

TEST(ShortCutText, NamesModifiersAndKeys)
{
    EXPECT_EQ(ShortCutToText(ShortCut('R', scCtrl)), L"Ctrl+R");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, scCtrl | scShift)), L"Ctrl+Shift+F5");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, scAlt)), L"Alt+Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_RETURN, 0)), L"Enter");
    EXPECT_EQ(ShortCutToText(ShortCut('7', 0)), L"7");
    EXPECT_EQ(ShortCutToText(scNone), L"");
}

TEST(MenuItemTree, FreeingAnItemDetachesItAndFreesItsItems)
{
    TOwned<TComponent> holder = MakeOwned<TComponent>(nullptr);
    TOwned<TPopupMenu> menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* file = AddItem(menu->Items(), L"File", holder.get());
    TMenuItem* open = AddItem(file, L"Open", holder.get());
    AddItem(open, L"Recent", holder.get());
    AddItem(menu->Items(), L"Help", holder.get());
    ASSERT_EQ(holder->ComponentCount(), 4);
    EXPECT_EQ(open->GetParentMenu(), menu.get());

    FreeObject(file);
    EXPECT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(menu->Items()->Items(0)->Caption(), L"Help");
    EXPECT_EQ(holder->ComponentCount(), 1);  // the sub-items went with it

    // Freed by their owner first, items leave the menu instead of dangling.
    holder.reset();
    EXPECT_EQ(menu->Items()->Count(), 0);
}

TEST(MenuItemTree, RefusesCyclesAndMovesItemsBetweenParents)
{
    TOwned<TPopupMenu> menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* a = AddItem(menu->Items(), L"A");
    TMenuItem* b = AddItem(a, L"B");
    EXPECT_THROW(b->Add(a), Exception);
    EXPECT_THROW(a->Add(a), Exception);
    EXPECT_THROW(a->Add(nullptr), Exception);

    menu->Items()->Insert(0, b);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(b->Parent(), menu->Items());
    EXPECT_EQ(menu->Items()->IndexOf(b), 0);
    EXPECT_EQ(menu->Items()->IndexOf(a), 1);

}

TEST(SystemMenu, IsBuiltFromTheVisibleItemsWithTheirStates)
{
    TOwned<TPopupMenu> menu = MakeOwned<TPopupMenu>(nullptr);
    TMenuItem* record = AddItem(menu->Items(), L"&Record");
    record->SetShortCut(ShortCut('R', scCtrl));
    record->SetDefault(true);
    AddItem(menu->Items(), L"-");
    TMenuItem* hidden = AddItem(menu->Items(), L"Hidden");
    hidden->SetVisible(false);
    TMenuItem* stop = AddItem(menu->Items(), L"Stop");
    stop->SetEnabled(false);
    stop->SetChecked(true);
    TMenuItem* more = AddItem(menu->Items(), L"More");
    AddItem(more, L"Inner");

    HMENU handle = menu->Handle();
    ASSERT_EQ(GetMenuItemCount(handle), 4);
    EXPECT_EQ(ItemText(handle, 0), L"&Record\tCtrl+R");
    EXPECT_TRUE(ItemInfo(handle, 0).fState & MFS_DEFAULT);
    EXPECT_TRUE(ItemInfo(handle, 1).fType & MFT_SEPARATOR);
    const MENUITEMINFOW stopInfo = ItemInfo(handle, 2);
    EXPECT_EQ(stopInfo.wID, stop->Command());
    EXPECT_TRUE(stopInfo.fState & MFS_DISABLED);
    EXPECT_TRUE(stopInfo.fState & MFS_CHECKED);
    const MENUITEMINFOW moreInfo = ItemInfo(handle, 3);
    ASSERT_NE(moreInfo.hSubMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(moreInfo.hSubMenu), 1);
    EXPECT_EQ(menu->FindItemByMenuHandle(moreInfo.hSubMenu), more);
    EXPECT_FALSE(ItemInfo(handle, 0).fType & MFT_OWNERDRAW);

    // An image list makes the menu owner-drawn, separators too; freeing the
    // list drops it.
    TImageList* images = New<TImageList>(nullptr);
    menu->SetImages(images);
    handle = menu->Handle();
    EXPECT_TRUE(ItemInfo(handle, 0).fType & MFT_OWNERDRAW);
    EXPECT_EQ(ItemInfo(handle, 1).fType & (MFT_OWNERDRAW | MFT_SEPARATOR), UINT(MFT_OWNERDRAW | MFT_SEPARATOR));
    EXPECT_EQ(ItemInfo(handle, 0).dwItemData, record->Command());
    FreeObject(images);
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_FALSE(menu->IsOwnerDraw());
}

TEST(SystemMenu, TypedKeysFindAcceleratorsAndThenFirstLetters)
{
    TOwned<TPopupMenu> menu = MakeOwned<TPopupMenu>(nullptr);
    AddItem(menu->Items(), L"Help");
    TMenuItem* gone = AddItem(menu->Items(), L"Hidden");
    gone->SetVisible(false);
    AddItem(menu->Items(), L"Stop &Play");
    TMenuItem* off = AddItem(menu->Items(), L"&Off");
    off->SetEnabled(false);
    AddItem(menu->Items(), L"Save && go");
    HMENU handle = menu->Handle();

    EXPECT_EQ(menu->MenuCharIndex(handle, L'p'), 1);  // positions count shown items only
    EXPECT_EQ(menu->MenuCharIndex(handle, L'h'), 0);
    EXPECT_EQ(menu->MenuCharIndex(handle, L'o'), -1);  // disabled
    EXPECT_EQ(menu->MenuCharIndex(handle, L'g'), -1);  // "&&" is no accelerator
    menu->SetAutoHotkeys(TMenuAutoFlag::maManual);
    EXPECT_EQ(menu->MenuCharIndex(handle, L'h'), -1);
    EXPECT_EQ(menu->MenuCharIndex(handle, L'p'), 1);
}

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& error) { Errors.push_back(error.Message()); };
    }
    void TearDown() override
    {
        Application->ProcessMessages();
        Application->OnException = nullptr;
        EXPECT_EQ(Errors, std::vector<String>{});
    }
    std::vector<String> Errors;
};

TEST_F(PopupTest, OwnerDrawnItemsAreMeasuredDrawnAndChosenByAccelerator)
{
    TOwned<TPopupMenu> menu = MakeOwned<TPopupMenu>(nullptr);
    menu->SetOwnerDraw(true);
    std::vector<TObject*> measured, drawn;
    int stops = 0;
    for (const wchar_t* caption : {L"Help", L"&Stop Record"}) {
        TMenuItem* item = AddItem(menu->Items(), caption);
        item->OnMeasureItem = [&](TObject* sender, TCanvas&, int& width, int& height) {
            measured.push_back(sender);
            width = 120;
            height = 21;
        };
        item->OnDrawItem = [&](TObject* sender, TCanvas& canvas, const TRect& rect, bool) {
            drawn.push_back(sender);
            canvas.Brush().SetColor(clWhite);
            canvas.FillRect(rect);
        };
    }
    menu->Items()->Items(1)->OnClick = [&](TObject*) { ++stops; };
    menu->OnPopup = [](TObject*) { PostKeys({'S'}); };
    menu->Popup(100, 100);
    Application->ProcessMessages();
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(measured.size(), 2u);
    EXPECT_FALSE(drawn.empty());
}

TEST_F(PopupTest, ARightClickShowsThePopupMenuOfTheControlUnderIt)
{
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(50, 60, 300, 200);
    auto* picture = New<TPlainGraphic>(form.get());
    picture->SetParent(form.get());
    picture->SetBounds(0, 0, 100, 100);
    auto* pictureMenu = New<TRecordingPopup>(form.get());
    auto* formMenu = New<TRecordingPopup>(form.get());
    picture->SetPopupMenu(static_cast<TPopupMenu*>(pictureMenu));
    form->Show();

    HWND window = form->Handle();
    EXPECT_EQ(SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(80, 90)), 1);
    ASSERT_EQ(pictureMenu->Shown.size(), 1u);
    EXPECT_EQ(pictureMenu->Shown[0], TPoint(80, 90));
    EXPECT_EQ(pictureMenu->PopupComponent(), picture);

    // Outside the picture nothing answers until the form has a menu.
    EXPECT_EQ(SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(250, 150)), 0);
    form->SetPopupMenu(static_cast<TPopupMenu*>(formMenu));
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(250, 150));
    ASSERT_EQ(formMenu->Shown.size(), 1u);
    EXPECT_EQ(formMenu->PopupComponent(), form.get());

    // From the keyboard the menu opens at the client area's corner.
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(0xFFFF, 0xFFFF));
    ASSERT_EQ(formMenu->Shown.size(), 2u);
    EXPECT_EQ(formMenu->Shown[1], TPoint(50, 60));

    formMenu->SetAutoPopup(false);
    EXPECT_EQ(SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(250, 150)), 0);

    // A freed menu is dropped by the controls that held it.
    FreeObject(pictureMenu);
    EXPECT_EQ(picture->PopupMenu(), nullptr);
}
