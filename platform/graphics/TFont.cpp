#include "platform/graphics/TFont.h"

#include <cstdlib>

#include "platform/core/TPropertyTable.h"
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

// Height carries the size; Size is published for the property inspector's sake only.
BW_PUBLISHED(TFont) {
  P.Property("Color", &TFont::Color, &TFont::SetColor).Idents(ColorIntToIdent, ColorIdentToInt);
  P.Property("Height", &TFont::Height, &TFont::SetHeight);
  P.Property("Name", &TFont::Name, &TFont::SetName);
  P.Property("Pitch", &TFont::Pitch, &TFont::SetPitch, {"fpDefault", "fpVariable", "fpFixed"})
      .Default(fpDefault);
  P.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
  P.Property("Style", &TFont::Style, &TFont::SetStyle,
             {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
}

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
