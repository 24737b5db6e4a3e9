#pragma once
// Character helpers of the edit controls: UTF-8 to code points and back, case mapping
// and the character classes that word movement and masks test.

#include <string>

#include "platform/core/Types.h"
#include "platform/core/Unicode.h"

namespace bw {

/// Decodes UTF-8 into code points. A byte that does not start a valid, shortest-form
/// sequence (and any surrogate or out-of-range value) becomes U+FFFD, so the result always
/// encodes back into valid UTF-8.
std::u32string DecodeUtf8(const String& text);
/// One character as UTF-8 (EncodeUtf8 of platform/core/Unicode.h does whole texts).
String CharToUtf8(Char c);

/// The upper-case partner of C, or C itself (the inverse of LowerCaseChar, over the
/// same alphabets).
Char UpperCaseChar(Char C);

bool IsLetterChar(Char C);
bool IsDigitChar(Char C);  // 0 to 9 only
bool IsSpaceChar(Char C);

/// Classes that word movement and double-click selection group characters by.
enum TCharClass { ccSpace, ccWord, ccPunctuation };
TCharClass CharClassOf(Char C);

}  // namespace bw
