// Scoped ownership of GDI objects and device contexts. Each type owns its
// handle and frees it once; a borrowed handle stays a plain HDC/HWND field
// marked "not owned" where it is kept.
#pragma once

#include <windows.h>

#include <utility>

// Owns one pen, brush, font, bitmap or region and deletes it. GDI refuses
// to delete an object that is still selected into a DC, so whoever selects
// one must have put the old object back before this goes out of scope.
template <class H>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(H handle) : handle_(handle) {}
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    TGdiObject(TGdiObject&& other) noexcept : handle_(other.release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~TGdiObject() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives up ownership, e.g. when SetWindowRgn takes the region over.
    H release() { return std::exchange(handle_, nullptr); }
    void reset(H handle = nullptr)
    {
        H old = std::exchange(handle_, handle);
        if (old)
            DeleteObject(old);
    }

private:
    H handle_ = nullptr;
};

using TPenHandle = TGdiObject<HPEN>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TFontHandle = TGdiObject<HFONT>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;

// Selects an object into a DC for one scope and puts the previous one back.
class TScopedSelect {
public:
    TScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    TScopedSelect(const TScopedSelect&) = delete;
    TScopedSelect& operator=(const TScopedSelect&) = delete;
    ~TScopedSelect()
    {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }

private:
    HDC dc_;  // not owned
    HGDIOBJ old_;
};

class TPaintDC {
public:
    explicit TPaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    ~TPaintDC() { EndPaint(window_, &paint_); }

    HDC Handle() const { return dc_; }
    const PAINTSTRUCT& Paint() const { return paint_; }

private:
    HWND window_;  // not owned
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// GetDC / GetWindowDC with the matching ReleaseDC.
class TClientDC {
public:
    explicit TClientDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    TClientDC(const TClientDC&) = delete;
    TClientDC& operator=(const TClientDC&) = delete;
    ~TClientDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC Handle() const { return dc_; }

protected:
    struct WholeWindow {};
    TClientDC(HWND window, WholeWindow) : window_(window), dc_(GetWindowDC(window)) {}

private:
    HWND window_;  // not owned
    HDC dc_;
};

class TWindowDC : public TClientDC {
public:
    explicit TWindowDC(HWND window) : TClientDC(window, WholeWindow{}) {}
};

// A memory DC compatible with the screen (or with Reference).
class TMemoryDC {
public:
    explicit TMemoryDC(HDC reference = nullptr) : dc_(CreateCompatibleDC(reference)) {}
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    TMemoryDC(TMemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    ~TMemoryDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    HDC Handle() const { return dc_; }

private:
    HDC dc_;
};

class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    ~TSavedDC()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;  // not owned
    int saved_;
};
