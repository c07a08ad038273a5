// MDI on plain forms: a frame (the main form) with its client window under
// a top-aligned panel, children bound to their objects, listed, activated,
// arranged, maximised and destroyed through the client; and watching the
// client, a window the framework did not make, through a subclass.
#include <memory>
#include <string>
#include <vector>

#include "Collections.h"
#include "HandleCounts.h"
#include "Menus.h"
#include "WindowHarness.h"
#include "WindowSubclass.h"

namespace {

constexpr UINT kProbe = WM_APP + 81;

// Counts the probe message reaching its own handler.
class TProbeForm : public TForm {
public:
    using TForm::TForm;
    int Probes = 0;

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg == kProbe) {
            ++Probes;
            message.Result = 0x5151;
            return;
        }
        TForm::WndProc(message);
    }
};

TRect ClientBoundsOf(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

class MDIFormTest : public WindowHarness {
protected:
    void SetUp() override
    {
        WindowHarness::SetUp();
        ASSERT_EQ(Application->MainForm(), nullptr);
        Application->CreateForm(frame);
        frame->SetFormStyle(TFormStyle::fsMDIForm);
        frame->SetBounds(40, 40, 640, 480);
        frame->SetCaption(L"Frame");
    }
    void TearDown() override
    {
        for (int i = Application->ComponentCount() - 1; i >= 0; --i)
            if (auto* child = dynamic_cast<TProbeForm*>(Application->Components(i))) FreeObject(child);
        FreeObject(frame);
        Pump();
        WindowHarness::TearDown();
    }
    TProbeForm* Child(const String& caption, int left = 10, int top = 10)
    {
        auto* child = New<TProbeForm>(Application);
        child->SetFormStyle(TFormStyle::fsMDIChild);
        child->SetBounds(left, top, 200, 150);
        child->SetCaption(caption);
        child->Show();
        Pump();
        return child;
    }
    void ShowFrame()
    {
        frame->Show();
        SetForegroundWindow(frame->Handle());
        Pump();
    }
    TRect ClientArea() const
    {
        RECT area{};
        GetClientRect(frame->ClientHandle(), &area);
        return area;
    }

    TForm* frame = nullptr;
};

TEST_F(MDIFormTest, ChildrenAreBoundListedTopmostFirstAndActivatedThroughTheClient)
{
    ShowFrame();
    ASSERT_NE(frame->ClientHandle(), nullptr);
    EXPECT_EQ(frame->MDIChildCount(), 0);
    EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
    TProbeForm* first = Child(L"One");
    TProbeForm* second = Child(L"Two", 30, 30);
    TProbeForm* third = Child(L"Three", 50, 50);

    for (TProbeForm* child : {first, second, third}) {
        EXPECT_EQ(GetParent(child->Handle()), frame->ClientHandle());
        EXPECT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
        EXPECT_EQ(FindControl(child->Handle()), child);
        EXPECT_EQ(SendMessageW(child->Handle(), kProbe, 0, 0), 0x5151);
        EXPECT_EQ(child->Probes, 1) << "the child's window reaches its own object";
    }
    EXPECT_EQ(ClientBoundsOf(second->Handle()), TRect(30, 30, 230, 180)) << "placed in the client's coordinates";
    EXPECT_EQ(second->BoundsRect(), TRect(30, 30, 230, 180));

    ASSERT_EQ(frame->MDIChildCount(), 3);
    EXPECT_EQ(frame->MDIChildren(0), third);
    EXPECT_EQ(frame->MDIChildren(1), second);
    EXPECT_EQ(frame->MDIChildren(2), first);
    EXPECT_EQ(frame->ActiveMDIChild(), third);
    EXPECT_THROW(frame->MDIChildren(3), EListError);

    first->BringToFront();
    EXPECT_EQ(frame->ActiveMDIChild(), first);
    EXPECT_EQ(frame->MDIChildren(0), first);
    EXPECT_EQ(frame->MDIChildren(1), third);
    EXPECT_EQ(frame->MDIChildren(2), second);

    SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(third->Handle()), 0);
    EXPECT_EQ(frame->ActiveMDIChild(), third) << "the client's own activation is seen";
    first->BringToFront();

    // The frame's window made anew makes the children's anew, in their order.
    second->SetWindowState(TWindowState::wsMinimized);
    frame->RecreateWnd();
    Pump();
    ASSERT_EQ(frame->MDIChildCount(), 3);
    EXPECT_EQ(frame->MDIChildren(0), first);
    EXPECT_EQ(frame->MDIChildren(1), third);
    EXPECT_EQ(frame->MDIChildren(2), second);
    EXPECT_EQ(GetParent(third->Handle()), frame->ClientHandle());
    EXPECT_TRUE(IsIconic(second->Handle()));
    EXPECT_EQ(SendMessageW(third->Handle(), kProbe, 0, 0), 0x5151);

    // A plain form has no client and no children.
    EXPECT_EQ(form->ClientHandle(), nullptr);
    EXPECT_EQ(form->MDIChildCount(), 0);
    EXPECT_EQ(form->ActiveMDIChild(), nullptr);
}

