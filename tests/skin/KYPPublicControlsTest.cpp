// The control-level helpers: transparent backgrounds, work area, bounds,
// the active-form test and properties by name.
#include <gtest/gtest.h>

#include <vector>

#include "Bitmap.h"
#include "KYPPublicControls.h"

namespace {

// A parent that paints a known pattern and reports what it was handed.
class TPatternPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> Received;

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_ERASEBKGND || message.Msg == WM_PAINT) Received.push_back(message.Msg);
        TCustomControl::WndProc(message);
    }
    void Paint() override
    {
        Canvas().Brush().SetColor(clRed);
        Canvas().FillRect(TRect(0, 0, ClientWidth() / 2, ClientHeight()));
    }
};

class KYPPublicControlsTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
};

TEST_F(KYPPublicControlsTest, DrawParentBackgroundPaintsWhatTheParentShowsUnderTheControl)
{
    TOwned<TPatternPanel> parent = MakeOwned<TPatternPanel>(nullptr);
    parent->SetBounds(0, 0, 100, 40);
    parent->SetColor(clLime);
    auto* child = New<TGraphicControl>(parent.get());
    child->SetParent(parent.get());
    child->SetBounds(40, 10, 20, 10);  // straddles the red half's edge at 50

    TBitmap target;
    target.SetSize(20, 10);
    DrawParentBackground(target.Canvas(), child);
    EXPECT_EQ(parent->Received, (std::vector<UINT>{WM_ERASEBKGND, WM_PAINT}));
    EXPECT_EQ(target.Canvas().Pixels(0, 0), clRed);   // parent x 40
    EXPECT_EQ(target.Canvas().Pixels(9, 9), clRed);   // parent x 49
    EXPECT_EQ(target.Canvas().Pixels(10, 0), clLime);  // parent x 50: the erased background

    // The canvas's own origin and clip are back afterwards.
    target.Canvas().Brush().SetColor(clBlue);
    target.Canvas().FillRect(TRect(0, 0, 1, 1));
    EXPECT_EQ(target.Canvas().Pixels(0, 0), clBlue);
}

// A windowless control that draws its parent's background under itself.
class TSeeThrough : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        DrawParentBackground(Canvas(), this);
    }
};

TEST_F(KYPPublicControlsTest, AWindowlessControlPaintingItsParentsBackgroundIsNotPaintedAgain)
{
    TOwned<TPatternPanel> parent = MakeOwned<TPatternPanel>(nullptr);
    parent->SetBounds(0, 0, 100, 40);
    auto* child = New<TSeeThrough>(parent.get());
    child->SetParent(parent.get());
    child->SetBounds(40, 10, 20, 10);
    TBitmap target;
    target.SetSize(100, 40);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(target.Canvas().Handle()), 0);
    EXPECT_EQ(child->Paints, 1);
    EXPECT_EQ(target.Canvas().Pixels(41, 11), clRed);
}

TEST_F(KYPPublicControlsTest, DrawParentBackgroundWithoutAParentDrawsNothing)
{
    TOwned<TGraphicControl> orphan = MakeOwned<TGraphicControl>(nullptr);
    TBitmap target;
    target.SetSize(4, 4);
    target.Canvas().Brush().SetColor(clYellow);
    target.Canvas().FillRect(TRect(0, 0, 4, 4));
    DrawParentBackground(target.Canvas(), orphan.get());
    DrawParentBackground(target.Canvas(), nullptr);
    EXPECT_EQ(target.Canvas().Pixels(2, 2), clYellow);
}

TEST_F(KYPPublicControlsTest, WorkAreaWithoutAMainFormIsThePrimaryMonitors)
{
    ASSERT_EQ(Application->MainForm(), nullptr);
    RECT expected{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &expected, 0);
    TRect area;
    EXPECT_EQ(GetWorkAreaRect(area), TRect(expected));
    EXPECT_EQ(area, TRect(expected));
}

