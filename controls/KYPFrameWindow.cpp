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
    auto& params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
    const RECT frame = FrameClientRect(params.rgrc[0], borders);
    params.rgrc[0] = params.rgrc[1] = frame;
    message.Result = WVR_REDRAW;
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

// ------------------------------------------------------------ TkypFrameWindow

void TkypFrameWindow::Attach(TComponent* holder, TForm& form)
{
    m_Form = &form;
    const HWND window = form.Handle();
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION));
    m_HookId = form.AddWindowHook(holder, [this](TMessage& message, const TWindowHookNext& next) {
        FormWindowProc(message, next);
    });
    m_Hooked = true;
    m_AppEvent = MakeOwned<TApplicationEvents>(nullptr);
    m_AppEvent->OnMessage = [this](MSG& msg, bool& handled) { ApplicationMessage(msg, handled); };
}

void TkypFrameWindow::Detach()
{
    m_Destroyed = true;
    m_Life.End();
    m_AppEvent.reset();
    if (!m_Hooked) return;
    m_Form->RemoveWindowHook(m_HookId);
    m_Hooked = false;
    if (!m_Form->HandleAllocated() || m_Form->HasState(csDestroying)) return;
    RestoreCaptionBits(m_Form->Handle());
    SetWindowRgn(m_Form->Handle(), nullptr, TRUE);
}

bool TkypFrameWindow::WindowAlive() const
{
    return !m_Destroyed && m_Form && m_Form->HandleAllocated() && !m_Form->HasState(csDestroying);
}

bool TkypFrameWindow::Contains(HWND window) const
{
    if (!window || !m_Form || !m_Form->HandleAllocated()) return false;
    const HWND form = m_Form->Handle();
    return window == form || IsChild(form, window);
}

void TkypFrameWindow::StripCaption()
{
    if (WindowAlive()) StripCaptionBits(m_Form->Handle());
}

void TkypFrameWindow::SetOldBorders(int left, int bottom)
{
    m_OldLeftBorderWidth = SaneFrameThickness(left);
    m_OldBottomBorderWidth = SaneFrameThickness(bottom);
}

TkypFrameBorders TkypFrameWindow::Borders() const
{
    return m_Skin.Borders(m_Side.FrameBorderWidth(), m_OldLeftBorderWidth, m_OldBottomBorderWidth);
}

int TkypFrameWindow::BorderWidthAnswer() const
{
    return WindowAlive() ? MeasuredBorderWidthAnswer(m_Form->Handle(), Borders()) : FrameBorderWidthAnswer(Borders());
}

TkypFrameLayout TkypFrameWindow::Layout(int menuBarHeight, TColor menuBarColor, TColor menuBarToColor,
                                        TColor menuBarFill) const
{
    const TRect window = WindowExtent(m_Form->Handle());
    TkypTitleBar* titleBar = m_Side.FrameTitleBar();
    TkypFrameLayout layout;
    layout.Width = window.Width();
    layout.Height = window.Height();
    layout.TitleVisible = titleBar && titleBar->Visible();
    layout.TitleCanPaint = titleBar && titleBar->CanPaint();
    layout.TitleHeight = titleBar ? titleBar->Height() : 0;
    layout.MenuBarHeight = menuBarHeight;
    layout.MenuBarColor = menuBarColor;
    layout.MenuBarToColor = menuBarToColor;
    layout.MenuBarFill = menuBarFill;
    return layout;
}

void TkypFrameWindow::Paint(TkypUIStyle style, TkypFileTheme* theme, const TkypFrameLayout& layout,
                            TkypStyleFrameLook look)
{
    if (!WindowAlive() || m_StyleChanging) return;
    const HWND window = m_Form->Handle();
    if (IsIconic(window) && !look.Designing) return;
    TkypUIStyle resolved = style;
    const bool skinFile = UsesThemeFile(theme, style, resolved);
    look.DialogBorder = m_Form->BorderStyle() == TFormBorderStyle::bsDialog;
    look.OldLeftBorderWidth = m_OldLeftBorderWidth;
    PaintFrameOnWindow(window, m_Border, layout, skinFile ? theme : nullptr, m_Side.FrameTitleBar(), look);
}

void TkypFrameWindow::UpdateRegion(TkypUIStyle style, TkypFileTheme* theme, bool cut, int roundCorner,
                                   int roundCornerBottom, bool designing)
{
    if (!WindowAlive() || m_StyleChanging) return;
    const HWND window = m_Form->Handle();
    const TRect bounds = WindowExtent(window);
    TkypUIStyle resolved = style;
    if (UsesThemeFile(theme, style, resolved))
        SetFrameRegion(window, SkinFrameRegion(bounds, m_Border, m_Skin, *theme, m_Side.FrameTitleBar(), cut));
    else if (!designing)
        SetFrameRegion(window, CreateRoundFrameRegion(bounds.Width(), bounds.Height(), roundCorner, roundCornerBottom));
}

void TkypFrameWindow::FormWindowProc(TMessage& message, const TWindowHookNext& next)
{
    // After teardown the form's own procedure still gets everything.
    if (m_Destroyed) {
        next(message);
        return;
    }
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        if (message.WParam) FrameCalcSize(message, Borders());
        break;
    case KYPM_BORDERWIDTH: message.Result = BorderWidthAnswer(); return;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        FrameNonClientPaint(message, *m_Form, m_Side.FrameTitleBar(), [this] { m_Side.PaintFormBorder(); },
                            [&] { next(message); });
        return;
    default:
        if (m_Side.AnswerFormMessage(message)) return;
        break;
    }
    const TkypLifeToken::TWatch life = m_Life.Watch();
    next(message);
    if (life) AfterFormMessage(message);
}

void TkypFrameWindow::AfterFormMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_KEYDOWN: m_Side.IsMenuShortCut(message); break;
    case WM_ACTIVATE:
        if (TkypTitleBar* titleBar = m_Side.FrameTitleBar())
            titleBar->SetFormActive(LOWORD(message.WParam) != WA_INACTIVE);
        m_Side.PaintFormBorder();
        break;
    default: m_Side.AfterFormMessage(message); break;
    }
}

void TkypFrameWindow::ApplicationMessage(MSG& msg, bool& handled)
{
    // A key that another frame or any other handler took is done with: a
    // second judge could run a second command (the first may have brought
    // this frame's form forward).
    if (m_Destroyed || !m_Form || handled) return;
    if (m_Side.ApplicationKey(msg, handled)) return;
    if (msg.message != WM_KEYDOWN || !m_Side.JudgesKeysOf(msg.hwnd)) return;
    TMessage message{msg.message, msg.wParam, msg.lParam, 0};
    m_Side.IsMenuShortCut(message);
    if (message.Result == 1) handled = true;
}
