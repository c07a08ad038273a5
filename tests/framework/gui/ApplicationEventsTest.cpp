// The application's message hook: run by the loop before dispatch, newest
// first, able to stop a message, and safe when hooks come and go inside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppEvnts.h"
#include "Forms.h"

namespace {

constexpr UINT kProbe = WM_APP + 71;

class ApplicationEventsTest : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        const TWndMethod previous = form->WindowProc;
        form->WindowProc = [this, previous](TMessage& message) {
            if (message.Msg == kProbe) log.push_back("window");
            previous(message);
        };
    }
    void Send()
    {
        PostMessageW(form->Handle(), kProbe, 0, 0);
        Application->ProcessMessages();
    }
    TApplicationEvents* Hook(const std::string& name, bool handle = false)
    {
        auto* hook = New<TApplicationEvents>(form.get());
        hook->OnMessage = [this, name, handle](MSG& msg, bool& handled) {
            if (msg.message != kProbe) return;
            log.push_back(name + (handled ? " (handled)" : ""));
            if (handle) handled = true;
        };
        return hook;
    }

    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    std::vector<std::string> log;
};

}  // namespace

TEST_F(ApplicationEventsTest, NewestFirstAndHandledStopsDispatch)
{
    Hook("old");
    Send();
    EXPECT_EQ(log, (std::vector<std::string>{"old", "window"}));

    log.clear();
    Hook("new", true);
    Send();
    EXPECT_EQ(log, (std::vector<std::string>{"new", "old (handled)"})) << "every hook sees it; the window does not";
}

TEST_F(ApplicationEventsTest, HooksComeAndGoInsideADispatch)
{
    TApplicationEvents* old = Hook("old");
    TApplicationEvents* self = nullptr;
    self = New<TApplicationEvents>(form.get());
    self->OnMessage = [&](MSG& msg, bool&) {
        if (msg.message != kProbe) return;
        log.push_back("self");
        FreeObject(old);  // not yet run: skipped
        Hook("made inside");
        FreeObject(self);
    };
    Send();
    EXPECT_EQ(log, (std::vector<std::string>{"self", "window"}));

    log.clear();
    Send();
    EXPECT_EQ(log, (std::vector<std::string>{"made inside", "window"}));

    log.clear();
    form.reset();  // frees the last hook with its owner
    MSG msg{nullptr, kProbe, 0, 0, 0, {}};
    EXPECT_FALSE(TApplicationEvents::RunHooks(msg));
    EXPECT_TRUE(log.empty());
}
