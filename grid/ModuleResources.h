#pragma once
// The module's own resources: the default pictures of the outline grid ("KEMBITMAP_OPEN",
// "KEMBITMAP_CLOSED", "KEMBITMAP_LEAF"), embedded from the .bmp files of grid/resources at
// build time. They sit with the grid, which loads them, so that the package's registration
// on top of the grid needs nothing of its own beneath it.

#include "platform/graphics/TResourceModule.h"

namespace bw {

/// The module handle of the package, for LoadBitmap.
HINSTANCE HInstance();

}  // namespace bw
