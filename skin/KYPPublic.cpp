#include "KYPPublic.h"

#include "KYPTextFit.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <vector>

#include "ImageList.h"

namespace {

// The DIB's 0x00RRGGBB value that GetPixel reports as Color, or nothing
// when no pixel can report it (a system colour or marker).
bool PixelValueOf(TColor color, uint32_t& pixel)
{
    auto raw = static_cast<uint32_t>(color);
    if (raw & 0xFF000000u)
        return false;
    pixel = ((raw & 0xFF) << 16) | (raw & 0xFF00) | ((raw >> 16) & 0xFF);
    return true;
}

void AppendRowRuns(const uint32_t* row, int width, int y, bool matchable, uint32_t transparent,
                   std::vector<RECT>& runs)
{
    int x = 0;
    while (x < width) {
        while (x < width && matchable && (row[x] & 0x00FFFFFF) == transparent)
            ++x;
        if (x == width)
            break;
        int start = x;
        while (x < width && !(matchable && (row[x] & 0x00FFFFFF) == transparent))
            ++x;
        runs.push_back(RECT{start, y, x, y + 1});
    }
}

TRegionHandle RegionFromRects(const RECT* rects, size_t count, const RECT& bounds)
{
    std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    data->rdh.rcBound = bounds;
    std::memcpy(data->Buffer, rects, count * sizeof(RECT));
    return TRegionHandle(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

// Rectangles per ExtCreateRegion call. Some GDIs (Wine's) add the
// rectangles of one call one at a time, each union costing the size of the
// region so far; short pieces merged as a balanced tree keep every union
// between regions of similar size. Measured on a 539 x 539 shape under
// Wine: 8 was fastest (21 ms, against 97 ms for one call per row).
constexpr size_t kRunsPerPiece = 8;

// ORs the regions pairwise, level by level, into Regions[0].
TRegionHandle MergeRegions(std::vector<TRegionHandle>& regions)
{
    for (size_t step = 1; step < regions.size(); step *= 2)
        for (size_t i = 0; i + step < regions.size(); i += 2 * step) {
            CombineRgn(regions[i].get(), regions[i].get(), regions[i + step].get(), RGN_OR);
            regions[i + step].reset();
        }
    return std::move(regions[0]);
}

// Gradient channel: c1 + Trunc((c2 - c1) / span * step), toward zero.
uint8_t Blend(uint8_t c1, uint8_t c2, int span, int step)
{
    double value = (static_cast<double>(c2) - c1) / span * step;
    return static_cast<uint8_t>(c1 + static_cast<int>(std::trunc(value)));
}

TColor BlendColor(TColor first, TColor second, int span, int step)
{
    uint8_t r1, g1, b1, r2, g2, b2;
    SplitColor(first, r1, g1, b1);
    SplitColor(second, r2, g2, b2);
    return MakeColor(Blend(r1, r2, span, step), Blend(g1, g2, span, step), Blend(b1, b2, span, step));
}

void DrawLine(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas.Pen().SetColor(color);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

}  // namespace

TRegionHandle CreateRegionFromBitmap(TBitmap* bitmap, TColor transparentColor)
{
    return CreateRegionFromBitmapRows(bitmap, transparentColor, 0, bitmap ? bitmap->Height() : 0, 0);
}

TRegionHandle CreateRegionFromBitmapRows(TBitmap* bitmap, TColor transparentColor, int firstRow, int endRow,
                                         int offsetY)
{
    if (!bitmap || bitmap->Empty())
        return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
    uint32_t transparent = 0;
    bool matchable = PixelValueOf(transparentColor, transparent);
    int width = bitmap->Width();
    firstRow = std::clamp(firstRow, 0, bitmap->Height());
    endRow = std::clamp(endRow, firstRow, bitmap->Height());
    const uint32_t* bits = bitmap->Bits();
    std::vector<RECT> runs;
    std::vector<TRegionHandle> rows;
    for (int y = firstRow; y < endRow; ++y) {
        runs.clear();
        AppendRowRuns(bits + static_cast<size_t>(y) * width, width, y + offsetY, matchable, transparent, runs);
        if (!runs.empty()) {
            std::vector<TRegionHandle> pieces;
            for (size_t i = 0; i < runs.size(); i += kRunsPerPiece) {
                size_t count = std::min(kRunsPerPiece, runs.size() - i);
                pieces.push_back(RegionFromRects(runs.data() + i, count, RECT{0, y + offsetY, width, y + offsetY + 1}));
                if (!pieces.back())
                    return TRegionHandle();  // out of GDI resources: what was made so far is freed
            }
            rows.push_back(MergeRegions(pieces));
        }
    }
    if (rows.empty())
        return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
    return MergeRegions(rows);
}

void SetWindowRegionFromBitmap(HWND window, TBitmap* bitmap, TColor transparentColor)
{
    TRegionHandle region = CreateRegionFromBitmap(bitmap, transparentColor);
    if (region && SetWindowRgn(window, region.get(), TRUE))
        region.release();  // the window owns it now
}

bool PointInRect(const TPoint& point, const TRect& rect) { return PointInRect(point.X, point.Y, rect); }

bool PointInRect(int32_t x, int32_t y, const TRect& rect)
{
    return x >= rect.Left && x <= rect.Right && y >= rect.Top && y <= rect.Bottom;
}

void DrawThreeSliceBitmap(TBitmap* bitmap, TCanvas& canvas, const TRect& rect, TColor maskColor, bool useMask)
{
    if (!bitmap || bitmap->Empty() || bitmap->Width() < 3)
        return;
    int frame = bitmap->Width() / 3, height = bitmap->Height();
    TOwned<TImageList> frames = TImageList::CreateSize(frame, height);
    if (useMask)
        frames->AddMasked(bitmap, maskColor);
    else
        frames->Add(bitmap, nullptr);
    TOwned<TBitmap> work = MakeOwned<TBitmap>();
    if (rect.Width() < frame) {
        frames->GetBitmap(0, work.get());
        work->SetWidth(rect.Width());
        canvas.Draw(rect.Left, rect.Top, work.get());
        return;
    }
    frames->Draw(canvas, rect.Left, rect.Top, 0);
    frames->Draw(canvas, rect.Right - frame, rect.Top, 2);
    // Narrower than both caps the right cap overlaps the left one, and a
    // middle would be stretched mirrored over both.
    if (rect.Width() <= 2 * frame) return;
    frames->GetBitmap(1, work.get());
    canvas.StretchDraw(Rect(rect.Left + frame, rect.Top, rect.Right - frame, rect.Top + height), work.get());
}

void DrawVerticalGradient(TCanvas& canvas, const TRect& rect, TColor first, TColor second)
{
    int span = rect.Bottom - rect.Top;
    if (span <= 0)
        return;
    DrawLine(canvas, first, rect.Left, rect.Top, rect.Right, rect.Top);
    // Row Top + 1 repeats First: the step counts from the row after it.
    for (int y = rect.Top + 1; y <= rect.Bottom - 2; ++y)
        DrawLine(canvas, BlendColor(first, second, span, y - rect.Top - 1), rect.Left, y, rect.Right, y);
    DrawLine(canvas, second, rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom - 1);
}

void DrawHorizontalGradient(TCanvas& canvas, const TRect& rect, TColor first, TColor second)
{
    int span = rect.Right - rect.Left;
    if (span <= 0)
        return;
    DrawLine(canvas, first, rect.Left, rect.Top, rect.Left, rect.Bottom);
    for (int x = rect.Left + 1; x <= rect.Right - 2; ++x)
        DrawLine(canvas, BlendColor(first, second, span, x - rect.Left), x, rect.Top, x, rect.Bottom);
    DrawLine(canvas, second, rect.Right - 1, rect.Top, rect.Right - 1, rect.Bottom);
}

void ExtractStripPiece(TBitmap* source, TBitmap* dest, int count, int piece)
{
    if (!source || !dest || count < 1 || piece < 1 || piece > count)
        return;
    int width = source->Width() / count, height = source->Height();
    TRect from = piece == count ? Rect(source->Width() - width, 0, source->Width(), height)
                                : Rect((piece - 1) * width, 0, piece * width, height);
    // Through a work bitmap, so a piece can be cut out of Dest itself.
    TOwned<TBitmap> work = MakeOwned<TBitmap>();
    work->SetSize(width, height);
    work->Canvas().CopyRect(Rect(0, 0, width, height), source->Canvas(), from);
    dest->SetSize(width, height);
    dest->Canvas().CopyRect(Rect(0, 0, width, height), work->Canvas(), Rect(0, 0, width, height));
}

String EllipsisText(TCanvas& canvas, const String& text, int maxWidth, String& result)
{
    result = EllipsisTextBy([&canvas](const String& piece) { return canvas.TextWidth(piece); }, text, maxWidth);
    return result;
}

void SplitColor(TColor color, uint8_t& red, uint8_t& green, uint8_t& blue)
{
    auto rgb = static_cast<uint32_t>(ColorToRGB(color));
    red = static_cast<uint8_t>(rgb & 0xFF);
    green = static_cast<uint8_t>((rgb >> 8) & 0xFF);
    blue = static_cast<uint8_t>((rgb >> 16) & 0xFF);
}

String WideTextToString(const wchar_t* text) { return text ? String(text) : String(); }
