#include "Bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "BmpCodec.h"

namespace {

// 0x00RRGGBB pixel <-> 0x00BBGGRR colour.
TColor PixelToColor(uint32_t pixel)
{
    return static_cast<TColor>(((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF));
}

uint32_t ColorToPixel(TColor color)
{
    auto rgb = static_cast<uint32_t>(ColorToRGB(color));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// A top-down 32-bit DIB section, so Bits() row 0 is the top row.
TBitmapHandle CreateTopDownDib(int width, int height, uint32_t** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!dib)
        throw EOutOfMemory(L"Out of system resources: cannot create a " + IntToStr(width) + L" x " +
                           IntToStr(height) + L" bitmap");
    *bits = static_cast<uint32_t*>(memory);
    return dib;
}

}  // namespace

// ---------------------------------------------------------------------------
// TBitmapCanvas

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle()
{
    memoryDC_ = std::make_unique<TMemoryDC>();
    HBITMAP dib = bitmap_.Handle();
    originalBitmap_ = dib ? SelectObject(memoryDC_->Handle(), dib) : nullptr;
    SetHandle(memoryDC_->Handle());
}

void TBitmapCanvas::FreeContext()
{
    if (!memoryDC_)
        return;
    SetHandle(nullptr);  // puts the DC's own pen, brush and font back
    if (originalBitmap_)
        SelectObject(memoryDC_->Handle(), originalBitmap_);
    originalBitmap_ = nullptr;
    memoryDC_.reset();
}

// ---------------------------------------------------------------------------
// TBitmap

TBitmap::TBitmap() : canvas_(MakeOwned<TBitmapCanvas>(*this)) {}

TBitmap::~TBitmap()
{
    // The canvas must let go of the DIB before dib_ deletes it.
    canvas_.reset();
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}

TCanvas& TBitmap::Canvas() { return *canvas_; }

uint32_t* TBitmap::Bits()
{
    GdiFlush();
    return bits_;
}

const uint32_t* TBitmap::Bits() const
{
    GdiFlush();
    return bits_;
}

void TBitmap::ReplaceImage(int width, int height)
{
    canvas_->FreeContext();
    dib_.reset();
    bits_ = nullptr;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    if (width_ > 0 && height_ > 0)
        dib_ = CreateTopDownDib(width_, height_, &bits_);
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    std::vector<uint32_t> old(Bits(), Bits() + static_cast<size_t>(width_) * height_);
    int oldWidth = width_, oldHeight = height_;
    TColor background = canvas_->Brush().Color();
    ReplaceImage(width, height);
    if (bits_) {
        std::fill_n(bits_, static_cast<size_t>(width_) * height_, ColorToPixel(background));
        int keepWidth = std::min(oldWidth, width_), keepHeight = std::min(oldHeight, height_);
        for (int y = 0; y < keepHeight; ++y)
            std::memcpy(bits_ + static_cast<size_t>(y) * width_, old.data() + static_cast<size_t>(y) * oldWidth,
                        static_cast<size_t>(keepWidth) * 4);
    }
    Changed();
}

void TBitmap::LoadPixels(int width, int height, const uint32_t* pixels)
{
    ReplaceImage(width, height);
    if (bits_)
        std::memcpy(bits_, pixels, static_cast<size_t>(width_) * height_ * 4);
    Changed();
}

void TBitmap::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == transparentMode_)
        return;
    transparentMode_ = mode;
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (transparentMode_ == TTransparentMode::tmFixed)
        return transparentColor_;
    if (Empty())
        return clNone;
    return PixelToColor(Bits()[static_cast<size_t>(height_ - 1) * width_] & 0x00FFFFFF);
}

void TBitmap::SetTransparentColor(TColor color)
{
    transparentColor_ = color;
    transparentMode_ = TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::Assign(TPersistent* source)
{
    if (!source) {
        ReplaceImage(0, 0);
        Changed();
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(source);
    if (!bitmap) {
        TPersistent::Assign(source);
        return;
    }
    if (bitmap == this)
        return;
    pixelFormat_ = bitmap->pixelFormat_;
    transparent_ = bitmap->transparent_;
    transparentMode_ = bitmap->transparentMode_;
    transparentColor_ = bitmap->transparentColor_;
    LoadPixels(bitmap->width_, bitmap->height_, bitmap->Bits());
}

void TBitmap::LoadFromStream(TStream& stream)
{
    TDecodedBmp image = ReadBmp(stream);
    pixelFormat_ = image.BitsPerPixel == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    LoadPixels(image.Width, image.Height, image.Pixels.data());
}

void TBitmap::SaveToStream(TStream& stream) const
{
    WriteBmp(stream, width_, height_, Bits(), pixelFormat_ == TPixelFormat::pf32bit ? 32 : 24);
}

void TBitmap::LoadFromFile(const String& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TBitmap::SaveToFile(const String& fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name)
{
    HRSRC resource = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw EResNotFound(L"Resource " + name + L" not found");
    TDecodedBmp image = DecodeBmpInfo(static_cast<const uint8_t*>(data), SizeofResource(instance, resource));
    pixelFormat_ = image.BitsPerPixel == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    LoadPixels(image.Width, image.Height, image.Pixels.data());
}

// ---------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;

TBitmap* TPicture::Bitmap()
{
    if (!bitmap_) {
        bitmap_ = MakeOwned<TBitmap>();
        bitmap_->OnChange = [this](TObject*) {
            if (OnChange)
                OnChange(this);
        };
    }
    return bitmap_.get();
}

void TPicture::Assign(TPersistent* source)
{
    if (auto* picture = dynamic_cast<TPicture*>(source)) {
        if (picture != this)
            Bitmap()->Assign(picture->bitmap_.get());
        return;
    }
    if (!source || dynamic_cast<TBitmap*>(source)) {
        Bitmap()->Assign(source);
        return;
    }
    TPersistent::Assign(source);
}
