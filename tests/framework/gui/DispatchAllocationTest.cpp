// The window procedure's dispatch allocates nothing per message: a title
// bar repaints on every mouse move. Counts the program's operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "Controls.h"
#include "Forms.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

// The replacements pair malloc with free; the compiler sees only new and free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    if (counting) ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

class THoverProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int moves = 0, paints = 0;

protected:
    void MouseMove(TShiftState, int, int) override { ++moves; }
    void Paint() override
    {
        ++paints;
        Canvas().Brush().SetColor(clNavy);
        Canvas().FillRect(ClientRect());
    }
};

}  // namespace

TEST(Dispatch, HoverMovesAndRepaintsAllocateNothing)
{
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(40, 40, 300, 100);
    auto* bar = New<THoverProbe>(form.get());
    bar->SetParent(form.get());
    bar->SetAlign(TAlign::alTop);
    bar->SetHeight(30);
    New<TGraphicControl>(form.get())->SetParent(bar);
    // Watched from outside, as a form frame does, with the old entry kept.
    TWndMethod previous = bar->WindowProc;
    int watched = 0;
    bar->WindowProc = [previous, &watched](TMessage& message) {
        ++watched;
        previous(message);
    };
    int hooked = 0;
    bar->AddWindowHook(form.get(), [&hooked](TMessage& message, const TWindowHookNext& next) {
        ++hooked;
        next(message);
    });
    // The real pointer, wherever an earlier test left it, stays off the
    // form: over the bar, its own move would come on top of the sent ones.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    form->Show();
    HWND window = bar->Handle();
    const auto hover = [window](int x) {
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    hover(1);  // the first move starts the mouse tracking
    Application->ProcessMessages();

    const int paintsBefore = bar->paints;
    counting = true;
    for (int i = 0; i < 1000; ++i) hover(2 + i % 200);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(bar->moves, 1001);
    EXPECT_EQ(bar->paints - paintsBefore, 1000);
    EXPECT_GE(watched, 2000);
    EXPECT_EQ(hooked, watched) << "every message passes the hook first";
}