TEST_F(KYPPublicControlsTest, SetControlBoundsRectMovesAndSizesAWindow)
{
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->HandleNeeded();
    SetControlBoundsRect(form.get(), TRect(10, 20, 110, 70));
    EXPECT_EQ(form->BoundsRect(), TRect(10, 20, 110, 70));
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(TRect(window), TRect(10, 20, 110, 70));
}

namespace {

// Makes Form the foreground window; these tests run alone on the display.
void Activate(TForm* form)
{
    form->Show();
    SetForegroundWindow(form->Handle());
    SetActiveWindow(form->Handle());
    Application->ProcessMessages();
}

}  // namespace

TEST_F(KYPPublicControlsTest, IsFormActiveWithoutAMainForm)
{
    ASSERT_EQ(Application->MainForm(), nullptr);
    EXPECT_FALSE(IsFormActive(nullptr));  // no crash
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    EXPECT_FALSE(IsFormActive(form.get()));
    Activate(form.get());
    ASSERT_TRUE(form->Active()) << "the form could not be activated";
    EXPECT_TRUE(IsFormActive(form.get()));
    TOwned<TForm> second = MakeOwned<TForm>(nullptr);
    Activate(second.get());
    ASSERT_FALSE(form->Active());
    EXPECT_FALSE(IsFormActive(form.get()));
    EXPECT_TRUE(IsFormActive(second.get()));
}

TEST_F(KYPPublicControlsTest, IsFormActiveWithAMainForm)
{
    TForm* main = nullptr;
    Application->CreateForm(main);
    TOwned<TForm> other = MakeOwned<TForm>(nullptr);
    Activate(main);
    ASSERT_TRUE(Application->Active()) << "the application could not be activated";
    EXPECT_TRUE(IsFormActive(nullptr));
    EXPECT_TRUE(IsFormActive(main));
    EXPECT_FALSE(IsFormActive(other.get()));
    Activate(other.get());
    EXPECT_TRUE(IsFormActive(other.get()));
    EXPECT_TRUE(IsFormActive(main));  // the main form counts while the application is active

    // With no window of ours in front, nothing counts but an MDI frame.
    other->Hide();
    main->Hide();
    Application->ProcessMessages();
    ASSERT_FALSE(Application->Active()) << "a window of ours is still in front";
    EXPECT_FALSE(IsFormActive(nullptr));
    EXPECT_FALSE(IsFormActive(main));
    main->SetFormStyle(TFormStyle::fsMDIForm);
    EXPECT_TRUE(IsFormActive(main));
    EXPECT_FALSE(IsFormActive(other.get()));
    FreeObject(main);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(KYPPublicControlsTest, IsFormActiveAsksAnMDIFramesClientAboutItsChildren)
{
    TForm* frame = nullptr;
    Application->CreateForm(frame);
    frame->SetFormStyle(TFormStyle::fsMDIForm);
    Activate(frame);
    ASSERT_TRUE(Application->Active()) << "the application could not be activated";
    TForm* children[2] = {New<TForm>(frame), New<TForm>(frame)};
    for (TForm* child : children) {
        child->SetFormStyle(TFormStyle::fsMDIChild);
        child->Show();
        ASSERT_FALSE(child->Active()) << "an MDI child never hears WM_ACTIVATE: only the client knows";
    }
    EXPECT_TRUE(IsFormActive(children[1]));
    EXPECT_FALSE(IsFormActive(children[0]));
    children[0]->BringToFront();
    EXPECT_TRUE(IsFormActive(children[0]));
    EXPECT_FALSE(IsFormActive(children[1]));
    EXPECT_TRUE(IsFormActive(frame));
    FreeObject(frame);
}

TEST_F(KYPPublicControlsTest, HasPropertyLooksUpPublishedNames)
{
    TOwned<TGraphicControl> control = MakeOwned<TGraphicControl>(nullptr);
    EXPECT_TRUE(HasProperty(control.get(), L"left"));
    EXPECT_FALSE(HasProperty(control.get(), L"FileTheme"));
    TOwned<TComponent> plain = MakeOwned<TComponent>(nullptr);
    EXPECT_FALSE(HasProperty(plain.get(), L"Left"));
}

}  // namespace
