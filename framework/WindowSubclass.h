// Watching the messages of a window the framework did not make (the
// system's MDI client, a form seen from a component) through the system's
// subclassing calls. The handler sees each message first and hands on what
// it does not keep; the subclass ends with the object, or ends by itself
// when the window dies first.
#pragma once

#include <windows.h>

#include <functional>

#include "Messages.h"

// The window's own procedure behind one subclass; call it at most once
// per message, from inside the handler.
class TSubclassNext {
public:
    explicit TSubclassNext(HWND window) : window_(window) {}
    void operator()(TMessage& message) const;

private:
    HWND window_;
};

struct TWindowSubclassState;

class TWindowSubclass {
public:
    using THandler = std::function<void(TMessage& message, const TSubclassNext& next)>;

    // Throws Exception when the system refuses (no such window, or one of
    // another thread).
    TWindowSubclass(HWND window, THandler handler);
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;
    ~TWindowSubclass();

    // Null once the window is gone or the subclass ended.
    HWND Window() const;
    // Ends the subclass before the object goes.
    void Remove();

private:
    TWindowSubclassState* state_;  // owned; outlives this object while one of its messages runs
};
