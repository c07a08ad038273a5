// The owner-draw menu helpers: hooking item trees, the separator line, the
// MacOS bitmap fills checked row by row, the flat border on a real window
// and the system menu font.
#include <gtest/gtest.h>

#include "MenuItems.h"
#include "SolidBitmap.h"

#include <vector>

#include "KYPMenu.h"

namespace {

constexpr TColor kPaper = 0xFF00FF;  // a colour no helper draws

// Rows of the MacOS bitmaps, red first as the artwork lists them.
const uint32_t kMacBarRows[] = {0xE9E9E9, 0xFFFFFF, 0xFFFFFF, 0xFBFBFB, 0xE9E9E9, 0xFAFAFA, 0xFEFEFE, 0xFAFAFA,
    0xE9E9E9, 0xFAFAFA, 0xFFFFFF, 0xFAFAFA, 0xE9E9E9, 0xFAFAFA, 0xFFFFFF, 0xF9F9F9, 0xE8E9EB, 0xFAFAFA, 0xFFFFFF,
    0xFBF9FA, 0xD4D4D4, 0x5B5B5D};
const uint32_t kMacSelectRows[] = {0x2359B3, 0x336ABC, 0x3973C4, 0x336ABC, 0x2359B3, 0x336ABC, 0x3973C4, 0x336ABC,
    0x275CB8, 0x336ABC, 0x3A72BF, 0x336ABC, 0x2359B3, 0x336ABC, 0x3973C4, 0x336ABC, 0x2359B3, 0x336ABC, 0x3973C4,
    0x336ABC, 0x2359B3};

TColor FromRgb(uint32_t rgb) { return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16)); }

// The columns of row Y that are not paper, as [first, last].
std::pair<int, int> InkSpan(TCanvas& canvas, int width, int y)
{
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x)
        if (canvas.Pixels(x, y) != kPaper) {
            if (first < 0) first = x;
            last = x;
        }
    return {first, last};
}

}  // namespace

TEST(HookMenuItemDraw, ReachesEveryItemOfTheTreeAndReplacesEarlierHandlers)
{
    TOwned<TMenuItem> root = MakeOwned<TMenuItem>(nullptr);
    TMenuItem* level1 = AddItem(root.get(), L"one");
    TMenuItem* level2 = AddItem(level1, L"one.one");
    const std::vector<TObject*> all{root.get(), level1, level2, AddItem(level2, L"one.one.one"),
        AddItem(root.get(), L"two")};
    int oldDraws = 0;
    level2->OnDrawItem = [&](TObject*, TCanvas&, const TRect&, bool) { ++oldDraws; };

    std::vector<TObject*> drawn, measured;
    HookMenuItemDraw(
        root.get(), [&](TObject* sender, TCanvas&, int&, int&) { measured.push_back(sender); },
        [&](TObject* sender, TCanvas&, const TRect&, bool) { drawn.push_back(sender); });

    TOwned<TBitmap> bitmap = SolidBitmap(10, 10, kPaper);
    for (TObject* item : all) {
        int w = 0, h = 0;
        static_cast<TMenuItem*>(item)->MeasureItem(bitmap->Canvas(), w, h);
        static_cast<TMenuItem*>(item)->DrawItem(bitmap->Canvas(), TRect(0, 0, 10, 10), false);
    }
    EXPECT_EQ(drawn, all);
    EXPECT_EQ(measured, all);
    EXPECT_EQ(oldDraws, 0);
}

TEST(DrawMenuSeparator, RunsFromTheBarToTwoPixelsShortOfTheFarEdge)
{
    struct Case {
        bool leftToRight;
        int barWidth;
        int first, last;
    };
    for (const Case& c : {Case{true, 26, 30, 117}, Case{false, 26, 2, 89}, Case{true, 0, 4, 117}}) {
        TOwned<TBitmap> bitmap = SolidBitmap(120, 5, kPaper);
        DrawMenuSeparator(bitmap->Canvas(), TRect(0, 0, 120, 5), clNavy, c.leftToRight, c.barWidth);
        EXPECT_EQ(InkSpan(bitmap->Canvas(), 120, 2), std::make_pair(c.first, c.last)) << c.leftToRight << c.barWidth;
        EXPECT_EQ(bitmap->Canvas().Pixels(c.first, 2), clNavy);
        for (int y : {0, 1, 3, 4}) EXPECT_EQ(InkSpan(bitmap->Canvas(), 120, y).first, -1) << "row " << y;
        EXPECT_EQ(bitmap->Canvas().Pen().Color(), clNavy);
    }
}

