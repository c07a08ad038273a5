#include "MDIClient.h"

#include <algorithm>

#include "Forms.h"
#include "Menus.h"

TMDIClient::TMDIClient(HWND frame, HMENU windowMenu)
{
    CLIENTCREATESTRUCT create{windowMenu, FirstMDIChildId};
    RECT area{};
    GetClientRect(frame, &area);
    HWND window = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
        WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, area.right, area.bottom, frame,
        nullptr, GetModuleHandleW(nullptr), &create);
    if (!window) throw Exception(L"Cannot create the MDI client window");
    window_.reset(window);
}

void TMDIClient::Place(const TRect& rect)
{
    SetWindowPos(Handle(), HWND_BOTTOM, rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0),
        SWP_NOACTIVATE);
}

void TMDIClient::SetMenus(HMENU frameMenu, HMENU windowMenu)
{
    SendMessageW(Handle(), WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu), reinterpret_cast<LPARAM>(windowMenu));
    DrawMenuBar(GetParent(Handle()));
}

std::vector<TForm*> TMDIClient::Children() const
{
    std::vector<TForm*> children;
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* form = dynamic_cast<TForm*>(FindControl(child))) children.push_back(form);
    return children;
}

TForm* TMDIClient::ActiveChild() const
{
    auto* active = reinterpret_cast<HWND>(SendMessageW(Handle(), WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TForm*>(FindControl(active));
}

namespace {
void TellClientOf(HWND child, UINT msg) { SendMessageW(GetParent(child), msg, reinterpret_cast<WPARAM>(child), 0); }
}  // namespace

void TMDIClient::Activate(HWND child) { TellClientOf(child, WM_MDIACTIVATE); }

void TMDIClient::Maximize(HWND child) { TellClientOf(child, WM_MDIMAXIMIZE); }

void TMDIClient::Restore(HWND child) { TellClientOf(child, WM_MDIRESTORE); }

void TMDIClient::Destroy(HWND child) { TellClientOf(child, WM_MDIDESTROY); }

void TMDIClient::Tile(TTileMode mode)
{
    SendMessageW(Handle(), WM_MDITILE, mode == TTileMode::tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TMDIClient::Cascade() { SendMessageW(Handle(), WM_MDICASCADE, 0, 0); }

void TMDIClient::ArrangeIcons() { SendMessageW(Handle(), WM_MDIICONARRANGE, 0, 0); }

bool TMDIClient::TranslateSysAccel(HWND client, MSG& msg)
{
    if (!client || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return false;
    HWND frame = GetParent(client);
    if (msg.hwnd != frame && !IsChild(frame, msg.hwnd)) return false;
    return TranslateMDISysAccel(client, &msg) != FALSE;
}
