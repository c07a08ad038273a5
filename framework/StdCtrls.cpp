#include "StdCtrls.h"

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 65, 17);
}

void TLabel::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

void TLabel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    Invalidate();
}

void TLabel::SetText(const String& text)
{
    TGraphicControl::SetText(text);
    AdjustSize();
}

void TLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustSize();
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustSize();
}

UINT TLabel::DrawFlags() const
{
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
    if (alignment_ == TAlignment::taCenter) flags |= DT_CENTER;
    if (alignment_ == TAlignment::taRightJustify) flags |= DT_RIGHT;
    return flags;
}

// Measured on a screen DC with the label's font; sizes are not touched
// while a form description is still loading (the font may change yet).
void TLabel::AdjustSize()
{
    if (!autoSize_ || HasState(csLoading)) return;
    TClientDC screen(nullptr);
    TScopedSelect font(screen.Handle(), Font().Handle());
    RECT bounds{0, 0, 0, 0};
    const String text = Caption().empty() ? String(L" ") : Caption();
    DrawTextW(screen.Handle(), text.c_str(), -1, &bounds, DT_CALCRECT | DT_EXPANDTABS);
    SetBounds(Left(), Top(), bounds.right, bounds.bottom);
}

void TLabel::Paint()
{
    TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    if (!transparent_) {
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.SetFont(Font());
    HDC dc = canvas.Handle();
    TScopedSelect font(dc, canvas.Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font().Color())));
    RECT text = client;
    DrawTextW(dc, Caption().c_str(), -1, &text, DrawFlags());
}
