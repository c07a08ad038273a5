#include "Graphics.h"

#include <algorithm>

#include "Bitmap.h"

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return static_cast<TColor>(GetSysColor(color & 0xFF));
    return color;
}

namespace {

COLORREF ToColorRef(TColor color)
{
    return static_cast<COLORREF>(ColorToRGB(color)) & 0x00FFFFFFu;
}

int ScreenPixelsPerInch()
{
    TClientDC screen(nullptr);
    return GetDeviceCaps(screen.Handle(), LOGPIXELSY);
}

}  // namespace

// ---------------------------------------------------------------------------
// TGraphicsObject

void TGraphicsObject::Changed()
{
    if (beforeHandleChange_)
        beforeHandleChange_();
    handle_.reset();
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
// TFont

TFont::TFont() { SetSize(8); }

void TFont::SetName(const String& name)
{
    if (name == name_ || name.empty())
        return;
    name_ = name;
    Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetHeight(int height)
{
    if (height == height_)
        return;
    height_ = height;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    // The colour is the DC's text colour, not part of the GDI font: no new
    // handle is needed, only the listeners hear of it.
    if (OnChange)
        OnChange(this);
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TFont::SetCharset(uint8_t charset)
{
    if (charset == charset_)
        return;
    charset_ = charset;
    Changed();
}

HFONT TFont::Handle()
{
    if (!CachedHandle()) {
        LOGFONTW log{};
        log.lfHeight = height_;
        log.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        log.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
        log.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
        log.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
        log.lfCharSet = charset_;
        log.lfQuality = DEFAULT_QUALITY;
        name_.copy(log.lfFaceName, LF_FACESIZE - 1);
        StoreHandle(CreateFontIndirectW(&log));
    }
    return static_cast<HFONT>(CachedHandle());
}

void TFont::Assign(TPersistent* source)
{
    auto* font = dynamic_cast<TFont*>(source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    if (font == this)
        return;
    name_ = font->name_;
    height_ = font->height_;
    color_ = font->color_;
    style_ = font->style_;
    charset_ = font->charset_;
    Changed();
}

// ---------------------------------------------------------------------------
// TBrush

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::SetColor(TColor color)
{
    if (color == color_ && style_ == TBrushStyle::bsSolid && !pattern_)
        return;
    color_ = color;
    pattern_.reset();
    // Giving a clear brush a colour makes it solid again, as callers expect
    // from "Brush.Color := X; FillRect".
    style_ = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == style_ && !pattern_)
        return;
    style_ = style;
    pattern_.reset();
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty()) {
        if (!pattern_) return;
        pattern_.reset();
    } else {
        if (!pattern_) pattern_ = MakeOwned<TBitmap>();
        pattern_->Assign(bitmap);
    }
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (!CachedHandle()) {
        HBRUSH brush = pattern_                        ? CreatePatternBrush(pattern_->Handle())
                       : style_ == TBrushStyle::bsClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                                        : CreateSolidBrush(ToColorRef(color_));
        // Stock objects are not ours to delete; DeleteObject ignores them,
        // so one owning type serves both.
        StoreHandle(brush);
    }
    return static_cast<HBRUSH>(CachedHandle());
}

void TBrush::Assign(TPersistent* source)
{
    auto* brush = dynamic_cast<TBrush*>(source);
    if (!brush) {
        TPersistent::Assign(source);
        return;
    }
    if (brush == this)
        return;
    color_ = brush->color_;
    style_ = brush->style_;
    if (brush->pattern_) {
        if (!pattern_) pattern_ = MakeOwned<TBitmap>();
        pattern_->Assign(brush->pattern_.get());
    } else {
        pattern_.reset();
    }
    Changed();
}

// ---------------------------------------------------------------------------
// TPen

void TPen::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    width = std::max(width, 1);
    if (width == width_)
        return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    if (OnChange)
        OnChange(this);
}

HPEN TPen::Handle()
{
    if (!CachedHandle()) {
        static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        StoreHandle(CreatePen(kStyles[static_cast<int>(style_)], width_, ToColorRef(color_)));
    }
    return static_cast<HPEN>(CachedHandle());
}

void TPen::Assign(TPersistent* source)
{
    auto* pen = dynamic_cast<TPen*>(source);
    if (!pen) {
        TPersistent::Assign(source);
        return;
    }
    if (pen == this)
        return;
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Changed();
}

// ---------------------------------------------------------------------------
// TCanvas

TCanvas::TCanvas()
    : font_(MakeOwned<TFont>()), brush_(MakeOwned<TBrush>()), pen_(MakeOwned<TPen>())
{
    HookTool(*font_, TTool::Font);
    HookTool(*brush_, TTool::Brush);
    HookTool(*pen_, TTool::Pen);
}

TCanvas::~TCanvas() { DeselectAll(); }

void TCanvas::HookTool(TGraphicsObject& tool, TTool which)
{
    tool.beforeHandleChange_ = [this, which] { Deselect(which); };
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == dc_)
        return;
    DeselectAll();
    dc_ = dc;
}

HDC TCanvas::RequireHandle()
{
    if (!dc_)
        CreateHandle();
    return dc_;
}

