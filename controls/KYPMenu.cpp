#include "KYPMenu.h"

#include "Bitmap.h"
#include "WindowHandles.h"

namespace {

// Each call loads the bitmap anew: a menu draws few items, and a skin
// change never leaves a stale copy behind.
void StretchMenuBitmap(TCanvas& canvas, const TRect& rect, const wchar_t* resource, int rows)
{
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), resource);
    bitmap->SetHeight(rows);
    canvas.StretchDraw(rect, bitmap.get());
}

}  // namespace

void HookMenuItemDraw(TMenuItem* item, const TMenuMeasureItemEvent& measure, const TMenuDrawItemEvent& draw)
{
    if (!item) return;
    item->OnDrawItem = draw;
    item->OnMeasureItem = measure;
    for (int i = 0; i < item->Count(); ++i) HookMenuItemDraw(item->Items(i), measure, draw);
}

void FrameMenuRect(TCanvas& canvas, const TRect& rect, TColor color)
{
    canvas.Brush().SetColor(color);
    canvas.FrameRect(rect);
}

void FillMenuRect(TCanvas& canvas, const TRect& rect, TColor color)
{
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

void DrawMenuSeparator(TCanvas& canvas, const TRect& rect, TColor color, bool leftToRight, int barWidth)
{
    canvas.Pen().SetColor(color);
    const int y = rect.Top + 2;
    if (leftToRight) {
        canvas.MoveTo(rect.Left + barWidth + 4, y);
        canvas.LineTo(rect.Right - 2, y);
    } else {
        canvas.MoveTo(rect.Left + 2, y);
        canvas.LineTo(rect.Right - barWidth - 4, y);
    }
}

void DrawMacMenuSeparator(TCanvas& canvas, const TRect& rect) { StretchMenuBitmap(canvas, rect, L"MACOS_MENU_BAR", 12); }

void DrawMacMenuItem(TCanvas& canvas, const TRect& rect) { StretchMenuBitmap(canvas, rect, L"MACOS_MENU_BAR", 20); }

void DrawMacMenuSelection(TCanvas& canvas, const TRect& rect)
{
    StretchMenuBitmap(canvas, rect, L"MACOS_MENU_SELECT", 20);
}

void DrawFlatMenuBorder(HWND menuWindow, TColor outer, TColor line)
{
    RECT bounds{};
    if (!menuWindow || !GetWindowRect(menuWindow, &bounds)) return;
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    TWindowDC dc(menuWindow);
    if (!dc.Handle()) return;
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(dc.Handle());
    FrameMenuRect(*canvas, TRect(0, 1, width - 1, height - 1), outer);
    FrameMenuRect(*canvas, TRect(1, 2, width - 2, height - 2), clWhite);
    canvas->Pen().SetColor(line);
    canvas->MoveTo(0, height - 1);
    canvas->LineTo(width - 1, height - 1);
    canvas->LineTo(width - 1, 0);
    canvas->LineTo(-1, 0);
    canvas->SetHandle(nullptr);
}

void SetSystemMenuFont(TFont& font)
{
    if (GetSystemMenuFont(font)) font.SetColor(clMenuText);
}
