#include "ImageList.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A fresh DIB holding the bitmap's pixels: the image list needs a bitmap
// that no DC has selected, and AddMasked blackens the transparent pixels
// of whatever it is given.
TBitmapHandle CopyToDib(TBitmap& source)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = source.Width();
    info.bmiHeader.biHeight = -source.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (dib)
        std::memcpy(bits, source.Bits(), static_cast<size_t>(source.Width()) * source.Height() * 4);
    return dib;
}

// A monochrome bitmap of Width x Height: 1 where IsSet, rows padded to
// 16 bits as CreateBitmap wants them.
template <class Predicate>
TBitmapHandle CreateMonochrome(int width, int height, Predicate isSet)
{
    int rowBytes = ((width + 15) / 16) * 2;
    std::vector<uint8_t> bits(static_cast<size_t>(rowBytes) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (isSet(x, y))
                bits[static_cast<size_t>(y) * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return TBitmapHandle(CreateBitmap(width, height, 1, 1, bits.data()));
}

uint32_t Luminance(uint32_t pixel)
{
    uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 299 + g * 587 + b * 114) / 1000;
}

// Destination = pattern where the source is 0, unchanged where it is 1.
constexpr DWORD kRopPatternThroughMask = 0x00B8074A;

}  // namespace

TImageList::TImageList(int width, int height, TComponent* owner) : TComponent(owner), width_(0), height_(0)
{
    SetSize(width, height);
}

void TImageList::SetSize(int width, int height)
{
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    list_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 0, 4));
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

void TImageList::Clear()
{
    if (list_)
        ImageList_RemoveAll(list_.get());
}

int TImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (!list_ || !image || image->Empty())
        return -1;
    TBitmapHandle colour = CopyToDib(*image);
    const uint32_t* maskBits = mask && !mask->Empty() ? mask->Bits() : nullptr;
    int maskWidth = mask ? mask->Width() : 0, maskHeight = mask ? mask->Height() : 0;
    TBitmapHandle monochrome = CreateMonochrome(image->Width(), image->Height(), [&](int x, int y) {
        return maskBits && x < maskWidth && y < maskHeight &&
               (maskBits[static_cast<size_t>(y) * maskWidth + x] & 0x00FFFFFF) == 0x00FFFFFF;
    });
    if (!colour || !monochrome)
        return -1;
    return ImageList_Add(list_.get(), colour.get(), monochrome.get());
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (!list_ || !image || image->Empty())
        return -1;
    TBitmapHandle colour = CopyToDib(*image);
    if (!colour)
        return -1;
    return ImageList_AddMasked(list_.get(), colour.get(), static_cast<COLORREF>(ColorToRGB(maskColor)) & 0xFFFFFF);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled)
{
    HDC dc = canvas.Handle();
    if (!dc || !ValidIndex(index))
        return;
    if (enabled)
        ImageList_Draw(list_.get(), index, dc, x, y, ILD_NORMAL);
    else
        DrawDisabled(dc, x, y, index);
}

void TImageList::DrawDisabled(HDC dc, int x, int y, int index)
{
    // Drawn once over black and once over white, a pixel that comes out the
    // same both times is opaque.
    TOwned<TBitmap> overBlack = MakeOwned<TBitmap>(), overWhite = MakeOwned<TBitmap>();
    overBlack->Canvas().Brush().SetColor(clBlack);
    overBlack->SetSize(width_, height_);
    overWhite->SetSize(width_, height_);
    ImageList_Draw(list_.get(), index, overBlack->Canvas().Handle(), 0, 0, ILD_NORMAL);
    ImageList_Draw(list_.get(), index, overWhite->Canvas().Handle(), 0, 0, ILD_NORMAL);
    const uint32_t* black = overBlack->Bits();
    const uint32_t* white = overWhite->Bits();
    TBitmapHandle notSilhouette = CreateMonochrome(width_, height_, [&](int px, int py) {
        size_t i = static_cast<size_t>(py) * width_ + px;
        bool opaque = (black[i] & 0xFFFFFF) == (white[i] & 0xFFFFFF);
        return !(opaque && Luminance(black[i]) < 128);
    });
    if (!notSilhouette)
        return;

    TMemoryDC maskDC(dc);
    TScopedSelect selectMask(maskDC.Handle(), notSilhouette.get());
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    auto paintSilhouette = [&](int left, int top, int sysColor) {
        TBrushHandle brush(CreateSolidBrush(GetSysColor(sysColor)));
        TScopedSelect selectBrush(dc, brush.get());
        BitBlt(dc, left, top, width_, height_, maskDC.Handle(), 0, 0, kRopPatternThroughMask);
    };
    paintSilhouette(x + 1, y + 1, COLOR_BTNHIGHLIGHT);
    paintSilhouette(x, y, COLOR_BTNSHADOW);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void TImageList::GetBitmap(int index, TBitmap* dest)
{
    if (!dest || !ValidIndex(index))
        return;
    dest->SetSize(width_, height_);
    ImageList_Draw(list_.get(), index, dest->Canvas().Handle(), 0, 0, ILD_NORMAL);
}
