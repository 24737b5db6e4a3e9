#include "platform/graphics/TBrush.h"

#include "platform/core/TPropertyTable.h"

namespace bw {

BW_PUBLISHED(TBrush) {
  P.Property("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
  P.Property("Style", &TBrush::Style, &TBrush::SetStyle,
             {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
              "bsCross", "bsDiagCross"})
      .Default(bsSolid);
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TBrush*>(Source)) {
    FColor = src->FColor;
    FStyle = src->FStyle;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TBrush::SetColor(TColor value) {
  if (value == FColor && FStyle != bsClear) return;
  FColor = value;
  // Choosing a colour makes a cleared brush paint again, as the classic brush does.
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

}  // namespace bw
