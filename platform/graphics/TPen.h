#pragma once
// The pen a canvas draws lines and outlines with.

#include <cstdint>
#include <vector>

#include "platform/graphics/TColor.h"
#include "platform/graphics/TGraphicsObject.h"

namespace bw {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How a pen's colour combines with what is already there (the sixteen binary raster
// operations; P is the pen, D the destination).
enum TPenMode {
  pmBlack,        // 0
  pmWhite,        // 1
  pmNop,          // D
  pmNot,          // not D
  pmCopy,         // P
  pmNotCopy,      // not P
  pmMergePenNot,  // P or not D
  pmMaskPenNot,   // P and not D
  pmMergeNotPen,  // not P or D
  pmMaskNotPen,   // not P and D
  pmMerge,        // P or D
  pmNotMerge,     // not (P or D)
  pmMask,         // P and D
  pmNotMask,      // not (P and D)
  pmXor,          // P xor D
  pmNotXor        // not (P xor D)
};

/// Combines a source pixel with a destination pixel (both 0x00RRGGBB) under a mode.
uint32_t ApplyPenMode(TPenMode mode, uint32_t src, uint32_t dst);

/// The on and off runs, in pixels, of a dashed style; empty for the others.
const std::vector<int32_t>& DashPattern(TPenStyle Style);
/// Whether the pixel Phase pixels along a line is drawn under Pattern (always, under an
/// empty one).
bool DashOn(const std::vector<int32_t>& Pattern, int64_t Phase);

class TPen : public TGraphicsObject {
  BW_CLASS(TPen, TGraphicsObject)

 public:
  TPen() = default;

  void Assign(TPersistent* Source) override;

  /// Default clBlack.
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  /// In pixels; default 1, values below 1 draw as 1.
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t value);
  /// Default psSolid. Dashed styles are drawn only by pens of width 1, as on the classic
  /// canvas; wider pens draw them solid.
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle value);
  /// Default pmCopy.
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode value);

 private:
  TColor FColor = clBlack;
  int32_t FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

}  // namespace bw
