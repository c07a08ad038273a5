#include "KYPMenuLook.h"

#include <algorithm>

#include "Bitmap.h"
#include "ImageList.h"
#include "KYPMenu.h"
#include "KYPPublic.h"
#include "KYPThemes.h"

namespace {

constexpr TColor kDisabledText = 0x808080;
constexpr int kImageSize = 16;

}  // namespace

TOwned<TImageList> TkypMenuLook::MakeCheckMarks()
{
    TOwned<TImageList> list = MakeOwned<TImageList>(kImageSize, kImageSize, nullptr);
    TOwned<TBitmap> mark = MakeOwned<TBitmap>();
    mark->LoadFromResourceName(GetModuleHandleW(nullptr), L"MENU_CHECKED");
    list->AddMasked(mark.get(), clWhite);
    return list;
}

void TkypMenuLook::SetUIStyle(TkypUIStyle style, const TkypFileTheme* theme)
{
    m_UIStyle = style;
    m_BarWidth = 26;
    const bool mac = style == MacOS;
    m_Height = mac ? 20 : 21;
    m_SeparatorHeight = mac ? 12 : 5;
    m_SeparatorColor = mac ? clBlack : 0x848284;
    TkypUIStyle resolved = style;
    if (UsesThemeFile(theme, style, resolved)) {
        m_BarColor = theme->GetColor(SKIN2_LEFTBARSTARTCOLOR);
        m_BarToColor = theme->GetColor(SKIN2_LEFTBARENDCOLOR);
        m_Color = theme->GetColor(SKIN2_MENUITEMCOLOR);
        m_FontColor = theme->GetColor(SKIN2_MENUITEMFONTCOLOR);
        m_SelectedBorderColor = theme->GetColor(SKIN2_SELECTEDMENUBORDERCOLOR);
        m_SelectedColor = theme->GetColor(SKIN2_SELECTEDMENUCOLOR);
        m_SelectedFontColor = theme->GetColor(SKIN2_SELECTEDMENUFONTCOLOR);
        return;
    }
    m_BarColor = m_BarToColor = GetStyleColor(resolved, TkypStyleAttr::MenuSideBar);
    m_Color = GetStyleColor(resolved, TkypStyleAttr::MenuItemFill);
    m_FontColor = GetStyleColor(resolved, TkypStyleAttr::MenuItemFont);
    m_SelectedBorderColor = GetStyleColor(resolved, TkypStyleAttr::SelectedMenuBorder);
    m_SelectedColor = GetStyleColor(resolved, TkypStyleAttr::SelectedMenuFill);
    m_SelectedFontColor = GetStyleColor(resolved, TkypStyleAttr::SelectedMenuFont);
}

void TkypMenuLook::Measure(const TMenuItem& item, TCanvas& canvas, int& width, int& height) const
{
    if (item.IsLine())
        height = m_SeparatorHeight;
    else
        height = std::max(m_Height, canvas.TextHeight(item.Caption()));
    width = canvas.TextWidth(item.Caption()) + canvas.TextWidth(ShortCutToText(item.ShortCut())) + m_BarWidth + 40;
}

TColor TkypMenuLook::FlatBorderLineColor(const TkypFileTheme* theme) const
{
    TkypUIStyle resolved = m_UIStyle;
    if (UsesThemeFile(theme, m_UIStyle, resolved)) return theme->GetColor(SKIN2_FORMCOLOR);
    return GetStyleColor(resolved, TkypStyleAttr::FormColor);
}

void TkypMenuLook::DrawBar(TCanvas& canvas, const TRect& rect, bool leftToRight) const
{
    if (m_BarWidth <= 0) return;
    const TRect bar = leftToRight ? TRect(rect.Left, rect.Top, rect.Left + m_BarWidth, rect.Bottom)
                                  : TRect(rect.Right - m_BarWidth, rect.Top, rect.Right, rect.Bottom);
    if (m_BarToColor == m_BarColor)
        FillMenuRect(canvas, bar, m_BarColor);
    else
        DrawHorizontalGradient(canvas, bar, m_BarColor, m_BarToColor);
}

void TkypMenuLook::DrawPlainBackground(TCanvas& canvas, const TRect& rect, bool leftToRight) const
{
    DrawBar(canvas, rect, leftToRight);
    const TRect rest = leftToRight ? TRect(rect.Left + m_BarWidth, rect.Top, rect.Right, rect.Bottom)
                                   : TRect(rect.Left, rect.Top, rect.Right - m_BarWidth, rect.Bottom);
    FillMenuRect(canvas, rest, m_Color);
}

void TkypMenuLook::DrawSeparator(TCanvas& canvas, const TRect& rect, bool leftToRight) const
{
    if (m_UIStyle == MacOS) {
        DrawMacMenuSeparator(canvas, rect);
        return;
    }
    DrawPlainBackground(canvas, rect, leftToRight);
    DrawMenuSeparator(canvas, rect, m_SeparatorColor, leftToRight, m_BarWidth);
}

void TkypMenuLook::DrawBackground(TCanvas& canvas, const TRect& rect, bool selected, bool leftToRight) const
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

void TkypMenuLook::PrepareFont(TCanvas& canvas, const TMenuItem& item, bool selected) const
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

void TkypMenuLook::DrawTexts(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool leftToRight) const
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

void TkypMenuLook::DrawCheckAndImage(TCanvas& canvas, const TMenuItem& item, const TRect& rect,
    const TkypMenuImages& images, bool leftToRight) const
{
    const int x = leftToRight ? rect.Left + 4 : rect.Right - 20;
    const int y = rect.Top + 3;
    const bool image = item.ImageIndex() != -1 && images.Images && item.ImageIndex() < images.Images->Count();
    if (item.Checked()) {
        if (image) {
            FrameMenuRect(canvas, TRect(x - 2, rect.Top + 1, x + 17, rect.Top + 20), clBlack);
            FillMenuRect(canvas, TRect(x - 1, rect.Top + 2, x + 16, rect.Top + 19), m_SelectedColor);
        } else {
            images.CheckMarks.Draw(canvas, x, y, 0, item.Enabled());
        }
    }
    if (image) images.Images->Draw(canvas, x, y, item.ImageIndex(), item.Enabled());
}

void TkypMenuLook::Draw(const TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected,
    const TkypMenuImages& images, bool leftToRight, const TkypFileTheme* theme)
{
    if (m_FlatMenu)
        if (HWND window = WindowFromDC(canvas.Handle())) DrawFlatMenuBorder(window, clBlack, FlatBorderLineColor(theme));
    if (item.IsLine()) {
        DrawSeparator(canvas, rect, leftToRight);
        return;
    }
    // A disabled item cannot be chosen, so it never looks chosen.
    const bool shownSelected = selected && item.Enabled();
    DrawBackground(canvas, rect, shownSelected, leftToRight);
    PrepareFont(canvas, item, selected);
    DrawTexts(canvas, item, rect, leftToRight);
    DrawCheckAndImage(canvas, item, rect, images, leftToRight);
}
