// The MDI client window, and the MDI side of TForm (declared in Forms.h).
#include "MDIClient.h"

#include <algorithm>

#include "Collections.h"
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

// ---------------------------------------------------- the MDI side of TForm

void TForm::DestroyWnd()
{
    if (IsMDIChildWindow())
        TMDIClient::Destroy(Handle());
    else
        TWinControl::DestroyWnd();
}

bool TForm::IsMDIChildWindow() { return HandleAllocated() && (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD); }

void TForm::SetFormStyle(TFormStyle style)
{
    if (style == formStyle_) return;
    formStyle_ = style;
    RecreateWnd();
}

HWND TForm::ClientHandle() const { return client_ ? client_->Handle() : nullptr; }

int TForm::MDIChildCount() const { return client_ ? static_cast<int>(client_->Children().size()) : 0; }

TForm* TForm::MDIChildren(int index) const
{
    const std::vector<TForm*> children = client_ ? client_->Children() : std::vector<TForm*>();
    if (index < 0 || index >= static_cast<int>(children.size()))
        throw EListError(L"MDI child index out of bounds (" + IntToStr(index) + L")");
    return children[static_cast<size_t>(index)];
}

TForm* TForm::ActiveMDIChild() const { return client_ ? client_->ActiveChild() : nullptr; }

void TForm::Tile()
{
    if (client_) client_->Tile(tileMode_);
}

void TForm::Cascade()
{
    if (client_) client_->Cascade();
}

void TForm::ArrangeIcons()
{
    if (client_) client_->ArrangeIcons();
}

void TForm::SetWindowMenu(TMenuItem* item)
{
    if (item == windowMenu_) return;
    if (windowMenu_) windowMenu_->RemoveFreeNotification(this);
    windowMenu_ = item;
    if (windowMenu_) windowMenu_->FreeNotification(this);
    UpdateClientMenus();
}

// The sub-menu exists once the bar is built and the item has sub-items.
HMENU TForm::WindowMenuHandle() const { return windowMenu_ ? windowMenu_->SubMenuHandle() : nullptr; }

void TForm::UpdateClientMenus()
{
    if (client_ && menu_) client_->SetMenus(menu_->Handle(), WindowMenuHandle());
}

// The children's windows go with the frame's; they are made again in the
// new client, bottom first, so that they keep their order.
void TForm::RecreateWithChildren(TMessage& message)
{
    std::vector<TForm*> children = client_ ? client_->Children() : std::vector<TForm*>();
    for (TForm* child : children) child->FreeNotification(this);
    recreatedChildren_ = &children;
    const auto unwatch = [&] {
        recreatedChildren_ = nullptr;
        for (TForm* child : children)
            if (child) child->RemoveFreeNotification(this);
    };
    try {
        TWinControl::WndProc(message);
    } catch (...) {
        unwatch();
        throw;
    }
    unwatch();
    if (!client_) return;  // no longer a frame: they have nowhere to live
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (*it) (*it)->HandleNeeded();
}

// The frame's aligned controls take their place first; the client the rest.
void TForm::RestAligned(const TRect& rest)
{
    if (client_) client_->Place(rest);
}

// An MDI frame and child leave the rest to the system's MDI handling. The
// frame places its client itself: WM_SIZE would have DefFrameProc stretch
// it over the aligned controls.
void TForm::DefaultHandler(TMessage& message)
{
    if (client_ && message.Msg != WM_SIZE)
        message.Result = DefFrameProcW(Handle(), client_->Handle(), message.Msg, message.WParam, message.LParam);
    else if (IsMDIChildWindow())
        message.Result = DefMDIChildProcW(Handle(), message.Msg, message.WParam, message.LParam);
    else
        TWinControl::DefaultHandler(message);
}

// An MDI child's client keeps track of the maximised one.
void TForm::SetMDIChildState(TWindowState state)
{
    switch (state) {
    case TWindowState::wsNormal: TMDIClient::Restore(Handle()); break;
    case TWindowState::wsMinimized: ShowWindow(Handle(), SW_MINIMIZE); break;
    case TWindowState::wsMaximized: TMDIClient::Maximize(Handle()); break;
    }
}

bool TApplication::IsMDIMessage(MSG& msg)
{
    return mainForm_ && TMDIClient::TranslateSysAccel(mainForm_->ClientHandle(), msg);
}
