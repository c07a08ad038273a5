// The skinned MDI frame's pieces on a plain MDI frame with three
// children: the window menu's entries as children come and go, clicked,
// and freed with the window menu; the child control buttons on a
// maximised child; the frame's own cascade and tile; the menu bar
// following the active child's menu.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "FreeWatch.h"
#include "FreedMemoryPoison.h"
#include "KYPMDIChildButtons.h"
#include "KYPMDIChildPlacement.h"
#include "KYPMDIClientWatch.h"
#include "KYPMDIMenuSource.h"
#include "KYPMDIWindowMenu.h"
#include "MDIHarness.h"
#include "MenuItems.h"

namespace {

using Captions = std::vector<std::wstring>;

TRect InParent(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MDIFramePiecesTest : public MDIHarness {
protected:
    TMainMenu* Menu(std::initializer_list<const wchar_t*> tops)
    {
        auto* menu = New<TMainMenu>(mdi);
        for (const wchar_t* top : tops) AddItem(AddItem(menu->Items(), top, mdi), L"&Sub", mdi);
        return menu;
    }
    void Open()
    {
        ShowFrame();
        for (const wchar_t* caption : {L"One", L"Two", L"Three"}) kids.push_back(Child(caption));
    }
    TForm* Child(const wchar_t* caption) { return ShowChild(10, 10, 200, 150, TWindowState::wsNormal, caption); }
    static Captions Of(TMenuItem* item)
    {
        Captions captions;
        for (int i = 0; i < item->Count(); ++i) captions.push_back(item->Items(i)->Caption());
        return captions;
    }

    std::vector<TForm*> kids;
};

// ------------------------------------------------------------ window menu

class WindowMenuTest : public MDIFramePiecesTest {
protected:
    void SetUp() override
    {
        MDIFramePiecesTest::SetUp();
        TMainMenu* menu = Menu({L"&File"});
        windows = AddItem(menu->Items(), L"&Window", mdi);
        AddItem(windows, L"&Tile", mdi);
        mdi->SetMenu(menu);
        mdi->SetWindowMenu(windows);
        entries = New<TkypMDIWindowMenu>(mdi, *mdi);
    }
    TMenuItem* Entry(const wchar_t* caption) const
    {
        for (int i = 0; i < entries->EntryCount(); ++i)
            if (entries->Entries(i)->Caption() == caption) return entries->Entries(i);
        return nullptr;
    }
    void Choose(const wchar_t* caption) { SendMessageW(mdi->Handle(), WM_COMMAND, Entry(caption)->Command(), 0); }

    TMenuItem* windows = nullptr;
    TkypMDIWindowMenu* entries = nullptr;
};

TEST_F(WindowMenuTest, EntriesFollowTheChildrenAndAClickActivatesOne)
{
    mdi->Show();
    entries->Rebuild();
    EXPECT_EQ(Of(windows), (Captions{L"&Tile", L"-"})) << "no child: only the line";
    Open();
    EXPECT_EQ(Of(windows), (Captions{L"&Tile", L"-", L"One", L"Two", L"Three"})) << "the oldest child first";
    FreeObject(kids[1]);
    Pump();
    EXPECT_EQ(Of(windows), (Captions{L"&Tile", L"-", L"One", L"Three"}));
    Child(L"Four");
    EXPECT_EQ(Of(windows), (Captions{L"&Tile", L"-", L"One", L"Three", L"Four"}));

    Choose(L"One");
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[0]);
    kids[2]->SetWindowState(TWindowState::wsMinimized);
    Choose(L"Three");
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[2]);
    EXPECT_FALSE(IsIconic(kids[2]->Handle())) << "a minimised child is restored";
    EXPECT_EQ(kids[2]->WindowState(), TWindowState::wsNormal);
}

TEST_F(WindowMenuTest, AnEntryWhoseChildWentDoesNothing)
{
    Open();
    entries->SetEnabled(false);  // as while a child's menu is on the bar: entries kept
    TMenuItem* two = Entry(L"Two");
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(entries->EntryWindow(two), kids[1]->Handle());
    FreeObject(kids[1]);
    kids[0]->BringToFront();
    two->Click();
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[0]);
    EXPECT_EQ(mdi->MDIChildCount(), 2);
    EXPECT_EQ(entries->EntryWindow(windows->Items(0)), nullptr) << "not an entry of its own";
}