TEST_F(MDIFormTest, AChildNeedsAnMDIFrameAsTheMainForm)
{
    TOwned<TForm> orphan = MakeOwned<TForm>(nullptr);
    orphan->SetFormStyle(TFormStyle::fsMDIChild);
    frame->SetFormStyle(TFormStyle::fsNormal);
    EXPECT_THROW(orphan->HandleNeeded(), Exception);
    EXPECT_FALSE(orphan->HandleAllocated());
    frame->SetFormStyle(TFormStyle::fsMDIForm);
    const HWND child = orphan->Handle();
    EXPECT_EQ(GetParent(child), frame->ClientHandle()) << "the frame's window is made on demand";
}

TEST_F(MDIFormTest, TheClientTakesWhatTheAlignedControlsLeave)
{
    auto* panel = New<TPanel>(frame);
    panel->SetParent(frame);
    panel->SetHeight(40);
    panel->SetAlign(TAlign::alTop);
    auto* status = New<TPanel>(frame);
    status->SetParent(frame);
    status->SetHeight(20);
    status->SetAlign(TAlign::alBottom);
    ShowFrame();
    const TRect area = frame->ClientRect();
    EXPECT_EQ(ClientBoundsOf(frame->ClientHandle()), TRect(0, 40, area.Width(), area.Height() - 20));
    EXPECT_EQ(panel->BoundsRect(), TRect(0, 0, area.Width(), 40));

    frame->SetBounds(40, 40, 500, 400);
    Pump();
    const TRect smaller = frame->ClientRect();
    ASSERT_NE(smaller.Width(), area.Width());
    EXPECT_EQ(ClientBoundsOf(frame->ClientHandle()), TRect(0, 40, smaller.Width(), smaller.Height() - 20))
        << "the frame's resize does not stretch the client over the panels";

    panel->Hide();
    status->SetHeight(30);
    Pump();
    EXPECT_EQ(ClientBoundsOf(frame->ClientHandle()), TRect(0, 0, smaller.Width(), smaller.Height() - 30));
    EXPECT_EQ(GetWindow(frame->ClientHandle(), GW_HWNDNEXT), nullptr) << "the client lies under the panels";
}

