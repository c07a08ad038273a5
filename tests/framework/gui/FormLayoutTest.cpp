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
