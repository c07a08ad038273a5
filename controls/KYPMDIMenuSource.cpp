#include "KYPMDIMenuSource.h"

#include <utility>

#include "KYPForm.h"
#include "KYPMenu.h"

TkypMDIMenuSource::TkypMDIMenuSource(TComponent* owner, TForm& form)
    : TComponent(owner),
      m_Form(form),
      m_Watch(std::make_unique<TkypMDIClientWatch>(form, [this] { Changed(); })),
      m_Self(std::make_shared<TkypMDIMenuSource*>(this))
{
}

TkypMDIMenuSource::~TkypMDIMenuSource()
{
    *m_Self = nullptr;
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
    for (int i = 0; i < child->ControlCount(); ++i)
        if (auto* frame = dynamic_cast<TkypForm*>(child->Controls(i))) {
            TMainMenu* menu = Live(frame->Menu());  // only the first frame counts
            return menu ? menu : m_Menu;
        }
    return m_Menu;
}

TMainMenu* TkypMDIMenuSource::Update(TkypMenuBar& bar)
{
    m_Watch->Attach();
    Watch(m_Shown, TopMenu());
    if (!m_Shown) return nullptr;
    if (!bar.DroppedButton()) {
        FitButtons(bar);
    } else if (!std::exchange(m_FitPending, true)) {
        // The open drop-down belongs to one of the buttons.
        std::weak_ptr<TkypMDIMenuSource*> self = m_Self;
        bar.AfterDropDown([self, &bar] {
            if (auto source = self.lock(); source && *source) {
                (*source)->m_FitPending = false;
                if ((*source)->m_Shown) (*source)->FitButtons(bar);
            }
        });
    }
    return m_Shown;
}

void TkypMDIMenuSource::FitButtons(TkypMenuBar& bar)
{
    if (auto* skinned = dynamic_cast<TkypMainMenu*>(m_Menu)) {
        if (skinned->UseSystemFont())
            SetSystemMenuFont(bar.Font());
        else
            bar.Font().SetSize(skinned->FontSize());
    }
    TMenuItem* root = m_Shown->Items();
    const int count = root->Count();
    bar.SetAutoSize(false);
    while (bar.ButtonCount() > count) FreeObject(bar.Buttons(0));
    while (bar.ButtonCount() < count) {
        auto* button = New<TToolButton>(&bar);
        button->SetParent(&bar);
        button->SetGrouped(true);
        button->SetAutoSize(true);
    }
    for (int i = count - 1; i >= 0; --i) bar.Buttons(i)->SetMenuItem(root->Items(i));
    bar.SetAutoSize(true);
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