TEST(MacMenuBitmaps, ShowTheLightRowsOneToOneOrStretched)
{
    TOwned<TBitmap> item = SolidBitmap(60, 20, kPaper);
    DrawMacMenuItem(item->Canvas(), TRect(0, 0, 60, 20));
    TOwned<TBitmap> selection = SolidBitmap(60, 20, kPaper);
    DrawMacMenuSelection(selection->Canvas(), TRect(0, 0, 60, 20));
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(item->Canvas().Pixels(0, y), FromRgb(kMacBarRows[y])) << "bar row " << y;
        EXPECT_EQ(item->Canvas().Pixels(59, y), FromRgb(kMacBarRows[y])) << "bar row " << y;
        EXPECT_EQ(selection->Canvas().Pixels(30, y), FromRgb(kMacSelectRows[y])) << "selection row " << y;
    }

    // Twice as tall: every light row twice, never the two dark ones.
    TOwned<TBitmap> tall = SolidBitmap(10, 40, kPaper);
    DrawMacMenuItem(tall->Canvas(), TRect(0, 0, 10, 40));
    for (int y = 0; y < 40; ++y) EXPECT_EQ(tall->Canvas().Pixels(5, y), FromRgb(kMacBarRows[y / 2])) << "row " << y;

    TOwned<TBitmap> separator = SolidBitmap(10, 12, kPaper);
    DrawMacMenuSeparator(separator->Canvas(), TRect(0, 0, 10, 12));
    for (int y = 0; y < 12; ++y) EXPECT_EQ(separator->Canvas().Pixels(5, y), FromRgb(kMacBarRows[y])) << "row " << y;
}

namespace {

// The cell height of what a font handle draws.
int CellHeight(HFONT font)
{
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    const HDC dc = bitmap.Canvas().Handle();
    TScopedSelect select(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

}  // namespace

// The size is judged by what the font's handle draws, against a font made
// straight from the system's description, not by the stored field.
TEST(SystemMenuFont, IsTheSystemsMenuFontInMenuTextColour)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    TFontHandle menuFont(CreateFontIndirectW(&metrics.lfMenuFont));
    TOwned<TFont> font = MakeOwned<TFont>();
    font->SetName(L"Courier New");
    font->SetHeight(-30);
    const int before = CellHeight(font->Handle());  // a handle made before must not survive
    ASSERT_NE(before, CellHeight(menuFont.get()));
    SetSystemMenuFont(*font);
    EXPECT_EQ(font->Name(), String(metrics.lfMenuFont.lfFaceName));
    EXPECT_EQ(CellHeight(font->Handle()), CellHeight(menuFont.get()));
    EXPECT_EQ(font->Color(), clMenuText);
}

namespace {

// A top-level window of one colour, painted once; nothing repaints it here.
class TSolidWindow {
public:
    TSolidWindow(int x, int y, int width, int height, TColor color)
        : handle_(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, y,
              width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr))
    {
        UpdateWindow(handle_);
        TBrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(color)));
        TWindowDC dc(handle_);
        const RECT whole{0, 0, width, height};
        FillRect(dc.Handle(), &whole, brush.get());
    }
    ~TSolidWindow() { DestroyWindow(handle_); }
    HWND Handle() const { return handle_; }
    TColor Pixel(int x, int y) const { return static_cast<TColor>(GetPixel(TWindowDC(handle_).Handle(), x, y)); }

private:
    HWND handle_;
};

}  // namespace

TEST(DrawFlatMenuBorder, DrawsTheFlatFrameInsideTheMenuWindowOnly)
{
    TSolidWindow menu(100, 100, 150, 200, clSilver);
    TSolidWindow neighbour(250, 90, 40, 40, clOlive);  // touches the menu's right edge
    constexpr TColor kLine = 0xE8E8E8;
    DrawFlatMenuBorder(menu.Handle(), clBlack, kLine);

    // Window coordinates: 150 x 200.
    EXPECT_EQ(menu.Pixel(0, 1), clBlack);      // outer frame, left column
    EXPECT_EQ(menu.Pixel(148, 100), clBlack);  // outer frame, right column
    EXPECT_EQ(menu.Pixel(70, 198), clBlack);   // outer frame, bottom row
    EXPECT_EQ(menu.Pixel(1, 100), clWhite);    // white frame
    EXPECT_EQ(menu.Pixel(147, 2), clWhite);
    EXPECT_EQ(menu.Pixel(70, 197), clWhite);
    for (int x : {0, 75, 149}) {
        EXPECT_EQ(menu.Pixel(x, 0), kLine) << "top row " << x;
        EXPECT_EQ(menu.Pixel(x, 199), kLine) << "bottom row " << x;
    }
    EXPECT_EQ(menu.Pixel(149, 100), kLine);  // right column
    EXPECT_EQ(menu.Pixel(75, 100), clSilver);  // the inside is left alone
    // The window beside it keeps its own colour where the line would spill.
    EXPECT_EQ(neighbour.Pixel(0, 10), clOlive);
}
