#include "KYPFrameWindow.h"

#include "KYPPublicControls.h"
#include "KYPThemes.h"
#include "KYPTitleBar.h"

namespace {

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED
constexpr UINT kRecomputeFrame = 0x37;

int WidthOf(const TBitmap* bitmap) { return bitmap ? bitmap->Width() : 0; }
int HeightOf(const TBitmap* bitmap) { return bitmap ? bitmap->Height() : 0; }

}  // namespace

void RecomputeFrame(HWND window) { SetWindowPos(window, nullptr, 0, 0, 0, 0, kRecomputeFrame); }

bool StripCaptionBits(HWND window)
{
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (!(style & WS_CAPTION)) return false;
    SetWindowLongPtrW(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
    RecomputeFrame(window);
    return true;
}

void RestoreCaptionBits(HWND window)
{
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CAPTION);
    RecomputeFrame(window);
}

void MeasureWindowFrame(HWND window, int& left, int& bottom)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    RECT client{};
    GetClientRect(window, &client);
    POINT topLeft{client.left, client.top}, bottomRight{client.right, client.bottom};
    ::ClientToScreen(window, &topLeft);
    ::ClientToScreen(window, &bottomRight);
    bottom = SaneFrameThickness(bounds.bottom - bottomRight.y);
    left = SaneFrameThickness(topLeft.x - bounds.left);
}

TFormBorderStyle TakeDialogBorder(TForm& form)
{
    const TFormBorderStyle old = form.BorderStyle();
    switch (old) {
    case TFormBorderStyle::bsNone:
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow: form.SetBorderStyle(TFormBorderStyle::bsDialog); break;
    default: break;
    }
    return old;
}

