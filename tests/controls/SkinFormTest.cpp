// The skin form: shape, size, painting, moving the window, and the skin
// control that cuts another control.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "HandleCounts.h"
#include "KYPSkinControl.h"
#include "KYPSkinForm.h"
#include "MenuItems.h"
#include "MenuRobot.h"
#include "PollUntil.h"
#include "PumpUntil.h"

namespace {

constexpr TColor kKey = 15866506;  // the recorder's background colour

// A disc of the given diameter on the key colour.
void DrawDisc(TBitmap& bitmap, int size)
{
    bitmap.SetSize(size, size);
    const double r = size / 2.0;
    const uint32_t key = ((kKey & 0xFF) << 16) | (kKey & 0xFF00) | ((kKey >> 16) & 0xFF);  // 0x00RRGGBB
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - r, dy = y + 0.5 - r;
            bitmap.ScanLine(y)[x] = dx * dx + dy * dy <= r * r ? 0x203050u : key;
        }
}

// The user's mouse at a point of the screen, with the buttons given: input
// the system takes as the device's own, which its move loop follows.
void MouseInput(TPoint screen, DWORD buttons = 0)
{
    // Absolute input runs from 0 to 65536 over the screen; rounded up, it
    // lands on the pixel itself.
    const auto scale = [](LONG pixel, int extent) { return (pixel * 65536 + extent - 1) / extent; };
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = scale(screen.X, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = scale(screen.Y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

TRect WindowBounds(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds;
}

bool InMoveLoop(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
}

bool RegionContains(HWND window, int x, int y)
{
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR) return false;
    return PtInRegion(region.get(), x, y) != 0;
}

class SkinFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        form = MakeOwned<TForm>(nullptr);
        skin = New<TkypSkinForm>(form.get());
        skin->SetParent(form.get());
        DrawDisc(picture, 539);
    }

    // Watches the form's messages; the system's move loop is not started.
    void WatchForm()
    {
        TWndMethod previous = form->WindowProc;
        form->WindowProc = [this, previous](TMessage& message) {
            if (message.Msg == WM_NCLBUTTONDOWN) {
                moves.push_back(message.WParam);
                return;
            }
            if (message.Msg == WM_CONTEXTMENU) ++contextMenus;
            previous(message);
        };
    }

    TOwned<TForm> form;
    TkypSkinForm* skin = nullptr;
    TBitmap picture;
    std::vector<WPARAM> moves;
    int contextMenus = 0;
};

TEST_F(SkinFormTest, MakesItsFormBorderlessAndShapesAndSizesItToThePicture)
{
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsNone);
    EXPECT_EQ(skin->TransparentColor(), 16711935);
    skin->SetBounds(7, 9, 10, 10);
    int changes = 0;
    skin->OnRegionChanged = [&](TObject*) { ++changes; };

    skin->Glyph()->Assign(&picture);  // as a description loads it: no shape yet
    EXPECT_FALSE(form->HandleAllocated());
    skin->SetTransparentColor(kKey);

    EXPECT_EQ(changes, 1);
    EXPECT_EQ(skin->BoundsRect(), TRect(0, 0, 539, 539));
    EXPECT_EQ(form->ClientWidth(), 539);
    EXPECT_EQ(form->ClientHeight(), 539);
    EXPECT_FALSE(form->HandleAllocated());  // made when first needed, shaped then
    EXPECT_TRUE(RegionContains(form->Handle(), 269, 269));
    EXPECT_TRUE(RegionContains(form->Handle(), 269, 1));
    EXPECT_FALSE(RegionContains(form->Handle(), 2, 2));  // a corner outside the disc
}

TEST_F(SkinFormTest, AnEmptyPictureChangesNothingAndPaintsAFrame)
{
    skin->SetBounds(0, 0, 200, 100);
    skin->SetTransparentColor(kKey);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_EQ(skin->Width(), 200);

    TBitmap target;
    target.SetSize(200, 100);
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect(TRect(0, 0, 200, 100));
    skin->Perform(WM_PAINT, reinterpret_cast<WPARAM>(target.Canvas().Handle()), 0);
    EXPECT_EQ(target.Canvas().Pixels(0, 50), clBlack);
    EXPECT_EQ(target.Canvas().Pixels(199, 99), clBlack);
    EXPECT_EQ(target.Canvas().Pixels(100, 50), clWhite);
}

