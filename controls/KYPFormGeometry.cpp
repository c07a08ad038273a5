#include "KYPFormGeometry.h"

#include <algorithm>

namespace {

constexpr int kHitLeft = 10, kHitBottomRight = 17, kHitBorder = 18;

int AtLeast4(int value) { return std::max(value, 4); }

}  // namespace

int SaneFrameThickness(int measured) { return measured < 0 || measured > 12 ? 4 : measured; }

TRect FrameClientRect(const TRect& window, const TkypFrameBorders& b)
{
    TRect n;
    n.Top = window.Top - AtLeast4(b.OldBottomBorderWidth) + 4;
    if (b.LeftBorderWidth != 0) {
        n.Right = window.Right - AtLeast4(b.RightBorderWidth) + AtLeast4(b.OldLeftBorderWidth) - 1;
        n.Left = window.Left + AtLeast4(b.LeftBorderWidth) - AtLeast4(b.OldLeftBorderWidth) + 1;
    } else {
        n.Right = window.Right + AtLeast4(b.OldLeftBorderWidth) - 4;
        n.Left = window.Left - AtLeast4(b.OldLeftBorderWidth) + 4;
    }
    if (b.BottomBorderWidth != 0)
        n.Bottom = window.Bottom - AtLeast4(b.BottomBorderWidth) + AtLeast4(b.OldBottomBorderWidth) - 1;
    else if (b.BorderWidth == 3)
        n.Bottom = window.Bottom + AtLeast4(b.OldBottomBorderWidth) - 4;
    else
        n.Bottom = window.Bottom - b.BorderWidth + 2 + AtLeast4(b.OldBottomBorderWidth) - 4;
    return n;
}

int FrameBorderWidthAnswer(const TkypFrameBorders& b)
{
    return b.LeftBorderWidth != 0 ? AtLeast4(b.LeftBorderWidth) : b.OldBottomBorderWidth - 1;
}

int FrameHitTest(int systemAnswer, bool fixedEdges)
{
    return fixedEdges && systemAnswer >= kHitLeft && systemAnswer <= kHitBottomRight ? kHitBorder : systemAnswer;
}

int MDIFrameMinWidth(bool fiveSections, int t1, int t3, int buttonWidth, int buttonCount)
{
    const int room = buttonCount < 0 ? 35 : 15 * buttonCount - 15;
    return fiveSections ? t1 + t3 + buttonWidth + room : t1 + std::max(buttonWidth + room, t3);
}
