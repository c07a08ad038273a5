// What the two skinned menus (popup and main) have in common over their
// different framework bases: the look's properties, the theme link, the
// handler pair given to every item, and the properties they publish.
#pragma once

#include <memory>
#include <vector>

#include "Graphics.h"
#include "KYPLifeToken.h"
#include "KYPMenu.h"
#include "KYPMenuLook.h"
#include "KYPMgr.h"
#include "KYPStyle.h"
#include "Menus.h"
#include "TypInfo.h"

template <class TMenuBase>
class TkypSkinnedMenu : public TMenuBase {
public:
    // The derived menu applies its first style.
    explicit TkypSkinnedMenu(TComponent* owner)
        : TMenuBase(owner), m_FileTheme(this)
    {
    }
    ~TkypSkinnedMenu() override { m_Life.End(); }

    TkypFileTheme* FileTheme() const { return m_FileTheme.Theme(); }
    // Re-reads the colours through the current style.
    void SetFileTheme(TkypFileTheme* theme)
    {
        m_FileTheme.Set(theme);
        SetUIStyle(m_Look.m_UIStyle);
    }
    TkypUIStyle UIStyle() const { return m_Look.m_UIStyle; }
    // Resets the heights, bar width, separator colour and the seven colours.
    void SetUIStyle(TkypUIStyle style) { m_Look.SetUIStyle(style, m_FileTheme.Theme()); }
    int MenuItemHeight() const { return m_Look.m_Height; }
    virtual void SetMenuItemHeight(int height)
    {
        if (m_Look.m_UIStyle != MacOS) m_Look.m_Height = height;
    }
    int SeparatorHeight() const { return m_Look.m_SeparatorHeight; }
    // Ignored while the style is MacOS, whose bitmaps fix the heights.
    void SetSeparatorHeight(int height)
    {
        if (m_Look.m_UIStyle != MacOS) m_Look.m_SeparatorHeight = height;
    }

    // These take effect at the next measuring or drawing.
    int BarWidth() const { return m_Look.m_BarWidth; }
    void SetBarWidth(int width) { m_Look.m_BarWidth = width; }
    TColor BarColor() const { return m_Look.m_BarColor; }
    void SetBarColor(TColor color) { m_Look.m_BarColor = color; }
    TColor BarToColor() const { return m_Look.m_BarToColor; }
    void SetBarToColor(TColor color) { m_Look.m_BarToColor = color; }
    TColor Color() const { return m_Look.m_Color; }
    void SetColor(TColor color) { m_Look.m_Color = color; }
    TColor SeparatorColor() const { return m_Look.m_SeparatorColor; }
    void SetSeparatorColor(TColor color) { m_Look.m_SeparatorColor = color; }
    TColor SelectedBorderColor() const { return m_Look.m_SelectedBorderColor; }
    void SetSelectedBorderColor(TColor color) { m_Look.m_SelectedBorderColor = color; }
    TColor SelectedColor() const { return m_Look.m_SelectedColor; }
    void SetSelectedColor(TColor color) { m_Look.m_SelectedColor = color; }
    TColor SelectedFontColor() const { return m_Look.m_SelectedFontColor; }
    void SetSelectedFontColor(TColor color) { m_Look.m_SelectedFontColor = color; }
    TColor FontColor() const { return m_Look.m_FontColor; }
    void SetFontColor(TColor color) { m_Look.m_FontColor = color; }
    // Kept for form descriptions; the drawing does not use it.
    TColor BorderColor() const { return m_Look.m_BorderColor; }
    void SetBorderColor(TColor color) { m_Look.m_BorderColor = color; }
    bool FlatMenu() const { return m_Look.m_FlatMenu; }
    void SetFlatMenu(bool flat) { m_Look.m_FlatMenu = flat; }
    const String& FontName() const { return m_Look.m_FontName; }
    void SetFontName(const String& name) { m_Look.m_FontName = name; }
    int FontSize() const { return m_Look.m_FontSize; }
    void SetFontSize(int size) { m_Look.m_FontSize = size; }
    uint8_t FontCharset() const { return m_Look.m_FontCharset; }
    void SetFontCharset(uint8_t charset) { m_Look.m_FontCharset = charset; }
    bool UseSystemFont() const { return m_Look.m_UseSystemFont; }
    virtual void SetUseSystemFont(bool use) { m_Look.m_UseSystemFont = use; }

