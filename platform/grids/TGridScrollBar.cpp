#include "platform/grids/TGridScrollBar.h"

#include <algorithm>

#include "platform/graphics/TCanvas.h"

namespace bw {

void TGridScrollBar::SetParams(int32_t min, int32_t max, int32_t page, int32_t position) {
  FMin = min;
  FMax = std::max(max, min);
  FPage = std::max(page, 1);
  FPosition = std::clamp(position, FMin, FMax);
}

TRect TGridScrollBar::ArrowRect(bool first) const {
  const TRect& b = FBounds;
  if (FKind == sbVertical) {
    int32_t size = std::min(b.Width(), b.Height() / 2);
    return first ? Rect(b.Left, b.Top, b.Right, b.Top + size)
                 : Rect(b.Left, b.Bottom - size, b.Right, b.Bottom);
  }
  int32_t size = std::min(b.Height(), b.Width() / 2);
  return first ? Rect(b.Left, b.Top, b.Left + size, b.Bottom)
               : Rect(b.Right - size, b.Top, b.Right, b.Bottom);
}

TRect TGridScrollBar::TrackRect() const {
  TRect a = ArrowRect(true), z = ArrowRect(false);
  return FKind == sbVertical ? Rect(FBounds.Left, a.Bottom, FBounds.Right, z.Top)
                             : Rect(a.Right, FBounds.Top, z.Left, FBounds.Bottom);
}

int32_t TGridScrollBar::TrackLength() const {
  TRect t = TrackRect();
  return std::max(FKind == sbVertical ? t.Height() : t.Width(), 0);
}

int32_t TGridScrollBar::ThumbLength() const {
  int32_t track = TrackLength();
  if (track < MinThumb) return 0;
  // The thumb is to the track as a page is to everything there is to show.
  int64_t total = int64_t{FMax} - FMin + FPage;
  int64_t length = int64_t{track} * FPage / total;
  return static_cast<int32_t>(std::clamp<int64_t>(length, MinThumb, track));
}

int32_t TGridScrollBar::ThumbOffset(int32_t position) const {
  int32_t thumb = ThumbLength();
  int32_t free = TrackLength() - thumb;
  if (thumb == 0 || FMax == FMin || free <= 0) return 0;
  int64_t p = std::clamp(position, FMin, FMax) - int64_t{FMin};
  return static_cast<int32_t>((p * free + (FMax - int64_t{FMin}) / 2) / (FMax - int64_t{FMin}));
}

int32_t TGridScrollBar::PositionAt(int32_t offset) const {
  int32_t thumb = ThumbLength();
  int32_t free = TrackLength() - thumb;
  if (thumb == 0 || free <= 0) return FMin;
  int64_t o = std::clamp(offset, 0, free);
  return FMin + static_cast<int32_t>((o * (int64_t{FMax} - FMin) + free / 2) / free);
}

TRect TGridScrollBar::ThumbRect() const {
  int32_t length = ThumbLength();
  if (length == 0) return TRect{};
  TRect t = TrackRect();
  int32_t start = ThumbOffset(FPosition);
  return FKind == sbVertical ? Rect(t.Left, t.Top + start, t.Right, t.Top + start + length)
                             : Rect(t.Left + start, t.Top, t.Left + start + length, t.Bottom);
}

TScrollBarPart TGridScrollBar::PartAt(TPoint p) const {
  if (!FBounds.Contains(p)) return spNone;
  if (ArrowRect(true).Contains(p)) return spLineUp;
  if (ArrowRect(false).Contains(p)) return spLineDown;
  TRect thumb = ThumbRect();
  if (thumb.Contains(p)) return spThumb;
  if (thumb.IsEmpty()) return spNone;
  bool before = FKind == sbVertical ? p.Y < thumb.Top : p.X < thumb.Left;
  return before ? spPageUp : spPageDown;
}

namespace {

// A push button face: raised, or flat and shadowed while pressed.
void PaintButton(TCanvas* canvas, TRect r, bool pressed) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(r);
  if (pressed) {
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(r);
    return;
  }
  canvas->Frame3D(r, clBtnFace, clBlack, 1);
  canvas->Frame3D(r, clBtnHighlight, clBtnShadow, 1);
}

// A small solid triangle pointing up, down, left or right, centred in r.
void PaintArrow(TCanvas* canvas, const TRect& r, TScrollBarKind kind, bool first, bool pressed) {
  const int32_t shift = pressed ? 1 : 0;
  const int32_t cx = (r.Left + r.Right) / 2 + shift, cy = (r.Top + r.Bottom) / 2 + shift;
  canvas->Brush()->SetColor(clBtnText);
  for (int32_t i = 0; i < 4; ++i) {
    // Row i of the triangle, counted from its point: 2i + 1 pixels long.
    int32_t depth = first ? i : 3 - i;
    if (kind == sbVertical)
      canvas->FillRect(Rect(cx - i, cy - 2 + depth, cx + i + 1, cy - 1 + depth));
    else
      canvas->FillRect(Rect(cx - 2 + depth, cy - i, cx - 1 + depth, cy + i + 1));
  }
}

}  // namespace

void TGridScrollBar::Paint(TCanvas* canvas, TScrollBarPart pressed) const {
  if (!Visible()) return;
  TRect track = TrackRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnHighlight);
  canvas->FillRect(track);
  // A pressed page part darkens the track on its side of the thumb.
  TRect thumb = ThumbRect();
  if (!thumb.IsEmpty() && (pressed == spPageUp || pressed == spPageDown)) {
    TRect part = track;
    if (FKind == sbVertical)
      (pressed == spPageUp ? part.Bottom : part.Top) =
          pressed == spPageUp ? thumb.Top : thumb.Bottom;
    else
      (pressed == spPageUp ? part.Right : part.Left) =
          pressed == spPageUp ? thumb.Left : thumb.Right;
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FillRect(part);
  }
  for (bool first : {true, false}) {
    bool down = pressed == (first ? spLineUp : spLineDown);
    TRect arrow = ArrowRect(first);
    PaintButton(canvas, arrow, down);
    PaintArrow(canvas, arrow, FKind, first, down);
  }
  if (!thumb.IsEmpty()) PaintButton(canvas, thumb, false);
}

}  // namespace bw
