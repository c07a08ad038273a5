// TkypCheckBox: the owner-drawn check box of the skin library: a glyph
// from a strip of state pieces beside a one-line caption, in either
// reading order. Its OnClick reports changes of Checked, not mouse clicks.
// The radio button changes it only through the virtual hooks.
#pragma once

#include "Controls.h"
#include "KYP2Define.h"
#include "KYPMgr.h"
#include "KYPStyle.h"
#include "StdCtrls.h"

class TBitmap;

class TkypCheckBox : public TCustomControl {
public:
    explicit TkypCheckBox(TComponent* owner);
    ~TkypCheckBox() override;
    void AfterConstruction() override;

    TkypUIStyle UIStyle() const { return m_UIStyle; }
    void SetUIStyle(TkypUIStyle style);
    // Not owned; watched, so a theme of another owner can go first.
    TkypFileTheme* FileTheme() const { return m_ThemeLink.Theme(); }
    void SetFileTheme(TkypFileTheme* theme);
    // The size follows glyph and caption at every paint.
    bool AutoSize() const { return m_AutoSize; }
    void SetAutoSize(bool autoSize);
    bool Checked() const { return m_Checked; }
    void SetChecked(bool checked);
    // Never cbGrayed; setting cbGrayed unchecks.
    TCheckBoxState State() const { return m_Checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked; }
    void SetState(TCheckBoxState state) { SetChecked(state == TCheckBoxState::cbChecked); }
    bool Transparent() const { return m_Transparent; }
    void SetTransparent(bool transparent);

    void SetEnabled(bool enabled) override;
    void Click() override;

protected:
    virtual bool WantsFocusRect();
    virtual bool IsGlyphTransparent() { return false; }
    virtual TkypStyleAttr GetStyleImageAttr() { return TkypStyleAttr::CheckBoxStrip; }
    virtual Tsk2SkinBitmapElement GetThemeImageElement() { return SKIN2_CHECKBOX; }
    virtual void CheckedChanged();
    virtual void BeforeToggle() {}
    virtual void Toggle();
    virtual bool KeyToggles() { return true; }

    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void WndProc(TMessage& message) override;
    void FontChanged() override { Repaint(); }
    // For the descendants' own focus rule.
    void TakeFocus();

private:
    void LoadGlyph(TBitmap& glyph);
    bool TakeDialogChar(const TMessage& message);

    bool m_Checked = false;
    TkypUIStyle m_UIStyle = DeepBlue;
    TkypThemeLink m_ThemeLink{this};
    bool m_Transparent = false;
    bool m_AutoSize = true;
};