TEST_F(MDIFormTest, CascadeStaggersAndTileSharesTheClient)
{
    ShowFrame();
    TProbeForm* children[] = {Child(L"One"), Child(L"Two"), Child(L"Three")};
    const TRect area = ClientArea();

    frame->Cascade();
    Pump();
    std::vector<TRect> cascaded;
    for (int i = 0; i < 3; ++i) cascaded.push_back(frame->MDIChildren(i)->BoundsRect());
    // The topmost child lies furthest down and right, each one behind it a step back.
    for (int i = 0; i + 1 < 3; ++i) {
        EXPECT_GT(cascaded[i].Left, cascaded[i + 1].Left);
        EXPECT_GT(cascaded[i].Top, cascaded[i + 1].Top);
        EXPECT_EQ(cascaded[i].Left - cascaded[i + 1].Left, cascaded[i].Top - cascaded[i + 1].Top);
    }

    for (TTileMode mode : {TTileMode::tbHorizontal, TTileMode::tbVertical}) {
        frame->SetTileMode(mode);
        frame->Tile();
        Pump();
        int covered = 0;
        for (int i = 0; i < 3; ++i) {
            const TRect a = frame->MDIChildren(i)->BoundsRect();
            covered += a.Width() * a.Height();
            EXPECT_GE(a.Left, 0);
            EXPECT_GE(a.Top, 0);
            EXPECT_LE(a.Right, area.Right);
            EXPECT_LE(a.Bottom, area.Bottom);
            if (mode == TTileMode::tbHorizontal)
                EXPECT_EQ(a.Width(), area.Width()) << "horizontal tiles span the width";
            else
                EXPECT_EQ(a.Height(), area.Height()) << "vertical tiles span the height";
            for (int j = i + 1; j < 3; ++j) {
                RECT overlap{};
                const RECT ra = a, rb = frame->MDIChildren(j)->BoundsRect();
                EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb)) << "tiles do not overlap";
            }
        }
        EXPECT_GE(covered, area.Width() * area.Height() - 3 * area.Width()) << "tiles fill the client";
    }

    // A minimised child keeps out of the tiling, and the icons line up.
    children[0]->SetWindowState(TWindowState::wsMinimized);
    Pump();
    const TRect icon = children[0]->BoundsRect();
    frame->Tile();
    frame->ArrangeIcons();
    Pump();
    EXPECT_TRUE(IsIconic(children[0]->Handle()));
    EXPECT_EQ(children[0]->BoundsRect().Width(), icon.Width());
    EXPECT_GE(children[0]->BoundsRect().Top, children[1]->BoundsRect().Bottom);
}

TEST_F(MDIFormTest, WindowStateGoesThroughTheClient)
{
    ShowFrame();
    TProbeForm* first = Child(L"One", 20, 20);
    TProbeForm* second = Child(L"Two", 40, 40);
    const TRect area = ClientArea();

    second->SetWindowState(TWindowState::wsMaximized);
    Pump();
    BOOL maximised = FALSE;
    EXPECT_EQ(SendMessageW(frame->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)),
        reinterpret_cast<LRESULT>(second->Handle()));
    EXPECT_TRUE(maximised) << "the client knows its child maximised";
    EXPECT_TRUE(IsZoomed(second->Handle()));
    RECT inner{};
    GetClientRect(second->Handle(), &inner);
    EXPECT_EQ(inner.right, area.Width()) << "the child's client area fills the MDI client";
    EXPECT_EQ(inner.bottom, area.Height());

    // Activating another child keeps the maximised look, as the client does.
    SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
    Pump();
    EXPECT_TRUE(IsZoomed(first->Handle()));
    EXPECT_EQ(first->WindowState(), TWindowState::wsMaximized) << "followed from the window";

    first->SetWindowState(TWindowState::wsNormal);
    Pump();
    EXPECT_FALSE(IsZoomed(first->Handle()));
    EXPECT_EQ(first->BoundsRect(), TRect(20, 20, 220, 170));
    maximised = TRUE;
    SendMessageW(frame->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
    EXPECT_FALSE(maximised);

    // Set before the child shows, it is made in that state.
    auto* third = New<TProbeForm>(Application);
    third->SetFormStyle(TFormStyle::fsMDIChild);
    third->SetWindowState(TWindowState::wsMaximized);
    third->Show();
    Pump();
    EXPECT_TRUE(IsZoomed(third->Handle()));
    EXPECT_EQ(frame->ActiveMDIChild(), third);
    third->SetWindowState(TWindowState::wsNormal);
    Pump();

    first->SetWindowState(TWindowState::wsMinimized);
    Pump();
    EXPECT_TRUE(IsIconic(first->Handle()));
    EXPECT_EQ(first->WindowState(), TWindowState::wsMinimized);
    SendMessageW(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(first->Handle()), 0);
    Pump();
    EXPECT_EQ(first->WindowState(), TWindowState::wsNormal) << "the client's restore is followed";
}

