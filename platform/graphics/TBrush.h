#pragma once
// The brush a canvas fills areas with.

#include "platform/graphics/TColor.h"
#include "platform/graphics/TGraphicsObject.h"

namespace bw {

// Hatched styles are drawn as one-pixel hatch lines in the brush colour over a
// transparent background.
enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBrush : public TGraphicsObject {
  BW_CLASS(TBrush, TGraphicsObject)

 public:
  TBrush() = default;

  void Assign(TPersistent* Source) override;

  /// Default clWhite.
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  /// Default bsSolid.
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

}  // namespace bw
