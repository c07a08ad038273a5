#include "KYPMDIArrange.h"

#include <algorithm>

namespace {

constexpr int kCascadeStep = 22;
constexpr int kTileGap = 2;
constexpr int kIconStrip = 25;
constexpr int kButtonStep = 18;
constexpr int kFirstButtonTag = -1380;

TRect Sized(int left, int top, int width, int height)
{
    return TRect(left, top, left + std::max(width, 0), top + std::max(height, 0));
}

int CountShown(const std::vector<bool>& minimised)
{
    return static_cast<int>(std::count(minimised.begin(), minimised.end(), false));
}

}  // namespace

TkypChildBounds CascadeChildren(int clientWidth, int clientHeight, const std::vector<bool>& minimised)
{
    // Exact: 80 % and 60 % truncated, without a binary fraction's error.
    const int width = static_cast<int>(int64_t{clientWidth} * 4 / 5);
    const int height = static_cast<int>(int64_t{clientHeight} * 3 / 5);
    TkypChildBounds bounds(minimised.size());
    int offset = 0;
    for (size_t i = minimised.size(); i-- > 0;) {
        if (minimised[i]) continue;
        bounds[i] = Sized(offset, offset, width, height);
        offset += kCascadeStep;
    }
    return bounds;
}

TkypChildBounds TileChildren(bool vertical, int clientWidth, int clientHeight, int alignedHeight,
    const std::vector<bool>& minimised)
{
    TkypChildBounds bounds(minimised.size());
    const int shown = CountShown(minimised);
    if (shown == 0) return bounds;
    int area = clientHeight - alignedHeight;
    if (shown < static_cast<int>(minimised.size())) area -= kIconStrip;
    const int step = (vertical ? clientWidth : area) / shown - kTileGap;
    int at = 0;
    for (size_t i = minimised.size(); i-- > 0;) {
        if (minimised[i]) continue;
        bounds[i] = vertical ? Sized(at, 0, step, area - 2 * kTileGap) : Sized(0, at, clientWidth - 2 * kTileGap, step);
        at += step;
    }
    return bounds;
}

TkypChildButtonPlace ChildButtonPlace(TkypChildButton button, int panelWidth, int oldLeftBorderWidth)
{
    const int slot = static_cast<int>(button);
    TkypChildButtonPlace place;
    place.Left = panelWidth - 20 - kButtonStep * (slot - 1);
    place.Top = oldLeftBorderWidth > 4 ? 4 : 2;
    place.Tag = kFirstButtonTag - slot;
    place.StripPiece = 4 - slot;
    return place;
}

TkypChildButtonsShown ChildButtonsFor(const std::vector<TkypTitleBarBtnType>& titleBarButtons)
{
    TkypChildButtonsShown shown;
    for (TkypTitleBarBtnType type : titleBarButtons) {
        if (type == kypMin) shown.Minimize = true;
        if (type == kypMax) shown.Restore = true;
        if (type == kypClose) shown.Close = true;
    }
    return shown;
}

TkypChildAction ChildButtonAction(int tag)
{
    switch (tag) {
    case kFirstButtonTag - static_cast<int>(TkypChildButton::Minimize): return TkypChildAction::Minimize;
    case kFirstButtonTag - static_cast<int>(TkypChildButton::Restore): return TkypChildAction::Restore;
    case kFirstButtonTag - static_cast<int>(TkypChildButton::Close): return TkypChildAction::Close;
    default: return TkypChildAction::None;
    }
}
