#include "KYPButton.h"

#include <algorithm>

#include "ImageList.h"
#include "KYPFace.h"
#include "KYPThemes.h"
#include "Keyboard.h"
#include "TypInfo.h"

namespace {

constexpr int kFallbackWidth = 74;  // a picture that cannot be had, and an empty strip
constexpr int kFallbackHeight = 21;
constexpr int kButtonStripPieces = 3;

bool IsPressKey(WORD key) { return key == VK_SPACE || key == VK_RETURN; }

bool OutsideBounds(const TControl& control, int x, int y)
{
    return x < 0 || y < 0 || x > control.Width() || y > control.Height();
}

}  // namespace

TkypCustomButton::TkypCustomButton(TComponent* owner) : TCustomControl(owner)
{
    // A double click arrives as two clicks.
    SetControlStyle((ControlStyle() & ~(csDoubleClicks | csAcceptsControls)) | csCaptureMouse);
    SetTabStop(true);
    SetParentColor(true);
    SetBounds(0, 0, 75, 25);
}

TkypCustomButton::~TkypCustomButton() = default;

// The style setter runs virtual hooks: only now do they reach descendants.
void TkypCustomButton::AfterConstruction()
{
    TCustomControl::AfterConstruction();
    SetUIStyle(DefaultStyleFor(Owner()));
}

void TkypCustomButton::SetCaption(const String& caption)
{
    m_Caption = caption;
    SetText(caption);
    CaptionChanged();
    Repaint();
}

void TkypCustomButton::SetAutoSize(bool autoSize)
{
    m_AutoSize = autoSize;
    ResizeToStyle();
    Repaint();
}

void TkypCustomButton::SetDefault(bool isDefault)
{
    m_Default = isDefault;
    if (!HandleAllocated()) return;
    if (TForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TkypCustomButton::SetUIStyle(TkypUIStyle style)
{
    m_UIStyle = style;
    UIStyleChanged();
    Repaint();
}

void TkypCustomButton::SetFileTheme(TkypFileTheme* theme)
{
    m_ThemeLink.Set(theme);
    SetUIStyle(m_UIStyle);
}

void TkypCustomButton::SetTransparent(bool transparent)
{
    m_Transparent = transparent;
    TransparentChanged();
    Repaint();
}

void TkypCustomButton::SetFocusedRectMargin(int margin)
{
    m_FocusedRectMargin = margin;
    Repaint();
}

void TkypCustomButton::SetPicTransparent(bool transparent)
{
    m_PicTransparent = transparent;
    Repaint();
}

void TkypCustomButton::TransparentChanged() { SetPicTransparent(m_Transparent); }

void TkypCustomButton::FontChanged()
{
    Canvas().SetFont(Font());
    Repaint();
}

void TkypCustomButton::SetEnabled(bool enabled)
{
    TCustomControl::SetEnabled(enabled);
    EnabledChanged();
    Repaint();
}

void TkypCustomButton::CreateWnd()
{
    TCustomControl::CreateWnd();
    m_Active = m_Default;
}

void TkypCustomButton::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    TkypUIStyle fallback = DeepBlue;
    if (m_ThemeLink.Removed(component, operation, fallback)) SetUIStyle(fallback);
}

// ------------------------------------------------------------ pictures

void TkypCustomButton::GetButtonPicture(TkypStyleAttr attr, int spitCount, int spitIndex, TBitmap* bitmap)
{
    TkypUIStyle resolved = m_UIStyle;
    if (UsesThemeFile(FileTheme(), m_UIStyle, resolved))
        FileTheme()->GetBitmap2(SKIN2_BUTTON, bitmap, spitCount, spitIndex);
    else
        GetStyleBitmap(resolved, attr, bitmap, spitCount, spitIndex);
}

// The disabled look of the base comes from DrawPicture, not from a piece.
void TkypCustomButton::GetNormalPicture(TBitmap* bitmap) { GetButtonPicture(TkypStyleAttr::ButtonStrip, kButtonStripPieces, 1, bitmap); }
void TkypCustomButton::GetMouseOnPicture(TBitmap* bitmap) { GetButtonPicture(TkypStyleAttr::ButtonStrip, kButtonStripPieces, 2, bitmap); }
void TkypCustomButton::GetMouseDownPicture(TBitmap* bitmap) { GetButtonPicture(TkypStyleAttr::ButtonStrip, kButtonStripPieces, 3, bitmap); }
void TkypCustomButton::GetDisabledPicture(TBitmap* bitmap) { GetButtonPicture(TkypStyleAttr::ButtonStrip, kButtonStripPieces, 1, bitmap); }

void TkypCustomButton::ResizeToStyle()
{
    if (!m_AutoSize) return;
    TBitmap strip;
    GetStyleBitmap(m_UIStyle, TkypStyleAttr::ButtonStrip, &strip, 0, 0);
    const int height = strip.Height() == 0 ? kFallbackHeight : strip.Height();
    const int width = strip.Width() == 0 ? kFallbackWidth : strip.Width();
    SetHeight(height);
    SetWidth(width / kButtonStripPieces);
}

// Pressed wins over mouse over; a picture that cannot be had never stops
// the paint.
void TkypCustomButton::FetchStatePicture(TBitmap& picture)
{
    try {
        if (!Enabled())
            GetDisabledPicture(&picture);
        else if (m_MouseDown)
            GetMouseDownPicture(&picture);
        else if (m_MouseIn)
            GetMouseOnPicture(&picture);
        else
            GetNormalPicture(&picture);
    } catch (...) {
        picture.SetSize(kFallbackWidth, kFallbackHeight);
    }
}

// ------------------------------------------------------------ painting

void TkypCustomButton::Paint()
{
    TBitmap face;
    {
        TBitmap picture;
        FetchStatePicture(picture);
        picture.SetTransparent(m_PicTransparent);
        PaintFaceBackground(face, *this, m_Transparent);
        DrawPicture(face.Canvas(), &picture);
    }
    if (Focused() && TabStop()) PaintFocusRect(face.Canvas());
    face.Canvas().SetFont(Font());
    Canvas().SetFont(Font());
    if (HasVisibleText(m_Caption)) DrawCaption(face.Canvas());
    const TRect client = ClientRect();
    Canvas().CopyRect(client, face.Canvas(), client);
}

void TkypCustomButton::DrawPicture(TCanvas& canvas, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty()) return;
    const TColor corner = bitmap->Canvas().Pixels(0, 0);
    auto list = TImageList::CreateSize(bitmap->Width(), bitmap->Height());
    if (m_PicTransparent)
        list->AddMasked(bitmap, corner);
    else
        list->Add(bitmap, nullptr);
    list->Draw(canvas, 0, 0, 0, Enabled());
}

