// The Outline object: forwarding to the hidden outline, resynchronisation after each
// change (also a failed one), and the update bracket.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "CorvathTestUtil.h"
#include "platform/core/TStringList.h"
#include "platform/outline/EOutlineError.h"

namespace bw::testing {
namespace {

using Rows = std::vector<String>;

class OutlinePropertiesTest : public ::testing::Test {
 protected:
  TestCorvath Grid{nullptr};
  TGridOutlineProperties* Outline() { return Grid.Outline(); }
};

TEST_F(OutlinePropertiesTest, AddOnAnEmptyGridShowsTheItemAtOnce) {
  EXPECT_EQ(Outline()->Add(0, "First"), 1);
  EXPECT_EQ(Grid.RowCount(), Grid.FixedRows() + 1);
  EXPECT_EQ(ShownRows(Grid), Rows({"First"}));
}

TEST_F(OutlinePropertiesTest, ForwardedCallsReturnTheOutlinesResults) {
  int Data = 0;
  const int32_t a = Outline()->Add(0, "A");
  const int32_t c = Outline()->AddChildObject(a, "C", &Data);
  Outline()->Insert(a, "Z");
  Outline()->AddChild(Outline()->GetTextItem("A"), "D");
  Outline()->InsertObject(1, "Y", nullptr);
  Outline()->AddObject(1, "X", nullptr);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(Outline()->GetItemCount(), 6);
  EXPECT_EQ(Outline()->GetDataItem(&Data), Outline()->GetTextItem("C"));
  EXPECT_EQ(Outline()->Get(1)->Text(), "Y");
  EXPECT_EQ(Outline()->GetOutlineLines()->Text(), "Y\nZ\nA\n\tC\n\tD\nX\n");
  EXPECT_EQ(ShownRows(Grid), Rows({"Y", "Z", "A", "X"}));

  Outline()->FullExpand();
  EXPECT_EQ(ShownRows(Grid), Rows({"Y", "Z", "A", "C", "D", "X"}));
  Outline()->FullCollapse();
  EXPECT_EQ(ShownRows(Grid), Rows({"Y", "Z", "A", "X"}));
  Outline()->Delete(Outline()->GetTextItem("A"));
  EXPECT_EQ(ShownRows(Grid), Rows({"Y", "Z", "X"}));
  Outline()->Clear();
  EXPECT_EQ(ShownRows(Grid), Rows({"-"}));
}

TEST_F(OutlinePropertiesTest, BracketsResynchroniseOnceAtTheOutermostEnd) {
  Grid.Syncs = 0;
  Outline()->BeginUpdate();
  Outline()->BeginUpdate();
  Outline()->Add(0, "A");
  Outline()->Add(0, "B");
  Outline()->Add(0, "C");
  EXPECT_EQ(Grid.Syncs, 0);
  Outline()->EndUpdate();
  EXPECT_EQ(Grid.Syncs, 0);
  EXPECT_EQ(Outline()->UpdateCount(), 1);
  Outline()->EndUpdate();
  // One resynchronisation, plus the nested run that the new row count causes.
  EXPECT_EQ(Grid.Syncs, 2);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B", "C"}));

  // An EndUpdate without its BeginUpdate leaves the grid alone.
  Grid.Syncs = 0;
  Outline()->EndUpdate();
  EXPECT_EQ(Grid.Syncs, 0);
  EXPECT_EQ(Outline()->UpdateCount(), 0);
}

TEST_F(OutlinePropertiesTest, UpdateStateResynchronisesWhenItEnds) {
  Outline()->Add(0, "A");
  Grid.Syncs = 0;
  Outline()->SetUpdateState(true);
  EXPECT_EQ(Grid.Syncs, 0);
  Outline()->SetUpdateState(false);
  EXPECT_EQ(Grid.Syncs, 1);
}

TEST_F(OutlinePropertiesTest, DirectChangesWaitForUpdateGrid) {
  Outline()->Add(0, "A");
  Outline()->AddChild(1, "A1");
  Grid.Syncs = 0;
  Outline()->Get(1)->SetExpandedState(true);
  Outline()->Get(1)->SetText("Renamed");
  Outline()->GetOutlineLines()->Add("B");
  EXPECT_EQ(Grid.Syncs, 0);
  EXPECT_EQ(ShownRows(Grid), Rows({"Renamed"}));
  Outline()->UpdateGrid();
  EXPECT_EQ(ShownRows(Grid), Rows({"Renamed", "A1", "B"}));
}

TEST_F(OutlinePropertiesTest, FailedChangesStillResynchronise) {
  Outline()->Add(0, "A");
  Outline()->GetOutlineLines()->Add("B");  // not yet shown
  Grid.Syncs = 0;
  EXPECT_THROW(Outline()->Delete(99), EOutlineError);
  EXPECT_GE(Grid.Syncs, 1);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B"}));

  // A bad text leaves the items as they were, and the rows agree with them.
  TStringStream bad("A\n\t\tToo deep\n");
  EXPECT_THROW(Outline()->LoadFromStream(&bad), EOutlineError);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B"}));
}

TEST_F(OutlinePropertiesTest, FileRoundTripKeepsTextsLevelsAndOrder) {
  LoadItems(Grid, "Top\n\tMiddle\n\t\tLeaf\n\tSecond\nOther\n");
  const String Path =
      (std::filesystem::temp_directory_path() / "corvath_outline_roundtrip.txt").string();
  Outline()->SaveToFile(Path);

  TestCorvath Other(nullptr);
  Other.Outline()->LoadFromFile(Path);
  std::remove(Path.c_str());
  EXPECT_EQ(Other.Outline()->GetOutlineLines()->Text(), Outline()->GetOutlineLines()->Text());
  EXPECT_EQ(ShownRows(Other), Rows({"Top", "Other"}));

  // Assigning lines replaces the items and resynchronises.
  TStringList Lines;
  Lines.Add("One");
  Lines.Add("Two");
  Outline()->SetOutlineLines(&Lines);
  EXPECT_EQ(ShownRows(Grid), Rows({"One", "Two"}));
}

}  // namespace
}  // namespace bw::testing
