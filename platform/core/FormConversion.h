#pragma once
// Converters between the two forms of a form file: the text form ("object Form1: TForm1"
// ... "end") and the binary form ("TPF0"). Both read from Input's position to its end
// and append to Output only once the whole conversion has succeeded.

#include <vector>

#include "platform/core/Types.h"

namespace bw {

class TStream;

/// Where a component header or property name of a text form ended up in its binary form.
struct TTextPosition {
  int64_t Offset;  // in the binary output, counted from its position at the start
  int32_t Line;
  int32_t Column;
};

/// Raises EParserError, with the line and column, for text that is not a form.
/// Positions, when given, receives the place of every header and property name.
void ObjectTextToBinary(TStream* Input, TStream* Output,
                        std::vector<TTextPosition>* Positions = nullptr);
/// Writes the classic text layout. Raises EReadError for a damaged stream, and for one
/// that text cannot hold: a defined property that stores several bare values where a
/// text form holds one, or a value of a kind the text form has no notation for.
void ObjectBinaryToText(TStream* Input, TStream* Output);

/// The same on strings.
String ObjectTextToBinary(const String& Text);
String ObjectBinaryToText(const String& Binary);

}  // namespace bw
