#include "KYPPopupMenu.h"

#include "ImageList.h"
#include "KYPMenu.h"
#include "KYPThemes.h"
#include "TypInfo.h"

TkypPopupMenu::TkypPopupMenu(TComponent* owner)
    : TPopupMenu(owner), m_FileTheme(this), m_Self(std::make_shared<TkypPopupMenu*>(this))
{
    SetUIStyle(DefaultStyleFor(owner));
}

TkypPopupMenu::~TkypPopupMenu() { *m_Self = nullptr; }

TImageList& TkypPopupMenu::CheckMarks()
{
    static TOwned<TImageList> list;
    if (!list) list = TkypMenuLook::MakeCheckMarks();
    return *list;
}

// ------------------------------------------------------------ properties

void TkypPopupMenu::SetFileTheme(TkypFileTheme* theme)
{
    m_FileTheme.Set(theme);
    SetUIStyle(m_Look.m_UIStyle);
}

void TkypPopupMenu::SetUIStyle(TkypUIStyle style) { m_Look.SetUIStyle(style, m_FileTheme.Theme()); }

void TkypPopupMenu::SetMenuItemHeight(int height)
{
    if (m_Look.m_UIStyle != MacOS) m_Look.m_Height = height;
}

void TkypPopupMenu::SetSeparatorHeight(int height)
{
    if (m_Look.m_UIStyle != MacOS) m_Look.m_SeparatorHeight = height;
}

// ------------------------------------------------------------- hooking

void TkypPopupMenu::HookItem(TMenuItem* item)
{
    std::weak_ptr<TkypPopupMenu*> self = m_Self;
    HookMenuItemDraw(
        item,
        [self](TObject* sender, TCanvas& canvas, int& width, int& height) {
            if (auto menu = self.lock(); menu && *menu) (*menu)->MeasureItem(sender, canvas, width, height);
        },
        [self](TObject* sender, TCanvas& canvas, const TRect& rect, bool selected) {
            if (auto menu = self.lock(); menu && *menu) (*menu)->DrawItem(sender, canvas, rect, selected);
        });
}

void TkypPopupMenu::MenuAdded()
{
    for (int i = 0; i < Items()->Count(); ++i) HookItem(Items()->Items(i));
}

void TkypPopupMenu::Loaded()
{
    TPopupMenu::Loaded();
    MenuAdded();
}

void TkypPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TPopupMenu::Notification(component, operation);
    TkypUIStyle fallback = m_Look.m_UIStyle;
    if (m_FileTheme.Removed(component, operation, fallback)) SetUIStyle(fallback);
    if (operation == TOperation::opInsert)
        if (auto* item = dynamic_cast<TMenuItem*>(component)) HookItem(item);
}

// ----------------------------------------------------- measuring, drawing

void TkypPopupMenu::MeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height)
{
    if (auto* item = dynamic_cast<TMenuItem*>(sender)) m_Look.Measure(*item, canvas, width, height);
}

void TkypPopupMenu::DrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    const TkypMenuImages images{CheckMarks(), Images()};
    m_Look.Draw(*item, canvas, rect, selected, images, !IsRightToLeft(), m_FileTheme.Theme());
}

namespace {

TkypFileTheme* ThemeOf(TkypPopupMenu* menu) { return menu->FileTheme(); }

const bool popupMenuPropertiesRegistered = RegisterProperties<TkypPopupMenu, TPopupMenu>({
    OrdinalProperty<TkypPopupMenu>(L"OwnerDraw", &TkypPopupMenu::OwnerDraw, &TkypPopupMenu::SetOwnerDraw),
    ObjectProperty<TkypPopupMenu, TkypFileTheme>(L"FileTheme", ThemeOf, &TkypPopupMenu::SetFileTheme),
    OrdinalProperty<TkypPopupMenu>(L"UIStyle", &TkypPopupMenu::UIStyle, &TkypPopupMenu::SetUIStyle),
    OrdinalProperty<TkypPopupMenu>(L"MenuItemHeight", &TkypPopupMenu::MenuItemHeight,
        &TkypPopupMenu::SetMenuItemHeight),
    OrdinalProperty<TkypPopupMenu>(L"SeparatorHeight", &TkypPopupMenu::SeparatorHeight,
        &TkypPopupMenu::SetSeparatorHeight),
    OrdinalProperty<TkypPopupMenu>(L"BarWidth", &TkypPopupMenu::BarWidth, &TkypPopupMenu::SetBarWidth),
    OrdinalProperty<TkypPopupMenu>(L"BarColor", &TkypPopupMenu::BarColor, &TkypPopupMenu::SetBarColor),
    OrdinalProperty<TkypPopupMenu>(L"BarToColor", &TkypPopupMenu::BarToColor, &TkypPopupMenu::SetBarToColor),
    OrdinalProperty<TkypPopupMenu>(L"Color", &TkypPopupMenu::Color, &TkypPopupMenu::SetColor),
    OrdinalProperty<TkypPopupMenu>(L"SeparatorColor", &TkypPopupMenu::SeparatorColor,
        &TkypPopupMenu::SetSeparatorColor),
    OrdinalProperty<TkypPopupMenu>(L"SelectedBorderColor", &TkypPopupMenu::SelectedBorderColor,
        &TkypPopupMenu::SetSelectedBorderColor),
    OrdinalProperty<TkypPopupMenu>(L"SelectedColor", &TkypPopupMenu::SelectedColor,
        &TkypPopupMenu::SetSelectedColor),
    OrdinalProperty<TkypPopupMenu>(L"SelectedFontColor", &TkypPopupMenu::SelectedFontColor,
        &TkypPopupMenu::SetSelectedFontColor),
    OrdinalProperty<TkypPopupMenu>(L"FontColor", &TkypPopupMenu::FontColor, &TkypPopupMenu::SetFontColor),
    OrdinalProperty<TkypPopupMenu>(L"BorderColor", &TkypPopupMenu::BorderColor, &TkypPopupMenu::SetBorderColor),
    OrdinalProperty<TkypPopupMenu>(L"FlatMenu", &TkypPopupMenu::FlatMenu, &TkypPopupMenu::SetFlatMenu),
    OrdinalProperty<TkypPopupMenu>(L"FontSize", &TkypPopupMenu::FontSize, &TkypPopupMenu::SetFontSize),
    OrdinalProperty<TkypPopupMenu>(L"FontCharset", &TkypPopupMenu::FontCharset, &TkypPopupMenu::SetFontCharset),
    OrdinalProperty<TkypPopupMenu>(L"UseSystemFont", &TkypPopupMenu::UseSystemFont,
        &TkypPopupMenu::SetUseSystemFont),
});

}  // namespace
