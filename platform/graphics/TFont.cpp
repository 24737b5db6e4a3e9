#include "platform/graphics/TFont.h"

#include <cstdlib>

#include "platform/graphics/TFontEngine.h"

namespace bw {

namespace {
// a * b / c rounded to the nearest integer, halves away from zero.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  int64_t n = int64_t{a} * b;
  int64_t q = (std::llabs(n) + c / 2) / c;
  return static_cast<int32_t>(n < 0 ? -q : q);
}
}  // namespace

void TFont::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TFont*>(Source)) {
    FName = src->FName;
    FHeight = src->FHeight;
    FStyle = src->FStyle;
    FColor = src->FColor;
    FPitch = src->FPitch;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TFont::SetName(const String& value) {
  if (value == FName || value.empty()) return;
  FName = value;
  Changed();
}

void TFont::SetHeight(int32_t value) {
  if (value == FHeight) return;
  FHeight = value;
  Changed();
}

int32_t TFont::Size() const {
  return -MulDiv(FHeight, 72, ScreenPixelsPerInch);
}

void TFont::SetSize(int32_t value) {
  SetHeight(-MulDiv(value, ScreenPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == FPitch) return;
  FPitch = value;
  Changed();
}

TTextMetric TFont::TextMetrics() const {
  return TFontEngine::Instance().Face(FName, FStyle, FPitch, FHeight)->Metrics();
}

}  // namespace bw
