#include "KYPMDIWindowMenu.h"

#include <algorithm>
#include <utility>

namespace {

// Posted to the form: the rebuild that waited for an entry's click.
constexpr UINT KYPM_REBUILDWINDOWMENU = 0x87D2;

}  // namespace

TkypMDIWindowMenu::TkypMDIWindowMenu(TComponent* owner, TForm& form)
    : TComponent(owner), m_Form(form), m_Watch(std::make_unique<TkypMDIClientWatch>(form, [this] { Rebuild(); }))
{
    m_FormHook = m_Form.AddWindowHook(this, [this](TMessage& message, const TWindowHookNext& next) {
        if (message.Msg != KYPM_REBUILDWINDOWMENU) {
            next(message);
            return;
        }
        Rebuild();
    });
}

TkypMDIWindowMenu::~TkypMDIWindowMenu()
{
    m_Form.RemoveWindowHook(m_FormHook);
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
    if (m_Clicking) {
        m_RebuildPending = true;  // the entry that runs its click stays till it returns
        return;
    }
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
    // However the click ends, a rebuild asked meanwhile follows it, unless
    // the click freed this component (activating the child runs handlers).
    struct TClickScope {
        TkypMDIWindowMenu& menu;
        TkypLifeToken::TWatch life;
        explicit TClickScope(TkypMDIWindowMenu& m) : menu(m), life(m.m_Life.Watch()) { menu.m_Clicking = true; }
        ~TClickScope()
        {
            if (!life) return;
            menu.m_Clicking = false;
            menu.RebuildAfterClick();
        }
    } scope(*this);
    if (child->WindowState() == TWindowState::wsMinimized) child->SetWindowState(TWindowState::wsNormal);
    child->BringToFront();
}

void TkypMDIWindowMenu::RebuildAfterClick()
{
    if (std::exchange(m_RebuildPending, false) && m_Form.HandleAllocated())
        PostMessageW(m_Form.Handle(), KYPM_REBUILDWINDOWMENU, 0, 0);
}

void TkypMDIWindowMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == m_WindowMenu) m_WindowMenu = nullptr;
    // Freed with the window menu: not to be freed again.
    std::erase(m_Entries, component);
}
