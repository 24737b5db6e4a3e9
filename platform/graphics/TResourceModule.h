#pragma once
// Module resources: bitmaps embedded at build time from .bmp files (cmake/parts/
// graphics.cmake turns each into a byte array) and looked up by module and name.
// The platform's own module holds its predefined bitmaps, reached with a null module.

#include <vector>

#include "platform/core/Types.h"
#include "platform/graphics/TBitmapImage.h"

namespace bw {

/// One embedded resource: its name and the bytes of its file.
struct TResourceEntry {
  const char* Name;
  const uint8_t* Data;
  size_t Size;
};

class TResourceModule {
 public:
  TResourceModule(String name, std::vector<TResourceEntry> bitmaps)
      : FName(std::move(name)), FBitmaps(std::move(bitmaps)) {}

  const String& Name() const { return FName; }
  /// The bitmap resource of that name, compared without regard to case; null if none.
  const TResourceEntry* FindBitmap(const String& name) const;
  const std::vector<TResourceEntry>& Bitmaps() const { return FBitmaps; }

 private:
  String FName;
  std::vector<TResourceEntry> FBitmaps;
};

/// A module handle, as LoadBitmap takes it; null stands for the platform's own module.
using HINSTANCE = const TResourceModule*;

/// The platform's predefined bitmaps ("OBM_COMBO", "OUTLINE_PLUS", "OUTLINE_MINUS",
/// "OUTLINE_OPEN", "OUTLINE_CLOSED", "OUTLINE_LEAF").
const TResourceModule& SystemResources();

/// Identifiers of the platform's predefined bitmaps.
inline constexpr int32_t OBM_COMBO = 32738;

/// Loads a bitmap resource of a module (null: the platform's module) as a new image the
/// caller owns (hand it to TBitmap::SetHandle, or free it with DeleteObject). A name the
/// module does not hold gives null, not an exception. A resource that does not decode
/// raises EInvalidGraphic: that is a fault of the build, not of the caller.
HBITMAP LoadBitmap(HINSTANCE Instance, const String& Name);
/// Loads one of the platform's predefined bitmaps by identifier (OBM_COMBO); Instance
/// must be null. Unknown identifiers give null.
HBITMAP LoadBitmap(HINSTANCE Instance, int32_t Id);

}  // namespace bw
