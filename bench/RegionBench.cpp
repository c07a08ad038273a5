// Times the window region of a 539 x 539 shape bitmap (a disk of one-pixel
// stripes on a transparent background, up to 270 runs a row): the bulk
// builder of KYPPublic (runs read in bulk, ExtCreateRegion pieces merged as
// a tree) against one CombineRgn per run with the pixels read
// through the canvas. Prints the medians of five runs in milliseconds.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "KYPPublic.h"

namespace {

constexpr int kSize = 539;
constexpr TColor kTransparent = clFuchsia;

TOwned<TBitmap> ShapeBitmap()
{
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(kSize, kSize);
    uint32_t* bits = bitmap->Bits();
    const int centre = kSize / 2;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            int dx = x - centre, dy = y - centre;
            bool inside = dx * dx + dy * dy <= centre * centre && (x + y) % 2 == 0;
            bits[static_cast<size_t>(y) * kSize + x] = inside ? 0x00336699u : 0x00FF00FFu;
        }
    return bitmap;
}

TRegionHandle NaiveRegion(TBitmap& bitmap, TColor transparent)
{
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    TCanvas& canvas = bitmap.Canvas();
    auto addRun = [&](int start, int end, int y) {
        TRegionHandle run(CreateRectRgn(start, y, end + 1, y + 1));
        CombineRgn(region.get(), region.get(), run.get(), RGN_OR);
    };
    for (int y = 0; y < bitmap.Height(); ++y) {
        int start = -1, end = -1;
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (canvas.Pixels(x, y) != transparent) {
                if (start < 0)
                    start = x;
                end = x;
            } else if (start >= 0) {
                addRun(start, end, y);
                start = -1;
            }
        }
        if (start >= 0)
            addRun(start, bitmap.Width() - 1, y);
    }
    return region;
}

// Five runs, or fewer when one run already takes over Budget ms (the naive
// builder is quadratic under Wine).
double MedianMilliseconds(const std::function<TRegionHandle()>& build, TRegionHandle& last, int& runs,
                          double budget = 1e18)
{
    std::vector<double> times;
    for (runs = 0; runs < 5 && (times.empty() || times.back() < budget); ++runs) {
        auto start = std::chrono::steady_clock::now();
        last = build();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main()
{
    auto bitmap = ShapeBitmap();
    TRegionHandle ours, naive;
    int oursRuns = 0, naiveRuns = 0;
    double oursMs = MedianMilliseconds([&] { return CreateRegionFromBitmap(bitmap.get(), kTransparent); }, ours,
                                       oursRuns);
    std::printf("region of %d x %d, %lu bytes of region data\n", kSize, kSize,
                static_cast<unsigned long>(GetRegionData(ours.get(), 0, nullptr)));
    std::printf("bulk runs, merged pieces:    %.3f ms (median of %d)\n", oursMs, oursRuns);
    std::fflush(stdout);
    double naiveMs = MedianMilliseconds([&] { return NaiveRegion(*bitmap, kTransparent); }, naive, naiveRuns, 5000);
    std::printf("CombineRgn per run:          %.3f ms (median of %d)\n", naiveMs, naiveRuns);
    std::printf("ratio (per run / bulk):      %.1f\n", naiveMs / oursMs);
    std::printf("same region: %s\n", EqualRgn(ours.get(), naive.get()) ? "yes" : "NO");
    return EqualRgn(ours.get(), naive.get()) ? 0 : 1;
}
