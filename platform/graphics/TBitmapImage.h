#pragma once
// The image behind a bitmap handle: what a loader produces (LoadBitmap, the BMP reader)
// and what a TBitmap owns. A handle is a pointer to one; whoever holds a handle that no
// bitmap has taken over frees it with DeleteObject.

#include <cstdint>
#include <vector>

namespace bw {

enum TPixelFormat {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};

/// The bitmap that owns an image, if any. Copying an image does not copy its owner.
struct TImageOwner {
  const void* Bitmap = nullptr;
  TImageOwner() = default;
  TImageOwner(const TImageOwner&) {}
  TImageOwner& operator=(const TImageOwner&) { return *this; }
};

struct TBitmapImage {
  int32_t Width = 0;
  int32_t Height = 0;
  /// The depth the image was read with and is written with (pfDevice writes 24 bits).
  TPixelFormat PixelFormat = pfDevice;
  /// The colour table of a 1, 4 or 8-bit image (0x00RRGGBB), as read or assigned.
  std::vector<uint32_t> Palette;
  /// Width * Height pixels 0x00RRGGBB, top row first.
  std::vector<uint32_t> Pixels;
  /// Set while a TBitmap owns the image: only that bitmap frees it.
  TImageOwner Owner;
};

using HBITMAP = TBitmapImage*;

/// Frees an image that no bitmap owns; null and a bitmap's own image are ignored (the
/// bitmap frees that itself).
inline void DeleteObject(HBITMAP handle) {
  if (handle && !handle->Owner.Bitmap) delete handle;
}

}  // namespace bw
