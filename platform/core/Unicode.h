#pragma once
// Conversions between the encodings that form files use: our strings are UTF-8, the
// binary form also holds UTF-16 and 8-bit strings from other tools.

#include <string>
#include <string_view>

#include "platform/core/Types.h"

namespace bw {

/// The code points of S. Bytes that are not part of well-formed UTF-8 are taken as
/// Latin-1 characters, so 8-bit text from older files still reads sensibly.
std::u32string DecodeUtf8Lenient(const String& S);
/// True when S holds only bytes below 128.
bool IsAscii(const String& S);
/// Appends the UTF-8 form of C (invalid code points become U+FFFD).
void AppendUtf8(String& Out, Char C);
String EncodeUtf8(const std::u32string& S);
/// UTF-16 code units of S; characters above U+FFFF become surrogate pairs.
std::u16string ToUtf16(const std::u32string& S);
/// Code points of UTF-16 units; a lone surrogate becomes U+FFFD.
std::u32string FromUtf16(const std::u16string& S);
/// S with each high surrogate that is followed by a low one joined into one character;
/// any other surrogate becomes U+FFFD.
std::u32string JoinSurrogates(const std::u32string& S);

// A text file may open with a UTF-8 byte order mark, which is no part of its text. Reading
// drops one mark; writing puts one in front of a text whose first character is U+FEFF,
// which would otherwise be taken for the mark and lost. Files without a mark read as they
// are, and only texts that need it get one.

/// File without its first byte order mark, if it has one.
std::string_view WithoutByteOrderMark(std::string_view File);
/// The byte order mark to write before Text: the mark when Text begins with U+FEFF,
/// otherwise nothing.
std::string_view ByteOrderMarkFor(std::string_view Text);

}  // namespace bw
