// A component that hooks the application's message loop: OnMessage sees
// every message the loop takes, for every window, before it is translated
// and dispatched; setting Handled keeps it from going further.
#pragma once

#include <windows.h>

#include <functional>

#include "Classes.h"

using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;

class TApplicationEvents : public TComponent {
public:
    explicit TApplicationEvents(TComponent* owner);
    ~TApplicationEvents() override;

    TMessageEvent OnMessage;

    // Run by the message loop: the newest component first, each seeing the
    // Handled of those before it. Components may come and go inside a
    // handler; one freed there is skipped, one made there waits for the
    // next message. True when the message was handled.
    static bool RunHooks(MSG& msg);
};
