// MDI on plain forms: a frame (the main form) with three children, and a
// subclass on its client, a window the framework did not make.
#include <memory>
#include <string>
#include <vector>

#include "Collections.h"
#include "HandleCounts.h"
#include "HeldKeys.h"
#include "MDIHarness.h"
#include "WindowSubclass.h"

namespace {

constexpr UINT kProbe = WM_APP + 81;
using Forms = std::vector<TForm*>;

TRect InParent(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MDIFormTest : public MDIHarness {
protected:
    // Shows the frame with three children, the first at the bottom.
    void Open()
    {
        ShowFrame();
        for (int i = 0; i < 3; ++i) kids.push_back(Child(20 * i));
    }
    TForm* Child(int at, TWindowState state = TWindowState::wsNormal) { return ShowChild(at, at, 200, 150, state); }
    Forms Order() const
    {
        Forms order;
        for (int i = 0; i < mdi->MDIChildCount(); ++i) order.push_back(mdi->MDIChildren(i));
        return order;
    }

    Forms kids;
};

TEST_F(MDIFormTest, ChildrenAreBoundListedTopmostFirstAndKeptWhenTheFrameIsRemade)
{
    Open();
    TForm* reached = nullptr;
    for (TForm* child : kids) {
        child->AddWindowHook(nullptr, [&](TMessage& message, const TWindowHookNext& next) {
            if (message.Msg == kProbe) reached = child;
            next(message);
        });
        SendMessageW(child->Handle(), kProbe, 0, 0);
        EXPECT_EQ(reached, child) << "the child's window reaches its own object";
        EXPECT_EQ(GetParent(child->Handle()), mdi->ClientHandle());
    }
    EXPECT_EQ(InParent(kids[1]->Handle()), TRect(20, 20, 220, 170));
    EXPECT_EQ(Order(), (Forms{kids[2], kids[1], kids[0]}));
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[2]);
    EXPECT_THROW(mdi->MDIChildren(3), EListError);
    kids[0]->BringToFront();
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[0]);
    EXPECT_EQ(Order(), (Forms{kids[0], kids[2], kids[1]}));

    kids[1]->SetWindowState(TWindowState::wsMinimized);
    mdi->RecreateWnd();
    EXPECT_EQ(Order(), (Forms{kids[0], kids[2], kids[1]}));
    EXPECT_TRUE(IsIconic(kids[1]->Handle()));

    mdi->SetFormStyle(TFormStyle::fsNormal);
    EXPECT_EQ(mdi->MDIChildCount(), 0);
    EXPECT_THROW(Child(0), Exception) << "a child needs an MDI frame as the main form";
}

TEST_F(MDIFormTest, TheClientTakesWhatTheAlignedControlsLeave)
{
    auto* panel = Add<TPanel>(0, 0, 10, 40, mdi);
    panel->SetAlign(TAlign::alTop);
    Open();
    for (int width : {640, 500}) {
        mdi->SetWidth(width);
        EXPECT_EQ(InParent(mdi->ClientHandle()), TRect(0, 40, mdi->ClientWidth(), mdi->ClientHeight()));
    }
    panel->Hide();
    EXPECT_EQ(InParent(mdi->ClientHandle()).Top, 0);
    EXPECT_EQ(GetWindow(mdi->ClientHandle(), GW_HWNDNEXT), nullptr) << "under the frame's other children";
}

TEST_F(MDIFormTest, ArrangedAndMaximisedThroughTheClient)
{
    Open();
    mdi->Cascade();
    const Forms order = Order();
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        EXPECT_GT(order[i]->Left(), order[i + 1]->Left()) << "the topmost lies furthest down and right";
        EXPECT_EQ(order[i]->Top() - order[i + 1]->Top(), order[i]->Left() - order[i + 1]->Left());
    }
    for (TTileMode mode : {TTileMode::tbHorizontal, TTileMode::tbVertical}) {
        mdi->SetTileMode(mode);
        mdi->Tile();
        RECT area{};  // without the scroll bars the cascade needed
        GetClientRect(mdi->ClientHandle(), &area);
        const bool across = mode == TTileMode::tbHorizontal;
        int covered = 0;
        for (TForm* child : order) {
            covered += child->Width() * child->Height();
            EXPECT_EQ(across ? child->Width() : child->Height(), across ? area.right : area.bottom);
        }
        EXPECT_NEAR(covered, area.right * area.bottom, 3 * area.right) << "the tiles share the client";
    }

    const TRect tiled = kids[1]->BoundsRect();
    kids[1]->SetWindowState(TWindowState::wsMaximized);
    BOOL maximised = FALSE;
    SendMessageW(mdi->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
    EXPECT_TRUE(maximised);
    kids[0]->BringToFront();
    EXPECT_EQ(kids[0]->WindowState(), TWindowState::wsMaximized) << "the client's maximised look is followed";
    kids[0]->SetWindowState(TWindowState::wsNormal);
    EXPECT_EQ(kids[1]->BoundsRect(), tiled);
    kids[1]->SetWindowState(TWindowState::wsMinimized);
    EXPECT_TRUE(IsIconic(kids[1]->Handle()));
    SendMessageW(mdi->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(kids[1]->Handle()), 0);
    EXPECT_EQ(kids[1]->WindowState(), TWindowState::wsNormal);
    EXPECT_TRUE(IsZoomed(Child(0, TWindowState::wsMaximized)->Handle())) << "made in the state set before";
}

