#pragma once
// Finds the line breaks (CR and LF) of a text from front to back, 64 bytes at a time: one
// pass over the text however short its lines, instead of a search call or two per line.

#include <bit>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bw {

class TLineBreaks {
 public:
  explicit TLineBreaks(std::string_view text) : FText(text) {}

  /// The position of the first CR or LF at or after from (which never goes back between
  /// calls); the text's size when there is none.
  size_t Next(size_t from) {
    const size_t block = from & ~kBlockMask;
    if (block != FBlock || !FLoaded) Load(block);
    uint64_t mask = FMask & (~uint64_t(0) << (from & kBlockMask));
    while (mask == 0) {
      if (FBlock + kBlock >= FText.size()) return FText.size();
      Load(FBlock + kBlock);
      mask = FMask;
    }
    return FBlock + size_t(std::countr_zero(mask));
  }

 private:
  static constexpr size_t kBlock = 64;
  static constexpr size_t kBlockMask = kBlock - 1;

  std::string_view FText;
  size_t FBlock = 0;
  uint64_t FMask = 0;  // bit i: FText[FBlock + i] is a break
  bool FLoaded = false;

  void Load(size_t block) {
    FBlock = block;
    FLoaded = true;
    const char* p = FText.data() + block;
    const size_t n = FText.size() - block;
#if defined(__SSE2__)
    if (n >= kBlock) {
      const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
      uint64_t mask = 0;
      for (int i = 0; i < 4; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr));
        mask |= uint64_t(uint32_t(_mm_movemask_epi8(hit))) << (16 * i);
      }
      FMask = mask;
      return;
    }
#endif
    uint64_t mask = 0;
    for (size_t i = 0; i < n && i < kBlock; ++i)
      mask |= uint64_t(p[i] == '\n' || p[i] == '\r') << i;
    FMask = mask;
  }
};

}  // namespace bw
