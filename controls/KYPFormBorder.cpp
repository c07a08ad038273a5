#include "KYPFormBorder.h"

#include <algorithm>

#include "KYPMgr.h"
#include "KYPPublic.h"

namespace {

int WidthOf(const TBitmap* bitmap) { return bitmap ? bitmap->Width() : 0; }
int HeightOf(const TBitmap* bitmap) { return bitmap ? bitmap->Height() : 0; }

void Fill(TCanvas& canvas, const TRect& rect, TColor color)
{
    if (rect.IsEmpty())
        return;
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

void PaintMenuBarStrip(TCanvas& canvas, const TRect& rect, const TkypFrameLayout& layout)
{
    if (rect.IsEmpty())
        return;
    if (layout.MenuBarColor != layout.MenuBarToColor)
        DrawVerticalGradient(canvas, rect, layout.MenuBarColor, layout.MenuBarToColor);
    else
        Fill(canvas, rect, layout.MenuBarFill);
}

void StretchInto(TCanvas& canvas, const TRect& rect, TBitmap* bitmap)
{
    if (bitmap && !rect.IsEmpty())
        canvas.StretchDraw(rect, bitmap);
}

TOwned<TBitmap> WorkBitmap(int width, int height)
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(width, height);
    return bitmap;
}

void AddRect(HRGN region, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    TRegionHandle piece(CreateRectRgn(left, top, right, bottom));
    CombineRgn(region, region, piece.get(), RGN_OR);
}

void AddRegion(HRGN region, const TRegionHandle& piece)
{
    if (piece)
        CombineRgn(region, region, piece.get(), RGN_OR);
}

// One picture's share of the skin outline, placed at window row Top: rows
// above the band solid, the band scanned, rows below it solid.
void AddSkinBand(HRGN region, TBitmap* image, int top, int min, int max, TColor trans, int width)
{
    int height = HeightOf(image);
    int y0 = std::clamp(min == -1 ? 0 : min, 0, height);
    int y1 = std::clamp(min < max ? max + 1 : height, y0, height);
    if (min > 0)
        AddRect(region, 0, top, width, top + y0);
    AddRegion(region, CreateRegionFromBitmapRows(image, trans, y0, y1, top));
    AddRect(region, 0, top + y1, width, top + height);
}

}  // namespace

int TkypSkinFrameLook::LeftWidth() const { return WidthOf(Left); }
int TkypSkinFrameLook::RightWidth() const { return WidthOf(Right); }
int TkypSkinFrameLook::BottomHeight() const { return HeightOf(Bottom1); }

TkypSkinFrameLook SkinFrameLookOf(const TkypFileTheme& theme)
{
    TkypSkinFrameLook look;
    look.Left = theme.GetBitmap(SKIN2_FORMLEFTBORDER);
    look.Right = theme.GetBitmap(SKIN2_FORMRIGHTBORDER);
    look.Bottom1 = theme.GetBitmap(SKIN2_FORMBOTTOMBORDER1);
    look.Bottom2 = theme.GetBitmap(SKIN2_FORMBOTTOMBORDER2);
    look.Bottom3 = theme.GetBitmap(SKIN2_FORMBOTTOMBORDER3);
    look.BottomThreeSect = theme.GetBool(SKIN2_BOTTOMBORDERTHREESECT);
    look.BottomNeedRegion = theme.GetBool(SKIN2_BOTTOMBORDERNEEDREGION);
    look.FormColor = theme.GetColor(SKIN2_FORMCOLOR);
    look.TransparentColor = theme.GetColor(SKIN2_TRANSCOLOR);
    return look;
}

TkypFrameBorder::TkypFrameBorder() : m_BottomBufRgn(MakeOwned<TBitmap>())
{
    m_BottomBufRgn->SetPixelFormat(TPixelFormat::pf24bit);
}

// ---------------------------------------------------------------------------
// Skin file

void TkypFrameBorder::PaintSkin(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look)
{
    PaintSkinTop(canvas, layout, look);
    PaintSkinSides(canvas, layout, look);
    PaintSkinBottom(canvas, layout, look);
}

void TkypFrameBorder::PaintSkinTop(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look)
{
    TBitmap* title = look.Title;
    if (!layout.TitleVisible || !layout.TitleCanPaint || !title || title->Empty())
        return;
    int lw = std::max(look.LeftWidth(), 4), rw = std::max(look.RightWidth(), 4);
    int tw = title->Width(), th = title->Height();
    TCanvas& source = title->Canvas();
    canvas.CopyRect(TRect(0, 0, lw, th), source, TRect(0, 0, lw, th));
    canvas.CopyRect(TRect(0, 0, tw, 3), source, TRect(0, 0, tw, 3));
    canvas.CopyRect(TRect(layout.Width - rw, 0, layout.Width, th), source, TRect(tw - rw, 0, tw, th));
}

