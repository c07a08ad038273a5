#include "KYPMenuBar.h"

#include <utility>

#include "KYPMenu.h"
#include "KYPThemes.h"

namespace {

// Key data of a character typed with Alt held.
constexpr LPARAM kAltDown = 0x20000000;

}  // namespace

// ------------------------------------------------------------ TkypMenuBar

void TkypMenuBar::SyncPopupHotkeys(TObject* sender)
{
    auto* popup = dynamic_cast<TMenu*>(sender);
    TMenu* shown = m_Source ? m_Source->ShownMenu() : nullptr;
    if (popup && shown) popup->SetAutoHotkeys(shown->AutoHotkeys());
}

void TkypMenuBar::FitButtons(TMenuItem* root, const TMainMenu* fontMenu)
{
    TakeMenuFont(Font(), fontMenu, TkypMenuFontPart::Size);
    const int count = root->Count();
    SetAutoSize(false);
    while (ButtonCount() > count) FreeObject(Buttons(0));
    while (ButtonCount() < count) {
        auto* button = New<TToolButton>(this);
        button->SetParent(this);
        button->SetGrouped(true);
        button->SetAutoSize(true);
    }
    for (int i = count - 1; i >= 0; --i) Buttons(i)->SetMenuItem(root->Items(i));
    SetAutoSize(true);
}

void TkypMenuBar::FitWhenClosed(std::weak_ptr<const void> alive, std::function<void()> fit)
{
    if (!DroppedButton()) {
        fit();
        return;
    }
    const bool waiting = static_cast<bool>(m_PendingFit);
    m_PendingFit = [alive = std::move(alive), fit = std::move(fit)] {
        if (!alive.expired()) fit();
    };
    if (waiting) return;
    AfterDropDown([this] {
        if (auto pending = std::exchange(m_PendingFit, nullptr)) pending();
    });
}

bool TkypMenuBar::DialogChar(TMessage& message)
{
    if (message.LParam & kAltDown) return TToolBar::DialogChar(message);
    for (int i = 0; i < ButtonCount(); ++i)
        if (Buttons(i)->Tag() == kMenuBarActiveTag) return TToolBar::DialogChar(message);
    return false;
}

void TkypMenuBar::Notification(TComponent* component, TOperation operation)
{
    TToolBar::Notification(component, operation);
    if (operation != TOperation::opInsert || component->Owner() != this) return;
    if (auto* popup = dynamic_cast<TPopupMenu*>(component))
        popup->OnPopup = [this](TObject* sender) { SyncPopupHotkeys(sender); };
}

// ------------------------------------------------------------ the holder

TkypFormMenuBar::TkypFormMenuBar(TComponent* owner, IkypMenuBarHost& host)
    : TComponent(owner), m_Host(host)
{
}

// The frame is going: nothing is asked of it any more.
TkypFormMenuBar::~TkypFormMenuBar()
{
    m_Life.End();
    if (m_MenuBar) RetireBar();
    if (m_Menu) {
        LinkMenu(m_Menu, false);
        m_Menu->RemoveFreeNotification(this);
    }
}

TkypMainMenu* TkypFormMenuBar::SkinnedMenu() const
{
    return dynamic_cast<TkypMainMenu*>(m_Menu ? m_Menu : m_Host.MenuBarOwnMenu());
}

void TkypFormMenuBar::LinkMenu(TMainMenu* menu, bool link)
{
    auto* skinned = dynamic_cast<TkypMainMenu*>(menu);
    if (!skinned) return;
    if (link)
        skinned->SetMenuFrame(this);
    else if (skinned->MenuFrame() == static_cast<IkypMenuFrame*>(this))
        skinned->SetMenuFrame(nullptr);
}

void TkypFormMenuBar::SetMenu(TMainMenu* menu)
{
    if (menu != m_Menu) {
        if (m_Menu) {
            LinkMenu(m_Menu, false);
            m_Menu->RemoveFreeNotification(this);
        }
        m_Menu = menu;
        if (m_Menu) {
            m_Menu->FreeNotification(this);
            LinkMenu(m_Menu, true);
        }
    }
    if (!m_Menu) {
        FreeMenuBar();
        return;
    }
    if (!m_MenuBar) CreateMenuBar();
    UpdateMenu();
    m_Host.MenuBarPlaced();
}

void TkypFormMenuBar::CreateMenuBar()
{
    if (m_MenuBar || !m_Host.MenuBarAllowed()) return;
    auto* bar = New<TkypMenuBar>(this);
    m_MenuBar = bar;
    bar->SetSource(this);
    bar->SetParent(m_Host.MenuBarParent());
    bar->SetFlat(true);
    bar->SetEdgeBorders(0);
    bar->SetShowCaptions(true);
    bar->SetButtonHeight(m_MenuBarHeight);
    bar->SetHeight(m_MenuBarHeight);
    bar->SetColor(m_MenuBarColor);
    if (!m_Host.MenuBarDesigning())
        bar->OnCustomDrawButton = [this](TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                      bool& defaultDraw) { DrawMenuBarButton(sender, button, state, defaultDraw); };
    bar->OnCustomDraw = [this](TToolBar* sender, const TRect& rect, bool& defaultDraw) {
        DrawMenuBarBackground(sender, rect, defaultDraw);
    };
    bar->SetWrapable(true);
    bar->SetAutoSize(true);
    bar->OnResize = [this](TObject*) { m_Host.MenuBarPlaced(); };
    m_Host.MenuBarPlaced();
}

