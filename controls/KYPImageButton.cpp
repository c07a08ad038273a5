#include "KYPImageButton.h"

#include "TypInfo.h"

TkypImageButton::TkypImageButton(TComponent* owner)
    : TkypCustomButton(owner),
      m_PicNormal(MakeOwned<TPicture>()),
      m_PicMouseOn(MakeOwned<TPicture>()),
      m_PicMouseDown(MakeOwned<TPicture>()),
      m_PicDisabled(MakeOwned<TPicture>())
{
}

TkypImageButton::~TkypImageButton() = default;

void TkypImageButton::SetDrawFocused(bool drawFocused)
{
    m_DrawFocused = drawFocused;
    Repaint();
}

void TkypImageButton::SetStretch(bool stretch)
{
    m_Stretch = stretch;
    Repaint();
}

void TkypImageButton::AssignPicture(TPicture& field, TPersistent* picture)
{
    field.Assign(picture);
    ResizeToStyle();
    Repaint();
}

void TkypImageButton::ResizeToStyle()
{
    TBitmap* normal = m_PicNormal->Graphic();
    if (!Parent() || !AutoSize() || !normal) return;
    SetHeight(normal->Height());
    SetWidth(normal->Width());
}

void TkypImageButton::CopyPicture(TPicture& preferred, TBitmap* bitmap)
{
    if (TBitmap* graphic = preferred.Graphic())
        bitmap->Assign(graphic);
    else if (TBitmap* normal = m_PicNormal->Graphic())
        bitmap->Assign(normal);
}

void TkypImageButton::GetNormalPicture(TBitmap* bitmap) { CopyPicture(*m_PicNormal, bitmap); }
void TkypImageButton::GetMouseOnPicture(TBitmap* bitmap) { CopyPicture(*m_PicMouseOn, bitmap); }
void TkypImageButton::GetMouseDownPicture(TBitmap* bitmap) { CopyPicture(*m_PicMouseDown, bitmap); }
void TkypImageButton::GetDisabledPicture(TBitmap* bitmap) { CopyPicture(*m_PicDisabled, bitmap); }

// Drawn as it is, never greyed: the disabled picture is the artwork's.
void TkypImageButton::DrawPicture(TCanvas& canvas, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty()) return;
    const bool transparent = bitmap->Transparent();
    bitmap->SetTransparentColor(bitmap->Canvas().Pixels(0, 0));
    bitmap->SetTransparent(transparent);
    if (m_Stretch)
        canvas.StretchDraw(TRect(0, 0, Width(), Height()), bitmap);
    else
        canvas.Draw(0, 0, bitmap);
}

void TkypImageButton::PaintFocusRect(TCanvas& canvas)
{
    if (m_DrawFocused) TkypCustomButton::PaintFocusRect(canvas);
}

namespace {
template <TPicture* (TkypImageButton::*Getter)() const, void (TkypImageButton::*Setter)(TPersistent*)>
TPropInfo PictureProperty(const String& name)
{
    return ObjectProperty<TkypImageButton, TPersistent>(
        name, [](TkypImageButton* button) { return (button->*Getter)(); },
        [](TkypImageButton* button, TPersistent* value) { (button->*Setter)(value); });
}

const bool imageButtonPropertiesRegistered = RegisterProperties<TkypImageButton, TkypCustomButton>({
    OrdinalProperty<TkypCustomButton>(L"UIStyle", &TkypCustomButton::UIStyle, &TkypCustomButton::SetUIStyle),
    OrdinalProperty<TkypImageButton>(L"DrawFocused", &TkypImageButton::DrawFocused, &TkypImageButton::SetDrawFocused),
    OrdinalProperty<TkypCustomButton>(L"FocusedRectMargin", &TkypCustomButton::FocusedRectMargin, &TkypCustomButton::SetFocusedRectMargin),
    PictureProperty<&TkypImageButton::PicNormal, &TkypImageButton::SetPicNormal>(L"PicNormal"),
    PictureProperty<&TkypImageButton::PicMouseOn, &TkypImageButton::SetPicMouseOn>(L"PicMouseOn"),
    PictureProperty<&TkypImageButton::PicMouseDown, &TkypImageButton::SetPicMouseDown>(L"PicMouseDown"),
    PictureProperty<&TkypImageButton::PicDisabled, &TkypImageButton::SetPicDisabled>(L"PicDisabled"),
    OrdinalProperty<TkypImageButton>(L"Stretch", &TkypImageButton::Stretch, &TkypImageButton::SetStretch),
    OrdinalProperty<TkypCustomButton>(L"Cancel", &TkypCustomButton::Cancel, &TkypCustomButton::SetCancel),
    OrdinalProperty<TkypCustomButton>(L"Default", &TkypCustomButton::Default, &TkypCustomButton::SetDefault),
    OrdinalProperty<TkypCustomButton>(L"MouseContinuouslyDownInterval",
        &TkypCustomButton::MouseContinuouslyDownInterval, &TkypCustomButton::SetMouseContinuouslyDownInterval),
    OrdinalProperty<TkypCustomButton>(L"Transparent", &TkypCustomButton::Transparent, &TkypCustomButton::SetTransparent),
    OrdinalProperty<TkypCustomButton>(L"ModalResult", &TkypCustomButton::ModalResult, &TkypCustomButton::SetModalResult),
});
}  // namespace
