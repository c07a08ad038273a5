// The skinned form frame's border, drawn on the form window's device
// context outside the client area, and the window region that cuts the
// form to the frame's outline. The frame gathers what it knows into the
// structures below; nothing here holds a window or a theme.
#pragma once

#include "Bitmap.h"
#include "GdiHandles.h"
#include "Graphics.h"

class TkypFileTheme;

// Sizes of the form window and of the bars at its top.
struct TkypFrameLayout {
    int Width = 0;   // the form window
    int Height = 0;
    bool TitleVisible = true;
    bool TitleCanPaint = true;
    int TitleHeight = 0;     // the title bar's own height
    int MenuBarHeight = 0;   // 0 without a visible menu bar
    TColor MenuBarColor = clBtnFace;   // gradient ends beside the menu bar;
    TColor MenuBarToColor = clBtnFace; // equal ends fill with MenuBarFill
    TColor MenuBarFill = clBtnFace;

    // The title bar's height and the three-pixel top edge, while shown.
    int TitleBarHeight() const { return TitleVisible ? TitleHeight + 3 : 0; }
};

// Where the MDI frame's built-in border is drawn by rules of its own; the
// defaults are the form frame's.
struct TkypStyleFrameRules {
    // Rows above the window's bottom where the inner bottom strip starts.
    int InnerBottomRows = 2;
    // The side strips start at the bars' own heights, without the three
    // rows above the title bar.
    bool StripsAtBarHeights = false;
    // Beside the menu bar the bar's own colour, never its gradient.
    bool FlatBesideMenuBar = false;
    // The top edge comes after the lines and strips, and only while the
    // outer line is narrower than four pixels.
    bool TopEdgeLast = false;
};
inline constexpr TkypStyleFrameRules kMDIFrameRules{3, true, true, true};

// A built-in style: lines and strips, the top edge from the title bar's
// left (S0), right (S1) and middle (S2) section pictures.
struct TkypStyleFrameLook {
    TBitmap* LeftTitle = nullptr;
    TBitmap* RightTitle = nullptr;
    TBitmap* MiddleTitle = nullptr;
    int BorderWidth = 1;
    TColor BorderColor = clBlack;
    TColor Color = clBtnFace;  // the frame's own colour
    int RoundCorner = 0;
    bool Designing = false;
    TkypStyleFrameRules Rules{};
    bool DialogBorder = false;   // the form's BorderStyle is bsDialog
    int OldLeftBorderWidth = 4;
};

// A skin file: its border pictures, each of them possibly missing (a
// missing picture counts as zero size), and the title image over the
// form colour.
struct TkypSkinFrameLook {
    TBitmap* Title = nullptr;
    TBitmap* Left = nullptr;
    TBitmap* Right = nullptr;
    TBitmap* Bottom1 = nullptr;
    TBitmap* Bottom2 = nullptr;
    TBitmap* Bottom3 = nullptr;
    bool BottomThreeSect = false;
    bool BottomNeedRegion = false;
    TColor FormColor = clBtnFace;
    TColor TransparentColor = clFuchsia;

    int LeftWidth() const;
    int RightWidth() const;
    int BottomHeight() const;
};

// Reads the border elements of a loaded skin file; the title image is the
// caller's to add.
TkypSkinFrameLook SkinFrameLookOf(const TkypFileTheme& theme);

// Paints borders and keeps the bottom border composed by the last skin
// paint, which is also the bottom image of the skin region.
class TkypFrameBorder {
public:
    TkypFrameBorder();

    void PaintSkin(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look);
    void PaintStyle(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look);
    TBitmap* BottomBuffer() { return m_BottomBufRgn.get(); }
    // The bottom border at Width, as the skin paint composes it.
    void ComposeBottom(int width, const TkypSkinFrameLook& look);

private:
    void PaintSkinTop(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look);
    void PaintSkinSides(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look);
    void PaintSkinBottom(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look);
    void PaintStyleTopEdge(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look);
    void PaintStyleTop(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look);
    void PaintStyleLines(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look);

    TOwned<TBitmap> m_BottomBufRgn;
};

// What the skin region is cut from: the plain title image and the bottom
// border, each scanned in a band of rows (Min/Max -1: all of them).
struct TkypSkinRegionSource {
    TBitmap* TitleImage = nullptr;
    TBitmap* BottomImage = nullptr;
    bool TitleNeedRegion = false;
    bool BottomNeedRegion = false;
    int TitleMin = -1, TitleMax = -1;
    int BottomMin = -1, BottomMax = -1;
    TColor TransColor = clFuchsia;
    int Width = 0, Height = 0;  // the form window
};

// The window's outline from a skin file. Bands reaching past a picture are
// clamped to its rows; a missing picture has none.
TRegionHandle CreateSkinFrameRegion(const TkypSkinRegionSource& source);
// A built-in style's outline: the top corners rounded by RoundCorner, the
// bottom ones by RoundCornerBottom (-1 counts as 0).
TRegionHandle CreateRoundFrameRegion(int width, int height, int roundCorner, int roundCornerBottom);