void TCanvas::Select(TTool tool)
{
    auto index = static_cast<int>(tool);
    if (original_[index] || !RequireHandle())
        return;
    HGDIOBJ object = tool == TTool::Font    ? static_cast<HGDIOBJ>(font_->Handle())
                     : tool == TTool::Brush ? static_cast<HGDIOBJ>(brush_->Handle())
                                            : static_cast<HGDIOBJ>(pen_->Handle());
    original_[index] = SelectObject(dc_, object);
}

void TCanvas::Deselect(TTool tool)
{
    auto index = static_cast<int>(tool);
    if (original_[index] && dc_)
        SelectObject(dc_, original_[index]);
    original_[index] = nullptr;
}

void TCanvas::DeselectAll()
{
    Deselect(TTool::Font);
    Deselect(TTool::Brush);
    Deselect(TTool::Pen);
}

void TCanvas::RequireFont()
{
    Select(TTool::Font);
    SetTextColor(dc_, ToColorRef(font_->Color()));
}

void TCanvas::RequireBrush()
{
    Select(TTool::Brush);
    SetBkColor(dc_, ToColorRef(brush_->Color()));
    SetBkMode(dc_, brush_->Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::RequirePen()
{
    Select(TTool::Pen);
    static constexpr int kModes[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_MERGEPEN, R2_MASKPEN};
    SetROP2(dc_, kModes[static_cast<int>(pen_->Mode())]);
}

TPoint TCanvas::PenPos()
{
    POINT position{};
    if (RequireHandle())
        GetCurrentPositionEx(dc_, &position);
    return position;
}

TColor TCanvas::Pixels(int x, int y)
{
    if (!RequireHandle())
        return clNone;
    COLORREF color = GetPixel(dc_, x, y);
    return color == CLR_INVALID ? clNone : static_cast<TColor>(color);
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    if (RequireHandle())
        SetPixelV(dc_, x, y, ToColorRef(color));
}

void TCanvas::MoveTo(int x, int y)
{
    if (RequireHandle())
        MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    if (!RequireHandle())
        return;
    RequirePen();
    RequireBrush();
    ::LineTo(dc_, x, y);
}

void TCanvas::FillRect(const TRect& rect)
{
    if (!RequireHandle())
        return;
    RECT r = rect;
    ::FillRect(dc_, &r, brush_->Handle());
}

void TCanvas::FrameRect(const TRect& rect)
{
    if (!RequireHandle())
        return;
    RECT r = rect;
    ::FrameRect(dc_, &r, brush_->Handle());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!RequireHandle())
        return;
    RequirePen();
    RequireBrush();
    ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!RequireHandle())
        return;
    RequirePen();
    ::Arc(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    if (!RequireHandle())
        return;
    RequireBrush();
    // The focus rectangle is an XOR of the text and background colours:
    // black on white gives the usual dotted look on any background.
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkColor(dc_, RGB(255, 255, 255));
    RECT r = rect;
    ::DrawFocusRect(dc_, &r);
}

void TCanvas::TextOut(int x, int y, const String& text)
{
    if (!RequireHandle())
        return;
    RequireFont();
    RequireBrush();
    ::TextOutW(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const String& text)
{
    if (!RequireHandle())
        return;
    RequireFont();
    RequireBrush();
    RECT r = rect;
    UINT options = ETO_CLIPPED | (brush_->Style() == TBrushStyle::bsClear ? 0 : ETO_OPAQUE);
    ::ExtTextOutW(dc_, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::TextRect(TRect& rect, const String& text, UINT format)
{
    if (!RequireHandle())
        return 0;
    RequireFont();
    RequireBrush();
    RECT r = rect;
    const int height = ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
    rect = r;
    return height;
}

TSize TCanvas::TextExtent(const String& text)
{
    SIZE size{};
    if (RequireHandle()) {
        RequireFont();
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    }
    return TSize{size.cx, size.cy};
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty() || !RequireHandle())
        return;
    HDC source = bitmap->Canvas().Handle();
    int width = bitmap->Width(), height = bitmap->Height();
    if (bitmap->Transparent())
        TransparentBlt(dc_, x, y, width, height, source, 0, 0, width, height,
                       ToColorRef(bitmap->TransparentColor()));
    else
        BitBlt(dc_, x, y, width, height, source, 0, 0, copyMode_);
}

void TCanvas::StretchDraw(const TRect& rect, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty() || !RequireHandle())
        return;
    HDC source = bitmap->Canvas().Handle();
    int width = bitmap->Width(), height = bitmap->Height();
    if (bitmap->Transparent()) {
        TransparentBlt(dc_, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, width, height,
                       ToColorRef(bitmap->TransparentColor()));
        return;
    }
    int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, width, height, copyMode_);
    SetStretchBltMode(dc_, oldMode);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect)
{
    HDC from = source.Handle();
    if (!from || !RequireHandle())
        return;
    RequireBrush();
    source.RequireBrush();
    int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), from, sourceRect.Left, sourceRect.Top,
               sourceRect.Width(), sourceRect.Height(), copyMode_);
    SetStretchBltMode(dc_, oldMode);
}
