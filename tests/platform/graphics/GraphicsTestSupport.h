#pragma once
// Pixel checks shared by the graphics tests.

#include <climits>
#include <string>
#include <vector>

#include "platform/graphics/TBitmap.h"

namespace bw::graphicstest {

/// The bounding box of the pixels that differ from `background` (empty when none).
inline TRect Ink(TBitmap& b, TColor background = clWhite) {
  TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      if (PixelToColor(b.ScanLine(y)[x]) != background) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r.Left == INT32_MAX ? TRect{} : r;
}

/// The pixels as rows of characters: '.' white, '#' black, '?' any other colour.
inline std::vector<std::string> Picture(TBitmap& b) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < b.Width(); ++x) {
      TColor c = PixelToColor(b.ScanLine(y)[x]);
      row += c == clWhite ? '.' : c == clBlack ? '#' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace bw::graphicstest