TkypMenuBar* TkypFormMenuBar::ShowBar(IkypMenuBarSource& source)
{
    if (!m_MenuBar) CreateMenuBar();
    if (m_MenuBar) m_MenuBar->SetSource(&source);
    return m_MenuBar;
}

void TkypFormMenuBar::RetireBar()
{
    TkypMenuBar* bar = std::exchange(m_MenuBar, nullptr);
    bar->OnResize = nullptr;
    bar->OnCustomDraw = nullptr;
    bar->OnCustomDrawButton = nullptr;
    bar->SetSource(nullptr);
    if (!bar->DroppedButton()) {
        FreeObject(bar);
        return;
    }
    // Freeing it now would pull the bar from under its own menu loop.
    RemoveComponent(bar);
    bar->SetVisible(false);
    EndMenu();
    bar->AfterDropDown([bar] { FreeObject(bar); });
}

void TkypFormMenuBar::FreeMenuBar()
{
    if (m_MenuBar && m_Host.MenuBarAllowed()) {
        RetireBar();
        if (!HasState(csDestroying)) m_Host.MenuBarPlaced();
    }
    if (m_Menu) {
        LinkMenu(m_Menu, false);
        m_Menu->RemoveFreeNotification(this);
        m_Menu = nullptr;
    }
}

void TkypFormMenuBar::UpdateMenu()
{
    if (!m_MenuBar) return;
    if (!m_Menu) {
        FreeMenuBar();
        return;
    }
    m_MenuBar->FitWhenClosed(m_Life.Weak(), [this] {
        if (m_MenuBar && m_Menu) m_MenuBar->FitButtons(m_Menu->Items(), SkinnedMenu());
    });
}

void TkypFormMenuBar::UpdateTopMenu()
{
    if (!m_MenuBar) return;
    for (int i = 0; i < m_MenuBar->ButtonCount(); ++i) {
        TToolButton* button = m_MenuBar->Buttons(i);
        if (TMenuItem* item = button->MenuItem()) {
            button->SetCaption(item->Caption());
            button->SetEnabled(item->Enabled());
        }
    }
}

void TkypFormMenuBar::RepaintMenuBar()
{
    if (!m_MenuBar || !m_Menu) return;
    TakeMenuFont(m_MenuBar->Font(), SkinnedMenu(), TkypMenuFontPart::Whole);
    m_MenuBar->Repaint();
}

// ------------------------------------------------------- colours, height

void TkypFormMenuBar::SetMenuBarColor(TColor color)
{
    m_MenuBarColor = color;
    if (m_MenuBar) m_MenuBar->SetColor(color);
}

void TkypFormMenuBar::SetMenuBarToColor(TColor color)
{
    m_MenuBarToColor = color;
    if (m_MenuBar) m_MenuBar->Repaint();
}

int TkypFormMenuBar::MenuBarHeight() const { return m_MenuBar && m_MenuBar->Visible() ? m_MenuBar->Height() : 0; }

void TkypFormMenuBar::SetMenuBarHeight(int height)
{
    m_MenuBarHeight = height;
    if (!m_MenuBar) return;
    m_MenuBar->SetHeight(height);
    m_MenuBar->SetButtonHeight(height);
}

void TkypFormMenuBar::StyleChanged(TkypUIStyle style, TkypFileTheme* theme)
{
    TkypUIStyle resolved = style;
    if (UsesThemeFile(theme, style, resolved)) {
        SetMenuBarColor(theme->GetColor(SKIN2_MENUBARSTARTCOLOR));
        SetMenuBarToColor(theme->GetColor(SKIN2_MENUBARENDCOLOR));
    } else {
        SetMenuBarColor(GetStyleColor(resolved, TkypStyleAttr::FormColor));
        SetMenuBarToColor(m_MenuBarColor);
    }
    if (TkypMainMenu* skinned = SkinnedMenu()) {
        skinned->SetFileTheme(theme);
        skinned->SetUIStyle(style);
    }
}

// ------------------------------------------------------------- drawing

void TkypFormMenuBar::DrawMenuBarBackground(TToolBar* sender, const TRect& rect, bool&)
{
    const TkypMainMenu* skinned = SkinnedMenu();
    const TkypUIStyle style = skinned ? skinned->UIStyle() : m_Host.MenuBarStyle();
    ::DrawMenuBarBackground(sender->Canvas(), rect, style, m_MenuBarColor, m_MenuBarToColor);
}

void TkypFormMenuBar::DrawMenuBarButton(TToolBar* sender, TToolButton* button, TCustomDrawState state,
    bool& defaultDraw)
{
    defaultDraw = false;
    TkypMenuBarLook look{m_Host.MenuBarStyle(), m_Host.MenuBarTheme(), SkinnedMenu()};
    // A menu held here gives the colours too; a frame whose bar a source
    // fills keeps its own look and takes only the font from its menu.
    if (m_Menu && look.FontMenu) {
        look.Style = look.FontMenu->UIStyle();
        look.Theme = look.FontMenu->FileTheme();
    }
    ::DrawMenuBarButton(sender->Canvas(), *button, state, look);
}

// ------------------------------------------------------------ removal

void TkypFormMenuBar::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == m_MenuBar) m_MenuBar = nullptr;
    if (component == m_Menu) {
        // Going: neither linked back nor watched any more.
        m_Menu = nullptr;
        FreeMenuBar();
    }
}
