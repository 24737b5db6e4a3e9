#include "platform/core/SaveFileAtomically.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <cstring>
#include <filesystem>

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

}  // namespace
}  // namespace bw
