// The look of the skinned menus' items, shared by the popup menu and the
// main menu: the style fields, how a style (or a loaded skin file) sets
// them, and measuring and drawing one item with them. The menus own one
// each and pass in what differs between them: the theme, the image lists
// and the reading order.
#pragma once

#include <cstdint>

#include "Graphics.h"
#include "KYPMgr.h"
#include "KYPStyle.h"
#include "Menus.h"

class TImageList;

// Where an item's pictures come from: image 0 of CheckMarks is the check
// mark of a checked item without a valid image of Images (which may be null).
struct TkypMenuImages {
    TImageList& CheckMarks;
    TImageList* Images;
};

class TkypMenuLook {
public:
    // Resets the heights, bar width, separator colour and the seven
    // colours from Style, or from Theme when the style resolves to it.
    void SetUIStyle(TkypUIStyle style, const TkypFileTheme* theme);

    void Measure(const TMenuItem& item, TCanvas& canvas, int& width, int& height) const;
    void Draw(const TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected, const TkypMenuImages& images,
        bool leftToRight, const TkypFileTheme* theme);

    // The check-mark list of the resource "MENU_CHECKED", masked with white.
    static TOwned<TImageList> MakeCheckMarks();

    TkypUIStyle m_UIStyle = DeepBlue;
    int m_Height = 21;
    int m_SeparatorHeight = 21;
    TColor m_BarColor = clBtnFace;
    TColor m_BarToColor = clBtnFace;
    int m_BarWidth = 0;
    TColor m_Color = clWhite;
    TColor m_SeparatorColor = clGray;
    TColor m_SelectedBorderColor = clHighlight;
    TColor m_SelectedColor = clHighlight;
    TColor m_SelectedFontColor = clWhite;
    TColor m_FontColor = clWhite;
    TColor m_BorderColor = clBlack;  // kept for form descriptions; not drawn
    bool m_FlatMenu = false;
    String m_FontName = L"MS Sans Serif";
    int m_FontSize = 8;
    uint8_t m_FontCharset = DEFAULT_CHARSET;
    bool m_UseSystemFont = true;

private:
    TColor FlatBorderLineColor(const TkypFileTheme* theme) const;
    void DrawBar(TCanvas& canvas, const TRect& rect, bool leftToRight) const;
    void DrawPlainBackground(TCanvas& canvas, const TRect& rect, bool leftToRight) const;
    void DrawSeparator(TCanvas& canvas, const TRect& rect, bool leftToRight) const;
    void DrawBackground(TCanvas& canvas, const TRect& rect, bool selected, bool leftToRight) const;
    void PrepareFont(TCanvas& canvas, const TMenuItem& item, bool selected) const;
    void DrawTexts(TCanvas& canvas, const TMenuItem& item, const TRect& rect, bool leftToRight) const;
    void DrawCheckAndImage(TCanvas& canvas, const TMenuItem& item, const TRect& rect, const TkypMenuImages& images,
        bool leftToRight) const;
};
