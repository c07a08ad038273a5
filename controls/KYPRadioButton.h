// TkypRadioButton: a check box with the radio-button glyphs that only the
// user's switching on changes, and that switches off the other radio
// buttons of its group (same parent, same GroupIndex) when it comes on.
#pragma once

#include "KYPCheckBox.h"

class TkypRadioButton : public TkypCheckBox {
public:
    explicit TkypRadioButton(TComponent* owner);
    void AfterConstruction() override;

    int GroupIndex() const { return m_GroupIndex; }
    void SetGroupIndex(int index) { m_GroupIndex = index; }

protected:
    bool IsGlyphTransparent() override { return true; }
    TkypStyleAttr GetStyleImageAttr() override { return TkypStyleAttr::RadioButtonStrip; }
    Tsk2SkinBitmapElement GetThemeImageElement() override { return SKIN2_RADIOBUTTON; }
    void CheckedChanged() override;
    void Toggle() override;
    bool KeyToggles() override { return false; }
    void WndProc(TMessage& message) override;

private:
    void UncheckSiblings();
    bool FocusCameFromRadioGroup(HWND previous);

    int m_GroupIndex = 0;
};
