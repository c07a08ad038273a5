// The form's keyboard and focus machinery: tab order, the focus rules,
// the dialog-key and accelerator passes, key preview, double clicks,
// mouse capture and the mouse enter and leave messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Controls.h"
#include "Forms.h"
#include "HeldKeys.h"
#include "Keyboard.h"
#include "WindowHarness.h"

namespace {

class TFocusProbe : public TCustomControl {
public:
    explicit TFocusProbe(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    std::vector<std::string> Log;
    TWinControl* LastFocusChange = nullptr;
    LRESULT DialogKeyAnswer = 0;

protected:
    void WndProc(TMessage& message) override
    {
        switch (message.Msg) {
        case CM_FOCUSCHANGED: LastFocusChange = reinterpret_cast<TWinControl*>(message.LParam); break;
        case CM_DIALOGKEY:
            Log.push_back("dialog " + std::to_string(message.WParam));
            message.Result = DialogKeyAnswer;
            return;
        case CM_DIALOGCHAR: Log.push_back("char " + std::to_string(message.WParam)); break;
        case CM_MOUSEENTER: Log.push_back("enter"); break;
        case CM_MOUSELEAVE: Log.push_back("leave"); break;
        default: break;
        }
        TCustomControl::WndProc(message);
    }
    void KeyDown(WORD& key, TShiftState shift) override
    {
        Log.push_back("key " + std::to_string(key));
        TCustomControl::KeyDown(key, shift);
    }
    void KeyUp(WORD& key, TShiftState shift) override
    {
        Log.push_back("up " + std::to_string(key));
        TCustomControl::KeyUp(key, shift);
    }
    void MouseDown(TMouseButton, TShiftState shift, int, int) override
    {
        Log.push_back(shift & ssDouble ? "double" : "down");
    }
};

class FocusKeysTest : public WindowHarness {};

TEST_F(FocusKeysTest, TabWalksTheTabOrderOverControlsThatCanTakeTheFocus)
{
    auto* a = Add<TFocusProbe>(10, 10, 20, 20);
    auto* panel = Add<TFocusProbe>(40, 10, 100, 60);
    auto* nested = Add<TFocusProbe>(5, 5, 20, 20, panel);
    auto* skipped = Add<TFocusProbe>(150, 10, 20, 20);
    auto* last = Add<TFocusProbe>(180, 10, 20, 20);
    skipped->SetEnabled(false);
    panel->SetTabStop(false);
    ShowForm();

    a->SetFocus();
    EXPECT_EQ(form->ActiveControl(), a);
    Type(a, VK_TAB);
    EXPECT_TRUE(nested->Focused());
    EXPECT_EQ(a->LastFocusChange, nested);  // every control hears of it
    Type(nested, VK_TAB);
    EXPECT_TRUE(last->Focused());
    Type(last, VK_TAB);
    EXPECT_TRUE(a->Focused());  // round again

    {
        const THeldKeys shift{VK_SHIFT};
        Type(a, VK_TAB);
    }
    EXPECT_TRUE(last->Focused());
    EXPECT_EQ(form->ActiveControl(), last);

    FreeObject(last);
    EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST_F(FocusKeysTest, AControlThatCannotTakeTheFocusRefusesIt)
{
    auto* panel = Add<TFocusProbe>(10, 10, 100, 60);
    auto* inside = Add<TFocusProbe>(5, 5, 20, 20, panel);
    EXPECT_TRUE(inside->CanFocus());
    EXPECT_THROW(inside->SetFocus(), Exception);  // the form is hidden
    ShowForm();
    panel->SetEnabled(false);
    EXPECT_FALSE(inside->CanFocus());
    EXPECT_THROW(inside->SetFocus(), Exception);
    TOwned<TFocusProbe> loose = MakeOwned<TFocusProbe>(nullptr);
    EXPECT_FALSE(loose->CanFocus());
}

TEST_F(FocusKeysTest, DialogKeysAndCharactersGoRoundTheFormBeforeTheFocusedControl)
{
    auto* focused = Add<TFocusProbe>(10, 10, 20, 20);
    auto* taker = Add<TFocusProbe>(40, 10, 20, 20);
    ShowForm();
    focused->SetFocus();

    Post(focused, WM_KEYDOWN, VK_RETURN, 1);  // nobody takes it: it arrives
    taker->DialogKeyAnswer = 1;
    Post(focused, WM_KEYDOWN, VK_ESCAPE, 1);  // taken: it never arrives
    Post(focused, WM_KEYDOWN, 'A', 1);        // not a dialog key
    Post(focused, WM_SYSCHAR, 'x', kAltKeyData);
    // The characters the system makes of the posted keys are not counted.
    auto withoutTranslated = [](std::vector<std::string> log) {
        std::erase_if(log, [](const std::string& entry) { return entry.starts_with("char") && entry != "char 120"; });
        return log;
    };
    const std::vector<std::string> expected{"dialog 13", "key 13", "dialog 27", "key 65", "char 120"};
    EXPECT_EQ(withoutTranslated(focused->Log), expected);
    EXPECT_EQ(withoutTranslated(taker->Log), (std::vector<std::string>{"dialog 13", "dialog 27", "char 120"}));
}

TEST_F(FocusKeysTest, WithKeyPreviewTheFormSeesEveryKeyFirst)
{
    auto* child = Add<TFocusProbe>(10, 10, 20, 20);
    std::vector<WORD> released;
    form->SetKeyPreview(true);
    form->OnKeyUp = [&](TObject* sender, WORD& key, TShiftState) {
        EXPECT_EQ(sender, form.get());
        released.push_back(key);
        if (key == VK_F1) key = 0;  // help opens; the control never sees it
    };
    ShowForm();
    child->SetFocus();
    KeyUp(child, VK_F1);
    KeyUp(child, 'B');
    EXPECT_EQ(released, (std::vector<WORD>{VK_F1, 'B'}));
    EXPECT_EQ(child->Log, std::vector<std::string>{"up 66"});
}

TEST_F(FocusKeysTest, ADoubleClickIsASecondPressUnlessTheControlAsksForDoubleClicks)
{
    auto* probe = Add<TFocusProbe>(10, 10, 20, 20);
    int doubles = 0;
    probe->OnDblClick = [&](TObject*) { ++doubles; };
    ShowForm();
    Post(probe, WM_LBUTTONDBLCLK, MK_LBUTTON, At(2, 2));
    probe->SetControlStyle(probe->ControlStyle() & ~csDoubleClicks);
    Post(probe, WM_LBUTTONDBLCLK, MK_LBUTTON, At(2, 2));
    EXPECT_EQ(probe->Log, (std::vector<std::string>{"double", "down"}));
    EXPECT_EQ(doubles, 1);
}

TEST_F(FocusKeysTest, ACapturingControlKeepsTheMouseFromPressToRelease)
{
    auto* probe = Add<TFocusProbe>(10, 10, 20, 20);
    ShowForm();
    Press(probe);
    EXPECT_EQ(GetCapture(), nullptr);
    Release(probe);
    probe->SetControlStyle(probe->ControlStyle() | csCaptureMouse);
    Press(probe);
    EXPECT_EQ(GetCapture(), probe->Handle());
    Release(probe, 50, 50);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FocusKeysTest, TheMouseEntersOnceAndLeavesOnce)
{
    auto* probe = Add<TFocusProbe>(10, 10, 30, 30);
    ShowForm();
    Hover(probe, 3, 3);
    Hover(probe, 5, 5);
    Leave(probe);
    Leave(probe);
    EXPECT_EQ(probe->Log, (std::vector<std::string>{"enter", "leave"}));

    // Cancel mode ends a press, not the hover: no second enter.
    Hover(probe, 3, 3);
    probe->Perform(CM_CANCELMODE);
    Hover(probe, 5, 5);
    Leave(probe);
    EXPECT_EQ(probe->Log, (std::vector<std::string>{"enter", "leave", "enter", "leave"}));
}

TEST(KeyboardTest, AcceleratorsAreTheLettersAfterASingleAmpersand)
{
    EXPECT_TRUE(IsAccel('R', L"&Rec"));
    EXPECT_TRUE(IsAccel('r', L"&Rec"));
    EXPECT_FALSE(IsAccel('e', L"&Rec"));
    EXPECT_FALSE(IsAccel('X', L"&&X"));
    EXPECT_TRUE(IsAccel('C', L"a&&b&c"));
    EXPECT_FALSE(IsAccel('A', L""));
    EXPECT_FALSE(IsAccel('A', L"A&"));
    EXPECT_EQ(KeyDataToShiftState(kAltKeyData) & ssAlt, static_cast<TShiftState>(ssAlt));
    EXPECT_EQ(KeyDataToShiftState(1) & ssAlt, 0u);
}

}  // namespace
