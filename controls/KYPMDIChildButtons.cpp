#include "KYPMDIChildButtons.h"

#include <algorithm>

#include "KYPForm.h"
#include "KYPPublic.h"

namespace {

constexpr int kPieces = 3;
constexpr TkypChildButton kSlots[] = {TkypChildButton::Close, TkypChildButton::Restore, TkypChildButton::Minimize};

size_t Index(TkypChildButton slot) { return static_cast<size_t>(slot) - 1; }

}  // namespace

TkypMDIChildButtons::TkypMDIChildButtons(TComponent* owner, TForm& form, TWinControl& panel, int oldLeftBorderWidth)
    : TComponent(owner), m_Form(&form), m_Panel(&panel), m_OldLeftBorderWidth(oldLeftBorderWidth)
{
    m_Form->FreeNotification(this);
    m_Panel->FreeNotification(this);
    // The buttons keep to the panel's right edge.
    m_PanelHook = m_Panel->AddWindowHook(this, [this](TMessage& message, const TWindowHookNext& next) {
        next(message);
        if (message.Msg == WM_SIZE) Place();
    });
    CreateButtons();
}

TkypMDIChildButtons::~TkypMDIChildButtons()
{
    if (m_Panel) {
        m_Panel->RemoveWindowHook(m_PanelHook);
        m_Panel->RemoveFreeNotification(this);
    }
    if (m_Form) m_Form->RemoveFreeNotification(this);
    FreeButtons();
}

void TkypMDIChildButtons::CreateButtons()
{
    TBitmap strip;
    strip.LoadFromResourceName(GetModuleHandleW(nullptr), L"MDI_CONTROL_BUTTON");
    strip.SetTransparent(true);
    for (TkypChildButton slot : kSlots) {
        const TkypChildButtonPlace place = ChildButtonPlace(slot, m_Panel->Width(), m_OldLeftBorderWidth);
        auto* button = New<TkypToolBarSpeedButton>(this);
        m_Buttons[Index(slot)] = button;
        button->SetParent(m_Panel);
        ExtractStripPiece(&strip, button->Glyph(), kPieces, place.StripPiece);
        button->SetLeft(place.Left);
        button->SetTop(place.Top);
        button->SetTag(place.Tag);
        button->OnClick = [this](TObject* sender) { ButtonClick(sender); };
        button->BringToFront();
        button->SetVisible(false);
    }
}

void TkypMDIChildButtons::FreeButtons()
{
    for (TkypToolBarSpeedButton*& button : m_Buttons) FreeObject(std::exchange(button, nullptr));
}

void TkypMDIChildButtons::Place()
{
    if (!m_Panel) return;
    for (TkypChildButton slot : kSlots)
        if (TkypToolBarSpeedButton* button = Button(slot))
            button->SetLeft(ChildButtonPlace(slot, m_Panel->Width(), m_OldLeftBorderWidth).Left);
}

TkypToolBarSpeedButton* TkypMDIChildButtons::Button(TkypChildButton slot) const { return m_Buttons.at(Index(slot)); }

void TkypMDIChildButtons::SetColors(TColor color, TColor toColor)
{
    for (TkypToolBarSpeedButton* button : m_Buttons) {
        if (!button) continue;
        button->SetColor(color);
        button->SetToColor(toColor);
        button->Invalidate();
    }
}

void TkypMDIChildButtons::Show(const std::vector<TkypTitleBarBtnType>& titleBarButtons)
{
    const TkypChildButtonsShown shown = ChildButtonsFor(titleBarButtons);
    const auto reveal = [this](TkypChildButton slot, bool wanted) {
        if (TkypToolBarSpeedButton* button = Button(slot); button && wanted) button->SetVisible(true);
    };
    reveal(TkypChildButton::Close, shown.Close);
    reveal(TkypChildButton::Restore, shown.Restore);
    reveal(TkypChildButton::Minimize, shown.Minimize);
}

void TkypMDIChildButtons::Hide()
{
    for (TkypToolBarSpeedButton* button : m_Buttons)
        if (button) button->SetVisible(false);
}

bool TkypMDIChildButtons::AnyShown() const
{
    return std::any_of(m_Buttons.begin(), m_Buttons.end(), [](auto* button) { return button && button->Visible(); });
}

void TkypMDIChildButtons::ButtonClick(TObject* sender)
{
    auto* button = dynamic_cast<TkypToolBarSpeedButton*>(sender);
    TForm* child = m_Form ? m_Form->ActiveMDIChild() : nullptr;
    if (!button || !child) return;
    switch (ChildButtonAction(static_cast<int>(button->Tag()))) {
    case TkypChildAction::Minimize: ShowWindow(child->Handle(), SW_SHOWMINIMIZED); break;
    case TkypChildAction::Restore: child->SetWindowState(TWindowState::wsNormal); break;
    case TkypChildAction::Close: child->Close(); break;
    case TkypChildAction::None: return;
    }
    Application->ProcessMessages();
}

void TkypMDIChildButtons::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    for (TkypToolBarSpeedButton*& button : m_Buttons)
        if (button == component) button = nullptr;
    if (component == m_Form) m_Form = nullptr;
    if (component == m_Panel) {
        // Its window took the buttons' windows along.
        m_Panel = nullptr;
        FreeButtons();
    }
}

std::optional<std::vector<TkypTitleBarBtnType>> ChildFrameButtonTypes(TForm& child)
{
    TkypForm* frame = FindFormFrame(child);
    if (!frame) return std::nullopt;
    std::vector<TkypTitleBarBtnType> types;
    TkypTitleBarButtons* buttons = frame->TitleBarButtons();
    for (int b = 0; buttons && b < buttons->Count(); ++b) types.push_back(buttons->Items(b)->ButtonType());
    return types;
}
