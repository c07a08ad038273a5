// The skinned push button driven through its window: hover, press and
// release, auto-repeat, keys, the form's default and cancel buttons,
// accelerators, modal results, sizes from the style strips and theme
// removal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HandleCounts.h"
#include "HeldKeys.h"
#include "KYPButton.h"
#include "KYPImageButton.h"
#include "SolidBitmap.h"
#include "WindowHarness.h"

namespace {

// An ordinary control that can hold the focus.
class TPlainControl : public TCustomControl {
public:
    explicit TPlainControl(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

// Records the hooks the base runs from its setters.
class THookedButton : public TkypCustomButton {
public:
    using TkypCustomButton::TkypCustomButton;
    int StyleChanges = 0;

protected:
    void UIStyleChanged() override { ++StyleChanges; }
};

class PushButtonTest : public WindowHarness {
protected:
    TkypCustomButton* AddButton(int left = 10, int top = 10)
    {
        auto* button = Add<TkypCustomButton>(left, top, 80, 26);
        button->OnClick = [this](TObject*) { log.push_back("click"); };
        button->OnMouseEnter = [this](TObject*) { log.push_back("enter"); };
        button->OnMouseExit = [this](TObject*) { log.push_back("exit"); };
        return button;
    }
    std::vector<std::string> log;
};

TEST_F(PushButtonTest, HoverPressAndReleaseFollowTheStateTable)
{
    auto* button = AddButton();
    ShowForm();

    Hover(button);
    EXPECT_TRUE(button->MouseInside());
    Press(button);
    EXPECT_TRUE(button->Pressed());
    EXPECT_TRUE(button->Focused());
    EXPECT_TRUE(button->Repeating());
    Release(button);
    EXPECT_FALSE(button->Pressed());
    EXPECT_FALSE(button->Repeating());
    EXPECT_TRUE(button->MouseInside());

    // Dragged to the very edge it stays pressed; one pixel further it is not.
    Press(button);
    Post(button, WM_MOUSEMOVE, MK_LBUTTON, At(button->Width(), 5));
    EXPECT_TRUE(button->Pressed());
    Post(button, WM_MOUSEMOVE, MK_LBUTTON, At(button->Width() + 1, 5));
    EXPECT_FALSE(button->Pressed());
    EXPECT_FALSE(button->MouseInside());
    Release(button, button->Width() + 1, 5);  // outside: no click

    // A double click is two clicks.
    Press(button);
    Release(button);
    Post(button, WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 3));
    Release(button);

    Leave(button);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "click", "click", "click", "exit"}));
}

TEST_F(PushButtonTest, ARightPressChangesNothingAndCancelModeDropsThePress)
{
    auto* button = AddButton();
    ShowForm();
    Post(button, WM_RBUTTONDOWN, MK_RBUTTON, At(3, 3));
    EXPECT_FALSE(button->Pressed());
    EXPECT_FALSE(button->Repeating());

    Press(button);
    button->Perform(CM_CANCELMODE);
    EXPECT_FALSE(button->Pressed());
    EXPECT_FALSE(button->Repeating());
    Release(button);  // a click still, but nothing is pressed any more
    EXPECT_EQ(log, std::vector<std::string>{"click"});
}

// Cancel mode takes the hot look but the mouse is still over the button:
// the next move brings the look back, and enter and exit stay paired.
TEST_F(PushButtonTest, AfterCancelModeTheNextMoveShowsTheHotLookWithoutASecondEnter)
{
    auto* button = Add<TkypImageButton>(10, 10, 30, 20);
    button->SetPicNormal(SolidBitmap(30, 20, clRed).get());
    button->SetPicMouseOn(SolidBitmap(30, 20, clLime).get());
    button->OnMouseEnter = [this](TObject*) { log.push_back("enter"); };
    button->OnMouseExit = [this](TObject*) { log.push_back("exit"); };
    ShowForm();
    auto colour = [&] { return Snapshot(button)->Canvas().Pixels(15, 10); };

    Hover(button);
    EXPECT_EQ(colour(), clLime);
    button->Perform(CM_CANCELMODE);
    EXPECT_EQ(colour(), clRed);
    Hover(button, 5, 5);
    EXPECT_EQ(colour(), clLime);
    Leave(button);
    EXPECT_EQ(colour(), clRed);
    Hover(button);
    Leave(button);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "exit", "enter", "exit"}));
}

