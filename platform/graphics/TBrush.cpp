#include "platform/graphics/TBrush.h"

namespace bw {

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