void TkypCustomButton::DrawCaption(TCanvas& canvas)
{
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.SetFont(Font());
    if (m_BoldFont) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    const TRect client = ClientRect();
    // Measured as one block, then the block is centred; its lines stay
    // left-aligned and "&" underlines the accelerator.
    auto drawCentred = [&](TRect area) {
        TRect block = area;
        canvas.TextRect(block, m_Caption, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        block.Offset((area.Width() - block.Width()) / 2, (area.Height() - block.Height()) / 2);
        canvas.TextRect(block, m_Caption, DT_WORDBREAK | DT_EXPANDTABS);
    };
    TRect area = client;
    if (!Enabled()) {
        area.Offset(1, 1);
        canvas.Font().SetColor(clWhite);
        drawCentred(area);
        area = client;
        canvas.Font().SetColor(clGray);
    } else if (m_MouseDown) {
        area.Offset(1, 1);
    }
    drawCentred(area);
    m_BoldFont = false;
}

void TkypCustomButton::PaintFocusRect(TCanvas& canvas)
{
    const int m = m_FocusedRectMargin;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.DrawFocusRect(TRect(m, m, ClientWidth() - m, ClientHeight() - m));
}

// --------------------------------------------------------------- mouse

void TkypCustomButton::StartRepeat()
{
    if (m_Timer) return;
    m_Timer = MakeOwned<TTimer>(nullptr);
    m_Timer->SetOnTimer([this](TObject*) { FireMouseContinuouslyDown(); });
    m_Timer->SetInterval(static_cast<unsigned>(std::max(m_MouseContinuouslyDownInterval, 0)));
    m_Timer->SetEnabled(true);
}

void TkypCustomButton::FireMouseContinuouslyDown()
{
    if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
}

void TkypCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) {
        m_MouseDown = true;
        StartRepeat();
        if (TabStop() && CanFocus() && Enabled() && Visible()) {
            try {
                SetFocus();
            } catch (...) {
                // The press goes on without the focus.
            }
        }
        Repaint();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TkypCustomButton::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (OutsideBounds(*this, x, y)) {
        m_MouseIn = false;
        m_MouseDown = false;
        Repaint();
        return;
    }
    // The mouse never left, so no second OnMouseEnter: the look comes back.
    if (m_HoverCancelled && HasMouse()) {
        m_HoverCancelled = false;
        m_MouseIn = true;
        Repaint();
    }
}

