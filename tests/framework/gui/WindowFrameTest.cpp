// A window's frame changed while it lives: recreation announced, border
// styles restyled in place, the inner border width, scrolling the children,
// and the panel's bevels and border.
#include "WindowHarness.h"

#include <string>
#include <vector>

#include "Messages.h"

namespace {

class WindowFrameTest : public WindowHarness {};

DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }
DWORD ExStyle(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }

}  // namespace

TEST_F(WindowFrameTest, RecreationIsAnnouncedThroughTheWindowProcedure)
{
    const HWND first = form->Handle();
    std::vector<HWND> seen;
    const TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](TMessage& message) {
        if (message.Msg == CM_RECREATEWND) seen.push_back(form->HandleAllocated() ? form->Handle() : nullptr);
        previous(message);
    };
    form->RecreateWnd();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], first) << "announced before the old window goes";
    EXPECT_NE(form->Handle(), first);
    form->WindowProc = previous;
}

TEST_F(WindowFrameTest, ALiveFormIsRestyledAndKeepsWhatItHolds)
{
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    ShowForm();
    const HWND window = form->Handle();
    SetWindowRgn(window, CreateRectRgn(0, 0, 50, 50), TRUE);
    HICON icon = LoadIconW(nullptr, IDI_WARNING);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    int recreations = 0;
    const TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](TMessage& message) {
        recreations += message.Msg == CM_RECREATEWND;
        previous(message);
    };

    struct Case {
        TFormBorderStyle style;
        DWORD has, hasNot, exHas;
    } cases[] = {
        {TFormBorderStyle::bsSizeToolWin, WS_CAPTION | WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
        {TFormBorderStyle::bsDialog, WS_CAPTION, WS_THICKFRAME, WS_EX_DLGMODALFRAME},
        {TFormBorderStyle::bsNone, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0},
        {TFormBorderStyle::bsSizeable, WS_CAPTION | WS_THICKFRAME, WS_POPUP, 0},
    };
    for (const Case& c : cases) {
        form->SetBorderStyle(c.style);
        const int name = static_cast<int>(c.style);
        EXPECT_EQ(form->Handle(), window) << name;
        EXPECT_EQ(Style(window) & (c.has | c.hasNot), c.has) << name;
        EXPECT_EQ(ExStyle(window) & c.exHas, c.exHas) << name;
        EXPECT_TRUE(Style(window) & WS_VISIBLE) << name;
        EXPECT_EQ(form->ClientRect().Width(), 300) << name;
        EXPECT_EQ(form->ClientRect().Height(), 200) << name;
    }
    EXPECT_EQ(recreations, 0);
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(window, region.get()), SIMPLEREGION);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), icon);
    form->WindowProc = previous;
}

TEST_F(WindowFrameTest, BorderWidthNarrowsTheClientAreaAndScrollByMovesChildren)
{
    form->SetColor(clRed);
    auto* panel = Add<TPanel>(10, 20, 50, 40);
    auto* graphic = Add<TGraphicControl>(70, 5, 10, 10);
    ShowForm();
    const TRect before = form->ClientRect();
    form->SetBorderWidth(6);
    EXPECT_EQ(form->ClientRect().Width(), before.Width() - 12);
    EXPECT_EQ(form->ClientRect().Height(), before.Height() - 12);
    EXPECT_EQ(panel->ClientToScreen(TPoint(0, 0)).X - form->ClientToScreen(TPoint(0, 0)).X, 10);
    form->SetBorderWidth(-3);
    EXPECT_EQ(form->BorderWidth(), 0);
    EXPECT_EQ(form->ClientRect().Width(), before.Width());

    form->ScrollBy(-4, 7);
    EXPECT_EQ(panel->BoundsRect(), Rect(6, 27, 56, 67));
    EXPECT_EQ(graphic->BoundsRect(), Rect(66, 12, 76, 22));
    POINT corner{0, 0};
    MapWindowPoints(panel->Handle(), form->Handle(), &corner, 1);
    EXPECT_EQ(corner.x, 6) << "the window moved with the object";
}

TEST_F(WindowFrameTest, PanelBevelsAndBorder)
{
    auto* panel = Add<TPanel>(10, 10, 40, 30);
    panel->SetColor(clWhite);
    panel->SetBevelOuter(TBevelCut::bvNone);
    auto plain = Snapshot(panel);
    EXPECT_EQ(plain->Canvas().Pixels(0, 0), clWhite);
    EXPECT_EQ(plain->Canvas().Pixels(1, 1), clWhite);

    panel->SetBevelOuter(TBevelCut::bvRaised);
    panel->SetBevelInner(TBevelCut::bvLowered);
    auto both = Snapshot(panel);
    EXPECT_EQ(both->Canvas().Pixels(0, 0), ColorToRGB(clBtnHighlight)) << "outer: raised";
    EXPECT_EQ(both->Canvas().Pixels(1, 1), ColorToRGB(clBtnShadow)) << "inner: lowered, inside the outer";
    EXPECT_EQ(both->Canvas().Pixels(2, 2), clWhite);

    const HWND window = panel->Handle();
    panel->SetBorderStyle(TBorderStyle::bsSingle);
    EXPECT_EQ(panel->Handle(), window);
    EXPECT_TRUE(Style(window) & WS_BORDER);
    EXPECT_EQ(panel->ClientRect().Width(), 38);
    panel->SetBorderStyle(TBorderStyle::bsNone);
    EXPECT_FALSE(Style(window) & WS_BORDER);
}