TEST_F(SkinFormTest, TheRegionIsReappliedWhenTheFormWindowIsRecreated)
{
    skin->SetGlyph(&picture);
    skin->SetTransparentColor(kKey);
    form->RecreateWnd();
    EXPECT_TRUE(RegionContains(form->Handle(), 269, 269));
    EXPECT_FALSE(RegionContains(form->Handle(), 2, 2));
}

TEST_F(SkinFormTest, OnlyALeftPressStartsMovingTheWindow)
{
    skin->SetGlyph(&picture);
    skin->SetTransparentColor(kKey);
    WatchForm();
    std::vector<TMouseButton> pressed;
    skin->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int, int) { pressed.push_back(button); };
    form->Show();

    SendMessageW(form->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(200, 200));
    SendMessageW(form->Handle(), WM_MBUTTONUP, 0, MAKELPARAM(200, 200));
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
    EXPECT_EQ(moves, (std::vector<WPARAM>{HTCAPTION}));
    EXPECT_EQ(pressed, (std::vector<TMouseButton>{TMouseButton::mbMiddle, TMouseButton::mbLeft}));
    EXPECT_NE(GetCapture(), form->Handle());
}

TEST_F(SkinFormTest, ARightClickBringsTheContextMenuAndNoMove)
{
    skin->SetGlyph(&picture);
    skin->SetTransparentColor(kKey);
    WatchForm();
    form->Show();
    SendMessageW(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 200));
    SendMessageW(form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(200, 200));
    Application->ProcessMessages();
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(contextMenus, 1);
}

// With the user's own mouse: the system's move loop, once started, holds
// the GUI thread until a left release, so a robot thread gives the input
// and ends with a left release whatever happened before.
TEST_F(SkinFormTest, TheWindowFollowsALeftDragAndStaysAfterARightClickAndItsMenu)
{
    skin->SetGlyph(&picture);
    skin->SetTransparentColor(kKey);
    auto* menu = New<TPopupMenu>(form.get());
    AddItem(menu->Items(), L"Play");
    skin->SetPopupMenu(menu);
    std::atomic<int> lastMoveX{-1};
    skin->OnMouseMove = [&](TObject*, TShiftState, int x, int) { lastMoveX = x; };
    form->SetBounds(100, 100, form->Width(), form->Height());
    form->Show();
    SetForegroundWindow(form->Handle());
    Application->ProcessMessages();
    const HWND window = form->Handle();
    TRect home = WindowBounds(window);
    const TPoint press = form->ClientToScreen(TPoint(200, 200));
    const DWORD guiThread = GetCurrentThreadId();

    std::atomic<bool> done{false};
    bool menuShown = false, movesArrived = false, followedDrag = false;
    TRect afterMenu;
    std::thread robot([&] {
        MouseInput(press);
        MouseInput(press, MOUSEEVENTF_RIGHTDOWN);
        MouseInput(press, MOUSEEVENTF_RIGHTUP);
        int items = 0;
        if (HWND shown = WaitForMenu(guiThread, items)) {
            menuShown = true;
            PostMessageW(shown, WM_KEYDOWN, VK_ESCAPE, 1);
            PollUntil([shown] { return !IsWindowVisible(shown); }, 2000);
        }
        MouseInput(TPoint(press.X + 40, press.Y + 30));
        MouseInput(TPoint(press.X + 80, press.Y + 60));
        // Either the window follows or the form hears the last move.
        movesArrived = PollUntil([&] { return lastMoveX == 280 || WindowBounds(window) != home; }, 3000);
        MouseInput(TPoint(press.X + 80, press.Y + 60), MOUSEEVENTF_LEFTUP);
        PollUntil([&] { return !InMoveLoop(guiThread); }, 3000);
        afterMenu = WindowBounds(window);

        MouseInput(press, MOUSEEVENTF_LEFTDOWN);
        if (PollUntil([&] { return InMoveLoop(guiThread); }, 3000)) {
            MouseInput(TPoint(press.X + 40, press.Y + 30));
            followedDrag = PollUntil([&] { return WindowBounds(window).Left == home.Left + 40; }, 3000);
        }
        MouseInput(TPoint(press.X + 40, press.Y + 30), MOUSEEVENTF_LEFTUP);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 20000, "the robot's clicks");
    robot.join();
    Application->ProcessMessages();

    EXPECT_TRUE(menuShown);
    EXPECT_TRUE(movesArrived);
    EXPECT_EQ(afterMenu, home);
    EXPECT_TRUE(followedDrag);
    home.Offset(40, 30);
    EXPECT_EQ(WindowBounds(window), home);
}

TEST_F(SkinFormTest, WithAnOwnerThatIsNoFormItOnlyPaints)
{
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    auto* lone = New<TkypSkinForm>(owner.get());
    EXPECT_EQ(lone->Form(), nullptr);
    ASSERT_NE(lone->Glyph(), nullptr);
    lone->SetGlyph(&picture);
    lone->SetTransparentColor(kKey);
    EXPECT_EQ(lone->Width(), 539);
    TBitmap target;
    target.SetSize(539, 539);
    lone->Perform(WM_PAINT, reinterpret_cast<WPARAM>(target.Canvas().Handle()), 0);
    EXPECT_EQ(target.Canvas().Pixels(269, 269), static_cast<TColor>(RGB(0x20, 0x30, 0x50)));
    // A press reaches OnMouseDown and, with no form to move, nothing else.
    int presses = 0;
    lone->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
    lone->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(presses, 1);
}

TEST_F(SkinFormTest, PaintingAThousandTimesLeaksNoHandles)
{
    skin->SetGlyph(&picture);
    skin->SetTransparentColor(kKey);
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Application->ProcessMessages();
    const int gdi = CountGdiObjects(), windows = CountThreadWindows(), icons = CountIconHandles();
    for (int i = 0; i < 1000; ++i) RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Application->ProcessMessages();
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountThreadWindows(), windows);
    EXPECT_EQ(CountIconHandles(), icons);
}

