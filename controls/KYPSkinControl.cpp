#include "KYPSkinControl.h"

#include "KYPPublic.h"
#include "TypInfo.h"

TkypSkinControl::TkypSkinControl(TComponent* owner) : TComponent(owner), m_Glyph(MakeOwned<TBitmap>()) {}

TkypSkinControl::~TkypSkinControl() { Unwatch(); }

void TkypSkinControl::Unwatch()
{
    if (!m_Control) return;
    m_Control->RemoveHandleCreatedHandler(m_HandleHook);
    RemoveFreeNotification(m_Control);
    m_Control = nullptr;
}

void TkypSkinControl::SetControl(TWinControl* control)
{
    if (control != m_Control) {
        Unwatch();
        m_Control = control;
        if (m_Control) {
            m_Control->FreeNotification(this);
            m_HandleHook = m_Control->AddHandleCreatedHandler([this](TWinControl*) {
                if (!m_Glyph->Empty()) Shape();
            });
        }
    }
    ApplyGlyph();
}

void TkypSkinControl::SetGlyph(TBitmap* glyph)
{
    m_Glyph->Assign(glyph);
    ApplyGlyph();
}

void TkypSkinControl::SetTransparentColor(TColor color)
{
    m_Color = color;
    ApplyGlyph();
}

void TkypSkinControl::Shape() { SetWindowRegionFromBitmap(m_Control->Handle(), m_Glyph.get(), m_Color); }

void TkypSkinControl::ApplyGlyph()
{
    if (m_Glyph->Empty() || !m_Control) return;
    // A window not made yet is shaped when it is (the handle hook).
    if (m_Control->HandleAllocated()) Shape();
    m_Control->SetHeight(m_Glyph->Height());
    m_Control->SetWidth(m_Glyph->Width());
    if (OnRegionChanged) OnRegionChanged(this);
}

// The control is already half destroyed when this arrives: forget it
// without touching it.
void TkypSkinControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_Control) m_Control = nullptr;
}

namespace {
const bool skinControlPropertiesRegistered = RegisterProperties<TkypSkinControl, TComponent>({
    ObjectProperty<TkypSkinControl, TWinControl>(L"Control", &TkypSkinControl::Control, &TkypSkinControl::SetControl),
    ObjectProperty<TkypSkinControl, TBitmap>(L"Glyph", &TkypSkinControl::Glyph, &TkypSkinControl::SetGlyph),
    OrdinalProperty<TkypSkinControl>(L"TransparentColor", &TkypSkinControl::TransparentColor,
        &TkypSkinControl::SetTransparentColor),
});
}  // namespace
