#include "KYPFace.h"

#include <algorithm>

#include "KYPPublicControls.h"

void PaintFaceBackground(TBitmap& face, TControl& control, bool transparent)
{
    face.SetPixelFormat(TPixelFormat::pfDevice);
    face.SetSize(control.Width(), control.Height());
    if (transparent) {
        DrawParentBackground(face.Canvas(), &control);
        return;
    }
    face.Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    face.Canvas().Brush().SetColor(control.Color());
    face.Canvas().FillRect(control.ClientRect());
}

bool HasVisibleText(const String& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c > L' '; });
}
