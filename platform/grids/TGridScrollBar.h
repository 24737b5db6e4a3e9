#pragma once
// A scroll bar that the grid draws in its own client area: two arrow buttons, the track
// between them and a thumb whose length shows the page. It knows its geometry and how
// to paint itself; the grid routes the mouse to it and applies the positions.

#include <cstdint>

#include "platform/core/TRect.h"

namespace bw {

class TCanvas;

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

/// The parts of a scroll bar a press can hit.
enum TScrollBarPart : uint8_t { spNone, spLineUp, spLineDown, spPageUp, spPageDown, spThumb };

class TGridScrollBar {
 public:
  /// Width of a vertical bar, height of a horizontal one.
  static constexpr int32_t Thickness = 16;
  static constexpr int32_t MinThumb = 8;

  explicit TGridScrollBar(TScrollBarKind kind) : FKind(kind) {}

  TScrollBarKind Kind() const { return FKind; }
  /// Where the bar lies in the grid's client area; empty while the bar is hidden.
  const TRect& BoundsRect() const { return FBounds; }
  void SetBoundsRect(const TRect& value) { FBounds = value; }
  bool Visible() const { return !FBounds.IsEmpty(); }

  int32_t Min() const { return FMin; }
  int32_t Max() const { return FMax; }
  /// How many positions one page shows; sets the thumb's length.
  int32_t Page() const { return FPage; }
  int32_t Position() const { return FPosition; }
  /// Max below Min counts as Min; the position is kept inside the range.
  void SetParams(int32_t min, int32_t max, int32_t page, int32_t position);

  TRect ArrowRect(bool first) const;
  TRect TrackRect() const;
  /// Empty when the track is too short for a thumb.
  TRect ThumbRect() const;
  TScrollBarPart PartAt(TPoint p) const;
  /// The position whose thumb starts `offset` pixels into the track (for a dragged thumb).
  int32_t PositionAt(int32_t offset) const;
  /// Where the thumb of a position starts, in pixels into the track.
  int32_t ThumbOffset(int32_t position) const;

  /// Paints the bar; `pressed` is drawn pushed in.
  void Paint(TCanvas* canvas, TScrollBarPart pressed) const;

 private:
  int32_t TrackLength() const;
  int32_t ThumbLength() const;

  TScrollBarKind FKind;
  TRect FBounds;
  int32_t FMin = 0;
  int32_t FMax = 0;
  int32_t FPage = 1;
  int32_t FPosition = 0;
};

}  // namespace bw