TEST_F(WindowMenuTest, AnEntryOutlivesItsOwnClickAndTheRebuildFollowsIt)
{
    Open();
    TMenuItem* one = Entry(L"One");
    ASSERT_NE(one, nullptr);
    auto watch = MakeOwned<TFreeWatch>(one);
    one->Click();  // activating its child asks for a rebuild
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[0]);
    EXPECT_FALSE(watch->Gone()) << "freed inside its own click";
    Pump();
    EXPECT_TRUE(watch->Gone());
    EXPECT_EQ(Of(windows), (Captions{L"&Tile", L"-", L"Two", L"Three", L"One"})) << "the active child last";
    EXPECT_EQ(entries->EntryWindow(Entry(L"One")), kids[0]->Handle());
}

TEST_F(WindowMenuTest, AWindowMenuFreedByItsEntrysClickLetsTheClickFinish)
{
    TPoisonFreedMemory poison;
    FreeObject(entries);
    entries = New<TkypMDIWindowMenu>(mdi, *mdi);
    Open();
    kids[0]->AddWindowHook(nullptr, [this](TMessage& message, const TWindowHookNext& next) {
        next(message);
        if (message.Msg == WM_MDIACTIVATE && entries) FreeAndNil(entries);
    });
    Choose(L"One");
    EXPECT_EQ(entries, nullptr);
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[0]);
    EXPECT_EQ(poison.Faults(), 0);
}

// Its notice may free the watch with the piece that holds it.
TEST_F(MDIFramePiecesTest, AClientWatchFreedByItsOwnNoticeLetsTheMessageFinish)
{
    TPoisonFreedMemory poison;
    ShowFrame();
    std::unique_ptr<TkypMDIClientWatch> watch;
    watch = std::make_unique<TkypMDIClientWatch>(*mdi, [&watch] { watch.reset(); });
    SendMessageW(mdi->ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
    EXPECT_EQ(watch, nullptr);
    EXPECT_EQ(poison.Faults(), 0);
}

TEST_F(WindowMenuTest, EntriesFreedOnceWhicheverGoesFirst)
{
    Open();
    ASSERT_EQ(entries->EntryCount(), 4);
    FreeObject(entries);
    EXPECT_EQ(Of(windows), (Captions{L"&Tile"})) << "the entries leave with their maker";

    entries = New<TkypMDIWindowMenu>(mdi, *mdi);
    entries->Rebuild();
    FreeObject(windows);
    EXPECT_EQ(entries->EntryCount(), 0) << "freed with the window menu, not to be freed again";
    entries->Rebuild();
    EXPECT_EQ(entries->EntryCount(), 0) << "no window menu: no entries";
    Child(L"Four");
    FreeObject(entries);
}

// ---------------------------------------------------- child control buttons

class ChildButtonsTest : public MDIFramePiecesTest {
protected:
    void SetUp() override
    {
        MDIFramePiecesTest::SetUp();
        row = New<TPanel>(mdi);
        row->SetParent(mdi);
        row->SetHeight(26);
        row->SetAlign(TAlign::alTop);
        buttons = New<TkypMDIChildButtons>(mdi, *mdi, *row, 0);
    }
    TkypToolBarSpeedButton* Get(TkypChildButton slot) const { return buttons->Button(slot); }
    std::vector<bool> Shown() const
    {
        return {Get(TkypChildButton::Minimize)->Visible(), Get(TkypChildButton::Restore)->Visible(),
            Get(TkypChildButton::Close)->Visible()};
    }
    void Click(TkypChildButton slot)
    {
        Post(Get(slot), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        Post(Get(slot), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    TPanel* row = nullptr;
    TkypMDIChildButtons* buttons = nullptr;
};

TEST_F(ChildButtonsTest, PlacedAtTheRowsRightEndAndShownPerTitleBar)
{
    Open();
    const auto lefts = [&] {
        return std::vector<int>{Get(TkypChildButton::Minimize)->Left(), Get(TkypChildButton::Restore)->Left(),
            Get(TkypChildButton::Close)->Left()};
    };
    const int width = row->Width();
    EXPECT_EQ(lefts(), (std::vector<int>{width - 56, width - 38, width - 20}));
    mdi->SetWidth(mdi->Width() - 100);
    EXPECT_EQ(row->Width(), width - 100);
    EXPECT_EQ(lefts(), (std::vector<int>{width - 156, width - 138, width - 120})) << "they follow the right edge";
    EXPECT_EQ(Get(TkypChildButton::Close)->Top(), 2);
    EXPECT_EQ(Get(TkypChildButton::Close)->Glyph()->Width(), 16);
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, false})) << "hidden when made";

    buttons->Show({kypHelp, kypClose});
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, true})) << "a frame with only a close button";
    buttons->Show({kypMin, kypMax});
    EXPECT_EQ(Shown(), (std::vector<bool>{true, true, true})) << "showing hides none";
    const auto pixels = [&](TkypChildButton slot) {
        std::vector<TColor> all;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) all.push_back(Get(slot)->Glyph()->Canvas().Pixels(x, y));
        return all;
    };
    EXPECT_NE(pixels(TkypChildButton::Close), pixels(TkypChildButton::Restore)) << "each its own piece";
    EXPECT_NE(pixels(TkypChildButton::Restore), pixels(TkypChildButton::Minimize));
    buttons->SetColors(clWhite, clSilver);
    Pump();
    std::filesystem::create_directories("screens");
    TBitmap picture;  // as they paint, left to right
    picture.SetSize(3 * 18, 18);
    for (int i = 0; i < 3; ++i)
        picture.Canvas().Draw(18 * i, 0, Snapshot(Get(static_cast<TkypChildButton>(3 - i))).get());
    picture.SaveToFile(L"screens/mdi_child_buttons.bmp");
    buttons->Hide();
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(ChildFrameButtonTypes(*kids[0]), std::nullopt) << "a plain child has no skinned frame";
}

