#include "KYPFace.h"

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

int DrawCanvasText(TCanvas& canvas, const String& text, int length, TRect& rect, UINT format)
{
    HDC dc = canvas.Handle();
    TScopedSelect font(dc, canvas.Font().Handle());
    SetBkMode(dc, canvas.Brush().Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(canvas.Font().Color())));
    RECT bounds = rect;
    const int height = DrawTextW(dc, text.c_str(), length, &bounds, format);
    rect = bounds;
    return height;
}
