#include "KYPRadioButton.h"

#include "TypInfo.h"

namespace {
// The class of the radio-group control's own buttons: a focus that comes
// from one of them selects, as arrow keys inside a radio group do.
constexpr wchar_t kRadioGroupButtonClass[] = L"TkypRadioGroupButton";
}  // namespace

TkypRadioButton::TkypRadioButton(TComponent* owner) : TkypCheckBox(owner) {}

void TkypRadioButton::AfterConstruction()
{
    TkypCheckBox::AfterConstruction();
    // The second click of a double click is OnDblClick, not a click.
    SetControlStyle(ControlStyle() | csDoubleClicks);
}

void TkypRadioButton::Toggle()
{
    if (!Checked()) SetChecked(true);
}

// The group is unchecked before OnClick, so a handler sees the final state.
void TkypRadioButton::CheckedChanged()
{
    if (!Checked()) return;
    UncheckSiblings();
    if (!HasState(csLoading) && OnClick) OnClick(this);
}

void TkypRadioButton::UncheckSiblings()
{
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<TkypRadioButton*>(parent->Controls(i));
        if (sibling && sibling != this && sibling->GroupIndex() == m_GroupIndex) sibling->SetChecked(false);
    }
}

bool TkypRadioButton::FocusCameFromRadioGroup(HWND previous)
{
    if (!previous || previous == Handle()) return false;
    wchar_t name[260] = {};
    if (!GetClassNameW(previous, name, 260)) return false;
    return String(name) == kRadioGroupButtonClass;
}

void TkypRadioButton::WndProc(TMessage& message)
{
    TkypCheckBox::WndProc(message);
    if (message.Msg == WM_SETFOCUS && FocusCameFromRadioGroup(reinterpret_cast<HWND>(message.WParam))) Click();
}

namespace {
const bool radioButtonPropertiesRegistered = RegisterProperties<TkypRadioButton, TkypCheckBox>({
    OrdinalProperty<TkypRadioButton>(L"GroupIndex", &TkypRadioButton::GroupIndex, &TkypRadioButton::SetGroupIndex),
});
}  // namespace
