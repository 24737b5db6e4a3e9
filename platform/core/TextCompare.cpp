#include "platform/core/TextCompare.h"

namespace bw {

namespace {

// Decodes the code point at s[pos] and advances pos. A byte that does not start a valid,
// shortest-form sequence yields 0x110000 + byte and advances by one.
Char DecodeAt(const String& s, size_t& pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
  if (lead >= 0xF5) extra = 0;
  Char c = extra == 3 ? lead & 0x07 : extra == 2 ? lead & 0x0F : lead & 0x1F;
  bool valid = extra > 0;
  for (int i = 1; valid && i <= extra; ++i) {
    if (pos + i >= s.size() || (byte(pos + i) & 0xC0) != 0x80)
      valid = false;
    else
      c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (valid) {
    // Overlong forms, surrogates and values above the Unicode range are not text.
    Char minimum = extra == 3 ? 0x10000 : extra == 2 ? 0x800 : 0x80;
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) valid = false;
  }
  if (!valid) {
    ++pos;
    return 0x110000 + lead;
  }
  pos += extra + 1;
  return c;
}

template <class Fold>
int32_t Compare(const String& a, const String& b, Fold fold) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    Char ca = fold(DecodeAt(a, i));
    Char cb = fold(DecodeAt(b, j));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

// Ranges where upper and lower case alternate: the even (or odd) code point is upper.
bool AlternatingUpper(Char c, Char first, Char last) {
  return c >= first && c <= last && ((c - first) % 2 == 0);
}

}  // namespace

Char LowerCaseChar(Char c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c < 0x100) return c;
  if (c == 0x130) return 'i';
  if (c == 0x178) return 0xFF;
  if (AlternatingUpper(c, 0x100, 0x12F) || AlternatingUpper(c, 0x132, 0x137) ||
      AlternatingUpper(c, 0x139, 0x148) || AlternatingUpper(c, 0x14A, 0x177) ||
      AlternatingUpper(c, 0x179, 0x17E))
    return c + 1;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c == 0x3C2) return 0x3C3;  // final sigma folds with sigma
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (AlternatingUpper(c, 0x460, 0x481) || AlternatingUpper(c, 0x48A, 0x4BF) ||
      AlternatingUpper(c, 0x4D0, 0x52F))
    return c + 1;
  if (c >= 0x531 && c <= 0x556) return c + 48;
  if (AlternatingUpper(c, 0x1E00, 0x1E95) || AlternatingUpper(c, 0x1EA0, 0x1EFF)) return c + 1;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

int32_t CompareStr(const String& S1, const String& S2) {
  return Compare(S1, S2, [](Char c) { return c; });
}

int32_t CompareText(const String& S1, const String& S2) {
  return Compare(S1, S2, LowerCaseChar);
}

}  // namespace bw
