#include "editor/PlacePopup.h"

#include <algorithm>
#include <cstdint>

namespace bw {

namespace {

// Start moved so that Size from it lies within [Lo, Hi), or Lo when Size is larger.
int32_t KeepInside(int64_t Start, int64_t Size, int32_t Lo, int32_t Hi) {
  return static_cast<int32_t>(std::max<int64_t>(Lo, std::min(Start, Hi - Size)));
}

}  // namespace

TPoint PlacePopup(const TRect& Anchor, int32_t Width, int32_t Height, const TRect& Screen) {
  const int64_t Below = Anchor.Bottom;
  const int64_t Above = int64_t{Anchor.Top} - Height;
  int64_t Y = Below;
  if (Below + Height > Screen.Bottom &&
      (Above >= Screen.Top || Anchor.Top - Screen.Top > Screen.Bottom - Anchor.Bottom))
    Y = Above;
  int64_t X = int64_t{Anchor.Right} - Width;
  if (X < Screen.Left) X = Anchor.Left;
  return TPoint{KeepInside(X, Width, Screen.Left, Screen.Right),
                KeepInside(Y, Height, Screen.Top, Screen.Bottom)};
}

}  // namespace bw
