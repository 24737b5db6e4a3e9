// Feeds arbitrary bytes to the BMP reader: it must either load an image or raise
// EInvalidGraphic, never crash, read out of bounds or leave a half-changed bitmap.
#include <cstdlib>

#include "platform/graphics/EInvalidGraphic.h"
#include "platform/graphics/TBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bw::TBitmap b;
  b.SetSize(1, 1);
  try {
    b.LoadFromMemory(data, size);
  } catch (const bw::EInvalidGraphic&) {
    if (b.Width() != 1 || b.Height() != 1) std::abort();
    return 0;
  }
  // Whatever loaded can be written and read back to the same size. Not checked for the
  // large images a few bytes of run-length data can make: writing them takes long.
  if (int64_t{b.Width()} * b.Height() > (int64_t{1} << 20)) return 0;
  std::vector<uint8_t> again = b.SaveToMemory();
  bw::TBitmap c;
  c.LoadFromMemory(again.data(), again.size());
  if (c.Width() != b.Width() || c.Height() != b.Height()) std::abort();
  return 0;
}
