#include "platform/graphics/TFont.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/core/TPropertyTable.h"
#include "platform/core/TextCompare.h"
#include "platform/graphics/TFontEngine.h"

namespace bw {

namespace {
// a * b / c rounded to the nearest integer, halves away from zero.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  int64_t n = int64_t{a} * b;
  int64_t q = (std::llabs(n) + c / 2) / c;
  // Saturates so that results, and their negations, stay within 32 bits.
  q = std::min<int64_t>(q, INT32_MAX);
  return static_cast<int32_t>(n < 0 ? -q : q);
}
}  // namespace

// Height carries the size; Size is published for the property inspector's sake only.
namespace {
struct TCharsetName {
  int64_t Value;
  const char* Name;
};
constexpr TCharsetName kCharsetNames[] = {
    {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};
}  // namespace

bool CharsetToIdent(int64_t Charset, String& Ident) {
  for (const auto& c : kCharsetNames)
    if (c.Value == Charset) {
      Ident = c.Name;
      return true;
    }
  return false;
}

bool IdentToCharset(const String& Ident, int64_t& Charset) {
  for (const auto& c : kCharsetNames)
    if (SameText(Ident, c.Name)) {
      Charset = c.Value;
      return true;
    }
  return false;
}

BW_PUBLISHED(TFont) {
  P.Property("Charset", &TFont::Charset, &TFont::SetCharset)
      .Default(DEFAULT_CHARSET)
      .Idents(CharsetToIdent, IdentToCharset);
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
    FCharset = src->FCharset;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TFont::SetCharset(TFontCharset value) {
  if (value == FCharset) return;
  FCharset = value;
  Changed();
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
