#include "platform/controls/EditChars.h"

#include <unordered_map>

#include "platform/core/TextCompare.h"

namespace bw {

namespace {

constexpr Char kReplacement = 0xFFFD;

bool IsScalar(Char c) {
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Upper-case partners, made once by inverting LowerCaseChar. Going up the code points
// keeps the first upper letter of each lower one ('I' for 'i', not the dotted capital).
const std::unordered_map<Char, Char>& UpperTable() {
  static const std::unordered_map<Char, Char> table = [] {
    std::unordered_map<Char, Char> t;
    for (Char c = 0x41; c < 0x10000; ++c) {
      Char lower = LowerCaseChar(c);
      if (lower != c) t.emplace(lower, c);
    }
    t[0x3C2] = 0x3A3;  // final sigma
    return t;
  }();
  return table;
}

}  // namespace

std::u32string DecodeUtf8(const String& text) {
  std::u32string out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char lead = s[i];
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    const int extra = lead >= 0xF0 && lead <= 0xF4  ? 3
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                                                    : 0;
    Char c = lead & (0x3F >> extra);
    int k = 1;
    for (; extra > 0 && k <= extra && i + k < n && (s[i + k] & 0xC0) == 0x80; ++k)
      c = (c << 6) | (s[i + k] & 0x3F);
    const Char minimum = extra == 3 ? 0x10000 : extra == 2 ? 0x800 : 0x80;
    if (extra == 0 || k <= extra || c < minimum || !IsScalar(c)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    out.push_back(c);
    i += extra + 1;
  }
  return out;
}

String CharToUtf8(Char c) {
  String out;
  AppendUtf8(out, c);
  return out;
}

Char UpperCaseChar(Char c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
  const auto& table = UpperTable();
  auto it = table.find(c);
  return it == table.end() ? c : it->second;
}

bool IsDigitChar(Char c) {
  return c >= '0' && c <= '9';
}

bool IsSpaceChar(Char c) {
  return c == ' ' || c == '\t' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

bool IsLetterChar(Char c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  if (c == 0xAA || c == 0xBA || c == 0xDF || c == 0xFF) return true;
  if (LowerCaseChar(c) != c || UpperCaseChar(c) != c) return true;
  // Scripts without case: Hebrew, Arabic, Indic, Thai, kana and CJK, Hangul.
  return (c >= 0x5D0 && c <= 0x5EA) || (c >= 0x620 && c <= 0x64A) || (c >= 0x900 && c <= 0xE7F) ||
         (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) ||
         (c >= 0xAC00 && c <= 0xD7A3);
}

TCharClass CharClassOf(Char c) {
  if (IsSpaceChar(c)) return ccSpace;
  if (c < 0x80) {
    if (c < 0x20 || c == 0x7F) return ccSpace;
    return IsLetterChar(c) || IsDigitChar(c) || c == '_' ? ccWord : ccPunctuation;
  }
  if ((c >= 0xA1 && c <= 0xBF && c != 0xAA && c != 0xBA) || c == 0xD7 || c == 0xF7 ||
      (c >= 0x2010 && c <= 0x2BFF) || (c >= 0x3001 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF0F))
    return ccPunctuation;
  return ccWord;
}

}  // namespace bw
