// Components watching one control's messages in front of its WindowProc,
// in any order: each hook gets the message and the procedure that comes
// next (the hook added before it, at last WindowProc) and hands on what it
// does not take. The newest hook runs first.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Classes.h"

struct TMessage;
class TControl;
class TWindowHookList;

// The rest of the chain behind one hook; call it at most once per message.
class TWindowHookNext {
public:
    void operator()(TMessage& message) const;

private:
    friend class TWindowHookList;
    TWindowHookNext(TWindowHookList& list, size_t below) : list_(list), below_(below) {}
    TWindowHookList& list_;
    size_t below_;  // the hooks at indices below this one remain
};

using TWindowHook = std::function<void(TMessage& message, const TWindowHookNext& next)>;

// Held by a control once it has a hook, and by every dispatch running
// through it, so a hook may free the control, add hooks or remove any of
// them (itself included) while a message is on its way: a removed hook is
// skipped at once and let go when no dispatch runs any more; one added
// waits for the next message; once the control is gone the chain ends.
class TWindowHookList : public std::enable_shared_from_this<TWindowHookList> {
public:
    explicit TWindowHookList(TControl& control) : control_(&control) {}

    int Add(TComponent* holder, TWindowHook hook);
    void Remove(int id);
    void RemoveHeldBy(TComponent* holder);
    bool HeldBy(TComponent* holder) const;
    void ControlGone() { control_ = nullptr; }
    void Dispatch(TMessage& message);

private:
    friend class TWindowHookNext;
    struct THook {
        int id;
        TComponent* holder;  // not owned
        TWindowHook hook;
        bool removed = false;
    };
    void CallBelow(size_t below, TMessage& message);
    void Sweep();

    TControl* control_;  // not owned: the control owns this list
    std::vector<std::unique_ptr<THook>> hooks_;  // oldest first; entries never move
    int nextId_ = 1;
    int dispatching_ = 0;
};
