// TkypToolBarSpeedButton: a small glyph button with a flat or vertical
// gradient face and a black frame while the mouse is over it. The MDI
// frame uses three for its active child's minimise, restore and close.
#pragma once

#include "Bitmap.h"
#include "Controls.h"

class TkypToolBarSpeedButton : public TCustomPanel {
public:
    explicit TkypToolBarSpeedButton(TComponent* owner);
    ~TkypToolBarSpeedButton() override;

    // A caller may draw into it directly; setting it does not repaint.
    TBitmap* Glyph() const { return m_Glyph.get(); }
    void SetGlyph(TBitmap* glyph) { m_Glyph->Assign(glyph); }
    // Color is the top of the face, ToColor its bottom; equal gives a flat face.
    TColor ToColor() const { return m_ToColor; }
    void SetToColor(TColor color) { m_ToColor = color; }

    bool MouseInside() const { return m_MouseIn; }

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    bool m_MouseIn = false;
    TOwned<TBitmap> m_Glyph;
    TColor m_ToColor = 0;
};