TEST_F(PushButtonTest, RepeatsAfterOneIntervalAndNeverAfterAnyRelease)
{
    auto* button = AddButton();
    button->SetMouseContinuouslyDownInterval(40);
    int repeats = 0;
    button->OnMouseContinuouslyDown = [&](TObject* sender) {
        EXPECT_EQ(sender, button);
        ++repeats;
    };
    ShowForm();

    // Handled at once, not pumped: on a loaded machine a pump can outlast an interval.
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    EXPECT_EQ(repeats, 0);  // no immediate call
    button->SetMouseContinuouslyDownInterval(0);  // the running timer keeps its own
    PumpUntil([&] { return repeats >= 2; }, 2000, "two repeats");
    Release(button);
    int stopped = repeats;
    WaitFor(120);  // three intervals: time for a repeat the release left running
    EXPECT_EQ(repeats, stopped);

    // Dragged off and released outside: no click, and no more repeats.
    button->SetMouseContinuouslyDownInterval(20);
    Press(button);
    Post(button, WM_MOUSEMOVE, MK_LBUTTON, At(-5, 3));
    Release(button, -5, 3);
    stopped = repeats;
    WaitFor(100);  // five intervals: time for a repeat left running
    EXPECT_EQ(repeats, stopped);
    EXPECT_FALSE(button->Repeating());

    // A press whose mouse is taken by another window gets no release.
    Press(button);
    SetCapture(form->Handle());
    Pump();
    EXPECT_FALSE(button->Repeating());
    ReleaseCapture();
    Release(button);

    // An interval of 0 never fires. (The press above may have repeated
    // before its capture went.)
    button->SetMouseContinuouslyDownInterval(0);
    stopped = repeats;
    Press(button);
    WaitFor(80);  // a timer started with 0 would fire at the least interval, 10 ms
    EXPECT_EQ(repeats, stopped);
    Release(button);
}

TEST_F(PushButtonTest, AButtonFreedWhilePressedNeverRepeats)
{
    auto* button = AddButton();
    button->SetMouseContinuouslyDownInterval(10);
    int repeats = 0;
    button->OnMouseContinuouslyDown = [&](TObject*) { ++repeats; };
    ShowForm();
    Press(button);
    const int beforeFree = repeats;  // a slow machine may repeat while pressing
    FreeObject(button);
    WaitFor(80);  // eight intervals: time for a repeat that outlived the button
    EXPECT_EQ(repeats, beforeFree);
}

TEST_F(PushButtonTest, SpaceAndEnterPressOnKeyDownAndClickOnKeyUp)
{
    auto* button = AddButton();
    ShowForm();
    button->SetFocus();
    for (WORD key : {WORD(VK_SPACE), WORD(VK_RETURN)}) {
        KeyDown(button, key);
        EXPECT_TRUE(button->Pressed());
        EXPECT_FALSE(button->Repeating());  // keys start no timer
        KeyUp(button, key);
        EXPECT_FALSE(button->Pressed());
    }
    KeyUp(button, VK_SPACE);  // not pressed: nothing
    EXPECT_EQ(log, (std::vector<std::string>{"click", "click"}));
}

TEST_F(PushButtonTest, EnterAndEscReachTheDefaultAndCancelButtonsFromAnotherControl)
{
    auto* plain = Add<TPlainControl>(200, 10, 40, 40);
    auto* ok = AddButton(10, 10);
    ok->SetDefault(true);  // before the window exists: only stored
    auto* cancel = Add<TkypCustomButton>(10, 50, 80, 26);
    cancel->SetCancel(true);
    auto* other = Add<TkypCustomButton>(10, 90, 80, 26);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
    other->OnClick = [&](TObject*) { clicks.push_back("other"); };
    ShowForm();

    plain->SetFocus();
    Type(plain, VK_RETURN);
    Type(plain, VK_ESCAPE);
    // The focused button without Default does not take Enter; the default one does.
    other->SetFocus();
    Type(other, VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "ok"}));

    // A modifier held, or a button that cannot take the focus: no click.
    {
        const THeldKeys shift{VK_SHIFT};
        Type(plain, VK_ESCAPE);
    }
    cancel->Hide();
    Type(plain, VK_ESCAPE);
    EXPECT_EQ(clicks.size(), 3u);

    // Default taken away while the window exists.
    ok->SetDefault(false);
    other->SetDefault(true);
    Type(plain, VK_RETURN);
    EXPECT_EQ(clicks.back(), "other");
}

