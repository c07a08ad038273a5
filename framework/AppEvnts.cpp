#include "AppEvnts.h"

#include <algorithm>
#include <vector>

namespace {

// Oldest first. A component freed while a dispatch runs leaves a null slot,
// swept when the outermost dispatch ends (handlers may run nested loops).
std::vector<TApplicationEvents*>& Hooks()
{
    static std::vector<TApplicationEvents*> hooks;
    return hooks;
}
int dispatching = 0;

void Sweep()
{
    auto& hooks = Hooks();
    hooks.erase(std::remove(hooks.begin(), hooks.end(), nullptr), hooks.end());
}

}  // namespace

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) { Hooks().push_back(this); }

TApplicationEvents::~TApplicationEvents()
{
    auto& hooks = Hooks();
    auto it = std::find(hooks.begin(), hooks.end(), this);
    if (it == hooks.end()) return;
    if (dispatching) *it = nullptr;
    else hooks.erase(it);
}

bool TApplicationEvents::RunHooks(MSG& msg)
{
    bool handled = false;
    ++dispatching;
    struct TEnd {
        ~TEnd()
        {
            if (--dispatching == 0) Sweep();
        }
    } end;
    for (size_t i = Hooks().size(); i-- > 0;) {
        TApplicationEvents* hook = Hooks()[i];
        if (hook && hook->OnMessage) hook->OnMessage(msg, handled);
    }
    return handled;
}
