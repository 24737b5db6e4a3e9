// The outline's text form: loading, saving, and what happens to bad input.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/TFileStream.h"
#include "platform/core/TStringList.h"
#include "platform/core/TStringStream.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/TCustomOutline.h"
#include "tests/platform/core/TempFolder.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw {
namespace {

using testing::LoadOutline;
using testing::OutlineText;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(OutlineTextTest, RoundTripKeepsTextsLevelsAndOrder) {
  const String text =
      "A root item whose text needs a block of its own\n\tChild one\n\t\tDeep "
      "\xC3\xA9t\xC3\xA9\n\t\n\tChild, two \n\nLast\n";
  TCustomOutline o{nullptr};
  LoadOutline(o, text);
  ASSERT_EQ(o.ItemCount(), 7);
  EXPECT_EQ(o.Get(3)->Text(), "Deep \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(o.Get(3)->Level(), 3);
  EXPECT_EQ(o.Get(4)->Text(), "");  // a line of tabs alone is an empty item
  EXPECT_EQ(o.Get(4)->Level(), 2);
  EXPECT_EQ(o.Get(5)->Text(), "Child, two ");
  EXPECT_EQ(o.Get(6)->Level(), 1);
  EXPECT_EQ(OutlineText(o), text);

  TempFolder dir;
  o.SaveToFile(dir.Path("tree.txt"));
  EXPECT_EQ(ReadFile(dir.Path("tree.txt")), text);
  TCustomOutline copy{nullptr};
  copy.LoadFromFile(dir.Path("tree.txt"));
  EXPECT_EQ(OutlineText(copy), text);
}

TEST(OutlineTextTest, AcceptsCrLfAByteOrderMarkAndNoFinalLineEnd) {
  TCustomOutline o{nullptr};
  LoadOutline(o,
              "\xEF\xBB\xBF"
              "A\r\n\tB\r\nC");
  EXPECT_EQ(OutlineText(o), "A\n\tB\nC\n");
  LoadOutline(o, "");
  EXPECT_EQ(o.ItemCount(), 0);
}

// Random texts of tabs, letters and line breaks, against a plain splitting of the lines:
// a text loads exactly when no line is more than one tab deeper than the line before it,
// and then saves as its lines each ended by a line feed.
TEST(OutlineTextTest, RandomTextsLoadAsTheirLinesSay) {
  std::mt19937 random(99);
  const char alphabet[] = {'\t', '\t', 'a', '\n', '\r'};
  for (int round = 0; round < 3000; ++round) {
    String text;
    for (int n = int(random() % 24); n > 0; --n)
      text += alphabet[random() % sizeof alphabet];
    std::vector<String> lines;
    for (size_t i = 0; i < text.size();) {
      const size_t end = std::min(text.find_first_of("\r\n", i), text.size());
      lines.push_back(text.substr(i, end - i));
      i = end;
      if (i < text.size() && text[i] == '\r') ++i;
      if (i < text.size() && text[i] == '\n') ++i;
    }
    bool valid = true;
    size_t previousTabs = 0;
    String expected;
    for (size_t k = 0; k < lines.size(); ++k) {
      const size_t tabs = std::min(lines[k].find_first_not_of('\t'), lines[k].size());
      valid &= tabs <= (k == 0 ? 0 : previousTabs + 1);
      previousTabs = tabs;
      expected += lines[k] + "\n";
    }
    TCustomOutline o{nullptr};
    if (valid) {
      ASSERT_NO_THROW(LoadOutline(o, text)) << ::testing::PrintToString(text);
      ASSERT_EQ(OutlineText(o), expected) << ::testing::PrintToString(text);
    } else {
      ASSERT_THROW(LoadOutline(o, text), EOutlineError) << ::testing::PrintToString(text);
    }
  }
}

TEST(OutlineTextTest, LoadReadsFromTheStreamPosition) {
  TStringStream stream("skip me|A\n\tB\n");
  stream.SetPosition(8);
  TCustomOutline o{nullptr};
  o.LoadFromStream(&stream);
  EXPECT_EQ(OutlineText(o), "A\n\tB\n");
}

struct BadText {
  const char* name;
  const char* text;
  const char* message;
};
void PrintTo(const BadText& bad, std::ostream* out) {
  *out << bad.name;
}

class OutlineBadTextTest : public ::testing::TestWithParam<BadText> {};

TEST_P(OutlineBadTextTest, FailedLoadNamesTheLineAndKeepsTheItems) {
  TCustomOutline o{nullptr};
  LoadOutline(o, "Keep\n\tme\n");
  o.SetSelectedItem(2);
  TOutlineNode* kept = o.Get(2);
  try {
    LoadOutline(o, GetParam().text);
    FAIL() << "loaded";
  } catch (const EOutlineError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
  EXPECT_EQ(OutlineText(o), "Keep\n\tme\n");
  EXPECT_EQ(o.SelectedItem(), 2);
  EXPECT_EQ(o.Get(2), kept);
}

INSTANTIATE_TEST_SUITE_P(
    , OutlineBadTextTest,
    ::testing::Values(
        BadText{"FirstLineIndented", "\tA\nB\n",
                "Line 1 of the stream starts with a tab: the first line must be a top-level item"},
        BadText{"TwoLevelsDeeper", "A\n\tB\n\t\tC\nD\n\t\tE\n",
                "Line 5 of the stream is indented 2 tabs, more than one tab deeper than the line "
                "before it"},
        BadText{"DeeperAfterCrLf", "A\r\n\t\t\tB\r\n",
                "Line 2 of the stream is indented 3 tabs, more than one tab deeper than the line "
                "before it"}),
    [](const auto& info) { return String(info.param.name); });

TEST(OutlineTextTest, UnreadableFileRaisesAndKeepsTheItems) {
  TempFolder dir;
  TCustomOutline o{nullptr};
  LoadOutline(o, "A\n");
  EXPECT_THROW(o.LoadFromFile(dir.Path("missing.txt")), EOutlineError);
  EXPECT_THROW(o.LoadFromFile(dir.Root()), EOutlineError);  // a folder
  EXPECT_THROW(o.LoadFromStream(nullptr), EOutlineError);
  EXPECT_THROW(o.SaveToStream(nullptr), EOutlineError);
  WriteFile(dir.Path("deep.txt"), "A\n\t\tB\n");
  try {
    o.LoadFromFile(dir.Path("deep.txt"));
    FAIL() << "loaded";
  } catch (const EOutlineError& e) {
    EXPECT_NE(String(e.what()).find("Line 2 of \"" + dir.Path("deep.txt") + "\""), String::npos)
        << e.what();
  }
  EXPECT_EQ(OutlineText(o), "A\n");
}

// A text that would read back as something else is refused, and nothing is written.
TEST(OutlineTextTest, SavingRefusesTextsThatWouldNotReadBack) {
  TempFolder dir;
  const String path = dir.Path("tree.txt");
  WriteFile(path, "old\n");
  for (const String& bad : {String("\tled by a tab"), String("two\nlines"),
                            String("carriage\rreturn"), String("zero\0char", 9)}) {
    TCustomOutline o{nullptr};
    o.Add(0, "fine");
    o.AddChild(1, bad);
    EXPECT_THROW(o.SaveToFile(path), EOutlineError) << bad;
    EXPECT_EQ(ReadFile(path), "old\n");
    TStringStream stream;
    EXPECT_THROW(o.SaveToStream(&stream), EOutlineError) << bad;
    EXPECT_EQ(stream.DataString(), "");
  }
  TCustomOutline o{nullptr};
  o.Add(0, "inner\ttab is fine");
  o.SaveToFile(path);
  EXPECT_EQ(ReadFile(path), "inner\ttab is fine\n");
}

TEST(OutlineTextTest, SaveIntoAMissingFolderFailsWithoutAFile) {
  TempFolder dir;
  TCustomOutline o{nullptr};
  o.Add(0, "A");
  EXPECT_ANY_THROW(o.SaveToFile(dir.Path("no/such/folder.txt")));
}

// ---- byte order marks ----

// Files from other tools may open with a byte order mark, which is not part of the first
// item. A first item that itself begins with U+FEFF is saved behind a mark of its own, so
// that loading, which drops one mark, gives it back.
TEST(OutlineTextTest, FirstItemBeginningWithAByteOrderMarkSurvivesEveryRoundTrip) {
  const String mark = "\xEF\xBB\xBF";
  TCustomOutline o{nullptr};
  o.Add(0, mark + "first");
  o.AddChild(1, mark + "inner marks stay as they are");
  const String text = mark + "first\n\t" + mark + "inner marks stay as they are\n";

  TempFolder dir;
  o.SaveToFile(dir.Path("tree.txt"));
  EXPECT_EQ(ReadFile(dir.Path("tree.txt")), mark + text);
  TCustomOutline copy{nullptr};
  copy.LoadFromFile(dir.Path("tree.txt"));
  EXPECT_EQ(copy.Lines()->Text(), text);

  LoadOutline(copy, OutlineText(o));
  EXPECT_EQ(copy.Lines()->Text(), text);

  o.Lines()->SaveToFile(dir.Path("lines.txt"));
  copy.Lines()->LoadFromFile(dir.Path("lines.txt"));
  EXPECT_EQ(copy.Lines()->Text(), text);

  copy.Lines()->SetText(o.Lines()->Text());  // the text form in memory holds no mark
  EXPECT_EQ(copy.Lines()->Text(), text);

  // What other tools wrote reads as before: with a mark or without one.
  WriteFile(dir.Path("other.txt"), mark + "A\r\n\tB\r\n");
  copy.LoadFromFile(dir.Path("other.txt"));
  EXPECT_EQ(copy.Lines()->Text(), "A\n\tB\n");
  copy.Lines()->LoadFromFile(dir.Path("other.txt"));
  EXPECT_EQ(copy.Lines()->Text(), "A\n\tB\n");
  WriteFile(dir.Path("other.txt"), "A\n");
  copy.LoadFromFile(dir.Path("other.txt"));
  EXPECT_EQ(copy.Lines()->Text(), "A\n");
}

TEST(OutlineTextTest, StringListKeepsAFirstLineBeginningWithAByteOrderMark) {
  TempFolder dir;
  TStringList list;
  list.Add("\xEF\xBB\xBFmarked");
  list.SaveToFile(dir.Path("list.txt"));
  TStringList back;
  back.LoadFromFile(dir.Path("list.txt"));
  EXPECT_EQ(back.Text(), "\xEF\xBB\xBFmarked\n");
}

// ---- sources that are not outline text ----

void ExpectRefusedAndKept(const std::function<void(TCustomOutline&)>& Load, const String& words) {
  TCustomOutline o{nullptr};
  LoadOutline(o, "Keep\n\tme\n");
  try {
    Load(o);
    FAIL() << "loaded";
  } catch (const EOutlineError& e) {
    EXPECT_NE(String(e.what()).find(words), String::npos) << e.what();
  }
  EXPECT_EQ(OutlineText(o), "Keep\n\tme\n");
}

TEST(OutlineTextTest, TextHoldingAZeroCharacterIsRefused) {
  TempFolder dir;
  const String path = dir.Path("zero.txt");
  WriteFile(path, String("A\n\tB\0C\n", 7));
  ExpectRefusedAndKept([&](TCustomOutline& o) { o.LoadFromFile(path); },
                       "\"" + path + "\": it holds a zero character");
  WriteFile(path, String(1000, '\0'));
  ExpectRefusedAndKept([&](TCustomOutline& o) { o.LoadFromFile(path); }, "zero character");
  ExpectRefusedAndKept([&](TCustomOutline& o) { o.Lines()->LoadFromFile(path); }, "zero character");
  ExpectRefusedAndKept([](TCustomOutline& o) { LoadOutline(o, String("A\n\0", 3)); },
                       "the stream: it holds a zero character");
}

// Devices that never end are refused at their first zero character, not read for ever.
TEST(OutlineTextTest, EndlessDevicesAreRefused) {
  ExpectRefusedAndKept([](TCustomOutline& o) { o.LoadFromFile("/dev/zero"); }, "zero character");
  ExpectRefusedAndKept([](TCustomOutline& o) { o.LoadFromFile("/dev/urandom"); }, "zero character");
}

// A stream that neither tells its size nor ends, as a pipe fed for ever would be.
class TEndlessText : public TStream {
 public:
  int64_t Given = 0;
  int32_t Read(void* Buffer, int32_t Count) override {
    auto* out = static_cast<char*>(Buffer);
    for (int32_t i = 0; i < Count; ++i)
      out[i] = (Given + i) % 2 ? '\n' : 'a';
    Given += Count;
    return Count;
  }
  int32_t Write(const void*, int32_t) override { return 0; }
  int64_t Seek(int64_t, TSeekOrigin) override { throw EStreamError("cannot seek"); }
};

TEST(OutlineTextTest, SourceOfUnknownSizeIsReadOnlyUpToABound) {
  TEndlessText endless;
  ExpectRefusedAndKept([&](TCustomOutline& o) { o.LoadFromStream(&endless); }, "the stream");
  EXPECT_LE(endless.Given, int64_t(65) << 20);
}

// A source longer than it says (a file that grew after its size was asked) is read to its
// end: the bytes past the announced size arrive one block after another.
class TUnderstatedText : public TStream {
 public:
  explicit TUnderstatedText(String text) : FText(std::move(text)) {}
  int64_t Size() override { return 5; }
  int32_t Read(void* Buffer, int32_t Count) override {
    const size_t n = std::min(size_t(Count), FText.size() - FAt);
    std::memcpy(Buffer, FText.data() + FAt, n);
    FAt += n;
    return int32_t(n);
  }
  int32_t Write(const void*, int32_t) override { return 0; }
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override {
    if (Offset != 0 || Origin != soFromCurrent) throw EStreamError("cannot seek");
    return int64_t(FAt);
  }

 private:
  String FText;
  size_t FAt = 0;
};

TEST(OutlineTextTest, SourceLongerThanItSaysIsReadToItsEnd) {
  String text = "A\n\tB\n";
  for (int i = 0; i < 300'000; ++i)
    text += "C" + std::to_string(i) + "\n";
  TUnderstatedText stream(text);
  TCustomOutline o{nullptr};
  o.LoadFromStream(&stream);
  ASSERT_EQ(o.ItemCount(), 300'002);
  EXPECT_EQ(o.Get(2)->Text(), "B");
  EXPECT_EQ(o.Get(300'002)->Text(), "C299999");
}

// Files under /proc say they are empty; they are read to their end all the same.
TEST(OutlineTextTest, FileThatReportsNoSizeIsReadToItsEnd) {
  TCustomOutline o{nullptr};
  o.LoadFromFile("/proc/self/comm");
  ASSERT_EQ(o.ItemCount(), 1);
  EXPECT_NE(o.Get(1)->Text(), "");
}

}  // namespace
}  // namespace bw
