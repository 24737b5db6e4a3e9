#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/TFileStream.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TStringList.h"
#include "platform/core/TStringStream.h"
#include "tests/platform/core/TempFolder.h"

namespace bw {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

String Contents(TMemoryStream& s) {
  return String(static_cast<const char*>(s.Memory()), size_t(s.Size()));
}

// A stream that accepts or hands out only Limit bytes in all, as a full disk or a
// truncated file would.
class TLimitedStream : public TMemoryStream {
  BW_CLASS(TLimitedStream, TMemoryStream)

 public:
  explicit TLimitedStream(int64_t limit) : FLimit(limit) {}
  int32_t Read(void* Buffer, int32_t Count) override {
    return TMemoryStream::Read(Buffer, Clamp(Count));
  }
  int32_t Write(const void* Buffer, int32_t Count) override {
    return TMemoryStream::Write(Buffer, Clamp(Count));
  }

 private:
  int32_t Clamp(int32_t Count) {
    int32_t n = int32_t(std::min<int64_t>(Count, FLimit - FUsed));
    FUsed += n;
    return n;
  }
  int64_t FLimit;
  int64_t FUsed = 0;
};

TEST(TMemoryStreamTest, ReadWriteMovesPositionAndGrows) {
  TMemoryStream s;
  EXPECT_EQ(s.Write("hello", 5), 5);
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.Size(), 5);
  s.SetPosition(1);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 4);  // only what is left
  EXPECT_STREQ(buf, "ello");
  EXPECT_EQ(s.Read(buf, 8), 0);
  EXPECT_EQ(s.Read(buf, -1), 0);
  EXPECT_EQ(s.Write(buf, -3), 0);
  EXPECT_EQ(s.Size(), 5);
}

TEST(TMemoryStreamTest, SeekOriginsAndLimits) {
  TStringStream s("0123456789");
  EXPECT_EQ(s.Seek(-3, soFromEnd), 7);
  EXPECT_EQ(s.Seek(2, soFromCurrent), 9);
  EXPECT_EQ(s.Seek(4, soFromBeginning), 4);
  // Before the start is refused and the position stays.
  EXPECT_THROW(s.Seek(-5, soFromCurrent), EStreamError);
  EXPECT_THROW(s.Seek(-11, soFromEnd), EStreamError);
  EXPECT_EQ(s.Position(), 4);
  EXPECT_THROW(s.Seek(INT64_MAX, soFromEnd), EStreamError);

  // Past the end: nothing to read, and a write fills the gap with zero bytes.
  s.Seek(2, soFromEnd);
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0);
  s.WriteBuffer("X", 1);
  EXPECT_EQ(s.DataString(), String("0123456789\0\0X", 13));
}

TEST(TMemoryStreamTest, SetSizeTruncatesGrowsAndClampsPosition) {
  TStringStream s("abcdef");
  s.SetPosition(5);
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 3);
  EXPECT_EQ(s.DataString(), "abc");
  s.SetSize(5);
  EXPECT_EQ(s.DataString(), String("abc\0\0", 5));
  EXPECT_EQ(s.Position(), 3);
  EXPECT_THROW(s.SetSize(-1), EStreamError);
  EXPECT_EQ(s.Size(), 5);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(TMemoryStreamTest, WriteTooFarIsAShortWrite) {
  TMemoryStream s;
  s.Seek(INT64_MAX - 2, soFromBeginning);
  EXPECT_EQ(s.Write("abcdef", 6), 0);
  EXPECT_THROW(s.WriteBuffer("abcdef", 6), EWriteError);
  EXPECT_EQ(s.Size(), 0);
}

TEST(TStreamTest, BufferCallsRaiseOnShortTransfers) {
  TLimitedStream s(4);
  try {
    s.WriteBuffer("abcdef", 6);
    FAIL() << "short write not reported";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), SWriteError);
  }
  s.SetPosition(0);
  char buf[4];
  EXPECT_THROW(s.ReadBuffer(buf, 4), EReadError);  // the limit is used up by the write

  TStringStream text("abc");
  char four[4];
  EXPECT_THROW(text.ReadBuffer(four, 4), EReadError);
  EXPECT_THROW(text.ReadBuffer(four, -1), EReadError);
  text.SetPosition(0);
  text.ReadBuffer(four, 0);  // nothing asked, nothing raised
  text.ReadBuffer(four, 3);
  EXPECT_EQ(String(four, 3), "abc");
}

TEST(TStreamTest, CopyFrom) {
  TStringStream source("0123456789");
  TStringStream dest;

  // Count 0 copies everything from the start, whatever the source's position.
  source.SetPosition(7);
  EXPECT_EQ(dest.CopyFrom(&source, 0), 10);
  EXPECT_EQ(dest.DataString(), "0123456789");
  EXPECT_EQ(source.Position(), 10);

  // A count copies from the current position.
  source.SetPosition(2);
  TStringStream part;
  EXPECT_EQ(part.CopyFrom(&source, 3), 3);
  EXPECT_EQ(part.DataString(), "234");

  source.SetPosition(8);
  EXPECT_THROW(part.CopyFrom(&source, 5), EReadError);
  EXPECT_THROW(part.CopyFrom(&source, -1), EReadError);
  EXPECT_THROW(part.CopyFrom(nullptr, 0), EStreamError);

  // More than one internal chunk.
  TMemoryStream big;
  String pattern;
  for (int i = 0; i < 200000; ++i)
    pattern += char('a' + i % 26);
  TStringStream bigSource(pattern);
  EXPECT_EQ(big.CopyFrom(&bigSource, 0), int64_t(pattern.size()));
  EXPECT_EQ(Contents(big), pattern);
}

