#include "KYPMDIWindowMenu.h"

#include <algorithm>

TkypMDIWindowMenu::TkypMDIWindowMenu(TComponent* owner, TForm& form)
    : TComponent(owner), m_Form(form), m_Watch(std::make_unique<TkypMDIClientWatch>(form, [this] { Rebuild(); }))
{
}

TkypMDIWindowMenu::~TkypMDIWindowMenu()
{
    m_Watch.reset();
    Clear();
    if (m_WindowMenu) m_WindowMenu->RemoveFreeNotification(this);
}

void TkypMDIWindowMenu::Clear()
{
    while (!m_Entries.empty()) {
        TMenuItem* entry = m_Entries.back();
        m_Entries.pop_back();
        entry->RemoveFreeNotification(this);
        FreeObject(entry);  // leaves the window menu
    }
}

TMenuItem* TkypMDIWindowMenu::AddEntry(TMenuItem* windowMenu, const String& caption)
{
    auto* entry = New<TMenuItem>(nullptr);
    m_Entries.push_back(entry);
    entry->FreeNotification(this);
    entry->SetCaption(caption);
    windowMenu->Add(entry);
    return entry;
}

void TkypMDIWindowMenu::Rebuild()
{
    if (HasState(csDestroying) || HasState(csDesigning) || !m_Enabled) return;
    m_Watch->Attach();
    Clear();
    TMenuItem* windowMenu = m_Form.WindowMenu();
    if (windowMenu != m_WindowMenu) {
        if (m_WindowMenu) m_WindowMenu->RemoveFreeNotification(this);
        m_WindowMenu = windowMenu;
        if (m_WindowMenu) m_WindowMenu->FreeNotification(this);
    }
    if (!windowMenu) return;
    AddEntry(windowMenu, L"-");
    for (int i = m_Form.MDIChildCount() - 1; i >= 0; --i) {
        TForm* child = m_Form.MDIChildren(i);
        if (child->HasState(csDestroying) || !child->HandleAllocated()) continue;
        TMenuItem* entry = AddEntry(windowMenu, child->Caption());
        entry->SetTag(reinterpret_cast<intptr_t>(child->Handle()));
        entry->OnClick = [this](TObject* sender) { EntryClick(sender); };
    }
    if (OnRebuilt) OnRebuilt(this);
}

HWND TkypMDIWindowMenu::EntryWindow(const TMenuItem* entry) const
{
    if (std::find(m_Entries.begin(), m_Entries.end(), entry) == m_Entries.end()) return nullptr;
    return reinterpret_cast<HWND>(entry->Tag());
}

TForm* TkypMDIWindowMenu::ChildOf(HWND window) const
{
    if (!window) return nullptr;
    for (int i = 0; i < m_Form.MDIChildCount(); ++i) {
        TForm* child = m_Form.MDIChildren(i);
        if (child->HandleAllocated() && child->Handle() == window) return child;
    }
    return nullptr;
}

void TkypMDIWindowMenu::EntryClick(TObject* sender)
{
    TForm* child = ChildOf(EntryWindow(dynamic_cast<TMenuItem*>(sender)));
    if (!child || child->HasState(csDestroying)) return;
    if (child->WindowState() == TWindowState::wsMinimized) child->SetWindowState(TWindowState::wsNormal);
    child->BringToFront();
}

void TkypMDIWindowMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == m_WindowMenu) m_WindowMenu = nullptr;
    // Freed with the window menu: not to be freed again.
    std::erase(m_Entries, component);
}
