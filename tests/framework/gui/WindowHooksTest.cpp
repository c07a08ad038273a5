// Hooks in front of a control's WindowProc: their order, handing on, and
// holders, hooks and the control going in any order, mid-dispatch too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "Messages.h"

namespace {

constexpr UINT kProbe = WM_APP + 72;

class WindowHooksTest : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        const TWndMethod previous = form->WindowProc;
        form->WindowProc = [this, previous](TMessage& message) {
            if (message.Msg == kProbe) log.push_back("proc");
            previous(message);
        };
    }
    // Logs its name and hands on unless told to keep the message.
    int Hook(const std::string& name, TComponent* holder, bool handOn = true)
    {
        return form->AddWindowHook(holder, [this, name, handOn](TMessage& message, const TWindowHookNext& next) {
            if (message.Msg == kProbe) log.push_back(name);
            if (handOn || message.Msg != kProbe) next(message);
        });
    }
    std::vector<std::string> Send()
    {
        log.clear();
        SendMessageW(form->Handle(), kProbe, 0, 0);
        return log;
    }
    using Log = std::vector<std::string>;

    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    TOwned<TComponent> holderA = MakeOwned<TComponent>(nullptr);
    TOwned<TComponent> holderB = MakeOwned<TComponent>(nullptr);
    std::vector<std::string> log;
};

}  // namespace

TEST_F(WindowHooksTest, NewestFirstEachHandingOnOrKeepingTheMessage)
{
    const int a = Hook("a", holderA.get());
    Hook("b", holderB.get());
    const int c = Hook("c", holderA.get());
    EXPECT_EQ(Send(), (Log{"c", "b", "a", "proc"}));
    log.clear();
    form->Perform(kProbe);
    EXPECT_EQ(log, (Log{"c", "b", "a", "proc"})) << "Perform takes the same way";

    form->RemoveWindowHook(a);  // the oldest, then the newest: the rest stays linked
    form->RemoveWindowHook(c);
    EXPECT_EQ(Send(), (Log{"b", "proc"}));

    Hook("keeper", holderA.get(), false);
    EXPECT_EQ(Send(), (Log{"keeper"}));

    const HWND first = form->Handle();
    form->RecreateWnd();
    ASSERT_NE(form->Handle(), first);
    EXPECT_EQ(Send(), (Log{"keeper"})) << "hooks belong to the control, not to one window";
}

TEST_F(WindowHooksTest, HooksRemovedDuringADispatch)
{
    const int older = Hook("older", holderA.get());
    int self = 0;
    self = form->AddWindowHook(holderB.get(), [&](TMessage& message, const TWindowHookNext& next) {
        if (message.Msg == kProbe) {
            log.push_back("self");
            form->RemoveWindowHook(older);
            form->RemoveWindowHook(self);
            Hook("added", holderA.get());
        }
        next(message);
    });
    EXPECT_EQ(Send(), (Log{"self", "proc"})) << "a hook removed mid-way is skipped";
    EXPECT_EQ(Send(), (Log{"added", "proc"}));
}

TEST_F(WindowHooksTest, AFreedHolderTakesItsHooksAlong)
{
    Hook("a", holderA.get());
    Hook("b", holderB.get());
    Hook("a2", holderA.get());
    holderA.reset();
    EXPECT_EQ(Send(), (Log{"b", "proc"}));
}

TEST_F(WindowHooksTest, TheControlMayGoFirstEvenInsideAHook)
{
    // The holder hears of the control's end, so it never unhooks a freed one.
    struct THolder : TComponent {
        using TComponent::TComponent;
        TControl* watched = nullptr;
        void Notification(TComponent* component, TOperation operation) override
        {
            TComponent::Notification(component, operation);
            if (operation == TOperation::opRemove && component == watched) watched = nullptr;
        }
    };
    TOwned<THolder> holder = MakeOwned<THolder>(nullptr);
    holder->watched = form.get();
    Hook("older", holderA.get());
    form->AddWindowHook(holder.get(), [&](TMessage& message, const TWindowHookNext& next) {
        if (message.Msg != kProbe) return next(message);
        log.push_back("freeing");
        form.reset();
        next(message);  // the chain ends: neither the older hook nor the procedure runs
    });
    form->Perform(kProbe);
    EXPECT_EQ(log, (Log{"freeing"}));
    EXPECT_EQ(holder->watched, nullptr);
}
