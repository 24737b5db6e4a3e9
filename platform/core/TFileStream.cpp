#include "platform/core/TFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

namespace {

int OpenFile(const String& FileName, uint16_t Mode) {
  bool create = (Mode & fmCreate) == fmCreate;
  int flags = O_CLOEXEC;
  if (create)
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  else
    switch (Mode & 0x3) {
      case fmOpenWrite:
        flags |= O_WRONLY;
        break;
      case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
      default:
        flags |= O_RDONLY;
        break;
    }
  int fd = ::open(FileName.c_str(), flags, 0666);
  int err = errno;
  // Linux opens a folder for reading without complaint; it is still not a file.
  if (fd >= 0) {
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      fd = -1;
      err = EISDIR;
    }
  }
  if (fd < 0) {
    String reason = std::strerror(err);
    if (create) throw EFCreateError(Format(SFCreateError, {FileName, reason}));
    throw EFOpenError(Format(SFOpenError, {FileName, reason}));
  }
  return fd;
}

}  // namespace

TFileStream::TFileStream(const String& FileName, uint16_t Mode)
    : THandleStream(OpenFile(FileName, Mode), FileName) {}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

}  // namespace bw
