// TkypSkinControl: the non-visual component that cuts another control's
// window to the pixels of Glyph that differ from TransparentColor and gives
// that control the picture's size.
#pragma once

#include "Bitmap.h"
#include "Controls.h"

class TkypSkinControl : public TComponent {
public:
    explicit TkypSkinControl(TComponent* owner);
    ~TkypSkinControl() override;

    // Not owned; dropped when the control is freed, whoever owns it.
    TWinControl* Control() const { return m_Control; }
    void SetControl(TWinControl* control);
    // Owned. A form description loads the picture straight into it; the
    // shape follows when Control is bound.
    TBitmap* Glyph() const { return m_Glyph.get(); }
    void SetGlyph(TBitmap* glyph);
    TColor TransparentColor() const { return m_Color; }
    void SetTransparentColor(TColor color);

    TNotifyEvent OnRegionChanged;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ApplyGlyph();
    void Shape();
    void Unwatch();

    TWinControl* m_Control = nullptr;  // not owned
    TOwned<TBitmap> m_Glyph;
    TColor m_Color = 16711935;
    int m_HandleHook = 0;  // re-shapes a recreated control window
};