// Every release of the left button ends the repetition, wherever it
// happens: a press dragged off the button must not repeat on.
void TkypCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) StopRepeat();
    TCustomControl::MouseUp(button, shift, x, y);
}

void TkypCustomButton::EndHover()
{
    m_MouseIn = false;
    m_MouseDown = false;
    StopRepeat();
    Repaint();
}

void TkypCustomButton::Click()
{
    if (m_MouseDown) {
        StopRepeat();
        m_MouseDown = false;
        Repaint();
    }
    if (Parent())
        if (TForm* form = GetParentForm(this)) form->SetModalResult(m_ModalResult);
    TCustomControl::Click();
}

// ------------------------------------------------------------ keyboard

void TkypCustomButton::KeyDown(WORD& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (!IsPressKey(key) || !Focused() || !Enabled()) return;
    m_MouseDown = true;
    Repaint();
}

void TkypCustomButton::KeyUp(WORD& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (!IsPressKey(key) || !Focused() || !m_MouseDown || !Enabled()) return;
    m_MouseDown = false;
    Repaint();
    Click();
}

bool TkypCustomButton::TakeDialogKey(const TMessage& message)
{
    const bool enter = message.WParam == VK_RETURN && m_Active;
    const bool escape = message.WParam == VK_ESCAPE && m_Cancel;
    if (!(enter || escape) || KeyDataToShiftState(message.LParam) != 0 || !CanFocus()) return false;
    Click();
    return true;
}

// A bare letter works while a skinned push button has the focus;
// elsewhere it needs Alt.
bool TkypCustomButton::TakeDialogChar(const TMessage& message)
{
    if (!IsAccel(static_cast<UINT>(message.WParam), m_Caption)) return false;
    const bool alt = (KeyDataToShiftState(message.LParam) & ssAlt) != 0;
    if (!alt && SendMessageW(GetFocus(), KYPM_ISBUTTON, 0, 0) != 1) return false;
    if (!Parent() || !Parent()->Enabled() || !Enabled() || !Visible()) return false;
    Click();
    return true;
}

void TkypCustomButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; break;  // Paint covers every pixel
    case KYPM_ISBUTTON: message.Result = 1; break;
    case CM_TEXTCHANGED: SetCaption(Text()); break;
    case CM_MOUSEENTER:
        TCustomControl::WndProc(message);
        if (HasState(csDesigning)) break;
        m_MouseIn = true;
        Repaint();
        if (OnMouseEnter) OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(message);
        m_HoverCancelled = false;
        EndHover();
        if (OnMouseExit) OnMouseExit(this);
        break;
    case CM_CANCELMODE:
        TCustomControl::WndProc(message);
        m_HoverCancelled = m_MouseIn || m_HoverCancelled;
        EndHover();
        break;
    case WM_CAPTURECHANGED:
        // No release can come once the mouse is taken elsewhere.
        TCustomControl::WndProc(message);
        StopRepeat();
        break;
    case CM_DIALOGKEY:
        if (TakeDialogKey(message))
            message.Result = 1;
        else
            TCustomControl::WndProc(message);
        break;
    case CM_DIALOGCHAR:
        TCustomControl::WndProc(message);
        message.Result = TakeDialogChar(message) ? 1 : 0;
        break;
    case CM_FOCUSCHANGED:
        TCustomControl::WndProc(message);
        m_Active = m_Default;
        Repaint();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(message);
        Repaint();
        break;
    default: TCustomControl::WndProc(message); break;
    }
}

namespace {
const bool buttonPropertiesRegistered = RegisterProperties<TkypCustomButton, TControl>({
    OrdinalProperty<TkypCustomButton>(L"AutoSize", &TkypCustomButton::AutoSize, &TkypCustomButton::SetAutoSize),
    OrdinalProperty<TWinControl>(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
    ObjectProperty<TkypCustomButton, TkypFileTheme>(
        L"FileTheme", &TkypCustomButton::FileTheme, &TkypCustomButton::SetFileTheme),
});
}  // namespace
