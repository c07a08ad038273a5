#include "KYPPopupMenu.h"

#include <algorithm>

#include "Bitmap.h"
#include "ImageList.h"
#include "KYPMenu.h"
#include "KYPPublic.h"
#include "KYPThemes.h"
#include "TypInfo.h"

namespace {

// Attributes of the style tables that the menu reads.
constexpr int kAttrFormColor = 15;
constexpr int kAttrSelectedBorder = 18;
constexpr int kAttrSelectedFill = 19;
constexpr int kAttrSelectedFont = 20;
constexpr int kAttrItemFill = 21;
constexpr int kAttrItemFont = 22;
constexpr int kAttrBar = 23;

constexpr TColor kDisabledText = 0x808080;
constexpr int kImageSize = 16;

}  // namespace

TkypPopupMenu::TkypPopupMenu(TComponent* owner)
    : TPopupMenu(owner), m_FileTheme(this), m_Self(std::make_shared<TkypPopupMenu*>(this))
{
    SetUIStyle(DefaultStyleFor(owner));
}

TkypPopupMenu::~TkypPopupMenu() { *m_Self = nullptr; }

TImageList& TkypPopupMenu::CheckMarks()
{
    static TOwned<TImageList> list;
    if (!list) {
        TOwned<TImageList> made = MakeOwned<TImageList>(kImageSize, kImageSize, nullptr);
        TOwned<TBitmap> mark = MakeOwned<TBitmap>();
        mark->LoadFromResourceName(GetModuleHandleW(nullptr), L"MENU_CHECKED");
        made->AddMasked(mark.get(), clWhite);
        list = std::move(made);
    }
    return *list;
}

// ------------------------------------------------------------ properties

void TkypPopupMenu::SetFileTheme(TkypFileTheme* theme)
{
    m_FileTheme.Set(theme);
    SetUIStyle(m_UIStyle);
}

bool TkypPopupMenu::UsesTheme(TkypUIStyle& resolved) const
{
    return UsesThemeFile(m_FileTheme.Theme(), m_UIStyle, resolved);
}

void TkypPopupMenu::SetUIStyle(TkypUIStyle style)
{
    m_UIStyle = style;
    m_BarWidth = 26;
    const bool mac = style == MacOS;
    m_Height = mac ? 20 : 21;
    m_SeparatorHeight = mac ? 12 : 5;
    m_SeparatorColor = mac ? clBlack : 0x848284;
    TkypUIStyle resolved = style;
    if (UsesTheme(resolved)) {
        const TkypFileTheme& theme = *m_FileTheme.Theme();
        m_BarColor = theme.GetColor(SKIN2_LEFTBARSTARTCOLOR);
        m_BarToColor = theme.GetColor(SKIN2_LEFTBARENDCOLOR);
        m_Color = theme.GetColor(SKIN2_MENUITEMCOLOR);
        m_FontColor = theme.GetColor(SKIN2_MENUITEMFONTCOLOR);
        m_SelectedBorderColor = theme.GetColor(SKIN2_SELECTEDMENUBORDERCOLOR);
        m_SelectedColor = theme.GetColor(SKIN2_SELECTEDMENUCOLOR);
        m_SelectedFontColor = theme.GetColor(SKIN2_SELECTEDMENUFONTCOLOR);
        return;
    }
    m_BarColor = m_BarToColor = GetStyleColor(resolved, kAttrBar);
    m_Color = GetStyleColor(resolved, kAttrItemFill);
    m_FontColor = GetStyleColor(resolved, kAttrItemFont);
    m_SelectedBorderColor = GetStyleColor(resolved, kAttrSelectedBorder);
    m_SelectedColor = GetStyleColor(resolved, kAttrSelectedFill);
    m_SelectedFontColor = GetStyleColor(resolved, kAttrSelectedFont);
}

void TkypPopupMenu::SetMenuItemHeight(int height)
{
    if (m_UIStyle != MacOS) m_Height = height;
}

void TkypPopupMenu::SetSeparatorHeight(int height)
{
    if (m_UIStyle != MacOS) m_SeparatorHeight = height;
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
    TkypUIStyle fallback = m_UIStyle;
    if (m_FileTheme.Removed(component, operation, fallback)) SetUIStyle(fallback);
    if (operation == TOperation::opInsert)
        if (auto* item = dynamic_cast<TMenuItem*>(component)) HookItem(item);
}

// ------------------------------------------------------------ measuring

void TkypPopupMenu::MeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    if (item->IsLine())
        height = m_SeparatorHeight;
    else
        height = std::max(m_Height, canvas.TextHeight(item->Caption()));
    width = canvas.TextWidth(item->Caption()) + canvas.TextWidth(ShortCutToText(item->ShortCut())) + m_BarWidth + 40;
}

// -------------------------------------------------------------- drawing

TColor TkypPopupMenu::FlatBorderLineColor() const
{
    TkypUIStyle resolved = m_UIStyle;
    if (UsesTheme(resolved)) return m_FileTheme.Theme()->GetColor(SKIN2_FORMCOLOR);
    return GetStyleColor(resolved, kAttrFormColor);
}

