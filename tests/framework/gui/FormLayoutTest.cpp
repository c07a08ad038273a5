// Laying out a form: aligned children.
#include "WindowHarness.h"

namespace {

class LayoutTest : public WindowHarness {
protected:
    template <class T = TPanel>
    T* Aligned(TAlign align, int left, int top, int width, int height)
    {
        T* control = Add<T>(left, top, width, height);
        control->SetAlign(align);
        return control;
    }
};

}  // namespace

TEST_F(LayoutTest, AlignedChildrenShareTheClientAreaEdgesFirst)
{
    auto* top = Aligned(TAlign::alTop, 5, 0, 10, 30);
    auto* client = Aligned(TAlign::alClient, 0, 0, 1, 1);
    auto* lower = Aligned(TAlign::alTop, 0, 50, 10, 20);
    auto* bottom = Aligned(TAlign::alBottom, 0, 0, 10, 40);
    auto* left = Aligned<TGraphicControl>(TAlign::alLeft, 0, 0, 50, 10);
    auto* right = Aligned(TAlign::alRight, 0, 0, 60, 10);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 420, 30));
    EXPECT_EQ(lower->BoundsRect(), Rect(0, 30, 420, 50));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 260, 420, 300));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 50, 50, 260));
    EXPECT_EQ(right->BoundsRect(), Rect(360, 50, 420, 260));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 50, 360, 260));

    ShowForm();
    form->SetBounds(60, 60, 500, 400);  // the window's WM_SIZE lays out again
    Pump();
    EXPECT_EQ(client->BoundsRect(), Rect(50, 50, 440, 360));
    EXPECT_EQ(bottom->Top(), 360);

    top->SetHeight(10);
    EXPECT_EQ(lower->Top(), 10);
    lower->Hide();
    EXPECT_EQ(client->Top(), 10);
    // A control aligned anew goes first among those at its place.
    auto* first = Aligned(TAlign::alTop, 0, 0, 10, 5);
    EXPECT_EQ(first->Top(), 0);
    EXPECT_EQ(top->Top(), 5);
    FreeObject(first);
    EXPECT_EQ(top->Top(), 0);

    ShowWindow(form->Handle(), SW_MINIMIZE);  // a minimised form keeps its layout
    Pump();
    EXPECT_EQ(client->BoundsRect(), Rect(50, 10, 440, 360));
}

TEST_F(LayoutTest, ConstraintsHoldForSetBoundsAndForTheSystemsSizing)
{
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    form->Constraints().SetMinWidth(300);
    form->Constraints().SetMinHeight(200);
    form->Constraints().SetMaxWidth(500);
    form->SetBounds(60, 60, 100, 100);
    EXPECT_EQ(form->BoundsRect(), Bounds(60, 60, 300, 200));
    form->SetWidth(900);
    EXPECT_EQ(form->Width(), 500);

    ShowForm();
    SetWindowPos(form->Handle(), nullptr, 0, 0, 120, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(window.right - window.left, 300);
    EXPECT_EQ(window.bottom - window.top, 200);
    MINMAXINFO info{};
    info.ptMaxTrackSize.y = 777;  // no maximum height: left as the system gave it
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(TPoint(info.ptMinTrackSize), TPoint(300, 200));
    EXPECT_EQ(TPoint(info.ptMaxTrackSize), TPoint(500, 777));

    // A maximum below the minimum lowers the minimum; a change applies at once.
    form->Constraints().SetMaxWidth(250);
    EXPECT_EQ(form->Constraints().MinWidth(), 250);
    EXPECT_EQ(form->Width(), 250);
    auto* panel = Add<TPanel>(0, 0, 80, 80);
    panel->Constraints().SetMaxHeight(50);
    EXPECT_EQ(panel->Height(), 50);
}

TEST_F(LayoutTest, WindowStateFollowsTheSystemAndAppliesOnShow)
{
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    ShowForm();
    const std::pair<WPARAM, TWindowState> steps[] = {{SC_MAXIMIZE, TWindowState::wsMaximized},
        {SC_RESTORE, TWindowState::wsNormal}, {SC_MINIMIZE, TWindowState::wsMinimized},
        {SC_RESTORE, TWindowState::wsNormal}, {SC_MAXIMIZE, TWindowState::wsMaximized}};
    for (const auto& [command, state] : steps) {
        SendMessageW(form->Handle(), WM_SYSCOMMAND, command, 0);
        Pump();
        EXPECT_EQ(form->WindowState(), state) << "after the system command " << std::hex << command;
    }
    form->SetWindowState(TWindowState::wsMinimized);
    EXPECT_TRUE(IsIconic(form->Handle()));
    form->SetWindowState(TWindowState::wsNormal);  // not back to maximised
    EXPECT_FALSE(IsIconic(form->Handle()) || IsZoomed(form->Handle()));

    auto maximised = MakeOwned<TForm>(nullptr);
    maximised->SetWindowState(TWindowState::wsMaximized);
    maximised->Show();
    EXPECT_TRUE(IsZoomed(maximised->Handle()));
    EXPECT_EQ(maximised->WindowState(), TWindowState::wsMaximized);
}

TEST_F(LayoutTest, ClientPointsMapThroughAFramedFormsBorder)
{
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    auto* panel = Add<TPanel>(10, 20, 100, 50);
    auto* graphic = Add<TGraphicControl>(5, 6, 10, 10, panel);
    ShowForm();
    POINT origin{0, 0};
    ::ClientToScreen(form->Handle(), &origin);
    ASSERT_GT(origin.y, form->Top());  // the caption lies between

    EXPECT_EQ(form->ClientToScreen(TPoint(1, 2)), TPoint(origin.x + 1, origin.y + 2));
    EXPECT_EQ(graphic->ClientToScreen(TPoint(1, 1)), TPoint(origin.x + 16, origin.y + 27));
    EXPECT_EQ(graphic->ScreenToClient(TPoint(origin.x + 16, origin.y + 27)), TPoint(1, 1));
    EXPECT_EQ(form->ScreenToClient(TPoint(origin.x, origin.y)), TPoint(0, 0));
}