void TkypFrameBorder::PaintSkinSides(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look)
{
    int w = layout.Width, bottom = layout.Height - look.BottomHeight();
    int y0 = layout.TitleBarHeight();
    int menuTop = layout.TitleHeight + 3, menuBottom = menuTop + layout.MenuBarHeight;
    int lw = look.LeftWidth(), rw = look.RightWidth();
    StretchInto(canvas, TRect(0, y0, lw, bottom), look.Left);
    if (lw < 4) {
        Fill(canvas, TRect(lw, y0, 4, bottom), look.FormColor);
        if (layout.MenuBarHeight > 0)
            PaintMenuBarStrip(canvas, TRect(lw, menuTop, 4, menuBottom), layout);
    }
    StretchInto(canvas, TRect(w - rw, y0, w, bottom), look.Right);
    if (rw < 4) {
        Fill(canvas, TRect(w - 4, y0, w - rw, bottom), look.FormColor);
        if (layout.MenuBarHeight > 0)
            PaintMenuBarStrip(canvas, TRect(w - 4, menuTop, w - rw, menuBottom), layout);
    }
}

void TkypFrameBorder::ComposeBottom(int width, const TkypSkinFrameLook& look)
{
    TBitmap& buffer = *m_BottomBufRgn;
    int height = look.BottomHeight();
    buffer.SetSize(width, height);
    buffer.SetTransparent(look.BottomNeedRegion);
    buffer.SetTransparentColor(look.TransparentColor);
    if (height == 0 || width <= 0)
        return;
    TCanvas& target = buffer.Canvas();
    if (look.BottomThreeSect) {
        int rightCap = WidthOf(look.Bottom3);
        target.Draw(0, 0, look.Bottom1);
        if (look.Bottom3)
            target.Draw(width - rightCap, 0, look.Bottom3);
        StretchInto(target, TRect(look.Bottom1->Width(), 0, width - rightCap, height), look.Bottom2);
    } else {
        DrawThreeSliceBitmap(look.Bottom1, target, TRect(0, 0, width, height), look.TransparentColor, false);
    }
}

void TkypFrameBorder::PaintSkinBottom(TCanvas& canvas, const TkypFrameLayout& layout, const TkypSkinFrameLook& look)
{
    int w = layout.Width, h = layout.Height, bottom = look.BottomHeight();
    ComposeBottom(w, look);
    if (!m_BottomBufRgn->Empty()) {
        if (look.BottomNeedRegion) {
            auto ground = WorkBitmap(w, bottom);
            Fill(ground->Canvas(), TRect(0, 0, w, bottom), look.FormColor);
            ground->Canvas().Draw(0, 0, m_BottomBufRgn.get());
            canvas.Draw(0, h - bottom, ground.get());
        } else {
            canvas.Draw(0, h - bottom, m_BottomBufRgn.get());
        }
    }
    if (bottom < 4)
        Fill(canvas, TRect(look.LeftWidth(), h - 4, w - look.RightWidth(), h - bottom), look.FormColor);
}

// ---------------------------------------------------------------------------
// Built-in styles

void TkypFrameBorder::PaintStyle(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look)
{
    if (!look.Rules.TopEdgeLast) PaintStyleTopEdge(canvas, layout, look);
    PaintStyleLines(canvas, layout, look);
    if (look.Rules.TopEdgeLast) PaintStyleTopEdge(canvas, layout, look);
}

void TkypFrameBorder::PaintStyleTopEdge(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look)
{
    const int w = layout.Width, bw = look.BorderWidth;
    if (!layout.TitleVisible) {
        Fill(canvas, TRect(0, 0, w, 1), look.BorderColor);
        Fill(canvas, TRect(bw, 1, w - bw, 3), look.Color);
    } else if (layout.TitleCanPaint && (!look.Rules.TopEdgeLast || bw < 4)) {
        PaintStyleTop(canvas, layout, look);
    }
}