TEST_F(ChildButtonsTest, ClicksActOnTheActiveChild)
{
    Open();
    buttons->Show({kypMin, kypMax, kypClose});
    kids[1]->BringToFront();
    kids[1]->SetWindowState(TWindowState::wsMaximized);
    Click(TkypChildButton::Restore);
    EXPECT_EQ(kids[1]->WindowState(), TWindowState::wsNormal);
    EXPECT_FALSE(IsZoomed(kids[1]->Handle()));

    Click(TkypChildButton::Minimize);
    EXPECT_TRUE(IsIconic(kids[1]->Handle()));

    kids[2]->BringToFront();
    kids[2]->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    Click(TkypChildButton::Close);
    Pump();
    EXPECT_EQ(mdi->MDIChildCount(), 2) << "closed and freed";

    buttons->ButtonClick(mdi);  // not one of the buttons
    EXPECT_EQ(mdi->MDIChildCount(), 2);
}

TEST_F(ChildButtonsTest, ThePanelMayGoFirst)
{
    Open();
    TPoisonFreedMemory poison;
    FreeObject(row);
    EXPECT_EQ(Get(TkypChildButton::Close), nullptr);
    buttons->Show({kypClose});
    EXPECT_FALSE(buttons->AnyShown());
    buttons->SetColors(clRed, clBlue);
    FreeObject(buttons);  // asks the panel gone for nothing
    EXPECT_EQ(poison.Faults(), 0);
}

// ------------------------------------------------------------ arrangement

class ArrangeTest : public MDIFramePiecesTest {
protected:
    void SetUp() override
    {
        MDIFramePiecesTest::SetUp();
        for (auto [align, height] : {std::pair{TAlign::alTop, 30}, std::pair{TAlign::alBottom, 20}}) {
            auto* panel = New<TPanel>(mdi);
            panel->SetParent(mdi);
            panel->SetHeight(height);
            panel->SetAlign(align);
            bars.push_back(panel);
        }
        bars[1]->Hide();  // counted all the same
        mdi->SetClientWidth(600);
        mdi->SetClientHeight(400);
    }
    std::vector<TRect> Placed() const
    {
        std::vector<TRect> placed;
        for (TForm* child : kids) placed.push_back(InParent(child->Handle()));
        return placed;
    }
    std::vector<TPanel*> bars;
};

