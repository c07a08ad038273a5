// Non-visual helpers of forms: the timer.
#pragma once

#include "Classes.h"
#include "WindowHandles.h"

// Fires OnTimer every Interval milliseconds from the message loop while
// Enabled. The system timer exists only while the timer is enabled, has an
// interval above 0 and an OnTimer; it is killed on any change and when the
// component is freed.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);
    void SetOnTimer(TNotifyEvent handler);
    const TNotifyEvent& OnTimer() const { return onTimer_; }

protected:
    virtual void Timer();

private:
    static void CALLBACK TimerProc(HWND window, UINT msg, UINT_PTR id, DWORD time);
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    TTimerHandle timer_;
};
