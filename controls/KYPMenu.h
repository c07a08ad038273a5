// Drawing helpers that the skinned menus share when they draw their items
// themselves: hooking their handlers onto an item tree, filled and framed
// rectangles, the separator line, the MacOS bitmap fills, the flat border
// over a menu window and the system menu font. No state of their own.
#pragma once

#include <windows.h>

#include "Graphics.h"
#include "Menus.h"
#include "Types.h"

// Sets both handlers on Item and on every item below it, an item before
// its sub-items. Earlier handlers are replaced; the menu is not told.
void HookMenuItemDraw(TMenuItem* item, const TMenuMeasureItemEvent& measure, const TMenuDrawItemEvent& draw);

// Both leave the brush in Color.
void FrameMenuRect(TCanvas& canvas, const TRect& rect, TColor color);
void FillMenuRect(TCanvas& canvas, const TRect& rect, TColor color);

// One line on row Top + 2 in the canvas's pen, left in Color: from the bar
// (BarWidth + 4 in) to 2 pixels before the far edge, mirrored right to left.
void DrawMenuSeparator(TCanvas& canvas, const TRect& rect, TColor color, bool leftToRight, int barWidth);

// The light rows of the MacOS menu bitmaps stretched over Rect: the bar
// cut to 12 rows for separators and to 20 for items, the selection cut to
// 20. EResNotFound when the program lacks the bitmap.
void DrawMacMenuSeparator(TCanvas& canvas, const TRect& rect);
void DrawMacMenuItem(TCanvas& canvas, const TRect& rect);
void DrawMacMenuSelection(TCanvas& canvas, const TRect& rect);

// Replaces the raised frame of a menu window by a flat one, drawn on the
// window's own device context so that nothing outside it is touched:
// Outer framed one pixel in, white inside that, and Line along the top
// row, the right column and the bottom row.
void DrawFlatMenuBorder(HWND menuWindow, TColor outer, TColor line);

// The font becomes the system's menu font in clMenuText; unchanged when
// the system does not answer.
void SetSystemMenuFont(TFont& font);
