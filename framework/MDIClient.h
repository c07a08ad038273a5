// The system's MDI client window of a frame form: the window its MDI
// children live in. Made inside the frame's window, placed by the frame
// where its aligned controls leave room, and asked about the children.
#pragma once

#include <windows.h>

#include <vector>

#include "Types.h"
#include "WindowHandles.h"

class TForm;

enum class TTileMode { tbHorizontal, tbVertical };

class TMDIClient {
public:
    // WindowMenu (may be null) gets one entry per child.
    TMDIClient(HWND frame, HMENU windowMenu);
    TMDIClient(const TMDIClient&) = delete;
    TMDIClient& operator=(const TMDIClient&) = delete;

    HWND Handle() const { return window_.get(); }
    // The frame's window went and took the client with it.
    void FrameGone() { window_.release(); }

    // At the bottom of the frame's children, so its aligned controls stay over it.
    void Place(const TRect& rect);
    // The frame's menu bar and the menu that lists the children, after
    // either was built anew.
    void SetMenus(HMENU frameMenu, HMENU windowMenu);

    // The framework's child forms, topmost first.
    std::vector<TForm*> Children() const;
    TForm* ActiveChild() const;
    void Tile(TTileMode mode);
    void Cascade();
    void ArrangeIcons();

    // What a child window asks of the client it lives in.
    static void Activate(HWND child);
    static void Maximize(HWND child);
    static void Restore(HWND child);
    // Destroys the child window so that the client keeps track.
    static void Destroy(HWND child);

    // The child keys (Ctrl+F4, Ctrl+F6, Alt+-) of a key message meant for
    // a window inside Client's frame; true when the client took it.
    static bool TranslateSysAccel(HWND client, MSG& msg);

private:
    TWindowHandle window_;  // destroyed here only while the frame lives
};
