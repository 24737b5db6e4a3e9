#pragma once
// Bytes the heap has handed out and not had back, its own bookkeeping included: what the
// benchmarks report a structure takes, and what tests check it gives back. Under
// AddressSanitizer the heap is the sanitizer's, which keeps its own count.

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define BW_HEAP_OF_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BW_HEAP_OF_ASAN 1
#endif
#endif

#ifdef BW_HEAP_OF_ASAN
// Declared here rather than through <sanitizer/allocator_interface.h>, which GCC's
// runtime package does not install; the sanitizer's runtime defines it either way.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace bw::bench {

inline size_t HeapInUse() {
#ifdef BW_HEAP_OF_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  // Large blocks are mapped apart from the heap's arena and counted on their own.
  const struct mallinfo2 Info = mallinfo2();
  return Info.uordblks + Info.hblkhd;
#endif
}

}  // namespace bw::bench
