#include "platform/outline/TOutlineStrings.h"

#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "platform/core/TStringList.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/TCustomOutline.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw {
namespace {

using testing::LoadOutline;
using testing::OutlineText;

class TOutlineStringsTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadOutline(o, "A\n\tB\n\t\tC\n\tD\nE\n"); }
  TCustomOutline o{nullptr};
  TStrings& lines = *o.Lines();
};

TEST_F(TOutlineStringsTest, ReadsItemsInTheTextForm) {
  ASSERT_EQ(lines.GetCount(), 5);
  EXPECT_EQ(lines.Get(2), "\t\tC");
  EXPECT_EQ(lines.Text(), "A\n\tB\n\t\tC\n\tD\nE\n");
  EXPECT_THROW(lines.Get(5), EListError);
  EXPECT_THROW(lines.Get(-1), EListError);

  TObject marker;
  o.Get(4)->SetData(&marker);
  EXPECT_EQ(lines.GetObject(3), &marker);
  lines.PutObject(0, &marker);
  EXPECT_EQ(o.Get(1)->Data(), &marker);
}

TEST_F(TOutlineStringsTest, PutChangesTheTextAndKeepsTheLevel) {
  lines.Put(2, "\tSee");
  EXPECT_EQ(o.Get(3)->Text(), "See");
  EXPECT_EQ(o.Get(3)->Level(), 3);
}

TEST_F(TOutlineStringsTest, InsertTakesItsLevelFromTheTabs) {
  lines.Insert(3, "X");  // before D, at the top: D becomes X's child
  EXPECT_EQ(OutlineText(o), "A\n\tB\n\t\tC\nX\n\tD\nE\n");
  EXPECT_EQ(o.Get(5)->Parent()->Text(), "X");
  EXPECT_EQ(o.Get(1)->GetLastChild(), 2);
  lines.Add("\tF");
  EXPECT_EQ(o.Get(7)->Parent()->Text(), "E");
  lines.Insert(0, "Top");
  EXPECT_EQ(OutlineText(o), "Top\nA\n\tB\n\t\tC\nX\n\tD\nE\n\tF\n");
}

TEST_F(TOutlineStringsTest, InsertRefusesALevelThatBreaksTheTree) {
  const String before = OutlineText(o);
  EXPECT_THROW(lines.Insert(0, "\tX"), EOutlineError);      // first line indented
  EXPECT_THROW(lines.Insert(2, "\t\t\tX"), EOutlineError);  // two below B
  EXPECT_THROW(lines.Insert(2, "X"), EOutlineError);        // C would be two below X
  EXPECT_THROW(lines.Insert(6, "X"), EListError);
  EXPECT_EQ(OutlineText(o), before);
  try {
    lines.Insert(2, "\t\t\tX");
  } catch (const EOutlineError& e) {
    EXPECT_STREQ(e.what(), "A line inserted at index 2 must be indented 1 to 2 tabs, not 3");
  }
}

TEST_F(TOutlineStringsTest, DeleteTakesTheDescendantsAlong) {
  lines.Delete(1);
  EXPECT_EQ(lines.Text(), "A\n\tD\nE\n");
  lines.Clear();
  EXPECT_EQ(o.ItemCount(), 0);
}

// Moving through the generic delete-and-insert would drop a branch; lines move alone
// and only where their level fits.
TEST_F(TOutlineStringsTest, MoveTakesLeavesOnlyAndKeepsTheTreeValid) {
  lines.Move(3, 1);  // D before B, still at level 2
  EXPECT_EQ(lines.Text(), "A\n\tD\n\tB\n\t\tC\nE\n");
  TOutlineNode* e = o.Get(5);
  EXPECT_THROW(lines.Move(3, 4), EOutlineError);  // C two levels below E
  EXPECT_THROW(lines.Move(2, 0), EOutlineError);  // B takes C with it
  EXPECT_EQ(lines.Text(), "A\n\tD\n\tB\n\t\tC\nE\n");
  EXPECT_EQ(o.Get(5), e);
  lines.Move(4, 0);
  EXPECT_EQ(lines.Text(), "E\nA\n\tD\n\tB\n\t\tC\n");
}

TEST_F(TOutlineStringsTest, AssignIsAllOrNothing) {
  TStringList source;
  TObject marker;
  source.Add("One");
  source.AddObject("\tTwo", &marker);
  o.SetLines(&source);
  EXPECT_EQ(OutlineText(o), "One\n\tTwo\n");
  EXPECT_EQ(o.Get(2)->Data(), &marker);

  source.Add("\t\t\tToo deep");
  try {
    lines.Assign(&source);
    FAIL() << "assigned";
  } catch (const EOutlineError& e) {
    EXPECT_STREQ(e.what(),
                 "Line 3 of the lines is indented 3 tabs, more than one tab deeper than the line "
                 "before it");
  }
  EXPECT_EQ(OutlineText(o), "One\n\tTwo\n");
  EXPECT_THROW(lines.Assign(nullptr), EConvertError);
  EXPECT_EQ(o.ItemCount(), 2);

  EXPECT_THROW(lines.SetText("A\n\t\tB\n"), EOutlineError);
  EXPECT_EQ(o.ItemCount(), 2);
  lines.SetText("P\r\n\tQ\rR");
  EXPECT_EQ(OutlineText(o), "P\n\tQ\nR\n");
}

TEST_F(TOutlineStringsTest, UpdateBracketsAreTheOutlines) {
  lines.BeginUpdate();
  EXPECT_TRUE(o.Updating());
  lines.EndUpdate();
  EXPECT_FALSE(o.Updating());
}

}  // namespace
}  // namespace bw
