#include "KYPMDIMenuSource.h"

#include <utility>

#include "KYPForm.h"
#include "KYPMenu.h"

TkypMDIMenuSource::TkypMDIMenuSource(TComponent* owner, TForm& form)
    : TComponent(owner),
      m_Form(form),
      m_Watch(std::make_unique<TkypMDIClientWatch>(form, [this] { Changed(); }))
{
}

TkypMDIMenuSource::~TkypMDIMenuSource()
{
    m_Life.End();
    m_Watch.reset();
    Watch(m_Menu, nullptr);
    Watch(m_Shown, nullptr);
}

void TkypMDIMenuSource::Watch(TMainMenu*& field, TMainMenu* menu)
{
    if (field == menu) return;
    TMainMenu* old = std::exchange(field, menu);
    // One link per pair: kept while either field holds the menu.
    if (old && old != m_Menu && old != m_Shown) old->RemoveFreeNotification(this);
    if (menu) menu->FreeNotification(this);
}

void TkypMDIMenuSource::SetMenu(TMainMenu* menu) { Watch(m_Menu, menu); }

namespace {

// A menu being freed may still be some form's until it has heard of it.
TMainMenu* Live(TMainMenu* menu) { return menu && !menu->HasState(csDestroying) ? menu : nullptr; }

}  // namespace

TMainMenu* TkypMDIMenuSource::TopMenu() const
{
    TForm* child = m_DrawChildMenus ? m_Form.ActiveMDIChild() : nullptr;
    if (!child || child->HasState(csDestroying)) return m_Menu;
    if (TMainMenu* own = Live(child->Menu())) return own;
    TkypForm* frame = FindFormFrame(*child);
    TMainMenu* menu = frame ? Live(frame->Menu()) : nullptr;
    return menu ? menu : m_Menu;
}

TMainMenu* TkypMDIMenuSource::Update(TkypMenuBar& bar)
{
    m_Watch->Attach();
    Watch(m_Shown, TopMenu());
    if (!m_Shown) return nullptr;
    // The frame's own menu gives the font also while a child's shows.
    bar.FitWhenClosed(m_Life.Weak(), [this, &bar] {
        if (m_Shown) bar.FitButtons(m_Shown->Items(), m_Menu);
    });
    return m_Shown;
}

void TkypMDIMenuSource::Changed()
{
    // The frame's children go with it: nothing to follow any more.
    if (OnChange && !HasState(csDestroying)) OnChange(this);
}

void TkypMDIMenuSource::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    const bool mine = component == m_Menu || component == m_Shown;
    if (component == m_Menu) m_Menu = nullptr;
    if (component == m_Shown) m_Shown = nullptr;
    if (mine) Changed();
}
