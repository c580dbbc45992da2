#pragma once

#include <QRect>

#include <algorithm>

/// A rectangle with exclusive right and bottom edges: (0, 0, 151, 201) is
/// 151 x 201 pixels. Used for every pixel rectangle of the imaging code, so
/// that no inclusive/exclusive conversion hides in the arithmetic.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    /// Empty when it holds no pixel (right <= left or bottom <= top).
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TRect&) const = default;

    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
};

constexpr TRect Rect(int left, int top, int right, int bottom)
{
    return TRect{left, top, right, bottom};
}

/// The common part of two rectangles; an empty rectangle when they do not meet.
constexpr TRect IntersectRect(const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top),
            std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty())
        return TRect{};
    return r;
}
