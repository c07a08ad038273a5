// A shown form for driving real windows with posted mouse and key
// messages under Wine, and snapshots of what a control paints.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "Bitmap.h"
#include "Controls.h"
#include "Forms.h"
#include "PumpUntil.h"

inline LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))); }

// Key data of a key-up: previous state down, transition up.
constexpr LPARAM kKeyUpData = static_cast<LPARAM>(0xC0000001);
// Key data of a character typed with Alt held.
constexpr LPARAM kAltKeyData = 0x20000001;

class WindowHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        SetCursorPos(1, 1);  // over no window of ours
        Application->OnException = [this](TObject*, const Exception& error) { errors.push_back(error.Message()); };
        form = MakeOwned<TForm>(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(60, 60, 420, 300);
        form->SetColor(clWhite);
    }
    void TearDown() override
    {
        form.reset();
        Pump();
        Application->OnException = nullptr;
        EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : "first error elsewhere");
    }

    template <class T>
    T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr)
    {
        T* control = New<T>(form.get());
        control->SetParent(parent ? parent : form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }

    void ShowForm()
    {
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }

    static void Pump() { Application->ProcessMessages(); }

    static void Post(TWinControl* control, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        PostMessageW(control->Handle(), msg, wParam, lParam);
        Pump();
    }

    // The real cursor goes there too, so the system's mouse tracking
    // agrees that the mouse is over the control.
    static void Hover(TWinControl* control, int x = 3, int y = 3)
    {
        const TPoint screen = control->ClientToScreen(TPoint(x, y));
        SetCursorPos(screen.X, screen.Y);
        Post(control, WM_MOUSEMOVE, 0, At(x, y));
    }
    static void Press(TWinControl* control, int x = 3, int y = 3) { Post(control, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }
    static void Release(TWinControl* control, int x = 3, int y = 3) { Post(control, WM_LBUTTONUP, 0, At(x, y)); }
    static void Leave(TWinControl* control)
    {
        SetCursorPos(1, 1);
        Post(control, WM_MOUSELEAVE);
    }
    static void KeyDown(TWinControl* control, WORD key) { Post(control, WM_KEYDOWN, key, 1); }
    static void KeyUp(TWinControl* control, WORD key) { Post(control, WM_KEYUP, key, kKeyUpData); }
    static void Type(TWinControl* control, WORD key)
    {
        KeyDown(control, key);
        KeyUp(control, key);
    }

    // Where a skinned frame puts a maximised form: the work area, its
    // edges just outside but the bottom one.
    static TRect MaximisedFrameBounds()
    {
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return TRect(area.left - 2, area.top - 2, area.right + 2, area.bottom - 1);
    }

    // What the control paints, drawn into a bitmap of its size.
    static TOwned<TBitmap> Snapshot(TWinControl* control)
    {
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->SetSize(control->Width(), control->Height());
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap->Canvas().Handle()), 0);
        return bitmap;
    }

    std::vector<String> errors;
    TOwned<TForm> form;
};
