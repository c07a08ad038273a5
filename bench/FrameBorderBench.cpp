// Times the form frame's border repaint and its window-region build on a
// 1,280 x 1,024 window, from a built-in style and from the sample skin.
// Prints the median of 200 runs of each and the target (under 2 ms).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "Forms.h"
#include "KYPFormBorder.h"
#include "KYPMgr.h"
#include "KYPTitleBar.h"
#include "FileSystem.h"
#include "SysUtils.h"

namespace {

constexpr int kW = 1280, kH = 1024, kRuns = 200;

double MedianMs(const std::function<void()>& run)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        run();
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PaintOnWindow(HWND window, const std::function<void(TCanvas&)>& paint)
{
    HDC dc = GetWindowDC(window);
    TCanvas canvas;
    canvas.SetHandle(dc);
    paint(canvas);
    canvas.SetHandle(nullptr);
    ReleaseDC(window, dc);
}

void SetRegion(HWND window, TRegionHandle region)
{
    if (SetWindowRgn(window, region.get(), TRUE))
        region.release();
}

// The region's build is what the frame computes; giving it to the window
// costs what the windowing layer makes of it (under Wine, the X server's
// window shape), reported beside it.
bool Report(const char* what, double paint, double build, double set)
{
    std::printf("%-10s border repaint median %.3f ms, region build median %.3f ms (set on the window: %.3f ms)\n",
        what, paint, build, set);
    return paint < 2.0 && build < 2.0;
}

}  // namespace

int main()
{
    Application->Initialize();
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, kW, kH);
    TkypTitleBar* bar = New<TkypTitleBar>(form.get());
    bar->SetParent(form.get());
    bar->SetUIStyle(BlueGlass);
    form->Show();
    Application->ProcessMessages();
    const HWND window = form->Handle();
    TkypFrameBorder border;
    TkypFrameLayout layout;
    layout.Width = kW;
    layout.Height = kH;
    layout.TitleHeight = bar->Height();

    TkypStyleFrameLook style;
    bar->GetTitleImage(0, style.LeftTitle);
    bar->GetTitleImage(1, style.RightTitle);
    bar->GetTitleImage(2, style.MiddleTitle);
    style.RoundCorner = 11;
    double stylePaint = MedianMs([&] { PaintOnWindow(window, [&](TCanvas& c) { border.PaintStyle(c, layout, style); }); });
    double styleBuild = MedianMs([&] { CreateRoundFrameRegion(kW, kH, 11, 0); });
    double styleSet = MedianMs([&] { SetRegion(window, CreateRoundFrameRegion(kW, kH, 11, 0)); });
    bool fast = Report("BlueGlass", stylePaint, styleBuild, styleSet);

    auto* theme = New<TkypFileTheme>(form.get());
    theme->SetThemeFile(ExtractFilePath(ProgramFileName()) + L"..\\resources\\skins\\Copper.skn");
    if (!theme->CanUse()) {
        std::printf("the sample skin could not be loaded\n");
        return 1;
    }
    bar->SetFileTheme(theme);
    bar->SetUIStyle(FromThemeFile);
    layout.TitleHeight = bar->Height();
    TkypSkinFrameLook skin = SkinFrameLookOf(*theme);
    bar->GetTitleImage(-2, skin.Title);
    TkypSkinRegionSource source;
    bar->GetTitleImage(-1, source.TitleImage);
    source.BottomImage = border.BottomBuffer();
    source.BottomNeedRegion = theme->GetBool(SKIN2_BOTTOMBORDERNEEDREGION);
    source.TitleNeedRegion = theme->GetBool(SKIN2_TITLEBARNEEDREGION);
    source.TransColor = theme->GetColor(SKIN2_TRANSCOLOR);
    source.Width = kW;
    source.Height = kH;
    double skinPaint = MedianMs([&] { PaintOnWindow(window, [&](TCanvas& c) { border.PaintSkin(c, layout, skin); }); });
    double skinBuild = MedianMs([&] { CreateSkinFrameRegion(source); });
    double skinSet = MedianMs([&] { SetRegion(window, CreateSkinFrameRegion(source)); });
    fast = Report("skin file", skinPaint, skinBuild, skinSet) && fast;

    std::printf("target: each under 2 ms\n");
    form.reset();
    return fast ? 0 : 1;
}
