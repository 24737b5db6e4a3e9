#include "platform/graphics/TPen.h"

#include "platform/core/TPropertyTable.h"

namespace bw {

uint32_t ApplyPenMode(TPenMode mode, uint32_t p, uint32_t d) {
  uint32_t r;
  switch (mode) {
    case pmBlack:
      r = 0;
      break;
    case pmWhite:
      r = 0xFFFFFF;
      break;
    case pmNop:
      r = d;
      break;
    case pmNot:
      r = ~d;
      break;
    case pmCopy:
      r = p;
      break;
    case pmNotCopy:
      r = ~p;
      break;
    case pmMergePenNot:
      r = p | ~d;
      break;
    case pmMaskPenNot:
      r = p & ~d;
      break;
    case pmMergeNotPen:
      r = ~p | d;
      break;
    case pmMaskNotPen:
      r = ~p & d;
      break;
    case pmMerge:
      r = p | d;
      break;
    case pmNotMerge:
      r = ~(p | d);
      break;
    case pmMask:
      r = p & d;
      break;
    case pmNotMask:
      r = ~(p & d);
      break;
    case pmXor:
      r = p ^ d;
      break;
    case pmNotXor:
      r = ~(p ^ d);
      break;
    default:
      r = p;
      break;
  }
  return r & 0xFFFFFF;
}

const std::vector<int32_t>& DashPattern(TPenStyle Style) {
  static const std::vector<int32_t> none, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
      dashDotDot{9, 3, 3, 3, 3, 3};
  switch (Style) {
    case psDash:
      return dash;
    case psDot:
      return dot;
    case psDashDot:
      return dashDot;
    case psDashDotDot:
      return dashDotDot;
    default:
      return none;
  }
}

bool DashOn(const std::vector<int32_t>& Pattern, int64_t Phase) {
  int64_t total = 0;
  for (int32_t n : Pattern)
    total += n;
  if (total == 0) return true;
  Phase %= total;
  for (size_t i = 0; i < Pattern.size(); ++i) {
    if (Phase < Pattern[i]) return i % 2 == 0;
    Phase -= Pattern[i];
  }
  return true;
}

BW_PUBLISHED(TPen) {
  P.Property("Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
  P.Property("Mode", &TPen::Mode, &TPen::SetMode,
             {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
              "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
              "pmNotMask", "pmXor", "pmNotXor"})
      .Default(pmCopy);
  P.Property(
       "Style", &TPen::Style, &TPen::SetStyle,
       {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"})
      .Default(psSolid);
  P.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TPen*>(Source)) {
    FColor = src->FColor;
    FWidth = src->FWidth;
    FStyle = src->FStyle;
    FMode = src->FMode;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TPen::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed();
}

void TPen::SetWidth(int32_t value) {
  if (value == FWidth) return;
  FWidth = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TPen::SetMode(TPenMode value) {
  if (value == FMode) return;
  FMode = value;
  Changed();
}

}  // namespace bw
