#include "platform/core/SaveFileAtomically.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
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

// Replacing a symbolic link would turn it into a plain file; write beside its target.
String ResolveTarget(const String& FileName) {
  struct stat st;
  if (::lstat(FileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return FileName;
  char resolved[PATH_MAX];
  if (!::realpath(FileName.c_str(), resolved)) return FileName;
  return resolved;
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

[[noreturn]] void RaiseCreate(const String& FileName, int err) {
  throw EFCreateError(Format(SFCreateError, {FileName, std::strerror(err)}));
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

}  // namespace

void SaveFileAtomically(const String& FileName, const std::function<void(TStream&)>& Write) {
  if (FileName.empty()) RaiseCreate(FileName, ENOENT);
  String target = ResolveTarget(FileName);

  struct stat old;
  bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) RaiseCreate(FileName, EISDIR);

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
