// The tool bar as a menu bar: buttons from menu items in order, the
// custom-draw events with their states, and, through the system's menu
// loop, drop-downs opened by click and by Alt+letter, items chosen by
// key, moving to the next button, and rebuilding while one is open.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "MenuRobot.h"
#include "ToolBar.h"
#include "WindowHarness.h"

namespace {

// Gives each drop-down a handler as the bar learns of it, as a menu bar
// that copies its menu's settings into the drop-down does.
class TWatchingBar : public TToolBar {
public:
    using TToolBar::TToolBar;
    int Popups = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TToolBar::Notification(component, operation);
        auto* popup = dynamic_cast<TPopupMenu*>(component);
        if (operation == TOperation::opInsert && popup && popup->Owner() == this)
            popup->OnPopup = [this](TObject*) { ++Popups; };
    }
};

class ToolBarTest : public WindowHarness {
protected:
    void SetUp() override
    {
        WindowHarness::SetUp();
        menu = New<TPopupMenu>(form.get());
        for (const wchar_t* top : {L"&File", L"&Edit", L"Hidden", L"&View"}) {
            TMenuItem* item = New<TMenuItem>(form.get());
            item->SetCaption(top);
            menu->Items()->Add(item);
        }
        menu->Items()->Items(2)->SetVisible(false);
        AddSubItems(menu->Items()->Items(0), {L"&New", L"E&xit"});
        AddSubItems(menu->Items()->Items(1), {L"&Cut", L"C&opy", L"&Paste"});
        AddSubItems(menu->Items()->Items(3), {L"&Zoom"});
        bar = New<TWatchingBar>(form.get());
        bar->SetParent(form.get());
        bar->SetShowCaptions(true);
        bar->SetFlat(true);
        Rebuild();
    }
    void AddSubItems(TMenuItem* parent, std::initializer_list<const wchar_t*> captions)
    {
        for (const wchar_t* caption : captions) {
            TMenuItem* item = New<TMenuItem>(form.get());
            item->SetCaption(caption);
            item->OnClick = [this, caption](TObject*) { clicks.push_back(caption); };
            parent->Add(item);
        }
    }
    // As a menu-bar owner does it: free every button, then make one per
    // top item from the last to the first, each at (0, 0).
    void Rebuild()
    {
        bar->SetAutoSize(false);
        while (bar->ButtonCount() > 0) FreeObject(bar->Buttons(0));
        for (int i = menu->Items()->Count() - 1; i >= 0; --i) {
            auto* button = New<TToolButton>(form.get());
            button->SetParent(bar);
            button->SetGrouped(true);
            button->SetMenuItem(menu->Items()->Items(i));
            button->SetAutoSize(true);
        }
        bar->SetAutoSize(true);
    }
    void Click(int index)
    {
        const TRect bounds = bar->Buttons(index)->BoundsRect();
        Hover(bar, bounds.Left + 4, bounds.Top + 4);
        Press(bar, bounds.Left + 4, bounds.Top + 4);
        Pump();
    }

    TPopupMenu* menu = nullptr;
    TWatchingBar* bar = nullptr;
    std::vector<std::wstring> clicks;
};

TEST_F(ToolBarTest, ButtonsFollowTheMenuInOrderAlongTheTop)
{
    ShowForm();
    ASSERT_EQ(bar->ButtonCount(), 4);
    const wchar_t* captions[] = {L"&File", L"&Edit", L"Hidden", L"&View"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar->Buttons(i)->Caption(), captions[i]);
        EXPECT_EQ(bar->Buttons(i)->Index(), i);
        EXPECT_TRUE(bar->Buttons(i)->Grouped());
    }
    EXPECT_FALSE(bar->Buttons(2)->Visible());
    EXPECT_EQ(bar->Buttons(0)->Left(), 0);
    EXPECT_EQ(bar->Buttons(1)->Left(), bar->Buttons(0)->Width());
    EXPECT_EQ(bar->Buttons(3)->Left(), bar->Buttons(1)->Left() + bar->Buttons(1)->Width());  // the hidden one takes no room
    EXPECT_GT(bar->Buttons(0)->Width(), bar->Canvas().TextWidth(L"File"));
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    EXPECT_EQ(bar->Height(), bar->Buttons(0)->Height());

    // A menu item that changes afterwards is not the button's business
    // until the owner copies it; a freed item leaves the button alone.
    FreeObject(menu->Items()->Items(3));
    EXPECT_EQ(bar->Buttons(3)->MenuItem(), nullptr);
}

