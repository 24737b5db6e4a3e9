#include "platform/core/THandleStream.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

THandleStream::THandleStream(int AHandle, String AName)
    : FHandle(AHandle), FName(std::move(AName)) {}

String THandleStream::DisplayName() const {
  return FName.empty() ? "descriptor " + std::to_string(FHandle) : FName;
}

String THandleStream::TransferErrorDetail() const {
  String reason = FLastError ? std::strerror(FLastError) : "unexpected end of file";
  return Format("\"%s\": %s", {DisplayName(), reason});
}

// Pipes and terminals hand out data in pieces; keep reading until Count bytes arrived or
// the file ended, so that ReadBuffer fails only on a real short read.
int32_t THandleStream::Read(void* Buffer, int32_t Count) {
  FLastError = 0;
  int32_t done = 0;
  while (done < Count) {
    ssize_t n = ::read(FHandle, static_cast<char*>(Buffer) + done, size_t(Count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      FLastError = errno;
      // Returning a short count would pass for the end of the file to callers that read
      // until nothing comes, and they would take what came so far for the whole file.
      throw EReadError(Format("%s: %s", {SReadError, TransferErrorDetail()}));
    }
    if (n == 0) break;
    done += int32_t(n);
  }
  return done;
}

int32_t THandleStream::Write(const void* Buffer, int32_t Count) {
  FLastError = 0;
  int32_t done = 0;
  while (done < Count) {
    ssize_t n = ::write(FHandle, static_cast<const char*>(Buffer) + done, size_t(Count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      FLastError = errno;
      break;
    }
    if (n == 0) {
      FLastError = ENOSPC;
      break;
    }
    done += int32_t(n);
  }
  return done;
}

int64_t THandleStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soFromBeginning ? SEEK_SET : Origin == soFromCurrent ? SEEK_CUR : SEEK_END;
  off_t pos = ::lseek(FHandle, off_t(Offset), whence);
  if (pos < 0) throw EStreamError(Format(SFSeekError, {DisplayName(), std::strerror(errno)}));
  return pos;
}

int64_t THandleStream::Size() {
  struct stat st;
  if (::fstat(FHandle, &st) != 0)
    throw EStreamError(Format(SFSeekError, {DisplayName(), std::strerror(errno)}));
  // Devices and pipes report no length of their own; ask Seek as any stream would.
  if (!S_ISREG(st.st_mode)) return TStream::Size();
  return st.st_size;
}

void THandleStream::SetSize(int64_t NewSize) {
  if (NewSize < 0 || ::ftruncate(FHandle, off_t(NewSize)) != 0) {
    int err = NewSize < 0 ? EINVAL : errno;
    throw EWriteError(Format(SFWriteError, {DisplayName(), std::strerror(err)}));
  }
  if (Position() > NewSize) Seek(NewSize, soFromBeginning);
}

void THandleStream::Flush() {
  while (::fsync(FHandle) != 0) {
    if (errno == EINTR) continue;
    throw EWriteError(Format(SFWriteError, {DisplayName(), std::strerror(errno)}));
  }
}

}  // namespace bw