void TkypPopupMenu::DrawBar(TCanvas& canvas, const TRect& rect, bool leftToRight)
{
    if (m_BarWidth <= 0) return;
    const TRect bar = leftToRight ? TRect(rect.Left, rect.Top, rect.Left + m_BarWidth, rect.Bottom)
                                  : TRect(rect.Right - m_BarWidth, rect.Top, rect.Right, rect.Bottom);
    if (m_BarToColor == m_BarColor)
        FillMenuRect(canvas, bar, m_BarColor);
    else
        DrawHorizontalGradient(canvas, bar, m_BarColor, m_BarToColor);
}

void TkypPopupMenu::DrawPlainBackground(TCanvas& canvas, const TRect& rect, bool leftToRight)
{
    DrawBar(canvas, rect, leftToRight);
    const TRect rest = leftToRight ? TRect(rect.Left + m_BarWidth, rect.Top, rect.Right, rect.Bottom)
                                   : TRect(rect.Left, rect.Top, rect.Right - m_BarWidth, rect.Bottom);
    FillMenuRect(canvas, rest, m_Color);
}

void TkypPopupMenu::DrawSeparator(TCanvas& canvas, const TRect& rect, bool leftToRight)
{
    if (m_UIStyle == MacOS) {
        DrawMacMenuSeparator(canvas, rect);
        return;
    }
    DrawPlainBackground(canvas, rect, leftToRight);
    DrawMenuSeparator(canvas, rect, m_SeparatorColor, leftToRight, m_BarWidth);
}

void TkypPopupMenu::DrawBackground(TCanvas& canvas, const TRect& rect, bool selected, bool leftToRight)
{
    const bool mac = m_UIStyle == MacOS;
    if (selected) {
        if (mac) {
            DrawMacMenuSelection(canvas, rect);
            return;
        }
        FillMenuRect(canvas, rect, m_SelectedColor);
        FrameMenuRect(canvas, rect, m_SelectedBorderColor);
        return;
    }
    if (mac)
        DrawMacMenuItem(canvas, rect);
    else
        DrawPlainBackground(canvas, rect, leftToRight);
}

void TkypPopupMenu::PrepareFont(TCanvas& canvas, const TMenuItem& item, bool selected)
{
    TFont& font = canvas.Font();
    if (m_UseSystemFont) {
        SetSystemMenuFont(font);
    } else {
        font.SetName(m_FontName);
        font.SetSize(m_FontSize);
        font.SetCharset(m_FontCharset);
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    font.SetColor(!item.Enabled() ? kDisabledText : selected ? m_SelectedFontColor : m_FontColor);
    if (item.Default()) font.SetStyle(font.Style() | fsBold);
}

void TkypPopupMenu::DrawTexts(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool leftToRight)
{
    constexpr UINT kLine = DT_VCENTER | DT_SINGLELINE;
    TRect caption = leftToRight ? TRect(rect.Left + m_BarWidth + 4, rect.Top, rect.Right, rect.Bottom)
                                : TRect(rect.Left, rect.Top, rect.Right - m_BarWidth - 4, rect.Bottom);
    canvas.TextRect(caption, item.Caption(), kLine | (leftToRight ? DT_LEFT : DT_RIGHT));

    const String shortCut = ShortCutToText(item.ShortCut());
    if (shortCut.empty()) return;
    TRect place = leftToRight ? TRect(rect.Right - canvas.TextWidth(shortCut) - 16, rect.Top, rect.Right, rect.Bottom)
                              : TRect(rect.Left + m_BarWidth + 4, rect.Top, rect.Right, rect.Bottom);
    canvas.TextRect(place, shortCut, kLine | DT_LEFT);
}

bool TkypPopupMenu::HasValidImage(const TMenuItem& item) const
{
    return item.ImageIndex() != -1 && Images() && item.ImageIndex() < Images()->Count();
}

void TkypPopupMenu::DrawCheckAndImage(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool leftToRight)
{
    const int x = leftToRight ? rect.Left + 4 : rect.Right - 20;
    const int y = rect.Top + 3;
    const bool image = HasValidImage(item);
    if (item.Checked()) {
        if (image) {
            FrameMenuRect(canvas, TRect(x - 2, rect.Top + 1, x + 17, rect.Top + 20), clBlack);
            FillMenuRect(canvas, TRect(x - 1, rect.Top + 2, x + 16, rect.Top + 19), m_SelectedColor);
        } else {
            CheckMarks().Draw(canvas, x, y, 0, item.Enabled());
        }
    }
    if (image) Images()->Draw(canvas, x, y, item.ImageIndex(), item.Enabled());
}

void TkypPopupMenu::DrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    const bool leftToRight = !IsRightToLeft();
    if (m_FlatMenu)
        if (HWND window = WindowFromDC(canvas.Handle())) DrawFlatMenuBorder(window, clBlack, FlatBorderLineColor());
    if (item->IsLine()) {
        DrawSeparator(canvas, rect, leftToRight);
        return;
    }
    // A disabled item cannot be chosen, so it never looks chosen.
    const bool shownSelected = selected && item->Enabled();
    DrawBackground(canvas, rect, shownSelected, leftToRight);
    PrepareFont(canvas, *item, selected);
    DrawTexts(canvas, *item, rect, leftToRight);
    DrawCheckAndImage(canvas, *item, rect, leftToRight);
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
