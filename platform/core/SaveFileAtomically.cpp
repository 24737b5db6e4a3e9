#include "platform/core/SaveFileAtomically.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/THandleStream.h"

namespace bw {

namespace {

// The process's umask, read without changing it (umask() would change it for every
// thread while we look).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  String line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0) return mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
  return 022;
}

String FolderOf(const String& path) {
  size_t slash = path.rfind('/');
  if (slash == String::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

String BaseNameOf(const String& path) {
  size_t slash = path.rfind('/');
  return slash == String::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void RaiseCreate(const String& FileName, const String& reason) {
  throw EFCreateError(Format(SFCreateError, {FileName, reason}));
}

[[noreturn]] void RaiseCreate(const String& FileName, int err) {
  RaiseCreate(FileName, std::strerror(err));
}

// Replacing a symbolic link would turn it into a plain file: follow it, link by link, to
// the file it names, which need not exist yet (a dangling link names the file to create).
String FollowLinks(const String& FileName) {
  constexpr int kMaxLinks = 40;  // as many as the system follows before giving up
  String path = FileName;
  for (int hops = 0;; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    if (hops == kMaxLinks) RaiseCreate(FileName, ELOOP);
    char contents[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), contents, sizeof contents - 1);
    if (n <= 0) RaiseCreate(FileName, n < 0 ? errno : ENOENT);
    const String next(contents, size_t(n));
    path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
  }
}

// Removes the temporary file on every path that does not end in the rename.
class TTemporaryFile {
 public:
  TTemporaryFile(const String& target, const String& FileName) {
    // Shortened so that a long file name still leaves room for the suffix.
    FPath = FolderOf(target) + "/." + BaseNameOf(target).substr(0, 200) + ".XXXXXX";
    FHandle = ::mkostemp(FPath.data(), O_CLOEXEC);
    if (FHandle < 0) RaiseCreate(FileName, errno);
  }
  ~TTemporaryFile() {
    Close();
    if (!FPath.empty()) ::unlink(FPath.c_str());
  }
  int Handle() const { return FHandle; }
  const String& Path() const { return FPath; }
  int Close() {
    int result = 0;
    if (FHandle >= 0) result = ::close(FHandle);
    FHandle = -1;
    return result;
  }
  void Release() { FPath.clear(); }

 private:
  String FPath;
  int FHandle = -1;
};

// While a pipe is written, a reader that leaves makes the write fail with EPIPE instead of
// sending SIGPIPE, whose default action would end the program.
class TBrokenPipeGuard {
 public:
  TBrokenPipeGuard() {
    ::sigemptyset(&FPipe);
    ::sigaddset(&FPipe, SIGPIPE);
    sigset_t pending;
    ::sigpending(&pending);
    FWasPending = ::sigismember(&pending, SIGPIPE) == 1;
    ::pthread_sigmask(SIG_BLOCK, &FPipe, &FOld);
  }
  ~TBrokenPipeGuard() {
    sigset_t pending;
    ::sigpending(&pending);
    if (!FWasPending && ::sigismember(&pending, SIGPIPE) == 1) {
      const timespec now{};
      ::sigtimedwait(&FPipe, nullptr, &now);  // take back the signal our own write raised
    }
    ::pthread_sigmask(SIG_SETMASK, &FOld, nullptr);
  }
  TBrokenPipeGuard(const TBrokenPipeGuard&) = delete;
  TBrokenPipeGuard& operator=(const TBrokenPipeGuard&) = delete;

 private:
  sigset_t FPipe, FOld;
  bool FWasPending = false;
};

// A pipe or a character device (a terminal, the null device) cannot be replaced without
// cutting off whoever reads it, so the data goes into it directly. Opening does not wait:
// a pipe that nobody reads is refused rather than waited on for ever.
void WriteInPlace(const String& FileName, const struct stat& st,
                  const std::function<void(TStream&)>& Write) {
  if (S_ISBLK(st.st_mode)) RaiseCreate(FileName, "it is a disk device, not a file");
  const int handle = ::open(FileName.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (handle < 0) {
    if (errno == ENXIO && S_ISFIFO(st.st_mode)) RaiseCreate(FileName, "no process reads from it");
    RaiseCreate(FileName, errno);
  }
  struct TCloser {
    int Handle;
    ~TCloser() {
      if (Handle >= 0) ::close(Handle);
    }
  } closer{handle};
  const int flags = ::fcntl(handle, F_GETFL);
  if (flags < 0 || ::fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) != 0) RaiseCreate(FileName, errno);

  TBrokenPipeGuard guard;
  THandleStream stream(handle, FileName);
  Write(stream);
  closer.Handle = -1;
  if (::close(handle) != 0)
    throw EWriteError(Format(SFWriteError, {FileName, std::strerror(errno)}));
}

}  // namespace

void SaveFileAtomically(const String& FileName, const std::function<void(TStream&)>& Write) {
  if (FileName.empty()) RaiseCreate(FileName, ENOENT);
  struct stat old;
  const bool exists = ::stat(FileName.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) RaiseCreate(FileName, EISDIR);
  if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(FileName, old, Write);
  // The rename needs write access to the folder only; the file itself is refused exactly
  // when opening it for writing would be (so root, who may write a read-only file, may).
  if (exists && ::faccessat(AT_FDCWD, FileName.c_str(), W_OK, AT_EACCESS) != 0)
    RaiseCreate(FileName, errno);
  const String target = FollowLinks(FileName);

  TTemporaryFile temp(target, FileName);
  mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (::fchmod(temp.Handle(), mode) != 0) RaiseCreate(FileName, errno);
  // Only a privileged process can keep another user's ownership; others keep their own.
  if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) [[maybe_unused]]
    int ignored = ::fchown(temp.Handle(), old.st_uid, old.st_gid);

  THandleStream stream(temp.Handle(), FileName);
  Write(stream);
  stream.Flush();
  if (temp.Close() != 0) throw EWriteError(Format(SFWriteError, {FileName, std::strerror(errno)}));

  if (::rename(temp.Path().c_str(), target.c_str()) != 0) RaiseCreate(FileName, errno);
  temp.Release();

  // Make the rename itself durable; the new contents are in place either way.
  int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace bw
