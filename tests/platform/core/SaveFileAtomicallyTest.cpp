#include "platform/core/SaveFileAtomically.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/core/Exception.h"
#include "platform/core/TStream.h"
#include "tests/platform/core/TempFolder.h"

namespace bw {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

void WriteText(TStream& s, const String& text) {
  s.WriteBuffer(text.data(), int32_t(text.size()));
}

int EntryCount(const String& folder) {
  int n = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(folder))
    ++n;
  return n;
}

TEST(SaveFileAtomicallyTest, ReplacesContentsAndKeepsPermissions) {
  TempFolder dir;
  String path = dir.Path("doc.txt");
  WriteFile(path, "old contents that are longer");
  ::chmod(path.c_str(), 0640);

  SaveFileAtomically(path, [](TStream& s) {
    EXPECT_EQ(s.Position(), 0);
    WriteText(s, "new");
  });
  EXPECT_EQ(ReadFile(path), "new");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(EntryCount(dir.Root()), 1);  // no temporary file left behind
}

TEST(SaveFileAtomicallyTest, NewFileGetsUsualPermissions) {
  TempFolder dir;
  String path = dir.Path("fresh.txt");
  mode_t mask = ::umask(022);
  SaveFileAtomically(path, [](TStream& s) { WriteText(s, "x"); });
  ::umask(mask);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(SaveFileAtomicallyTest, FailingWriterLeavesOldFileAndNoTemporary) {
  TempFolder dir;
  String path = dir.Path("doc.txt");
  WriteFile(path, "old");
  EXPECT_THROW(SaveFileAtomically(path,
                                  [](TStream& s) {
                                    WriteText(s, "half of the new");
                                    throw EConvertError("writer gave up");
                                  }),
               EConvertError);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(EntryCount(dir.Root()), 1);
}

// The system refuses the data part-way (a file size limit works the same for every user,
// root included), as a full disk would.
TEST(SaveFileAtomicallyTest, RefusedWriteRaisesAndLeavesOldFile) {
  TempFolder dir;
  String path = dir.Path("doc.txt");
  WriteFile(path, "old");

  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit oldLimit;
  ::getrlimit(RLIMIT_FSIZE, &oldLimit);
  rlimit small = oldLimit;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

  String message;
  try {
    SaveFileAtomically(path, [](TStream& s) { WriteText(s, String(100000, 'n')); });
  } catch (const EWriteError& e) {
    message = e.Message();
  }
  ::setrlimit(RLIMIT_FSIZE, &oldLimit);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_NE(message.find(path), String::npos) << message;
  EXPECT_NE(message.find(std::strerror(EFBIG)), String::npos) << message;
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(EntryCount(dir.Root()), 1);
}

TEST(SaveFileAtomicallyTest, FolderThatCannotTakeFilesRaisesCreateError) {
  TempFolder dir;
  // A path through a regular file can never be written, whoever runs the test.
  String blocker = dir.Path("plain");
  WriteFile(blocker, "not a folder");
  String path = blocker + "/doc.txt";
  bool called = false;
  try {
    SaveFileAtomically(path, [&](TStream&) { called = true; });
    FAIL() << "saved below a regular file";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + path + "\": " + std::strerror(ENOTDIR));
  }
  EXPECT_FALSE(called);
  EXPECT_EQ(ReadFile(blocker), "not a folder");
}

TEST(SaveFileAtomicallyTest, ReadOnlyFolderRaisesAndLeavesOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; covered by the tests above";
  TempFolder dir;
  String sub = dir.Path("locked");
  fs::create_directory(sub);
  String path = sub + "/doc.txt";
  WriteFile(path, "old");
  ::chmod(sub.c_str(), 0555);
  EXPECT_THROW(SaveFileAtomically(path, [](TStream& s) { WriteText(s, "new"); }), EFCreateError);
  ::chmod(sub.c_str(), 0755);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(EntryCount(sub), 1);
}

TEST(SaveFileAtomicallyTest, TargetThatIsAFolderIsRefused) {
  TempFolder dir;
  String path = dir.Path("folder");
  fs::create_directory(path);
  EXPECT_THROW(SaveFileAtomically(path, [](TStream& s) { WriteText(s, "x"); }), EFCreateError);
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(EntryCount(dir.Root()), 1);
}

TEST(SaveFileAtomicallyTest, SymbolicLinkStaysALink) {
  TempFolder dir;
  String real = dir.Path("real.txt");
  String link = dir.Path("link.txt");
  WriteFile(real, "old");
  fs::create_symlink(real, link);
  SaveFileAtomically(link, [](TStream& s) { WriteText(s, "new"); });
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real), "new");
  EXPECT_EQ(EntryCount(dir.Root()), 2);
}

// ---- targets that are not regular files ----

// A pipe, a device or a link to one cannot be replaced by a file without cutting off
// whoever reads it: the data goes into it as it stands.

TEST(SaveFileAtomicallyTest, LinkToAPipeWritesIntoThePipe) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const String link = "/proc/self/fd/" + std::to_string(ends[1]);
  SaveFileAtomically(link, [](TStream& s) { WriteText(s, "through the pipe"); });
  ::close(ends[1]);
  char got[64] = {};
  EXPECT_EQ(::read(ends[0], got, sizeof got), 16);
  EXPECT_STREQ(got, "through the pipe");
  ::close(ends[0]);
}

class SaveIntoFifoTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0); }
  void TearDown() override {
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(EntryCount(dir.Root()), 1);
  }
  // A reader that is there before the save starts (opening it does not wait for a writer).
  int OpenReader() const { return ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK); }

  TempFolder dir;
  const String fifo = dir.Path("fifo");
};

TEST_F(SaveIntoFifoTest, AReaderGetsTheData) {
  const int reader = OpenReader();
  ASSERT_GE(reader, 0);
  SaveFileAtomically(fifo, [](TStream& s) { WriteText(s, "queued"); });
  char got[16] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 6);
  EXPECT_STREQ(got, "queued");
  ::close(reader);
}

// Waiting for a reader could wait for ever; the save is refused at once instead.
TEST_F(SaveIntoFifoTest, WithoutAReaderItIsRefusedWithoutWaiting) {
  bool called = false;
  try {
    SaveFileAtomically(fifo, [&](TStream&) { called = true; });
    FAIL() << "saved into a pipe that nobody reads";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find(fifo), String::npos) << e.Message();
  }
  EXPECT_FALSE(called);
}

// A reader that goes away part-way is a failed write, not a signal that ends the program.
TEST_F(SaveIntoFifoTest, AReaderThatLeavesMakesAWriteError) {
  const int reader = OpenReader();
  ASSERT_GE(reader, 0);
  EXPECT_THROW(SaveFileAtomically(fifo,
                                  [&](TStream& s) {
                                    ::close(reader);
                                    WriteText(s, "nobody hears this");
                                  }),
               EWriteError);
  sigset_t pending;
  ::sigpending(&pending);
  EXPECT_FALSE(::sigismember(&pending, SIGPIPE));
}

TEST(SaveFileAtomicallyTest, CharacterDeviceIsWrittenNotReplaced) {
  TempFolder dir;
  // Root makes a null device of its own, so that a fault cannot replace the system's.
  String device = "/dev/null";
  if (::geteuid() == 0) {
    device = dir.Path("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
      GTEST_SKIP() << "cannot make a device node here: " << std::strerror(errno);
  }
  SaveFileAtomically(device, [](TStream& s) { WriteText(s, String(100000, 'x')); });
  struct stat st;
  ASSERT_EQ(::stat(device.c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(EntryCount(dir.Root()), ::geteuid() == 0 ? 1 : 0);
}

TEST(SaveFileAtomicallyTest, DanglingLinkCreatesItsTarget) {
  TempFolder dir;
  fs::create_directory(dir.Path("sub"));
  const String link = dir.Path("link.txt");
  fs::create_symlink("sub/made.txt", link);
  SaveFileAtomically(link, [](TStream& s) { WriteText(s, "new"); });
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(dir.Path("sub/made.txt")), "new");
  EXPECT_EQ(EntryCount(dir.Path("sub")), 1);

  // A link into a folder that is not there cannot be followed.
  const String lost = dir.Path("lost.txt");
  fs::create_symlink("nowhere/made.txt", lost);
  EXPECT_THROW(SaveFileAtomically(lost, [](TStream& s) { WriteText(s, "x"); }), EFCreateError);
  EXPECT_TRUE(fs::is_symlink(lost));
}

// ---- files the user may not write ----

enum class TOutcome { Held, Failed, NoUnprivilegedUser };

// Runs Check as an unprivileged user: in a child process when the tests run as root, whose
// rights would hide a refusal.
TOutcome AsUnprivilegedUser(const String& folder, const std::function<bool()>& Check) {
  if (::geteuid() != 0) return Check() ? TOutcome::Held : TOutcome::Failed;
  constexpr uid_t kNobody = 65534;
  ::chmod(folder.c_str(), 0777);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
    ::_exit(Check() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return TOutcome::Failed;
  return WEXITSTATUS(status) == 0   ? TOutcome::Held
         : WEXITSTATUS(status) == 2 ? TOutcome::NoUnprivilegedUser
                                    : TOutcome::Failed;
}

// Whoever runs the save, it is refused exactly when opening the file for writing is.
TEST(SaveFileAtomicallyTest, FileTheUserMayNotWriteIsRefusedAndKept) {
  TempFolder dir;
  const String path = dir.Path("readonly.txt");
  WriteFile(path, "old");
  ::chmod(path.c_str(), 0444);
  auto sameAsOpening = [&] {
    const int fd = ::open(path.c_str(), O_WRONLY);
    const bool mayWrite = fd >= 0;
    if (fd >= 0) ::close(fd);
    bool refused = false;
    try {
      SaveFileAtomically(path, [](TStream& s) { WriteText(s, "new"); });
    } catch (const EFCreateError& e) {
      refused = e.Message().find(std::strerror(EACCES)) != String::npos;
    }
    struct stat st;
    const bool kept = ::stat(path.c_str(), &st) == 0 && (st.st_mode & 07777) == 0444 &&
                      ReadFile(path) == (mayWrite ? "new" : "old");
    return refused == !mayWrite && kept && EntryCount(dir.Root()) == 1;
  };
  const TOutcome unprivileged = AsUnprivilegedUser(dir.Root(), sameAsOpening);
  if (unprivileged == TOutcome::NoUnprivilegedUser)
    GTEST_SKIP() << "root cannot take the rights of an ordinary user here";
  EXPECT_EQ(unprivileged, TOutcome::Held);
  if (::geteuid() == 0) {
    // Root may open the file for writing, so root may save it.
    EXPECT_TRUE(sameAsOpening());
    EXPECT_EQ(ReadFile(path), "new");
  }
}

}  // namespace
}  // namespace bw
