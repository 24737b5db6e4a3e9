#pragma once
// A memory stream whose bytes are read and written as a String.

#include "platform/core/TMemoryStream.h"

namespace bw {

class TStringStream : public TMemoryStream {
  BW_CLASS(TStringStream, TMemoryStream)

 public:
  /// Starts with AString as contents and the position at 0.
  explicit TStringStream(const String& AString = {});

  /// All of the stream's bytes, whatever the position.
  const String& DataString() const { return FData; }
  /// Reads up to Count bytes from the position.
  String ReadString(int32_t Count);
  /// Writes AString at the position.
  void WriteString(const String& AString);
};

}  // namespace bw
