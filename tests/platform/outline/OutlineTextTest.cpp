// The outline's text form: loading, saving, and what happens to bad input.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/core/TFileStream.h"
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
  for (const char* bad : {"\tled by a tab", "two\nlines", "carriage\rreturn"}) {
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

}  // namespace
}  // namespace bw