TEST_F(PushButtonTest, AcceleratorsNeedAltUnlessASkinnedButtonHasTheFocus)
{
    auto* plain = Add<TPlainControl>(200, 10, 40, 40);
    auto* record = AddButton(10, 10);
    record->SetCaption(L"&Rec");
    auto* other = Add<TkypCustomButton>(10, 50, 80, 26);
    ShowForm();

    EXPECT_EQ(SendMessageW(record->Handle(), KYPM_ISBUTTON, 0, 0), 1);
    plain->SetFocus();
    Post(plain, WM_CHAR, 'r', 1);
    EXPECT_TRUE(log.empty());
    Post(plain, WM_SYSCHAR, 'r', kAltKeyData);
    EXPECT_EQ(log.size(), 1u);
    other->SetFocus();
    Post(other, WM_CHAR, 'R', 1);
    EXPECT_EQ(log.size(), 2u);
    Post(other, WM_CHAR, 'e', 1);  // not the marked letter
    record->SetEnabled(false);
    Post(other, WM_CHAR, 'r', 1);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(PushButtonTest, EveryClickHandsItsModalResultToTheForm)
{
    auto* button = AddButton();
    button->SetModalResult(mrOk);
    ShowForm();
    Press(button);
    Release(button);
    EXPECT_EQ(form->ModalResult(), mrOk);
    button->SetModalResult(mrNone);
    form->SetModalResult(mrCancel);
    button->Click();
    EXPECT_EQ(form->ModalResult(), mrNone);  // 0 too

    // Not on a form: nothing to set, and the click goes on to OnClick.
    TOwned<TPanel> panel = MakeOwned<TPanel>(nullptr);
    auto* loose = New<TkypCustomButton>(panel.get());
    loose->SetParent(panel.get());
    loose->SetModalResult(mrOk);
    bool clicked = false;
    loose->OnClick = [&](TObject*) { clicked = true; };
    loose->Click();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(PushButtonTest, AutoSizeTakesOnePieceOfTheStylesStrip)
{
    struct Case {
        TkypUIStyle style;
        int width, height;
    };
    const Case cases[] = {{MacOS, 84, 23}, {WinXP, 18, 21}, {DeepBlue, 74, 21}, {Protein, 74, 21},
        {BlueGlass, 77, 27}, {FromThemeFile, 24, 21}};
    for (const Case& c : cases) {
        auto* button = AddButton();
        button->SetUIStyle(c.style);
        button->SetAutoSize(true);
        EXPECT_EQ(button->Width(), c.width) << static_cast<int>(c.style);
        EXPECT_EQ(button->Height(), c.height) << static_cast<int>(c.style);
    }
}

TEST_F(PushButtonTest, ATextChangeReachesTheCaption)
{
    auto* button = AddButton();
    button->SetText(L"Stop");
    EXPECT_EQ(button->Caption(), L"Stop");
    button->SetCaption(L"Go");
    EXPECT_EQ(button->Text(), L"Go");
}

TEST_F(PushButtonTest, HooksRunFromTheConstructorReachTheDescendant)
{
    auto* button = New<THookedButton>(form.get());
    EXPECT_EQ(button->StyleChanges, 1);
    EXPECT_EQ(button->UIStyle(), DeepBlue);
}

TEST_F(PushButtonTest, ARemovedThemeOfAnotherOwnerFallsBackToDeepBlue)
{
    auto* button = AddButton();
    TOwned<TkypFileTheme> theme = MakeOwned<TkypFileTheme>(nullptr);
    button->SetFileTheme(theme.get());
    button->SetUIStyle(WinXP);
    theme.reset();
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), DeepBlue);
}

TEST_F(PushButtonTest, AThousandHoverAndPressCyclesLeakNoHandles)
{
    auto* button = AddButton();
    button->SetCaption(L"&Go");
    auto* image = Add<TkypImageButton>(100, 10, 40, 40);
    TBitmap picture;
    picture.SetSize(40, 40);
    image->SetPicNormal(&picture);
    ShowForm();
    auto cycle = [&](TWinControl* control) {
        Hover(control);
        Press(control);
        Release(control);
        Leave(control);
    };
    for (int i = 0; i < 20; ++i) cycle(button), cycle(image);  // caches settle
    const int gdi = CountGdiObjects(), windows = CountThreadWindows(), icons = CountIconHandles();
    for (int i = 0; i < 500; ++i) cycle(button), cycle(image);
    EXPECT_LE(CountGdiObjects(), gdi);
    EXPECT_LE(CountThreadWindows(), windows);
    EXPECT_LE(CountIconHandles(), icons);
    EXPECT_EQ(log.size(), (20u + 500u) * 3);  // enter, click, exit on the first button
}

}  // namespace