TEST(TMemoryStreamTest, LoadFromStreamKeepsContentsWhenSourceFails) {
  TMemoryStream s;
  s.WriteBuffer("keep", 4);
  TLimitedStream broken(3);
  broken.TMemoryStream::Write("abcdef", 6);
  EXPECT_THROW(s.LoadFromStream(&broken), EReadError);
  EXPECT_EQ(Contents(s), "keep");

  TStringStream good("new data");
  good.SetPosition(3);
  s.LoadFromStream(&good);
  EXPECT_EQ(Contents(s), "new data");
  EXPECT_EQ(s.Position(), 0);
}

TEST(TStringStreamTest, WritesOverwriteInPlaceAndReadStringClamps) {
  TStringStream s("hello world");
  s.SetPosition(6);
  s.WriteString("W");
  // Text after the write is kept, not cut off.
  EXPECT_EQ(s.DataString(), "hello World");
  EXPECT_EQ(s.ReadString(100), "orld");
  EXPECT_EQ(s.ReadString(3), "");
  s.SetPosition(0);
  EXPECT_EQ(s.ReadString(-2), "");
  EXPECT_EQ(s.ReadString(5), "hello");
  EXPECT_TRUE(s.InheritsFrom(&TMemoryStream::StaticClassInfo()));
}

TEST(TFileStreamTest, CreateWriteReopenAndTruncate) {
  TempFolder dir;
  String path = dir.Path("data.bin");
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("abc\0def", 7);
    EXPECT_EQ(f.Size(), 7);
    EXPECT_EQ(f.FileName(), path);
  }
  {
    // Opening for writing keeps the contents; creating empties them.
    TFileStream f(path, fmOpenWrite);
    f.Seek(-1, soFromEnd);
    f.WriteBuffer("F", 1);
  }
  EXPECT_EQ(ReadFile(path), String("abc\0deF", 7));
  {
    TFileStream f(path, fmOpenReadWrite | fmShareExclusive);
    f.SetPosition(6);
    f.SetSize(2);
    EXPECT_EQ(f.Position(), 2);
    EXPECT_THROW(f.Seek(-1, soFromBeginning), EStreamError);
    char buf[4];
    f.SetPosition(0);
    EXPECT_EQ(f.Read(buf, 4), 2);
    EXPECT_THROW(f.ReadBuffer(buf, 1), EReadError);
  }
  EXPECT_EQ(ReadFile(path), "ab");
  { TFileStream f(path, fmCreate); }
  EXPECT_EQ(ReadFile(path), "");
}

TEST(TFileStreamTest, ErrorsNameTheFileAndTheReason) {
  TempFolder dir;
  String missing = dir.Path("missing.txt");
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\": " + std::strerror(ENOENT));
  }

  String nowhere = dir.Path("no/such/folder.txt");
  try {
    TFileStream f(nowhere, fmCreate);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + nowhere + "\": " + std::strerror(ENOENT));
  }

  // A folder opens on Linux, but it is not a file.
  try {
    TFileStream f(dir.Root(), fmOpenRead);
    FAIL() << "opened a folder as a file";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(std::strerror(EISDIR)), String::npos) << e.Message();
  }

  String path = dir.Path("readonly.txt");
  WriteFile(path, "x");
  TFileStream reader(path, fmOpenRead);
  try {
    reader.WriteBuffer("y", 1);
    FAIL() << "wrote through a stream opened for reading";
  } catch (const EWriteError& e) {
    EXPECT_NE(e.Message().find(path), String::npos) << e.Message();
    EXPECT_NE(e.Message().find(std::strerror(EBADF)), String::npos) << e.Message();
  }

  // A failing read is an error, not the end of the file: a list loaded through it would
  // otherwise be emptied without a word.
  TFileStream writer(path, fmOpenWrite);
  char buf[4];
  EXPECT_THROW(writer.Read(buf, 4), EReadError);
  TStringList lines;
  lines.Add("kept");
  EXPECT_THROW(lines.LoadFromStream(&writer), EReadError);
  EXPECT_EQ(lines.Text(), "kept\n");
}

TEST(TMemoryStreamTest, FileRoundTripKeepsEveryByte) {
  TempFolder dir;
  String path = dir.Path("memory.bin");
  String bytes;
  for (int i = 0; i < 256; ++i)
    bytes += char(i);
  TStringStream out(bytes);
  out.SaveToFile(path);
  EXPECT_EQ(ReadFile(path), bytes);

  TMemoryStream in;
  in.LoadFromFile(path);
  EXPECT_EQ(Contents(in), bytes);
  EXPECT_THROW(in.LoadFromFile(dir.Path("absent")), EFOpenError);
  EXPECT_EQ(Contents(in), bytes);
}

}  // namespace
}  // namespace bw