TEST_F(ToolBarTest, RightToLeftTheButtonsStartAtTheRightEdgeAndLeftMovesOn)
{
    struct Restore {
        ~Restore() { SysLocale.MiddleEast = false; }
    } restore;
    SysLocale.MiddleEast = true;
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);  // the bar follows its form
    ASSERT_EQ(bar->BiDiMode(), TBiDiMode::bdRightToLeft);
    ShowForm();
    const int width = bar->ClientWidth();
    EXPECT_EQ(bar->Buttons(0)->Left() + bar->Buttons(0)->Width(), width);
    EXPECT_EQ(bar->Buttons(1)->Left() + bar->Buttons(1)->Width(), bar->Buttons(0)->Left());
    form->SetWidth(form->Width() - 40);
    EXPECT_EQ(bar->Buttons(0)->Left() + bar->Buttons(0)->Width(), width - 40);
    Post(form.get(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    KeyDown(bar, VK_LEFT);
    EXPECT_EQ(bar->HotButton(), bar->Buttons(1));
    KeyDown(bar, VK_ESCAPE);
}

TEST_F(ToolBarTest, CustomDrawSeesHotAndSelectedAndCanTakeOverTheDrawing)
{
    auto* plain = New<TToolButton>(form.get());
    plain->SetCaption(L"Plain");
    plain->SetLeft(500);
    plain->SetParent(bar);
    bool pressedClick = false;
    plain->OnClick = [&](TObject*) { pressedClick = true; };
    std::vector<TCustomDrawState> states(5);
    int backgrounds = 0;
    bar->OnCustomDraw = [&](TToolBar* sender, const TRect& rect, bool& defaultDraw) {
        ++backgrounds;
        EXPECT_EQ(rect, sender->ClientRect());
        EXPECT_TRUE(defaultDraw);
        sender->Canvas().Brush().SetColor(clNavy);
        sender->Canvas().FillRect(rect);
    };
    bar->OnCustomDrawButton = [&](TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw) {
        states.at(static_cast<size_t>(button->Index())) = state;
        defaultDraw = false;
        if (state & (cdsHot | cdsSelected)) {
            sender->Canvas().Brush().SetColor(state & cdsSelected ? clRed : clLime);
            sender->Canvas().FillRect(button->BoundsRect());
        }
    };
    ShowForm();
    ASSERT_EQ(plain->Index(), 4);
    const TRect bounds = plain->BoundsRect();
    const int x = bounds.Left + 3, y = bounds.Top + 3;

    auto idle = Snapshot(bar);
    EXPECT_GT(backgrounds, 0);
    EXPECT_EQ(idle->Canvas().Pixels(x, y), clNavy);
    EXPECT_EQ(states[4], 0u);

    Hover(bar, x, y);
    EXPECT_EQ(bar->HotButton(), plain);
    EXPECT_EQ(Snapshot(bar)->Canvas().Pixels(x, y), clLime);
    EXPECT_EQ(states[4], cdsHot);
    EXPECT_EQ(states[0], 0u);

    Press(bar, x, y);
    EXPECT_EQ(Snapshot(bar)->Canvas().Pixels(x, y), clRed);
    EXPECT_EQ(states[4], cdsHot | cdsSelected);
    Release(bar, x, y);
    EXPECT_TRUE(pressedClick);

    plain->SetEnabled(false);
    Snapshot(bar);
    EXPECT_EQ(states[4] & cdsDisabled, cdsDisabled);
}

TEST_F(ToolBarTest, AClickOpensTheDropDownAndAKeyChoosesAnItem)
{
    ShowForm();
    MenuRobot robot(Steps{{VK_DOWN, VK_DOWN, VK_RETURN}});
    Click(1);
    robot.Join();
    Pump();
    ASSERT_EQ(robot.counts, std::vector<int>{3});
    EXPECT_EQ(clicks, std::vector<std::wstring>{L"C&opy"});
    EXPECT_EQ(bar->Popups, 1);
    EXPECT_EQ(bar->DroppedButton(), nullptr);
    EXPECT_EQ(bar->DropDown(), nullptr);  // the temporary popup is gone
}

// Asked by the robot, moves the mouse onto a point from the GUI thread,
// inside its menu loop: only that thread's move reaches the display, so
// the system does not put the cursor back where it was.
std::atomic<bool> g_MoveMouse{false};
POINT g_MoveTo{};
void CALLBACK MoveMouseWhenAsked(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_MoveMouse.exchange(false)) return;
    SetCursorPos(g_MoveTo.x, g_MoveTo.y);
    if (HWND menu = FindMenuWindow(GetCurrentThreadId())) PostMessageW(menu, WM_MOUSEMOVE, 0, 0);
}

