#include "WindowSubclass.h"

#include <commctrl.h>

#include "Controls.h"

struct TWindowSubclassState {
    using THandler = TWindowSubclass::THandler;
    HWND window = nullptr;
    THandler handler;
    int running = 0;  // messages of this subclass under way
    bool orphaned = false;  // the object went while one ran: the last one out frees this
};

namespace {

LRESULT CALLBACK SubclassProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    auto* state = reinterpret_cast<TWindowSubclassState*>(data);
    TMessage message{msg, wParam, lParam, 0};
    ++state->running;
    try {
        if (state->window)
            state->handler(message, TSubclassNext(window));
        else
            message.Result = DefSubclassProc(window, msg, wParam, lParam);
    } catch (...) {
        HandleControlException(nullptr);
    }
    --state->running;
    if (msg == WM_NCDESTROY && state->window) {
        RemoveWindowSubclass(window, SubclassProcedure, id);
        state->window = nullptr;
    }
    if (state->orphaned && state->running == 0) delete state;
    return message.Result;
}

}  // namespace

void TSubclassNext::operator()(TMessage& message) const
{
    message.Result = DefSubclassProc(window_, message.Msg, message.WParam, message.LParam);
}

TWindowSubclass::TWindowSubclass(HWND window, THandler handler) : state_(new TWindowSubclassState{window, std::move(handler)})
{
    if (!window || !SetWindowSubclass(window, SubclassProcedure, reinterpret_cast<UINT_PTR>(state_),
                                      reinterpret_cast<DWORD_PTR>(state_))) {
        delete state_;
        throw Exception(L"Cannot watch the messages of that window");
    }
}

TWindowSubclass::~TWindowSubclass()
{
    Remove();
    if (state_->running > 0)
        state_->orphaned = true;
    else
        delete state_;
}

HWND TWindowSubclass::Window() const { return state_->window; }

void TWindowSubclass::Remove()
{
    HWND window = std::exchange(state_->window, nullptr);
    if (window && IsWindow(window))
        RemoveWindowSubclass(window, SubclassProcedure, reinterpret_cast<UINT_PTR>(state_));
}
