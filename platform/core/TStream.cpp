#include "platform/core/TStream.h"

#include <algorithm>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

namespace {

String WithDetail(const char* message, const String& detail) {
  return detail.empty() ? String(message) : Format("%s: %s", {message, detail});
}

}  // namespace

// Seek(0, soFromCurrent) does not change the stream; it is how every descendant reports
// its position.
int64_t TStream::Position() const {
  return const_cast<TStream*>(this)->Seek(0, soFromCurrent);
}

int64_t TStream::Size() {
  int64_t pos = Seek(0, soFromCurrent);
  int64_t size = Seek(0, soFromEnd);
  Seek(pos, soFromBeginning);
  return size;
}

void TStream::SetSize(int64_t) {
  throw EStreamError(Format(SStreamSizeError, {ClassName()}));
}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count)
    throw EReadError(WithDetail(SReadError, TransferErrorDetail()));
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count)
    throw EWriteError(WithDetail(SWriteError, TransferErrorDetail()));
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (!Source) throw EStreamError(SNoSourceStream);
  if (Count < 0) throw EReadError(SReadError);
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  std::vector<char> buffer(static_cast<size_t>(std::min(Count, kChunk)));
  int64_t left = Count;
  while (left > 0) {
    int32_t n = static_cast<int32_t>(std::min(left, kChunk));
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

}  // namespace bw
