#include "ExtCtrls.h"

#include <map>

#include "Controls.h"

namespace {
// Thread timers carry no object; their ids lead back to it.
std::map<UINT_PTR, TTimer*>& LiveTimers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer()
{
    if (timer_) LiveTimers().erase(timer_.id());
}

void TTimer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned milliseconds)
{
    interval_ = milliseconds;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (timer_) {
        LiveTimers().erase(timer_.id());
        timer_.reset();
    }
    if (!enabled_ || interval_ == 0 || !onTimer_) return;
    const UINT_PTR id = SetTimer(nullptr, 0, interval_, TimerProc);
    if (!id) throw Exception(L"Not enough timers available");
    timer_ = TTimerHandle(nullptr, id);
    LiveTimers()[id] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = LiveTimers().find(id);
    if (it == LiveTimers().end()) return;
    TTimer* timer = it->second;
    try {
        timer->Timer();
    } catch (...) {
        HandleControlException(timer);
    }
}

void TTimer::Timer()
{
    if (onTimer_) onTimer_(this);
}
