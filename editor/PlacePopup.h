#pragma once
// Where a drop-down goes on the screen, worked out apart from any window so that every
// case can be checked by itself.

#include "platform/core/TPoint.h"
#include "platform/core/TRect.h"

namespace bw {

/// The top-left screen point of a popup of Width x Height dropped from Anchor (the
/// editor's screen rectangle) on Screen. Vertically it goes below the anchor when it fits
/// there (ending exactly at the screen's bottom counts), else above when it fits there,
/// else on the side with more room, moved up or down until it is wholly on the screen.
/// Horizontally its right edge lines up with the anchor's, or its left edge when that
/// would start left of the screen's, and it is then moved inside the screen. Along an
/// axis where the popup is larger than the screen it starts at the screen's edge, so
/// that its top-left part shows.
TPoint PlacePopup(const TRect& Anchor, int32_t Width, int32_t Height, const TRect& Screen);

}  // namespace bw
