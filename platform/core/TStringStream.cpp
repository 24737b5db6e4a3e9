#include "platform/core/TStringStream.h"

#include <algorithm>

namespace bw {

TStringStream::TStringStream(const String& AString) {
  FData = AString;
}

String TStringStream::ReadString(int32_t Count) {
  int64_t available = std::max<int64_t>(0, Size() - Position());
  String result(size_t(std::clamp<int64_t>(Count, 0, available)), '\0');
  result.resize(size_t(Read(result.data(), int32_t(result.size()))));
  return result;
}

void TStringStream::WriteString(const String& AString) {
  WriteBuffer(AString.data(), int32_t(AString.size()));
}

}  // namespace bw