TEST_F(ArrangeTest, CascadeAndTilePlaceTheChildrenByTheFrameArithmetic)
{
    Open();
    // The oldest child is the last of the list: it goes first.
    CascadeMDIChildren(*mdi);
    EXPECT_EQ(Placed(), (std::vector<TRect>{{0, 0, 480, 240}, {22, 22, 502, 262}, {44, 44, 524, 284}}));

    mdi->SetTileMode(TTileMode::tbVertical);
    TileMDIChildren(*mdi);
    EXPECT_EQ(Placed(), (std::vector<TRect>{{0, 0, 198, 346}, {198, 0, 396, 346}, {396, 0, 594, 346}}));

    mdi->SetTileMode(TTileMode::tbHorizontal);
    TileMDIChildren(*mdi);
    EXPECT_EQ(Placed(), (std::vector<TRect>{{0, 0, 596, 114}, {0, 114, 596, 228}, {0, 228, 596, 342}}));

    kids[1]->SetWindowState(TWindowState::wsMinimized);
    const TRect iconic = InParent(kids[1]->Handle());
    TileMDIChildren(*mdi);
    // Minimising changed the list's order; its last other child goes first.
    TForm* first = mdi->MDIChildren(2) == kids[1] ? mdi->MDIChildren(1) : mdi->MDIChildren(2);
    TForm* second = first == kids[0] ? kids[2] : kids[0];
    EXPECT_EQ(InParent(first->Handle()), TRect(0, 0, 596, 160)) << "a strip left for the icon: (350 - 25) div 2 - 2";
    EXPECT_EQ(InParent(second->Handle()), TRect(0, 160, 596, 320));
    EXPECT_EQ(InParent(kids[1]->Handle()), iconic) << "the minimised child stays";
    EXPECT_TRUE(IsIconic(kids[1]->Handle()));
}

// ------------------------------------------------------------ menu bar

TEST_F(MDIFramePiecesTest, TheBarFollowsTheActiveChildsMenu)
{
    TMainMenu* own = Menu({L"&File", L"&Window", L"&Help"});
    auto* row = New<TPanel>(mdi);
    row->SetParent(mdi);
    row->SetAlign(TAlign::alTop);
    auto* bar = New<TkypMenuBar>(mdi);
    bar->SetParent(row);
    bar->SetShowCaptions(true);
    auto* source = New<TkypMDIMenuSource>(mdi, *mdi);
    bar->SetSource(source);
    int changes = 0;
    source->OnChange = [&](TObject*) {
        ++changes;
        source->Update(*bar);
    };
    const auto captions = [&] {
        Captions shown;
        for (int i = 0; i < bar->ButtonCount(); ++i) shown.push_back(bar->Buttons(i)->Caption());
        return shown;
    };

    EXPECT_EQ(source->Update(*bar), nullptr) << "no menu at all: nothing to show";
    source->SetMenu(own);
    EXPECT_EQ(source->Update(*bar), own);
    EXPECT_EQ(captions(), (Captions{L"&File", L"&Window", L"&Help"}));
    EXPECT_TRUE(source->ShowsOwnMenu());

    Open();
    auto* childMenu = Menu({L"&Edit", L"&View"});
    kids[1]->SetMenu(childMenu);
    TToolButton* kept = bar->Buttons(2);
    kids[1]->BringToFront();
    EXPECT_GT(changes, 0) << "told of the activation";
    EXPECT_EQ(source->Shown(), childMenu);
    EXPECT_EQ(captions(), (Captions{L"&Edit", L"&View"}));
    EXPECT_EQ(bar->Buttons(1), kept) << "extra buttons go from the front; the rest are reused";
    EXPECT_FALSE(source->ShowsOwnMenu());

    kids[2]->BringToFront();
    EXPECT_EQ(captions(), (Captions{L"&File", L"&Window", L"&Help"})) << "a child without a menu";
    kids[1]->BringToFront();
    source->SetDrawChildMenus(false);
    source->Update(*bar);
    EXPECT_EQ(source->Shown(), own);
    source->SetDrawChildMenus(true);
    source->Update(*bar);
    EXPECT_EQ(source->Shown(), childMenu);
    FreeObject(childMenu);
    EXPECT_EQ(source->Shown(), own) << "the child's menu went: the frame's is back";
    EXPECT_EQ(captions(), (Captions{L"&File", L"&Window", L"&Help"}));
}

}  // namespace
