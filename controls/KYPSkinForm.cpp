#include "KYPSkinForm.h"

#include "KYPPublic.h"
#include "TypInfo.h"

TkypSkinForm::TkypSkinForm(TComponent* owner) : TGraphicControl(owner), m_Picture(MakeOwned<TBitmap>())
{
    m_Form = dynamic_cast<TForm*>(owner);
    if (m_Form) {
        m_Form->SetBorderStyle(TFormBorderStyle::bsNone);
        // A recreated window has lost its region.
        m_HandleHook = m_Form->AddHandleCreatedHandler([this](TWinControl*) {
            if (m_Shaped) ShapeForm();
        });
    }
    SetBounds(Left(), Top(), 200, 100);
}

TkypSkinForm::~TkypSkinForm()
{
    if (m_Form) m_Form->RemoveHandleCreatedHandler(m_HandleHook);
}

void TkypSkinForm::SetGlyph(TBitmap* glyph)
{
    m_Picture->Assign(glyph);
    ApplyGlyph();
    Repaint();
}

void TkypSkinForm::SetTransparentColor(TColor color)
{
    m_Color = color;
    ApplyGlyph();
    Repaint();
}

void TkypSkinForm::ShapeForm()
{
    SetWindowRegionFromBitmap(m_Form->Handle(), m_Picture.get(), m_Color);
}

void TkypSkinForm::ApplyGlyph()
{
    if (m_Picture->Empty()) return;
    if (m_Form) {
        // A window not made yet is shaped when it is: the form makes its
        // controls' windows together then, each with its final settings.
        m_Shaped = true;
        if (m_Form->HandleAllocated()) ShapeForm();
    }
    SetBounds(0, 0, m_Picture->Width(), m_Picture->Height());
    if (m_Form) {
        m_Form->SetClientHeight(Height());
        m_Form->SetClientWidth(Width());
    }
    if (OnRegionChanged) OnRegionChanged(this);
}

void TkypSkinForm::Paint()
{
    if (!m_Picture->Empty()) {
        Canvas().Draw(0, 0, m_Picture.get());
    } else {
        // An empty control stays visible as a frame.
        Canvas().Brush().SetColor(clBlack);
        Canvas().FrameRect(ClientRect());
    }
    if (OnPaint) OnPaint(this);
}

// A left press moves the window: the system takes it for one on the
// caption. Only the left release ends the system's move, so another
// button would leave the window following the mouse after its click (the
// right one's context menu included).
void TkypSkinForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!m_Form || button != TMouseButton::mbLeft) return;
    ReleaseCapture();
    SendMessageW(m_Form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TkypSkinForm::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;  // the picture covers the control
        return;
    }
    TGraphicControl::WndProc(message);
}

namespace {
const bool skinFormPropertiesRegistered = RegisterProperties<TkypSkinForm, TControl>({
    ObjectProperty<TkypSkinForm, TBitmap>(L"Glyph", &TkypSkinForm::Glyph, &TkypSkinForm::SetGlyph),
    OrdinalProperty<TkypSkinForm>(L"TransparentColor", &TkypSkinForm::TransparentColor,
        &TkypSkinForm::SetTransparentColor),
});
}  // namespace
