// Shared helpers of the skinned classes: window shapes from bitmaps, point
// tests, gradients, three-slice borders, strip pieces and text shortening.
// The helpers that need controls and forms live in KYPPublicControls.h.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Bitmap.h"
#include "GdiHandles.h"
#include "Graphics.h"
#include "Types.h"

// The region of every pixel whose colour differs from TransparentColor as a
// raw 32-bit value: a system colour (high byte set) matches no pixel. One
// one-pixel-high rectangle per horizontal run. Null or empty bitmap: an
// empty region.
TRegionHandle CreateRegionFromBitmap(TBitmap* bitmap, TColor transparentColor);
// The same for rows FirstRow .. EndRow - 1 only, clamped to the bitmap's
// rows, each moved down by OffsetY in the region.
TRegionHandle CreateRegionFromBitmapRows(TBitmap* bitmap, TColor transparentColor, int firstRow, int endRow,
                                         int offsetY);
// Gives the window that region and redraws it. The window owns the region
// once this succeeds; on failure it is freed here.
void SetWindowRegionFromBitmap(HWND window, TBitmap* bitmap, TColor transparentColor);

// All four edges count as inside (unlike the platform's PtInRect).
bool PointInRect(const TPoint& point, const TRect& rect);
bool PointInRect(int32_t x, int32_t y, const TRect& rect);

// Bitmap holds three frames side by side (left cap, middle, right cap),
// each Width div 3 wide. The caps are drawn at Rect's ends and the middle
// stretched between them, all Bitmap's height tall from Rect.Top; a Rect
// narrower than a frame gets the left cap cut to its width. With UseMask,
// pixels of MaskColor are see-through in the caps; the cut cap and the
// middle are drawn opaque, their masked pixels white. A null bitmap or one
// under 3 pixels wide draws nothing.
void DrawThreeSliceBitmap(TBitmap* bitmap, TCanvas& canvas, const TRect& rect, TColor maskColor, bool useMask);

// Lines in the canvas's pen from First at the top (left) edge to Second at
// the bottom (right) edge; the pen is left at Second. An empty or inverted
// rectangle draws nothing.
void DrawVerticalGradient(TCanvas& canvas, const TRect& rect, TColor first, TColor second);
void DrawHorizontalGradient(TCanvas& canvas, const TRect& rect, TColor first, TColor second);

// Copies piece Piece (1 .. Count) of Source, cut into Count pieces of
// Width div Count columns, into Dest; the last piece is flush with the
// right edge. A count below 1 or a piece outside 1 .. Count leaves Dest
// untouched. Source and Dest may be the same bitmap.
void ExtractStripPiece(TBitmap* source, TBitmap* dest, int count, int piece);

// Text itself when it fits MaxWidth; otherwise the shortest "prefix..."
// at least MaxWidth wide, or Text when no prefix shorter than Text gets
// that wide. Also stored in Result.
String EllipsisText(TCanvas& canvas, const String& text, int maxWidth, String& result);

constexpr TColor MakeColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
}
// A system colour is resolved to its current value first.
void SplitColor(TColor color, uint8_t& red, uint8_t& green, uint8_t& blue);
// Null gives an empty string.
String WideTextToString(const wchar_t* text);
