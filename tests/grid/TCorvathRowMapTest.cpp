// The row map: which item each non-fixed row shows, the row count that follows from it,
// and the two row translations, also when the map has gone stale.

#include <gtest/gtest.h>

#include "CorvathTestUtil.h"
#include "platform/core/Exception.h"

namespace bw::testing {
namespace {

using Rows = std::vector<String>;

// A (collapsed) with A1 and A2, A2 with A2a; then B.
const char* const kTree = "A\n\tA1\n\tA2\n\t\tA2a\nB\n";

class RowMapTest : public ::testing::Test {
 protected:
  TestCorvath Grid{nullptr};

  void Toggle(const String& text) {
    TOutlineNode* node = Grid.Outline()->Get(ItemIndex(Grid, text));
    node->SetExpandedState(!node->Expanded());
    Grid.SyncOutline();
  }
};

TEST_F(RowMapTest, NewGridHasNoRowsBuilt) {
  EXPECT_EQ(Grid.RowToOutline(Grid.FixedRows()), nullptr);
  EXPECT_THROW(Grid.RowToOutlineRow(Grid.FixedRows()), EListError);
}

TEST_F(RowMapTest, EmptyOutlineKeepsOneBlankRow) {
  Grid.SetFixedRows(2);
  Grid.SetRowCount(9);
  Grid.SyncOutline();
  EXPECT_EQ(Grid.RowCount(), 3);
  EXPECT_EQ(ShownRows(Grid), Rows({"-"}));
  EXPECT_EQ(Grid.RowToOutline(2), nullptr);
  EXPECT_THROW(Grid.RowToOutlineRow(2), EListError);
}

TEST_F(RowMapTest, CollapsedBranchesHideTheirWholeSubtree) {
  LoadItems(Grid, kTree);
  EXPECT_EQ(Grid.RowCount(), 3);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B"}));

  Toggle("A");
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "A1", "A2", "B"}));
  EXPECT_EQ(Grid.RowCount(), 5);

  Toggle("A2");
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "A1", "A2", "A2a", "B"}));

  // The grandchild stays hidden under a collapsed grandparent even though its own
  // parent is still expanded.
  Toggle("A");
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B"}));
  EXPECT_EQ(Grid.RowCount(), 3);
}

TEST_F(RowMapTest, TranslationsOfFixedRowsAndRowsBeyondTheMap) {
  Grid.SetFixedRows(2);
  LoadItems(Grid, kTree);
  for (int32_t r : {0, 1}) {
    EXPECT_EQ(Grid.RowToOutline(r), nullptr);
    EXPECT_EQ(Grid.RowToOutlineRow(r), r);
  }
  EXPECT_EQ(Grid.RowToOutline(-1), nullptr);
  EXPECT_EQ(Grid.RowToOutlineRow(-3), -3);
  EXPECT_EQ(Grid.RowToOutline(Grid.RowCount()), nullptr);
  EXPECT_EQ(Grid.RowToOutline(INT32_MAX), nullptr);
  EXPECT_THROW(Grid.RowToOutlineRow(Grid.RowCount()), EListError);
  EXPECT_THROW(Grid.RowToOutlineRow(INT32_MAX), EListError);
}

TEST_F(RowMapTest, DataRowsStayWithTheItemWhateverIsCollapsed) {
  LoadItems(Grid, kTree);                         // indexes: A 1, A1 2, A2 3, A2a 4, B 5
  EXPECT_EQ(Grid.RowToOutlineRow(2), 1 + 5 - 1);  // B on the second non-fixed row
  Toggle("A");
  EXPECT_EQ(Grid.RowToOutlineRow(1), 1);
  EXPECT_EQ(Grid.RowToOutlineRow(3), 3);
  EXPECT_EQ(Grid.RowToOutlineRow(4), 5);
}

