#include "KYPCheckBox.h"

#include <algorithm>

#include "Bitmap.h"
#include "KYPFace.h"
#include "KYPThemes.h"
#include "Keyboard.h"
#include "TypInfo.h"

namespace {

bool IsToggleKey(WORD key) { return key == VK_SPACE || key == VK_RETURN; }

// Pieces are numbered from 1. A check-box strip from a theme has six
// pieces, of which 2 and 5 are not used; every other strip has four.
int GlyphPiece(bool sixPieces, bool checked, bool enabled)
{
    if (checked) return enabled ? 1 : (sixPieces ? 4 : 3);
    if (enabled) return sixPieces ? 3 : 2;
    return sixPieces ? 6 : 4;
}

}  // namespace

TkypCheckBox::TkypCheckBox(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(ControlStyle() | csCaptureMouse);
    SetColor(clWindow);
    SetParentColor(true);
}

TkypCheckBox::~TkypCheckBox() = default;

// The setters run virtual hooks: only now do they reach descendants.
void TkypCheckBox::AfterConstruction()
{
    TCustomControl::AfterConstruction();
    SetChecked(false);
    m_Transparent = false;
    SetAutoSize(true);
    SetHeight(17);
    SetWidth(93);
    // A double click arrives as two clicks.
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
    SetTabStop(true);
    SetUIStyle(DefaultStyleFor(Owner()));
}

void TkypCheckBox::SetUIStyle(TkypUIStyle style)
{
    m_UIStyle = style;
    Repaint();
}

void TkypCheckBox::SetFileTheme(TkypFileTheme* theme)
{
    m_ThemeLink.Set(theme);
    SetUIStyle(m_UIStyle);
}

void TkypCheckBox::SetAutoSize(bool autoSize)
{
    m_AutoSize = autoSize;
    Repaint();
}

void TkypCheckBox::SetChecked(bool checked)
{
    if (checked == m_Checked) return;
    m_Checked = checked;
    Repaint();
    CheckedChanged();
}

void TkypCheckBox::SetTransparent(bool transparent)
{
    m_Transparent = transparent;
    Repaint();
}

void TkypCheckBox::SetEnabled(bool enabled)
{
    TCustomControl::SetEnabled(enabled);
    Repaint();
}

bool TkypCheckBox::WantsFocusRect() { return TabStop() && Focused() && Enabled() && Visible(); }

void TkypCheckBox::CheckedChanged()
{
    if (!HasState(csLoading) && OnClick) OnClick(this);
}

void TkypCheckBox::Toggle()
{
    BeforeToggle();
    SetChecked(!m_Checked);
}

// OnClick belongs to Checked: a click only toggles.
void TkypCheckBox::Click() { Toggle(); }

void TkypCheckBox::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    TkypUIStyle fallback = DeepBlue;
    if (component && m_ThemeLink.Removed(component, operation, fallback)) SetUIStyle(fallback);
}

void TkypCheckBox::TakeFocus()
{
    if (!CanFocus()) return;
    try {
        SetFocus();
    } catch (...) {
        // The click goes on without the focus.
    }
}

void TkypCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && Enabled() && Visible()) TakeFocus();
}

void TkypCheckBox::KeyUp(WORD& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (!KeyToggles() || !IsToggleKey(key) || !Focused() || !Enabled()) return;
    Repaint();
    Click();
}

// No Alt and no focus is needed: the letter alone toggles.
bool TkypCheckBox::TakeDialogChar(const TMessage& message)
{
    if (!IsAccel(static_cast<UINT>(message.WParam), Caption())) return false;
    if (!Enabled() || !Visible() || !Parent() || !Parent()->Enabled()) return false;
    TakeFocus();
    Click();
    return true;
}

void TkypCheckBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; break;  // Paint covers every pixel
    case CM_TEXTCHANGED: Repaint(); break;
    case CM_DIALOGCHAR:
        TCustomControl::WndProc(message);
        message.Result = TakeDialogChar(message) ? 1 : 0;
        break;
    case CM_FOCUSCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(message);
        Repaint();
        break;
    default: TCustomControl::WndProc(message); break;
    }
}

// ------------------------------------------------------------ painting

void TkypCheckBox::LoadGlyph(TBitmap& glyph)
{
    TkypUIStyle resolved = m_UIStyle;
    const bool fromTheme = UsesThemeFile(FileTheme(), m_UIStyle, resolved);
    const bool sixPieces = fromTheme && GetStyleImageAttr() == TkypStyleAttr::CheckBoxStrip;
    const int piece = GlyphPiece(sixPieces, m_Checked, Enabled());
    if (fromTheme)
        FileTheme()->GetBitmap2(GetThemeImageElement(), &glyph, sixPieces ? 6 : 4, piece);
    else
        GetStyleBitmap(resolved, GetStyleImageAttr(), &glyph, 4, piece);
}

void TkypCheckBox::Paint()
{
    TBitmap face;
    TBitmap glyph;
    glyph.SetTransparent(IsGlyphTransparent());
    face.Canvas().Font().Assign(&Font());
    LoadGlyph(glyph);
    const int textHeight = face.Canvas().TextHeight(L"W");
    if (m_AutoSize) {
        SetHeight(std::max(glyph.Height(), textHeight + 2) + 4);
        SetWidth(glyph.Width() + 8 + face.Canvas().TextWidth(Caption()));
    }
    PaintFaceBackground(face, *this, m_Transparent);
    TCanvas& canvas = face.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    const int textTop = (ClientHeight() - textHeight) / 2;
    const int glyphTop = (ClientHeight() - glyph.Height()) / 2;
    const int glyphWidth = glyph.Width();
    const bool rightToLeft = BiDiMode() == TBiDiMode::bdRightToLeft && SysLocale.MiddleEast;
    TRect text = rightToLeft ? TRect(0, textTop, Width() - glyphWidth - 4, Height())
                             : TRect(glyphWidth + 4, textTop, Width(), Height());
    canvas.Draw(rightToLeft ? Width() - glyphWidth - 1 : 1, glyphTop, &glyph);
    canvas.TextRect(text, Caption(), rightToLeft ? DT_SINGLELINE | DT_RIGHT : DT_SINGLELINE);
    // The rectangle surrounds the caption: without one it would frame an
    // empty patch beside the glyph.
    if (WantsFocusRect() && HasVisibleText(Caption())) {
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        const int bottom = textTop + textHeight + 2;
        canvas.DrawFocusRect(rightToLeft ? TRect(0, textTop, Width() - glyphWidth - 2, bottom)
                                         : TRect(glyphWidth + 3, textTop, Width(), bottom));
    }
    Canvas().Draw(0, 0, &face);
}

namespace {
const bool checkBoxPropertiesRegistered = RegisterProperties<TkypCheckBox, TControl>({
    OrdinalProperty<TkypCheckBox>(L"UIStyle", &TkypCheckBox::UIStyle, &TkypCheckBox::SetUIStyle),
    ObjectProperty<TkypCheckBox, TkypFileTheme>(L"FileTheme", &TkypCheckBox::FileTheme, &TkypCheckBox::SetFileTheme),
    OrdinalProperty<TkypCheckBox>(L"AutoSize", &TkypCheckBox::AutoSize, &TkypCheckBox::SetAutoSize),
    OrdinalProperty<TkypCheckBox>(L"Checked", &TkypCheckBox::Checked, &TkypCheckBox::SetChecked),
    OrdinalProperty<TWinControl>(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
    OrdinalProperty<TkypCheckBox>(L"State", &TkypCheckBox::State, &TkypCheckBox::SetState),
    OrdinalProperty<TkypCheckBox>(L"Transparent", &TkypCheckBox::Transparent, &TkypCheckBox::SetTransparent),
});
}  // namespace
