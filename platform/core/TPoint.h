#pragma once

#include <cstdint>

namespace bw {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  constexpr bool operator==(const TPoint&) const = default;
};

constexpr TPoint Point(int32_t x, int32_t y) {
  return TPoint{x, y};
}

}  // namespace bw