TEST_F(RowMapTest, StaleMapAfterDirectDeletion) {
  LoadItems(Grid, "A\nB\nC\nD\n");
  ASSERT_EQ(ShownRows(Grid), Rows({"A", "B", "C", "D"}));  // every row looked up once
  // Deleting through the outline's lines does not resynchronise the grid.
  Grid.Outline()->GetOutlineLines()->Delete(0);
  Grid.Outline()->GetOutlineLines()->Delete(0);
  ASSERT_EQ(Grid.RowCount(), 5);
  // Entries 1 and 2 now name C and D; entries 3 and 4 name no item.
  EXPECT_EQ(ShownRows(Grid), Rows({"C", "D", "-", "-"}));
  EXPECT_EQ(Grid.RowToOutlineRow(3), -1);
  EXPECT_EQ(Grid.RowToOutlineRow(4), -1);
  EXPECT_EQ(Grid.RowToOutlineRow(2), 2);

  Grid.Outline()->UpdateGrid();
  EXPECT_EQ(ShownRows(Grid), Rows({"C", "D"}));
}

TEST_F(RowMapTest, RowsLookedUpBeforeADeletionInsideABracketAreNotReused) {
  LoadItems(Grid, "A\n\tA1\nB\nC\n");
  ASSERT_EQ(ShownRows(Grid), Rows({"A", "B", "C"}));
  Grid.Outline()->BeginUpdate();
  Grid.Outline()->Delete(ItemIndex(Grid, "A"));
  // The map still names indexes 1, 3 and 4; index 1 is now B.
  EXPECT_EQ(ShownRows(Grid), Rows({"B", "-", "-"}));
  Grid.Outline()->Insert(1, "Z");
  EXPECT_EQ(ShownRows(Grid), Rows({"Z", "C", "-"}));
  Grid.Outline()->EndUpdate();
  EXPECT_EQ(ShownRows(Grid), Rows({"Z", "B", "C"}));

  // Expanding directly on a node shows nothing new until the next resynchronisation, but
  // a row already shown keeps its item.
  Grid.Outline()->AddChild(ItemIndex(Grid, "B"), "B1");
  Grid.Outline()->Get(ItemIndex(Grid, "B"))->SetExpandedState(true);
  EXPECT_EQ(ShownRows(Grid), Rows({"Z", "B", "C"}));
}

TEST_F(RowMapTest, NewFixedRowCountKeepsEveryItemShown) {
  LoadItems(Grid, "A\nB\nC\n");
  Grid.SetFixedRows(2);
  EXPECT_EQ(Grid.RowCount(), 5);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B", "C"}));
  Grid.SetFixedRows(0);
  EXPECT_EQ(Grid.RowCount(), 3);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B", "C"}));
}

TEST_F(RowMapTest, RowCountSetFromOutsideSnapsBack) {
  LoadItems(Grid, kTree);
  Grid.SetRowCount(40);
  EXPECT_EQ(Grid.RowCount(), 3);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B"}));
}

TEST_F(RowMapTest, EveryPathResynchronisesThroughTheOverride) {
  LoadItems(Grid, kTree);
  Grid.Syncs = 0;
  Grid.SetColCount(7);  // SizeChanged
  EXPECT_EQ(Grid.Syncs, 1);

  // The hidden outline's own double-click toggles its selected item and tells the grid.
  Grid.Syncs = 0;
  Grid.HiddenOutline()->SetSelectedItem(ItemIndex(Grid, "A"));
  Grid.HiddenOutline()->DblClick();
  EXPECT_GE(Grid.Syncs, 1);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "A1", "A2", "B"}));
  // At design time the outline still toggles its item, but the grid is not told.
  Grid.Syncs = 0;
  Grid.HiddenOutline()->SetDesigning(true);
  Grid.HiddenOutline()->DblClick();
  EXPECT_EQ(Grid.Syncs, 0);
  Grid.HiddenOutline()->SetDesigning(false);

  // A change of the row count comes back once through SizeChanged; the nested run sets
  // the same count and stops there.
  Grid.Syncs = 0;
  Grid.Outline()->Add(0, "C");
  EXPECT_EQ(Grid.Syncs, 2);
  EXPECT_EQ(ShownRows(Grid), Rows({"A", "B", "C"}));
  Grid.Syncs = 0;
  Grid.SyncOutline();
  EXPECT_EQ(Grid.Syncs, 1);
}

}  // namespace
}  // namespace bw::testing