    // Gives this menu's handlers to every item; call after adding items
    // the menu was not told of.
    void MenuAdded()
    {
        for (int i = 0; i < this->Items()->Count(); ++i) HookItem(this->Items()->Items(i));
        ItemsHooked();
    }

    // The handler pair, with the framework's owner-draw signatures.
    void MeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height)
    {
        if (auto* item = dynamic_cast<TMenuItem*>(sender)) m_Look.Measure(*item, canvas, width, height);
    }
    void DrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)
    {
        if (auto* item = dynamic_cast<TMenuItem*>(sender))
            m_Look.Draw(*item, canvas, rect, selected, ItemImages(), !this->IsRightToLeft(), m_FileTheme.Theme());
    }

    // The published properties both menus share, from FileTheme on.
    static std::vector<TPropInfo> SharedProperties()
    {
        using M = TkypSkinnedMenu;
        return {
            ObjectProperty<M, TkypFileTheme>(L"FileTheme", &M::FileTheme, &M::SetFileTheme),
            OrdinalProperty<M>(L"UIStyle", &M::UIStyle, &M::SetUIStyle),
            OrdinalProperty<M>(L"MenuItemHeight", &M::MenuItemHeight, &M::SetMenuItemHeight),
            OrdinalProperty<M>(L"SeparatorHeight", &M::SeparatorHeight, &M::SetSeparatorHeight),
            OrdinalProperty<M>(L"BarWidth", &M::BarWidth, &M::SetBarWidth),
            OrdinalProperty<M>(L"BarColor", &M::BarColor, &M::SetBarColor),
            OrdinalProperty<M>(L"BarToColor", &M::BarToColor, &M::SetBarToColor),
            OrdinalProperty<M>(L"Color", &M::Color, &M::SetColor),
            OrdinalProperty<M>(L"SeparatorColor", &M::SeparatorColor, &M::SetSeparatorColor),
            OrdinalProperty<M>(L"SelectedBorderColor", &M::SelectedBorderColor, &M::SetSelectedBorderColor),
            OrdinalProperty<M>(L"SelectedColor", &M::SelectedColor, &M::SetSelectedColor),
            OrdinalProperty<M>(L"SelectedFontColor", &M::SelectedFontColor, &M::SetSelectedFontColor),
            OrdinalProperty<M>(L"FontColor", &M::FontColor, &M::SetFontColor),
            OrdinalProperty<M>(L"BorderColor", &M::BorderColor, &M::SetBorderColor),
            OrdinalProperty<M>(L"FlatMenu", &M::FlatMenu, &M::SetFlatMenu),
            OrdinalProperty<M>(L"FontSize", &M::FontSize, &M::SetFontSize),
            OrdinalProperty<M>(L"FontCharset", &M::FontCharset, &M::SetFontCharset),
            OrdinalProperty<M>(L"UseSystemFont", &M::UseSystemFont, &M::SetUseSystemFont),
        };
    }

protected:
    // Where the check mark and the items' images come from.
    virtual TkypMenuImages ItemImages() = 0;
    // After MenuAdded has hooked every item.
    virtual void ItemsHooked() {}

    void Loaded() override
    {
        TMenuBase::Loaded();
        MenuAdded();
    }

    void Notification(TComponent* component, TOperation operation) override
    {
        TMenuBase::Notification(component, operation);
        TkypUIStyle fallback = m_Look.m_UIStyle;
        if (m_FileTheme.Removed(component, operation, fallback)) SetUIStyle(fallback);
        if (operation == TOperation::opInsert)
            if (auto* item = dynamic_cast<TMenuItem*>(component)) HookItem(item);
    }

    TkypMenuLook m_Look;

private:
    void HookItem(TMenuItem* item)
    {
        HookMenuItemDraw(
            item,
            [this, life = m_Life.Watch()](TObject* sender, TCanvas& canvas, int& width, int& height) {
                if (life) MeasureItem(sender, canvas, width, height);
            },
            [this, life = m_Life.Watch()](TObject* sender, TCanvas& canvas, const TRect& rect, bool selected) {
                if (life) DrawItem(sender, canvas, rect, selected);
            });
    }

    TkypThemeLink m_FileTheme;
    // Shared with the handlers given to items, which may outlive the menu:
    // cleared when the menu goes, so that they then do nothing.
    TkypLifeToken m_Life;
};
