// A list of equal-sized images with masks, over the common controls'
// image lists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "Bitmap.h"
#include "Classes.h"
#include "Graphics.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner = nullptr) : TImageList(16, 16, owner) {}
    TImageList(int width, int height, TComponent* owner = nullptr);
    static TOwned<TImageList> CreateSize(int width, int height) { return MakeOwned<TImageList>(width, height); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Empties the list.
    void SetSize(int width, int height);
    int Count() const;
    void Clear();

    // Adds the image, or every Width-wide frame of a wider strip, and
    // answers the index of the first one (-1 on failure). In the mask,
    // white pixels are transparent; a null mask makes every pixel opaque.
    // The bitmaps are copied, never changed.
    int Add(TBitmap* image, TBitmap* mask);
    // Pixels of MaskColor become transparent.
    int AddMasked(TBitmap* image, TColor maskColor);

    // An index out of range draws nothing. Disabled, the image's dark
    // opaque pixels (luminance below one half) are drawn as an embossed
    // silhouette: the highlight colour one pixel right and down, then the
    // shadow colour in place.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // Sizes Dest to one image and draws the image over it, so masked pixels
    // keep Dest's own background.
    void GetBitmap(int index, TBitmap* dest);

    HIMAGELIST Handle() const { return list_.get(); }

private:
    struct TListDestroyer {
        void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
    };
    bool ValidIndex(int index) const { return index >= 0 && index < Count(); }
    void DrawDisabled(HDC dc, int x, int y, int index);

    int width_, height_;
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, TListDestroyer> list_;
};
