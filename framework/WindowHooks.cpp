#include "WindowHooks.h"

#include <algorithm>

#include "Controls.h"

void TWindowHookNext::operator()(TMessage& message) const { list_.CallBelow(below_, message); }

int TWindowHookList::Add(TComponent* holder, TWindowHook hook)
{
    const int id = nextId_++;
    hooks_.push_back(std::make_unique<THook>(THook{id, holder, std::move(hook)}));
    return id;
}

void TWindowHookList::Remove(int id)
{
    for (auto& hook : hooks_)
        if (hook->id == id) hook->removed = true;
    Sweep();
}

void TWindowHookList::RemoveHeldBy(TComponent* holder)
{
    for (auto& hook : hooks_)
        if (hook->holder == holder) hook->removed = true;
    Sweep();
}

bool TWindowHookList::HeldBy(TComponent* holder) const
{
    return std::any_of(hooks_.begin(), hooks_.end(), [holder](const auto& hook) { return !hook->removed && hook->holder == holder; });
}

void TWindowHookList::Sweep()
{
    if (dispatching_ == 0) std::erase_if(hooks_, [](const auto& hook) { return hook->removed; });
}

void TWindowHookList::Dispatch(TMessage& message)
{
    const std::shared_ptr<TWindowHookList> keep = shared_from_this();
    ++dispatching_;
    struct TEnd {
        TWindowHookList& list;
        ~TEnd()
        {
            --list.dispatching_;
            list.Sweep();
        }
    } end{*this};
    CallBelow(hooks_.size(), message);
}

void TWindowHookList::CallBelow(size_t below, TMessage& message)
{
    if (!control_) return;  // the hooks' holders may have gone with it
    for (size_t i = std::min(below, hooks_.size()); i-- > 0;) {
        THook& hook = *hooks_[i];
        if (hook.removed) continue;
        hook.hook(message, TWindowHookNext(*this, i));
        return;
    }
    // A copy: the procedure may free the control or replace its WindowProc.
    const TWndMethod procedure = control_->WindowProc;
    procedure(message);
}
