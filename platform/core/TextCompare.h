#pragma once
// Comparison of UTF-8 texts. Case-insensitive comparison folds each code point to lower
// case (ASCII, Latin, Greek, Cyrillic, Armenian and full-width Latin letters); it never
// changes lengths, so it agrees with CompareStr on texts without letters. Bytes that are
// not valid UTF-8 compare as distinct values above every code point.

#include "platform/core/Types.h"

namespace bw {

/// Three-way comparison in code point order: negative, zero or positive.
int32_t CompareStr(const String& S1, const String& S2);
/// Like CompareStr after folding both texts to lower case.
int32_t CompareText(const String& S1, const String& S2);
inline bool SameText(const String& S1, const String& S2) {
  return CompareText(S1, S2) == 0;
}
/// The lower-case partner of C, or C itself.
Char LowerCaseChar(Char C);

}  // namespace bw
