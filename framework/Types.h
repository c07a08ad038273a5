// Points and rectangles in the framework's terms. Both are laid out like
// the platform's POINT and RECT, so they convert for free at the API edge.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;

    constexpr TPoint() = default;
    constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
    constexpr bool operator==(const TPoint&) const = default;

#ifdef _WIN32
    TPoint(const POINT& p) : X(p.x), Y(p.y) {}
    operator POINT() const { return POINT{X, Y}; }
#endif
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    constexpr bool operator==(const TSize&) const = default;
};

// Right and Bottom are exclusive, as the platform draws them.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}
    constexpr bool operator==(const TRect&) const = default;

    constexpr int32_t Width() const { return Right - Left; }
    constexpr int32_t Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
    constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
    constexpr void Offset(int32_t dx, int32_t dy) { Left += dx; Right += dx; Top += dy; Bottom += dy; }

#ifdef _WIN32
    TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
    operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
#endif
};

constexpr TPoint Point(int32_t x, int32_t y) { return TPoint(x, y); }
constexpr TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return TRect(left, top, right, bottom); }
constexpr TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height)
{
    return TRect(left, top, left + width, top + height);
}
