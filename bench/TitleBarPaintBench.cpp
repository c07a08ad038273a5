// Times one hover repaint of a 1,280-pixel-wide title bar: a mouse move
// over the bar, which repaints it at once. Prints the median of 1,000 and
// the target (under 1 ms, since the bar repaints on every mouse move).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Forms.h"
#include "KYPTitleBar.h"

int main()
{
    Application->Initialize();
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 1280, 200);
    TkypTitleBar* bar = New<TkypTitleBar>(form.get());
    bar->SetParent(form.get());
    bar->SetCaption(L"Quorvell - a small skinned sound recorder");
    form->Show();
    Application->ProcessMessages();

    constexpr int kRuns = 1000;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    times.reserve(kRuns);
    const HWND window = bar->Handle();
    for (int i = 0; i < kRuns; ++i) {
        // Over a button and off it in turn, so the faces change.
        const int x = i % 2 ? bar->Width() - 30 : bar->Width() / 2;
        POINT screen{x, 8};
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, 8));
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("title bar %d px wide, %d hover repaints\n", bar->Width(), kRuns);
    std::printf("median %.3f ms, fastest %.3f ms, slowest %.3f ms (target: median under 1 ms)\n", median, times.front(),
        times.back());
    form.reset();
    return median < 1.0 ? 0 : 1;
}
