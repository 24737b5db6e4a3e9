#pragma once
// Copying a short text, up to 16 bytes, into a record that keeps short texts in place.
// Two moves of a fixed size that may overlap cover every length of a size class, so the
// copy is a few plain loads and stores where a copy of any length would be a library
// call, and short texts are copied far more often than long ones.

#include <cstddef>
#include <cstring>

namespace bw {

/// Copies n bytes (n <= 16) from `from` to `to`; the two must not overlap.
inline void CopyShort(void* to, const char* from, size_t n) {
  char* const out = static_cast<char*>(to);
  if (n >= 8) {
    std::memcpy(out, from, 8);
    std::memcpy(out + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(out, from, 4);
    std::memcpy(out + n - 4, from + n - 4, 4);
  } else if (n >= 2) {
    std::memcpy(out, from, 2);
    std::memcpy(out + n - 2, from + n - 2, 2);
  } else if (n == 1) {
    out[0] = from[0];
  }
}

}  // namespace bw
