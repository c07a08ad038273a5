// TkypPopupMenu: a popup menu that measures and draws its items itself in
// one of the built-in styles or from a loaded skin file, with the look the
// skinned menus share (KYPMenuLook.h).
#pragma once

#include <memory>

#include "Graphics.h"
#include "KYPMenuLook.h"
#include "KYPMgr.h"
#include "KYPStyle.h"
#include "Menus.h"

class TImageList;

class TkypPopupMenu : public TPopupMenu {
public:
    explicit TkypPopupMenu(TComponent* owner);
    ~TkypPopupMenu() override;

    // Always owner-drawn: writes are ignored.
    bool OwnerDraw() const override { return true; }
    void SetOwnerDraw(bool) override {}

    TkypFileTheme* FileTheme() const { return m_FileTheme.Theme(); }
    // Re-reads the colours through the current style.
    void SetFileTheme(TkypFileTheme* theme);
    TkypUIStyle UIStyle() const { return m_Look.m_UIStyle; }
    // Resets the heights, bar width, separator colour and the seven colours.
    void SetUIStyle(TkypUIStyle style);
    int MenuItemHeight() const { return m_Look.m_Height; }
    // Ignored while the style is MacOS, whose bitmaps fix the heights.
    void SetMenuItemHeight(int height);
    int SeparatorHeight() const { return m_Look.m_SeparatorHeight; }
    void SetSeparatorHeight(int height);

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
    void SetUseSystemFont(bool use) { m_Look.m_UseSystemFont = use; }

    // Gives this menu's handlers to every item; call after adding items
    // the menu was not told of.
    void MenuAdded();

    // The handler pair, with the framework's owner-draw signatures.
    void MeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height);
    void DrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected);

    // The shared check-mark list (image 0), made on first use.
    static TImageList& CheckMarks();

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void HookItem(TMenuItem* item);

    TkypMenuLook m_Look;
    TkypThemeLink m_FileTheme;
    // Shared with the handlers given to items, which may outlive the menu:
    // cleared when the menu goes, so that they then do nothing.
    std::shared_ptr<TkypPopupMenu*> m_Self;
};