TEST_F(MDIFormTest, ChildrenCloseAndGoThroughTheClient)
{
    ShowFrame();
    std::vector<UINT> told;
    TWindowSubclass watch(frame->ClientHandle(), [&](TMessage& message, const TSubclassNext& next) {
        if (message.Msg == WM_MDIDESTROY) told.push_back(message.Msg);
        next(message);
    });
    TProbeForm* first = Child(L"One");
    TProbeForm* second = Child(L"Two");
    TProbeForm* third = Child(L"Three");

    // Closed by default it goes to an icon; asked to, it frees itself.
    third->Close();
    Pump();
    EXPECT_TRUE(IsIconic(third->Handle()));
    bool freed = false;
    third->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    third->OnDestroy = [&](TObject*) { freed = true; };
    const HWND window = third->Handle();
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(freed);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(told.size(), 1u) << "the client destroyed it";
    EXPECT_EQ(frame->MDIChildCount(), 2);

    // Freed by the program, and made anew.
    second->RecreateWnd();
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(frame->MDIChildCount(), 2);
    FreeObject(second);
    EXPECT_EQ(told.size(), 3u);
    ASSERT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(frame->MDIChildren(0), first);
    EXPECT_EQ(frame->ActiveMDIChild(), first) << "the client activated the one left";
}

TEST_F(MDIFormTest, TheWindowMenuListsTheChildrenAcrossRebuilds)
{
    auto* menu = New<TMainMenu>(frame);
    auto item = [&](TMenuItem* parent, const String& caption) {
        auto* made = New<TMenuItem>(frame);
        made->SetCaption(caption);
        parent->Add(made);
        return made;
    };
    TMenuItem* file = item(menu->Items(), L"&File");
    item(file, L"E&xit");
    TMenuItem* windows = item(menu->Items(), L"&Window");
    bool tiled = false, made = false;
    item(windows, L"&Tile")->OnClick = [&](TObject*) { tiled = true; };
    TMenuItem* create = item(file, L"&New");
    create->SetShortCut(ShortCut('N', scCtrl));
    create->OnClick = [&](TObject*) { made = true; };
    frame->SetMenu(menu);
    frame->SetWindowMenu(windows);
    ShowFrame();
    TProbeForm* first = Child(L"One");
    Child(L"Two");

    auto listed = [&] {
        const HMENU sub = windows->SubMenuHandle();
        std::vector<UINT> ids;
        for (int i = 0; i < GetMenuItemCount(sub); ++i) ids.push_back(GetMenuItemID(sub, i));
        return ids;
    };
    std::vector<UINT> ids = listed();
    ASSERT_EQ(ids.size(), 4u) << "Tile, a line, and one entry per child";
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Post(first, WM_KEYDOWN, 'N', 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(made) << "a child's keys reach the frame's menu";
    EXPECT_LT(ids[0], FirstMDIChildId);
    EXPECT_EQ(ids[2], FirstMDIChildId);
    EXPECT_EQ(ids[3], FirstMDIChildId + 1);

    // Structure changes build the bar anew; the client lists into the new one.
    item(file, L"&Open");
    Pump();
    ids = listed();
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids[3], FirstMDIChildId + 1);

    // An entry's command activates its child; an item's still reaches the item.
    SendMessageW(frame->Handle(), WM_COMMAND, FirstMDIChildId, 0);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), first);
    SendMessageW(frame->Handle(), WM_COMMAND, ids[0], 0);
    Pump();
    EXPECT_TRUE(tiled);

    FreeObject(windows);
    EXPECT_EQ(frame->WindowMenu(), nullptr) << "dropped when the item goes";
}

