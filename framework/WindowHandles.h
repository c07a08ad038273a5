// Scoped ownership of user-interface handles: windows and timers. Each type
// owns its handle, frees it once and moves but never copies.
#pragma once

#include <windows.h>

#include <utility>

// Owns a window and destroys it. The window's own WM_NCDESTROY handling
// unbinds its object, so release() is for the case where the window
// destroys itself (a form closing) and the owner must not do it again.
class TWindowHandle {
public:
    TWindowHandle() = default;
    explicit TWindowHandle(HWND window) : window_(window) {}
    TWindowHandle(const TWindowHandle&) = delete;
    TWindowHandle& operator=(const TWindowHandle&) = delete;
    TWindowHandle(TWindowHandle&& other) noexcept : window_(other.release()) {}
    TWindowHandle& operator=(TWindowHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~TWindowHandle() { reset(); }

    HWND get() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }
    HWND release() { return std::exchange(window_, nullptr); }
    void reset(HWND window = nullptr)
    {
        HWND old = std::exchange(window_, window);
        if (old && IsWindow(old)) DestroyWindow(old);
    }

private:
    HWND window_ = nullptr;
};

// Owns one timer of SetTimer, window-bound or (window null) thread-bound,
// and kills it.
class TTimerHandle {
public:
    TTimerHandle() = default;
    TTimerHandle(HWND window, UINT_PTR id) : window_(window), id_(id) {}
    TTimerHandle(const TTimerHandle&) = delete;
    TTimerHandle& operator=(const TTimerHandle&) = delete;
    TTimerHandle(TTimerHandle&& other) noexcept
        : window_(other.window_), id_(std::exchange(other.id_, 0)) {}
    TTimerHandle& operator=(TTimerHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            window_ = other.window_;
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    ~TTimerHandle() { reset(); }

    UINT_PTR id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    void reset()
    {
        if (id_) KillTimer(window_, std::exchange(id_, 0));
    }

private:
    HWND window_ = nullptr;  // not owned
    UINT_PTR id_ = 0;
};