TEST_F(MDIFormTest, ChildrenGoThroughTheClient)
{
    Open();
    int destroys = 0;
    TWindowSubclass watch(mdi->ClientHandle(), [&](TMessage& message, const TSubclassNext& next) {
        destroys += message.Msg == WM_MDIDESTROY;
        next(message);
    });
    kids[2]->Close();
    EXPECT_TRUE(IsIconic(kids[2]->Handle())) << "closed by default, a child goes to an icon";
    kids[2]->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    SendMessageW(kids[2]->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_EQ(destroys, 1);
    kids[1]->RecreateWnd();
    FreeObject(kids[1]);
    EXPECT_EQ(destroys, 3);
    EXPECT_EQ(Order(), (Forms{kids[0]}));
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[0]);
}

TEST_F(MDIFormTest, TheWindowMenuAndTheKeys)
{
    auto* menu = New<TMainMenu>(mdi);
    const auto item = [&](TMenuItem* parent, const String& caption) {
        auto* made = New<TMenuItem>(mdi);
        made->SetCaption(caption);
        parent->Add(made);
        return made;
    };
    TMenuItem* file = item(menu->Items(), L"&File");
    TMenuItem* windows = item(menu->Items(), L"&Window");
    int clicks = 0;
    item(windows, L"&Tile")->OnClick = [&](TObject*) { ++clicks; };
    TMenuItem* create = item(file, L"&New");
    create->SetShortCut(ShortCut('N', scCtrl));
    create->OnClick = [&](TObject*) { ++clicks; };
    mdi->SetMenu(menu);
    mdi->SetWindowMenu(windows);
    Open();
    item(file, L"&Open");  // the bar is built anew
    const HMENU list = windows->SubMenuHandle();
    ASSERT_EQ(GetMenuItemCount(list), 5) << "Tile, a line, one entry per child";
    EXPECT_EQ(GetMenuItemID(list, 4), FirstMDIChildId + 2);
    SendMessageW(mdi->Handle(), WM_COMMAND, FirstMDIChildId, 0);
    EXPECT_EQ(mdi->ActiveMDIChild(), kids[0]);
    SendMessageW(mdi->Handle(), WM_COMMAND, GetMenuItemID(list, 0), 0);
    EXPECT_EQ(clicks, 1);

    {
        const THeldKeys ctrl{VK_CONTROL};
        Post(kids[0], WM_KEYDOWN, 'N', 1);
        EXPECT_EQ(clicks, 2) << "a child's keys reach the frame's menu";
        Post(kids[0], WM_KEYDOWN, VK_F6, 1);
        TForm* next = mdi->ActiveMDIChild();
        EXPECT_NE(next, kids[0]) << "Ctrl+F6 goes to the next child";
        form->Show();
        Post(form.get(), WM_KEYDOWN, VK_F6, 1);
        EXPECT_EQ(mdi->ActiveMDIChild(), next) << "keys of other windows stay theirs";
    }
    FreeObject(windows);
    EXPECT_EQ(mdi->WindowMenu(), nullptr);
    for (UINT i = 0; i < FirstMDIChildId; ++i)
        ASSERT_LT(MakeOwned<TMenuItem>(nullptr)->Command(), FirstMDIChildId) << "item commands stay below the children's";
}

TEST_F(MDIFormTest, ASubclassEndsWithItsHolderItselfOrTheWindow)
{
    mdi->HandleNeeded();  // hidden: a shown window would wait to be hidden
    const HWND client = mdi->ClientHandle();
    std::string log;
    std::unique_ptr<TWindowSubclass> self;
    const auto watch = [&](char name) {
        return std::make_unique<TWindowSubclass>(client, [&, name](TMessage& message, const TSubclassNext& next) {
            if (message.Msg == kProbe) log += name;
            if (message.Msg == kProbe && name == 's') self.reset();
            next(message);
        });
    };
    auto older = watch('a');
    auto newer = watch('b');
    self = watch('s');
    const auto probe = [&] {
        log.clear();
        SendMessageW(client, kProbe, 0, 0);
        return log;
    };
    EXPECT_EQ(probe(), "sba");
    EXPECT_EQ(probe(), "ba") << "one may end inside its own message";
    older.reset();
    EXPECT_EQ(probe(), "b");
    newer.reset();
    EXPECT_EQ(probe(), "");
    Child(0);
    EXPECT_EQ(mdi->MDIChildCount(), 1) << "the client works on";

    auto outlived = watch('c');
    mdi->DestroyHandle();
    EXPECT_EQ(outlived->Window(), nullptr);
    outlived.reset();
    EXPECT_THROW(TWindowSubclass(nullptr, nullptr), Exception);
}

TEST_F(MDIFormTest, HandlesStayFlatOverChildrenOpenedAndClosed)
{
    Open();
    const auto cycle = [&] {
        FreeObject(Child(0, TWindowState::wsMaximized));
        Pump();
    };
    cycle();
    const int gdi = CountGdiObjects(), windows = CountThreadWindows(), icons = CountIconHandles();
    for (int i = 0; i < 100; ++i) cycle();
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountThreadWindows(), windows);
    EXPECT_EQ(CountIconHandles(), icons);
}

}  // namespace