void SetDialogFrameIcon(TForm& form)
{
    if (form.BorderStyle() != TFormBorderStyle::bsDialog) return;
    HICON icon = form.Icon().Handle();
    if (!icon && Application) icon = Application->Icon().Handle();
    if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
    SendMessageW(form.Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

TRect WindowExtent(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return TRect(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void FitToWorkArea(TForm& form)
{
    TRect area;
    GetWorkAreaRect(area);
    SetControlBoundsRect(&form, TRect(area.Left - 2, area.Top - 2, area.Right + 2, area.Bottom - 1));
}

void FrameCalcSize(TMessage& message, const TkypFrameBorders& borders)
{
    // Both forms point at the window's new rectangle first.
    RECT& rect = *reinterpret_cast<RECT*>(message.LParam);
    const RECT frame = FrameClientRect(rect, borders);
    rect = frame;
    if (message.WParam) {
        auto& params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
        params.rgrc[1] = frame;
        message.Result = WVR_REDRAW;
    } else {
        message.Result = 0;
    }
}

int MeasuredBorderWidthAnswer(HWND window, const TkypFrameBorders& borders)
{
    if (!IsIconic(window)) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        POINT origin{0, 0};
        ::ClientToScreen(window, &origin);
        if (origin.x > bounds.left) return origin.x - bounds.left;
    }
    return FrameBorderWidthAnswer(borders);
}

void TkypFrameSkin::Read(const TkypFileTheme& theme, TkypTitleBar* titleBar)
{
    LeftBorderWidth = WidthOf(theme.GetBitmap(SKIN2_FORMLEFTBORDER));
    RightBorderWidth = WidthOf(theme.GetBitmap(SKIN2_FORMRIGHTBORDER));
    BottomBorderWidth = HeightOf(theme.GetBitmap(SKIN2_FORMBOTTOMBORDER1));
    TransparentColor = theme.GetColor(SKIN2_TRANSCOLOR);
    TitleNeedRegion = theme.GetBool(SKIN2_TITLEBARNEEDREGION);
    BottomNeedRegion = theme.GetBool(SKIN2_BOTTOMBORDERNEEDREGION);
    if (titleBar) {
        titleBar->ForcePaint();
        TBitmap* title = nullptr;
        titleBar->GetTitleImage(-1, title);
        if (title) {
            title->SetTransparent(TitleNeedRegion);
            title->SetTransparentColor(TransparentColor);
        }
    }
    TitleRegionMin = theme.GetInt(SKIN2_TITLEBARREGIONMINY);
    TitleRegionMax = theme.GetInt(SKIN2_TITLEBARREGIONMAXY);
    BottomRegionMin = theme.GetInt(SKIN2_BOTTOMREGIONMINY);
    BottomRegionMax = theme.GetInt(SKIN2_BOTTOMREGIONMAXY);
}

void TkypFrameSkin::Clear()
{
    LeftBorderWidth = RightBorderWidth = BottomBorderWidth = 0;
    TransparentColor = clFuchsia;
}

TkypFrameBorders TkypFrameSkin::Borders(int borderWidth, int oldLeft, int oldBottom) const
{
    TkypFrameBorders borders;
    borders.LeftBorderWidth = LeftBorderWidth;
    borders.RightBorderWidth = RightBorderWidth;
    borders.BottomBorderWidth = BottomBorderWidth;
    borders.BorderWidth = borderWidth;
    borders.OldLeftBorderWidth = oldLeft;
    borders.OldBottomBorderWidth = oldBottom;
    return borders;
}

void PaintFrameOnWindow(HWND window, TkypFrameBorder& border, const TkypFrameLayout& layout,
                        const TkypFileTheme* theme, TkypTitleBar* titleBar, TkypStyleFrameLook look)
{
    TWindowDC dc(window);
    if (!dc.Handle()) return;
    TCanvas canvas;
    canvas.SetHandle(dc.Handle());
    if (theme) {
        TkypSkinFrameLook skin = SkinFrameLookOf(*theme);
        if (titleBar) titleBar->GetTitleImage(-2, skin.Title);
        border.PaintSkin(canvas, layout, skin);
    } else {
        if (titleBar) {
            titleBar->GetTitleImage(0, look.LeftTitle);
            titleBar->GetTitleImage(1, look.RightTitle);
            titleBar->GetTitleImage(2, look.MiddleTitle);
        }
        border.PaintStyle(canvas, layout, look);
    }
    canvas.SetHandle(nullptr);
}

TRegionHandle SkinFrameRegion(const TRect& extent, TkypFrameBorder& border, const TkypFrameSkin& skin,
                              const TkypFileTheme& theme, TkypTitleBar* titleBar, bool cut)
{
    if (!cut || !(skin.TitleNeedRegion || skin.BottomNeedRegion))
        return TRegionHandle(CreateRectRgn(0, 0, extent.Width(), extent.Height()));
    if (titleBar) titleBar->ForcePaint();
    // The bottom border is composed at the window's width before it is cut.
    if (border.BottomBuffer()->Width() != extent.Width()) border.ComposeBottom(extent.Width(), SkinFrameLookOf(theme));
    TkypSkinRegionSource source;
    if (titleBar) titleBar->GetTitleImage(-1, source.TitleImage);
    source.BottomImage = border.BottomBuffer();
    source.TitleNeedRegion = skin.TitleNeedRegion;
    source.BottomNeedRegion = skin.BottomNeedRegion;
    source.TitleMin = skin.TitleRegionMin;
    source.TitleMax = skin.TitleRegionMax;
    source.BottomMin = skin.BottomRegionMin;
    source.BottomMax = skin.BottomRegionMax;
    source.TransColor = skin.TransparentColor;
    source.Width = extent.Width();
    source.Height = extent.Height();
    return CreateSkinFrameRegion(source);
}

void SetFrameRegion(HWND window, TRegionHandle region)
{
    if (SetWindowRgn(window, region.get(), TRUE)) region.release();
}

void FrameNonClientPaint(TMessage& message, TForm& form, TkypTitleBar* titleBar,
    const std::function<void()>& paintFrame, const std::function<void()>& passOn)
{
    if (form.HandleAllocated() && IsIconic(form.Handle())) {
        passOn();
        return;
    }
    if (titleBar) titleBar->Repaint();
    paintFrame();
    if (message.Msg == WM_NCACTIVATE) message.Result = 1;
}
