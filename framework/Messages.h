// The message record that the framework's window procedures pass around,
// and the framework's own control messages. Control messages live in one
// private range above WM_APP's users: CM_BASE + n.
#pragma once

#include <windows.h>

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
// Sent to the control that must drop a press or hover in progress.
constexpr UINT CM_CANCELMODE = CM_BASE + 0x04;
// The form's pass over its controls before a key reaches the focused one:
// WParam the virtual key (dialog keys) or the character (accelerators),
// LParam the key data; a control that takes it answers 1.
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;
// Broadcast to every control of a form when its focused control changes;
// LParam is the control that now has the focus.
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x07;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0E;
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0F;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x15;
constexpr UINT CM_RELEASE = CM_BASE + 0x21;
// Sent to the window that shows a menu bar once the bar was built anew.
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x29;
constexpr UINT CM_RECREATEWND = CM_BASE + 0x33;