void TkypFrameBorder::PaintStyleLines(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look)
{
    const TkypStyleFrameRules& rules = look.Rules;
    const int w = layout.Width, h = layout.Height, bw = look.BorderWidth;
    const int th = layout.TitleBarHeight(), mh = layout.MenuBarHeight;
    Fill(canvas, TRect(0, 0, bw, h), look.BorderColor);
    Fill(canvas, TRect(0, h - bw, w, h), look.BorderColor);
    Fill(canvas, TRect(w - bw, 0, w, h), look.BorderColor);
    if (bw >= 4)
        return;
    // With a line as wide as the strip the bottom strip is empty: nothing is drawn.
    Fill(canvas, TRect(bw, h - rules.InnerBottomRows, w - bw, h - bw), look.Color);
    const int stripTop = (rules.StripsAtBarHeights && layout.TitleVisible ? layout.TitleHeight : th) + mh;
    Fill(canvas, TRect(bw, stripTop, 3, h - bw), look.Color);
    Fill(canvas, TRect(w - 3, stripTop, w - bw, h - bw), look.Color);
    if (mh > 0) {
        const auto besideMenuBar = [&](const TRect& rect) {
            if (rules.FlatBesideMenuBar)
                Fill(canvas, rect, layout.MenuBarFill);
            else
                PaintMenuBarStrip(canvas, rect, layout);
        };
        besideMenuBar(TRect(bw, th, 3, th + mh));
        besideMenuBar(TRect(w - 3, th, w - bw, th + mh));
    }
}

void TkypFrameBorder::PaintStyleTop(TCanvas& canvas, const TkypFrameLayout& layout, const TkypStyleFrameLook& look)
{
    int w = layout.Width, bw = look.BorderWidth;
    TBitmap *s0 = look.LeftTitle, *s1 = look.RightTitle, *s2 = look.MiddleTitle;
    // The corner columns between the outer line and the title's top strip;
    // a line three pixels or wider leaves none.
    if (3 - bw > 0) {
        auto corner = WorkBitmap(3 - bw, HeightOf(s0));
        corner->Canvas().Draw(0, 0, s0);
        canvas.Draw(bw, 0, corner.get());
        if (WidthOf(s1) < 3)
            StretchInto(corner->Canvas(), TRect(0, 0, corner->Width(), corner->Height()), s1);
        else
            corner->Canvas().Draw(2 - s1->Width(), 0, s1);
        canvas.Draw(w - 3, 0, corner.get());
    }
    if (w - 5 > 0) {
        auto strip = WorkBitmap(w - 5, 3);
        strip->Canvas().Draw(-2, 0, s0);
        int x1 = WidthOf(s0) - 2;
        int x2 = look.DialogBorder ? strip->Width() - WidthOf(s1) + 2
                                   : strip->Width() - WidthOf(s1) + look.OldLeftBorderWidth - 1;
        strip->Canvas().Draw(x2, 0, s1);
        StretchInto(strip->Canvas(), TRect(x1, 0, x2, HeightOf(s2)), s2);
        canvas.Draw(2, 0, strip.get());
    }
    const int rc = look.RoundCorner;
    if (bw == 1 && rc == 11 && !look.Designing) {
        canvas.Pen().SetColor(look.BorderColor);
        canvas.Arc(w - 2 * rc + 1, -1, w + 1, 2 * rc - 1, w + 1, rc - 1, w - rc + 1, -1);
        canvas.Arc(-1, -1, 2 * rc - 1, 2 * rc - 1, rc - 1, -1, -1, rc - 1);
    }
}

// ---------------------------------------------------------------------------
// Window regions

TRegionHandle CreateSkinFrameRegion(const TkypSkinRegionSource& s)
{
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    int titleHeight = s.TitleNeedRegion ? HeightOf(s.TitleImage) : 0;
    int bottomHeight = s.BottomNeedRegion ? HeightOf(s.BottomImage) : 0;
    if (s.TitleNeedRegion)
        AddSkinBand(region.get(), s.TitleImage, 0, s.TitleMin, s.TitleMax, s.TransColor, s.Width);
    AddRect(region.get(), 0, titleHeight, s.Width, s.Height - bottomHeight);
    if (s.BottomNeedRegion)
        AddSkinBand(region.get(), s.BottomImage, s.Height - bottomHeight, s.BottomMin, s.BottomMax, s.TransColor,
                    s.Width);
    return region;
}

TRegionHandle CreateRoundFrameRegion(int width, int height, int roundCorner, int roundCornerBottom)
{
    int hh = height / 2, rc = roundCorner, rb = std::max(roundCornerBottom, 0);
    TRegionHandle region(CreateRoundRectRgn(0, 0, width + 1, hh + 1, rc, rc));
    AddRect(region.get(), 0, hh - 2 * rc, 2 * rc, hh);
    AddRect(region.get(), width - 2 * rc, hh - 2 * rc, width, hh);
    TRegionHandle lower(CreateRoundRectRgn(0, hh, width + 1, height + 1, rb, rb));
    AddRect(lower.get(), 0, hh, 2 * rb, hh + 2 * rb);
    AddRect(lower.get(), width - 2 * rb, hh, width, hh + 2 * rb);
    CombineRgn(region.get(), region.get(), lower.get(), RGN_OR);
    return region;
}