TEST_F(MDIFormTest, TheLoopHandsTheChildKeysToTheClient)
{
    ShowFrame();
    TProbeForm* first = Child(L"One");
    TProbeForm* second = Child(L"Two");
    ASSERT_EQ(frame->ActiveMDIChild(), second);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Post(second, WM_KEYDOWN, VK_F6, 1);
    EXPECT_EQ(frame->ActiveMDIChild(), first) << "Ctrl+F6 went to the next child";

    // Keys of a window outside the frame stay with it.
    form->Show();
    Post(form.get(), WM_KEYDOWN, VK_F6, 1);
    EXPECT_EQ(frame->ActiveMDIChild(), first);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST_F(MDIFormTest, MenuCommandsStayBelowTheChildEntries)
{
    for (UINT i = 0; i < FirstMDIChildId + 16; ++i) {
        TOwned<TMenuItem> item = MakeOwned<TMenuItem>(nullptr);
        ASSERT_GT(item->Command(), 0u);
        ASSERT_LT(item->Command(), FirstMDIChildId);
    }
}

TEST_F(MDIFormTest, ASubclassEndsWithItsHolderOrWithTheWindow)
{
    frame->HandleNeeded();  // hidden: a shown frame's window would wait to be hidden
    std::vector<std::string> log;
    auto watcher = [&log](const std::string& name) {
        return [&log, name](TMessage& message, const TSubclassNext& next) {
            if (message.Msg == kProbe) log.push_back(name);
            next(message);
        };
    };
    auto older = std::make_unique<TWindowSubclass>(frame->ClientHandle(), watcher("older"));
    auto newer = std::make_unique<TWindowSubclass>(frame->ClientHandle(), watcher("newer"));
    SendMessageW(frame->ClientHandle(), kProbe, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"newer", "older"}));
    older.reset();
    log.clear();
    SendMessageW(frame->ClientHandle(), kProbe, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"newer"}));
    newer.reset();
    log.clear();
    SendMessageW(frame->ClientHandle(), kProbe, 0, 0);
    EXPECT_TRUE(log.empty());
    Child(L"One");
    EXPECT_EQ(frame->MDIChildCount(), 1) << "the client works on without them";

    // One that ends itself inside its own message.
    std::unique_ptr<TWindowSubclass> self;
    int seen = 0;
    self = std::make_unique<TWindowSubclass>(frame->ClientHandle(), [&](TMessage& message, const TSubclassNext& next) {
        if (message.Msg == kProbe) {
            ++seen;
            self.reset();
        }
        next(message);
    });
    SendMessageW(frame->ClientHandle(), kProbe, 0, 0);
    SendMessageW(frame->ClientHandle(), kProbe, 0, 0);
    EXPECT_EQ(seen, 1);

    // The window dies first.
    auto outlived = std::make_unique<TWindowSubclass>(frame->ClientHandle(), watcher("late"));
    frame->DestroyHandle();
    EXPECT_EQ(outlived->Window(), nullptr);
    outlived.reset();
    EXPECT_THROW(TWindowSubclass(nullptr, watcher("none")), Exception);
}

TEST_F(MDIFormTest, HandlesStayFlatOverChildrenOpenedAndClosed)
{
    ShowFrame();
    auto cycle = [&] {
        TProbeForm* child = Child(L"Cycle");
        child->SetWindowState(TWindowState::wsMaximized);
        Pump();
        FreeObject(child);
        Pump();
    };
    cycle();
    const int gdi = CountGdiObjects(), windows = CountThreadWindows(), icons = CountIconHandles();
    for (int i = 0; i < 100; ++i) cycle();
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountThreadWindows(), windows);
    EXPECT_EQ(CountIconHandles(), icons);
    EXPECT_EQ(frame->MDIChildCount(), 0);
}

}  // namespace
