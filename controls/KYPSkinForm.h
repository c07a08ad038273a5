// TkypSkinForm: the control that gives its owner form the shape and look
// of a bitmap. It makes the form borderless, cuts the form's window to the
// pixels of Glyph that differ from TransparentColor, sizes the form's
// client area to the picture, paints the picture and lets the user move
// the window by pressing a mouse button anywhere on it.
#pragma once

#include "Bitmap.h"
#include "Controls.h"
#include "Forms.h"

class TkypSkinForm : public TGraphicControl {
public:
    explicit TkypSkinForm(TComponent* owner);
    ~TkypSkinForm() override;

    // Owned. A form description loads the picture straight into it (no
    // shaping yet); the shape follows when TransparentColor is set.
    TBitmap* Glyph() const { return m_Picture.get(); }
    // Copies Glyph, then shapes and repaints.
    void SetGlyph(TBitmap* glyph);
    TColor TransparentColor() const { return m_Color; }
    void SetTransparentColor(TColor color);

    // The form shaped; null when the owner is not a form (then nothing is
    // shaped or moved and the control only paints).
    TForm* Form() const { return m_Form; }

    TNotifyEvent OnRegionChanged;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

private:
    void ApplyGlyph();
    void ShapeForm();

    TForm* m_Form = nullptr;  // not owned: the owner
    TOwned<TBitmap> m_Picture;
    TColor m_Color = 16711935;
    int m_HandleHook = 0;  // re-shapes a recreated form window
    bool m_Shaped = false;
};
