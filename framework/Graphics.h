// Colours, the three drawing tools (font, brush, pen) and the canvas that
// draws with them on any device context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Classes.h"
#include "GdiHandles.h"
#include "Types.h"

// $00BBGGRR. A value with the high byte $FF names a system colour by its
// low byte (GetSysColor index); clNone and clDefault are markers.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080;
constexpr TColor clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU), clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME), clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT), clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE), clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW), clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);

inline bool IsSystemColor(TColor color) { return (static_cast<uint32_t>(color) & 0xFF000000u) == 0xFF000000u; }
// A system colour becomes its current value; clNone and clDefault come out
// unchanged (callers that accept them test for them first).
TColor ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3 };
using TFontStyles = unsigned;
enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode { pmCopy, pmNot, pmXor, pmMerge, pmMask };

// The common part of font, brush and pen: a GDI object made on first use
// and remade after any change. The canvas that has the object selected is
// told first (BeforeHandleChange) so it can put the DC's own object back
// before the old handle is deleted.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
    HGDIOBJ CachedHandle() const { return handle_.get(); }
    void StoreHandle(HGDIOBJ handle) { handle_.reset(handle); }

private:
    friend class TCanvas;
    std::function<void()> beforeHandleChange_;  // set by the canvas using this object
    TGdiObject<HGDIOBJ> handle_;
};

class TFont : public TGraphicsObject {
public:
    TFont();

    const String& Name() const { return name_; }
    void SetName(const String& name);
    // Points at the screen's resolution; Height is the cell height in pixels
    // (negative: character height, as LOGFONT has it). Setting one sets both.
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int height);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t charset);

    HFONT Handle();
    void Assign(TPersistent* source) override;

private:
    String name_ = L"Tahoma";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    uint8_t charset_ = DEFAULT_CHARSET;
};

class TBitmap;

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern tiled from the DC's origin: the brush keeps its own copy of
    // the pixels, so the caller's bitmap may change or go. Null (or an empty
    // bitmap) drops the pattern; a new colour or style drops it too.
    TBitmap* Bitmap() const { return pattern_.get(); }
    void SetBitmap(TBitmap* bitmap);

    HBRUSH Handle();
    void Assign(TPersistent* source) override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    TOwned<TBitmap> pattern_;  // null: no pattern
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);

    HPEN Handle();
    void Assign(TPersistent* source) override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
};

// Raster operations of CopyRect.
enum : DWORD { cmSrcCopy = SRCCOPY, cmSrcAnd = SRCAND, cmSrcPaint = SRCPAINT, cmSrcInvert = SRCINVERT,
               cmNotSrcCopy = NOTSRCCOPY, cmBlackness = BLACKNESS, cmWhiteness = WHITENESS };

// Draws on a device context it does not own. The canvas selects its pen,
// brush and font into the DC when a drawing call needs them and puts the
// DC's original objects back when the DC is released (SetHandle with
// another DC or null, or destruction), so the DC never holds an object that
// is later freed.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    HDC Handle() { return RequireHandle(); }
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return *font_; }
    TBrush& Brush() { return *brush_; }
    TPen& Pen() { return *pen_; }
    void SetFont(TFont& font) { font_->Assign(&font); }

    DWORD CopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD mode) { copyMode_ = mode; }
    TPoint PenPos();
    void SetPenPos(TPoint position) { MoveTo(position.X, position.Y); }

    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void DrawFocusRect(const TRect& rect);
    // The part of the ellipse in (X1, Y1, X2, Y2) from the ray towards
    // (X3, Y3) counter-clockwise to the ray towards (X4, Y4), in the pen.
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    void TextOut(int x, int y, const String& text);
    // The text clipped to Rect, its top-left corner at (X, Y).
    void TextRect(const TRect& rect, int x, int y, const String& text);
    // The text laid out in Rect by the platform's DrawTextW with Format
    // (DT_* flags); with DT_CALCRECT, Rect receives the size it needs.
    // DrawTextW with the canvas's font and brush; answers the text's height.
    int TextRect(TRect& rect, const String& text, UINT format);
    TSize TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).cx; }
    int TextHeight(const String& text) { return TextExtent(text).cy; }

    // Honours the bitmap's Transparent setting. A null or empty bitmap
    // draws nothing.
    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& rect, TBitmap* bitmap);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    void Lock() {}
    void Unlock() {}

protected:
    // Subclasses that make their DC on demand (bitmaps) override this.
    virtual void CreateHandle() {}
    HDC RequireHandle();

private:
    enum class TTool { Font, Brush, Pen };
    void Select(TTool tool);
    void Deselect(TTool tool);
    void DeselectAll();
    void HookTool(TGraphicsObject& tool, TTool which);
    void RequireFont();
    void RequireBrush();
    void RequirePen();

    HDC dc_ = nullptr;  // not owned
    TOwned<TFont> font_;
    TOwned<TBrush> brush_;
    TOwned<TPen> pen_;
    // What the DC held before the canvas selected its tools; null when the
    // tool is not selected.
    HGDIOBJ original_[3] = {};
    DWORD copyMode_ = cmSrcCopy;
};
