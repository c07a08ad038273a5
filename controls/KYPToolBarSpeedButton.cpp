#include "KYPToolBarSpeedButton.h"

#include "KYPPublic.h"
#include "TypInfo.h"

TkypToolBarSpeedButton::TkypToolBarSpeedButton(TComponent* owner)
    : TCustomPanel(owner), m_Glyph(MakeOwned<TBitmap>())
{
    SetHeight(18);
    SetWidth(18);
}

TkypToolBarSpeedButton::~TkypToolBarSpeedButton() = default;

void TkypToolBarSpeedButton::Paint()
{
    m_Glyph->SetTransparent(true);
    TBitmap face;
    face.SetSize(Width(), Height());
    TCanvas& canvas = face.Canvas();
    const TRect client(0, 0, Width(), Height());
    if (Color() == m_ToColor) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    } else {
        DrawVerticalGradient(canvas, client, Color(), m_ToColor);
    }
    if (!m_Glyph->Empty()) {
        if (m_MouseIn) {
            canvas.Brush().SetColor(0);
            canvas.FrameRect(client);
        }
        canvas.Draw(1, 1, m_Glyph.get());
    }
    Canvas().Draw(0, 0, &face);
}

void TkypToolBarSpeedButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; break;
    case CM_MOUSEENTER:
        m_MouseIn = true;
        Repaint();
        break;
    case CM_MOUSELEAVE:
        m_MouseIn = false;
        Repaint();
        break;
    default: TCustomPanel::WndProc(message); break;
    }
}

namespace {
const bool speedButtonPropertiesRegistered = RegisterProperties<TkypToolBarSpeedButton, TControl>({
    ObjectProperty<TkypToolBarSpeedButton, TBitmap>(
        L"Glyph", &TkypToolBarSpeedButton::Glyph, &TkypToolBarSpeedButton::SetGlyph),
    OrdinalProperty<TkypToolBarSpeedButton>(L"ToColor", &TkypToolBarSpeedButton::ToColor, &TkypToolBarSpeedButton::SetToColor),
});
}  // namespace
