#pragma once
// A fault in a text form, with the line and column (both from 1) where it was found.

#include "platform/core/Exception.h"

namespace bw {

class EParserError : public EReadError {
 public:
  EParserError(const String& Reason, int32_t Line, int32_t Column)
      : EReadError(Reason + " (line " + std::to_string(Line) + ", column " +
                   std::to_string(Column) + ")"),
        FReason(Reason),
        FLine(Line),
        FColumn(Column) {}

  /// The message without the position.
  const String& Reason() const { return FReason; }
  int32_t Line() const { return FLine; }
  int32_t Column() const { return FColumn; }

 private:
  String FReason;
  int32_t FLine;
  int32_t FColumn;
};

}  // namespace bw
