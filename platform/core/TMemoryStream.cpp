#include "platform/core/TMemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/SaveFileAtomically.h"
#include "platform/core/TFileStream.h"

namespace bw {

void TMemoryStream::Resize(int64_t NewSize) {
  if (NewSize < 0 || uint64_t(NewSize) > FData.max_size()) throw EStreamError(SMemoryStreamError);
  try {
    FData.resize(size_t(NewSize));
  } catch (const std::bad_alloc&) {
    throw EStreamError(SMemoryStreamError);
  } catch (const std::length_error&) {
    throw EStreamError(SMemoryStreamError);
  }
}

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
  int64_t size = Size();
  if (Count <= 0 || FPosition >= size) return 0;
  int32_t n = int32_t(std::min<int64_t>(Count, size - FPosition));
  std::memcpy(Buffer, FData.data() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  if (FPosition > std::numeric_limits<int64_t>::max() - Count) return 0;
  int64_t end = FPosition + Count;
  if (end > Size()) {
    try {
      Resize(end);
    } catch (const EStreamError&) {
      // Reported as a short write, which WriteBuffer turns into EWriteError.
      return 0;
    }
  }
  std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soFromBeginning ? 0 : Origin == soFromCurrent ? FPosition : Size();
  if ((Offset < 0 && base + Offset < 0) ||
      (Offset > 0 && base > std::numeric_limits<int64_t>::max() - Offset))
    throw EStreamError(SSeekError);
  FPosition = base + Offset;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize == Size()) return;
  Resize(NewSize);
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  if (!Stream) throw EStreamError(SNoSourceStream);
  TMemoryStream loaded;
  loaded.CopyFrom(Stream, 0);
  FData.swap(loaded.FData);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TMemoryStream::SaveToStream(TStream* Stream) const {
  if (!Stream) throw EStreamError(SNoTargetStream);
  constexpr size_t kChunk = 1 << 30;
  for (size_t done = 0; done < FData.size();) {
    size_t n = std::min(kChunk, FData.size() - done);
    Stream->WriteBuffer(FData.data() + done, int32_t(n));
    done += n;
  }
}

void TMemoryStream::SaveToFile(const String& FileName) const {
  SaveFileAtomically(FileName, [this](TStream& file) { SaveToStream(&file); });
}

}  // namespace bw