TEST_F(SkinFormTest, TheFormShowsThePicture)
{
    skin->SetGlyph(&picture);
    skin->SetTransparentColor(kKey);
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    TClientDC dc(form->Handle());
    EXPECT_EQ(GetPixel(dc.Handle(), 269, 269), RGB(0x20, 0x30, 0x50));
}

class SkinControlTest : public SkinFormTest {};

TEST_F(SkinControlTest, CutsAndSizesItsControlWhenAllThreeAreSet)
{
    auto* button = New<TCustomControl>(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 5, 5);
    auto* shaper = New<TkypSkinControl>(form.get());
    int changes = 0;
    shaper->OnRegionChanged = [&](TObject*) { ++changes; };
    TBitmap disc;
    DrawDisc(disc, 40);

    shaper->SetTransparentColor(kKey);  // no control, no picture: nothing
    shaper->SetControl(button);         // still no picture
    EXPECT_EQ(button->Width(), 5);
    shaper->SetGlyph(&disc);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(button->BoundsRect(), Bounds(10, 10, 40, 40));
    EXPECT_FALSE(button->HandleAllocated());  // shaped when the form makes it
    form->HandleNeeded();
    EXPECT_TRUE(RegionContains(button->Handle(), 20, 20));
    EXPECT_FALSE(RegionContains(button->Handle(), 1, 1));

    button->RecreateWnd();
    EXPECT_TRUE(RegionContains(button->Handle(), 20, 20));
    EXPECT_FALSE(RegionContains(button->Handle(), 1, 1));
}

TEST_F(SkinControlTest, DropsAControlOfAnotherOwnerWhenItIsFreed)
{
    TOwned<TForm> otherForm = MakeOwned<TForm>(nullptr);
    auto* button = New<TCustomControl>(otherForm.get());
    auto* shaper = New<TkypSkinControl>(form.get());
    TBitmap disc;
    DrawDisc(disc, 30);
    shaper->SetGlyph(&disc);
    shaper->SetControl(button);
    EXPECT_EQ(button->Width(), 30);

    FreeObject(button);
    EXPECT_EQ(shaper->Control(), nullptr);
    shaper->SetTransparentColor(clBlack);  // still usable

    // And the other way round: a freed shaper leaves its control alone.
    auto* second = New<TCustomControl>(otherForm.get());
    shaper->SetControl(second);
    FreeObject(shaper);
    second->RecreateWnd();
    EXPECT_EQ(second->Width(), 30);
}

}  // namespace