// Hot tracking: with a drop-down opened by the mouse, moving the mouse
// onto another button opens that one's.
TEST_F(ToolBarTest, MovingTheMouseOntoAnotherButtonOpensItsDropDown)
{
    ShowForm();
    for (int i = 0; i < bar->ButtonCount(); ++i)
        if (bar->Buttons(i)->MenuItem() == menu->Items()->Items(3)) {
            const TRect view = bar->Buttons(i)->BoundsRect();
            const TPoint at = bar->ClientToScreen(TPoint(view.Left + 4, view.Top + 4));
            g_MoveTo = POINT{at.X, at.Y};
        }
    const DWORD gui = GetCurrentThreadId();
    const auto itemsShown = [gui] {
        const HWND menu = FindMenuWindow(gui);
        const HMENU handle = menu ? reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0)) : nullptr;
        return handle ? GetMenuItemCount(handle) : 0;
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, MoveMouseWhenAsked);
    std::vector<int> counts;
    TDialogRobot robot([&] {
        int count = 0;
        if (!WaitForMenu(gui, count, "Edit's drop-down")) return;
        counts.push_back(count);
        g_MoveMouse = true;  // onto View
        if (!RobotWait([&] { return itemsShown() == 1; }, "View's drop-down")) return;
        counts.push_back(itemsShown());
        PostMessageW(FindMenuWindow(gui), WM_KEYDOWN, VK_ESCAPE, 1);
        RobotWait([&] { return !FindMenuWindow(gui); }, "the drop-down to close");
    });
    Click(1);
    robot.Join();
    KillTimer(nullptr, timer);
    Pump();
    EXPECT_EQ(counts, (std::vector<int>{3, 1}));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ToolBarTest, AltLetterOpensItsButtonsDropDownAndArrowsMoveOn)
{
    ShowForm();
    // Edit, then right (past the hidden button) to View, then right again
    // round to File.
    MenuRobot robot(Steps{{VK_RIGHT}, {VK_RIGHT}, {VK_ESCAPE}});
    Post(form.get(), WM_SYSCHAR, L'e', kAltKeyData);
    robot.Join();
    Pump();
    EXPECT_EQ(robot.counts, (std::vector<int>{3, 1, 2}));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ToolBarTest, AMouseRestingOverAnotherButtonLeavesADropDownOpenedByKeyWhereItIs)
{
    ShowForm();
    const TRect file = bar->Buttons(0)->BoundsRect();
    Hover(bar, file.Left + 4, file.Top + 4);
    const DWORD gui = GetCurrentThreadId();
    std::vector<int> counts;
    TDialogRobot robot([&] {
        int count = 0;
        HWND menu = WaitForMenu(gui, count, "Edit's drop-down");
        if (!menu) return;
        counts.push_back(count);
        PostMessageW(menu, WM_MOUSEMOVE, 0, 0);  // the system's move for a window appearing under the mouse
        Sleep(300);                              // time for a wrong switch to happen: none may
        if (!(menu = WaitForMenu(gui, count, "the drop-down after the move"))) return;
        counts.push_back(count);
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    Post(form.get(), WM_SYSCHAR, L'e', kAltKeyData);
    robot.Join();
    Pump();
    EXPECT_EQ(counts, (std::vector<int>{3, 3}));
}

TEST_F(ToolBarTest, F10EntersTheBarAndArrowsWalkIt)
{
    auto* edit = Add<TCustomControl>(10, 100, 50, 20);
    edit->SetTabStop(true);
    ShowForm();
    edit->SetFocus();
    Post(form.get(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(bar->InMenuMode());
    EXPECT_EQ(bar->HotButton(), bar->Buttons(0));
    KeyDown(bar, VK_LEFT);
    EXPECT_EQ(bar->HotButton(), bar->Buttons(3));  // wraps round, past the hidden one
    KeyDown(bar, VK_ESCAPE);
    EXPECT_FALSE(bar->InMenuMode());
    EXPECT_TRUE(edit->Focused());

    MenuRobot robot(Steps{{VK_DOWN, VK_RETURN}});
    Post(form.get(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    KeyDown(bar, VK_DOWN);
    robot.Join();
    Pump();
    EXPECT_EQ(robot.counts, std::vector<int>{2});
    EXPECT_EQ(clicks, std::vector<std::wstring>{L"&New"});
    EXPECT_FALSE(bar->InMenuMode());
}

TEST_F(ToolBarTest, RebuildingWhileADropDownIsOpenIsSafe)
{
    ShowForm();
    int deferredRuns = 0;
    bool ranAtOnce = true;
    bool openWhenDeferred = true;
    std::atomic<bool> rebuilt = false;
    auto* timer = New<TTimer>(form.get());
    timer->SetInterval(50);
    timer->SetOnTimer([&](TObject*) {
        if (!FindMenuWindow(GetCurrentThreadId())) return;  // a slow machine: not open yet
        timer->SetEnabled(false);
        Rebuild();  // frees the button whose drop-down is open
        bar->AfterDropDown([&] {
            ++deferredRuns;
            openWhenDeferred = bar->DroppedButton() != nullptr;
            Rebuild();
        });
        ranAtOnce = deferredRuns != 0;
        rebuilt = true;
    });
    timer->SetEnabled(true);
    MenuRobot robot(Steps{{VK_ESCAPE}}, [&] { return rebuilt.load(); });
    Click(0);
    robot.Join();
    Pump();
    EXPECT_EQ(robot.counts, std::vector<int>{2});
    EXPECT_FALSE(ranAtOnce);
    EXPECT_EQ(deferredRuns, 1);
    EXPECT_FALSE(openWhenDeferred);
    ASSERT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(bar->Buttons(1)->Caption(), L"&Edit");
    EXPECT_EQ(bar->DroppedButton(), nullptr);
}

}  // namespace
