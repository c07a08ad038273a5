// Bitmaps as device-independent sections, so their pixels can be read and
// written directly as well as drawn with a canvas; and the picture that
// holds one.
#pragma once

#include <cstdint>
#include <memory>

#include "Graphics.h"
#include "Streams.h"

class EResNotFound : public Exception {
    using Exception::Exception;
};

// pfDevice draws like pf24bit. The pixels are always kept as 32 bits
// (0x00RRGGBB, top row first); the format says how a saved file stores them.
enum class TPixelFormat { pfDevice, pf24bit, pf32bit };
// tmAuto: the transparent colour is the lower-left pixel's.
enum class TTransparentMode { tmAuto, tmFixed };

class TBitmap;

// The canvas of a bitmap: a memory DC made on first use, holding the DIB.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override;
    // Gives the DIB back before the bitmap replaces or frees it.
    void FreeContext();

protected:
    void CreateHandle() override;

private:
    TBitmap& bitmap_;  // not owned: the bitmap owns this canvas
    std::unique_ptr<TMemoryDC> memoryDC_;
    HGDIOBJ originalBitmap_ = nullptr;
};

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Keeps the overlapping pixels; new ones are the canvas brush's colour
    // (white unless changed). Negative sizes count as 0.
    void SetSize(int width, int height);
    bool Empty() const { return width_ == 0 || height_ == 0; }

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat format) { pixelFormat_ = format; }

    TCanvas& Canvas();
    // The DIB section; null while empty. Owned by the bitmap: valid until
    // the next SetSize, load or Assign.
    HBITMAP Handle() const { return dib_.get(); }

    // Direct pixel access, 0x00RRGGBB per pixel, rows top first, Stride
    // bytes apart. Pending GDI drawing is flushed first. Same lifetime as
    // Handle().
    uint32_t* Bits();
    const uint32_t* Bits() const;
    int Stride() const { return width_ * 4; }
    uint32_t* ScanLine(int y) { return Bits() + static_cast<size_t>(y) * width_; }

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);
    // tmAuto: the lower-left pixel's colour (clNone for an empty bitmap);
    // tmFixed: the colour set.
    TColor TransparentColor() const;
    // Also switches to tmFixed.
    void SetTransparentColor(TColor color);

    // Null empties the bitmap.
    void Assign(TPersistent* source) override;

    // BMP files; errors are EInvalidGraphic (bad data) or stream errors.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;
    // An RT_BITMAP resource; EResNotFound when the module has none by that name.
    void LoadFromResourceName(HINSTANCE instance, const String& name);

    TNotifyEvent OnChange;

private:
    friend class TBitmapCanvas;
    void Changed();
    void ReplaceImage(int width, int height);
    void LoadPixels(int width, int height, const uint32_t* pixels);

    int width_ = 0, height_ = 0;
    TPixelFormat pixelFormat_ = TPixelFormat::pf24bit;
    TBitmapHandle dib_;
    uint32_t* bits_ = nullptr;  // owned by dib_
    TOwned<TBitmapCanvas> canvas_;
    bool transparent_ = false;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    TColor transparentColor_ = clDefault;
};

// Holds one bitmap (the only graphic kind the program uses).
class TPicture : public TPersistent {
public:
    TPicture();

    // Made empty on first use; owned by the picture.
    TBitmap* Bitmap();
    // The bitmap, or null while there is no image.
    TBitmap* Graphic() { return bitmap_ && !bitmap_->Empty() ? bitmap_.get() : nullptr; }
    void SetGraphic(TBitmap* graphic) { Assign(graphic); }
    int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
    int Height() const { return bitmap_ ? bitmap_->Height() : 0; }

    // A picture, a bitmap, or null (clears).
    void Assign(TPersistent* source) override;
    void LoadFromFile(const String& fileName) { Bitmap()->LoadFromFile(fileName); }
    void SaveToFile(const String& fileName) { Bitmap()->SaveToFile(fileName); }

    TNotifyEvent OnChange;

private:
    TOwned<TBitmap> bitmap_;
};
