#include "AllocationProbe.h"

#include <cstdlib>
#include <new>

namespace {

bool gWatching = false;
size_t gLargest = 0;

}  // namespace

void* operator new(size_t Size) {
  if (gWatching && Size > gLargest) gLargest = Size;
  if (void* p = std::malloc(Size ? Size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
  std::free(p);
}

void operator delete(void* p, size_t) noexcept {
  std::free(p);
}

namespace bw::testing {

size_t LargestAllocation(const std::function<void()>& f) {
  gLargest = 0;
  gWatching = true;
  try {
    f();
  } catch (...) {
    gWatching = false;
    throw;
  }
  gWatching = false;
  return gLargest;
}

}  // namespace bw::testing
