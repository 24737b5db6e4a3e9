#pragma once
// The package's own module: its bitmap resources, the default pictures of the outline
// grid ("KEMBITMAP_OPEN", "KEMBITMAP_CLOSED", "KEMBITMAP_LEAF"), embedded from the .bmp
// files of this folder at build time.

#include "platform/graphics/TResourceModule.h"

namespace bw {

/// The module handle of the package, for LoadBitmap.
HINSTANCE HInstance();

}  // namespace bw
