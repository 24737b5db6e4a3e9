#pragma once
// The part of a window marked for painting: a few rectangles, so that marks far apart (a
// row coming into view at the bottom, a scroll bar's thumb at the side) are painted
// apart rather than as the block that holds them both. Marks that overlap are joined
// into one; past kMaxRects, the two whose joining adds the least area become one.

#include <array>

#include "platform/core/TRect.h"

namespace bw {

class TUpdateRegion {
 public:
  static constexpr int kMaxRects = 4;

  /// Adds a rectangle (an empty one adds nothing).
  void Add(const TRect& R);
  /// Marks exactly R (nothing for an empty one).
  void Set(const TRect& R) {
    Clear();
    Add(R);
  }
  void Clear() { FCount = 0; }
  bool IsEmpty() const { return FCount == 0; }
  /// The smallest rectangle holding every part.
  TRect Bounds() const;
  /// The parts, which never overlap one another.
  const TRect* begin() const { return FRects.data(); }
  const TRect* end() const { return FRects.data() + FCount; }

 private:
  void JoinCheapestPair();

  std::array<TRect, kMaxRects + 1> FRects{};
  int FCount = 0;
};

}  // namespace bw
