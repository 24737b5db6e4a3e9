#pragma once
// A rectangle whose right and bottom edges lie outside it, as the classic API has them.

#include <algorithm>
#include <cstdint>

#include "platform/core/TPoint.h"

namespace bw {

/// Where an edge at Start, Size away, lies; one past the coordinate range stops at its end,
/// so that a control placed at the far edge by a damaged form cannot wrap around.
constexpr int32_t EdgeAfter(int32_t Start, int64_t Size) {
  return int32_t(std::clamp<int64_t>(int64_t{Start} + Size, INT32_MIN, INT32_MAX));
}

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr TRect Offset(int32_t dx, int32_t dy) const {
    return {EdgeAfter(Left, dx), EdgeAfter(Top, dy), EdgeAfter(Right, dx), EdgeAfter(Bottom, dy)};
  }
  constexpr TRect Inflate(int32_t dx, int32_t dy) const {
    return {EdgeAfter(Left, -int64_t{dx}), EdgeAfter(Top, -int64_t{dy}), EdgeAfter(Right, dx),
            EdgeAfter(Bottom, dy)};
  }
  /// The common part of both; empty (all zero) when they do not meet.
  constexpr TRect Intersect(const TRect& o) const {
    TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
            std::min(Bottom, o.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
  }
  /// The smallest rectangle holding both; an empty one adds nothing.
  constexpr TRect Union(const TRect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
            std::max(Bottom, o.Bottom)};
  }
  constexpr bool operator==(const TRect&) const = default;
};

constexpr TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return TRect{left, top, right, bottom};
}
constexpr TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return TRect{left, top, EdgeAfter(left, width), EdgeAfter(top, height)};
}

}  // namespace bw
