// The cell store: cells stay with their data row whatever the outline does, empty cells
// take no entry, changed cells repaint where they are shown, update batches, and moving
// columns and rows.

#include "VelloranFixture.h"
#include "bench/HeapInUse.h"
#include "platform/core/Exception.h"
#include "sparse/TStringSparseList.h"

namespace bw::testing {
namespace {

using Cells = std::set<std::pair<int32_t, int32_t>>;

using Texts = std::vector<String>;

class VelloranStoreTest : public VelloranFixture {
 protected:
  /// Cells of column ACol in data rows 0 to 5.
  Texts Column(int32_t ACol) {
    Texts T;
    for (int32_t D = 0; D <= 5; ++D)
      T.push_back(Grid->GetCells(ACol, D));
    return T;
  }
};

struct Watched : TObject {
  explicit Watched(bool& AFreed) : Freed(AFreed) {}
  ~Watched() override { Freed = true; }
  bool& Freed;
};

TEST_F(VelloranStoreTest, CellsStayWithTheirDataRowWhateverTheOutlineDoes) {
  for (int32_t D = 0; D <= 5; ++D)
    Grid->SetCells(1, D, "d" + std::to_string(D));
  ASSERT_EQ(Shown(1, 2), "d4");  // B, with A collapsed above it

  SetExpanded("A", true);
  EXPECT_EQ(Shown(1, 2), "d2");  // A1
  EXPECT_EQ(Shown(1, 4), "d4");  // B
  SetExpanded("A", false);
  EXPECT_EQ(Shown(1, 2), "d4");
  for (int32_t D = 0; D <= 5; ++D)
    EXPECT_EQ(Grid->GetCells(1, D), "d" + std::to_string(D));

  // The cells stay with the number: a new first item takes data row 1's cells, and B,
  // now item 5, shows data row 5's.
  Grid->Outline()->Insert(1, "New");
  EXPECT_EQ(Shown(1, 1), "d1");
  EXPECT_EQ(Shown(1, 3), "d5");
  Grid->Outline()->Delete(1);
  EXPECT_EQ(Shown(1, 2), "d4");

  // Another fixed row reads the same rows under the new numbering.
  Grid->SetFixedRows(2);
  EXPECT_EQ(Grid->RowToOutlineRow(1), 1);
  EXPECT_EQ(Shown(1, 2), "d2");  // A is data row 2 now
  for (int32_t D = 0; D <= 5; ++D)
    EXPECT_EQ(Grid->GetCells(1, D), "d" + std::to_string(D));
}

TEST_F(VelloranStoreTest, EmptyCellsTakeNoEntryAndObjectsStayTheCallers) {
  EXPECT_EQ(Grid->GetCells(3, 7), "");
  EXPECT_EQ(Grid->GetObjects(3, 7), nullptr);
  EXPECT_EQ(Grid->GetCells(-1, 7), "");  // no data row list: the column is not looked at

  bool Freed = false;
  auto* Object = new Watched(Freed);
  Grid->SetObjects(2, 3, Object);
  Grid->SetCells(2, 3, "text");
  Grid->SetCells(2, 3, "");
  EXPECT_EQ(Grid->GetObjects(2, 3), Object);  // an object keeps its cell
  TStringSparseList* Row = Grid->EnsureDataRow(3);
  EXPECT_EQ(Row->GetCount(), 3);

  // Taking the object out of a cell without text empties the cell: no entry is left.
  Grid->SetObjects(2, 3, nullptr);
  EXPECT_EQ(Row->GetCount(), 0);
  Grid->SetCells(4, 3, "x");
  Grid->SetCells(4, 3, "");
  EXPECT_EQ(Row->GetCount(), 0);
  EXPECT_EQ(Grid->EnsureDataRow(3), Row);  // the list stays

  Grid->SetObjects(1, 1, Object);
  Grid->GetRows(1)->Clear();
  Grid->GetCols(1)->Clear();
  delete Grid;
  Grid = nullptr;
  EXPECT_FALSE(Freed);
  delete Object;
}

// A grid emptied cell by cell, or through its column views, holds what it held before it
// was filled, give or take the record of which rows exist and the blocks the heap keeps
// at hand for reuse.
TEST_F(VelloranStoreTest, EmptiedCellsGiveTheirMemoryBack) {
  Grid->SetColCount(5);
  Grid->Outline()->BeginUpdate();
  for (int32_t I = 0; I < 10'000; ++I)
    Grid->Outline()->Add(0, "i");
  Grid->Outline()->EndUpdate();
  auto Fill = [&](bool Text) {
    for (int32_t R = 1; R <= 10'000; ++R)
      for (int32_t C = 1; C <= 4; ++C)  // 40,000 short texts
        Grid->SetCells(C, R, Text ? "cell " + std::to_string(R * C) : String());
  };
  const size_t Empty = bench::HeapInUse();
  Fill(true);
  const size_t Full = bench::HeapInUse();
  Fill(false);
  const size_t OneByOne = bench::HeapInUse();
  Fill(true);
  for (int32_t C = 1; C <= 4; ++C)
    Grid->GetCols(C)->Clear();
  EXPECT_LT(bench::HeapInUse(), Empty + (Full - Empty) / 10);
  EXPECT_LT(OneByOne, Empty + (Full - Empty) / 10);
}

TEST_F(VelloranStoreTest, NegativeIndexesRaiseAndStoreNothing) {
  EXPECT_THROW(Grid->GetCells(0, -1), EListError);
  EXPECT_THROW(Grid->SetCells(0, -1, "x"), EListError);
  EXPECT_THROW(Grid->SetObjects(0, -1, Grid), EListError);
  EXPECT_THROW(Grid->GetCols(-1), EListError);
  EXPECT_THROW(Grid->GetRows(-1), EListError);
  EXPECT_THROW(Grid->SetCells(-1, 2, "x"), EListError);
  EXPECT_THROW(Grid->SetCells(-1, 2, ""), EListError);
  EXPECT_THROW(Grid->SetObjects(-1, 2, nullptr), EListError);
  EXPECT_EQ(Grid->EnsureDataRow(2)->GetCount(), 0);
  EXPECT_THROW(Grid->GetCells(-1, 2), EListError);
}

TEST_F(VelloranStoreTest, AChangedCellRepaintsWhereItsDataRowIsShown) {
  PaintPending();
  // B is data row 4 but shows on visual row 2, below the collapsed A.
  Grid->SetCells(2, 4, "b");
  EXPECT_EQ(PaintPending(), Cells({{2, 2}}));
  // A1 is hidden: nothing to repaint. So is a data row past the items.
  Grid->SetCells(2, 2, "a1");
  Grid->SetObjects(2, 9, Grid);
  EXPECT_EQ(PaintPending(), Cells{});
  Grid->SetCells(3, 0, "head");
  EXPECT_EQ(PaintPending(), Cells({{3, 0}}));

  SetExpanded("A", true);
  PaintPending();
  Grid->SetCells(2, 2, "a1!");
  EXPECT_EQ(PaintPending(), Cells({{2, 2}}));

  // Without items the one blank row below the fixed row shows no data row.
  Grid->Outline()->Clear();
  PaintPending();
  Grid->SetCells(2, 1, "none");
  EXPECT_EQ(PaintPending(), Cells{});
  Grid->SetCells(2, 0, "head");
  EXPECT_EQ(PaintPending(), Cells({{2, 0}}));
}

TEST_F(VelloranStoreTest, AChangedCellRepaintsOnlyWhileItsRowIsOnScreen) {
  Grid->Outline()->BeginUpdate();
  for (int i = 0; i < 100; ++i)
    Grid->Outline()->Add(0, "More " + std::to_string(i));
  Grid->Outline()->EndUpdate();
  Grid->Outline()->FullExpand();  // every row shows its own data row from here on
  // The cells a write of data row D repaints.
  auto Repainted = [&](int32_t D) {
    PaintPending();
    Grid->SetCells(2, D, "x" + std::to_string(D));
    return PaintPending();
  };

  Grid->SetTopRow(50);
  const int32_t Last = Grid->TopRow() + Grid->VisibleRowCount() - 1;
  EXPECT_EQ(Repainted(50), Cells({{2, 50}}));
  EXPECT_EQ(Repainted(Last), Cells({{2, Last}}));
  EXPECT_EQ(Repainted(49), Cells{});
  EXPECT_EQ(Repainted(Last + 2), Cells{});
  EXPECT_EQ(Repainted(0), Cells({{2, 0}}));

  // Scrolled, and then made shorter: the rows on screen are worked out anew.
  Grid->SetTopRow(20);
  EXPECT_EQ(Repainted(20), Cells({{2, 20}}));
  EXPECT_EQ(Repainted(50), Cells{});
  Grid->SetHeight(Grid->DefaultRowHeight() * 4);
  EXPECT_EQ(Repainted(21), Cells({{2, 21}}));
  EXPECT_EQ(Repainted(30), Cells{});
  // A row grown to the height of the view pushes the next one off the screen, and shrunk
  // again lets it back.
  Grid->SetRowHeights(20, Grid->DefaultRowHeight() * 4);
  EXPECT_EQ(Repainted(21), Cells{});
  EXPECT_EQ(Repainted(20), Cells({{2, 20}}));
  Grid->SetRowHeights(20, Grid->DefaultRowHeight());
  EXPECT_EQ(Repainted(21), Cells({{2, 21}}));
}

TEST_F(VelloranStoreTest, WhichRowShowsAChangedCellFollowsEveryChangeOfTheRows) {
  auto Repainted = [&](int32_t D) {
    PaintPending();
    Grid->SetCells(2, D, "x" + std::to_string(D));
    return PaintPending();
  };
  TGridOutlineProperties* Outline = Grid->Outline();
  Outline->AddChild(Outline->GetTextItem("B"), "B2");  // data rows: A1 2, A2 3, B 4, B1 5, B2 6
  EXPECT_EQ(Repainted(4), Cells({{2, 2}}));            // B, below the collapsed A
  SetExpanded("A", true);
  EXPECT_EQ(Repainted(4), Cells({{2, 4}}));
  // Rows rebuilt to as many as before: A closes as B, as long, opens.
  Outline->Get(Outline->GetTextItem("A"))->SetExpandedState(false);
  Outline->Get(Outline->GetTextItem("B"))->SetExpandedState(true);
  Outline->UpdateGrid();
  EXPECT_EQ(Repainted(4), Cells({{2, 2}}));
  EXPECT_EQ(Repainted(6), Cells({{2, 4}}));
  // A second fixed row: data rows are counted from it, item B2 is data row 7 now.
  Grid->SetFixedRows(2);
  EXPECT_EQ(Repainted(1), Cells({{2, 1}}));
  EXPECT_EQ(Repainted(7), Cells({{2, 5}}));
  // An item deleted in a batch leaves its row without a data row until the rows are
  // rebuilt; its cells are not repainted there, and the rebuilt rows show them again.
  Outline->BeginUpdate();
  Outline->Delete(Outline->GetTextItem("B2"));
  EXPECT_EQ(Repainted(7), Cells{});
  EXPECT_EQ(Repainted(6), Cells({{2, 4}}));
  Outline->Add(0, "C");
  Outline->EndUpdate();
  EXPECT_EQ(Repainted(7), Cells({{2, 5}}));
}

TEST_F(VelloranStoreTest, AnOpenEditorReloadsWhenItsOwnCellChanges) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->SetCol(2);
  Grid->SetRow(2);  // B, data row 4
  Grid->SetFocus();
  Grid->ShowEditor();
  ASSERT_TRUE(Grid->EditorMode());

  Grid->SetCells(2, 4, "new");
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "new");
  // Data row 2 is A1 (hidden), whatever the number of the editor's row.
  Grid->SetCells(2, 2, "other");
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "new");
  Grid->SetCells(3, 4, "next column");
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "new");
  Grid->DisableEditUpdate();
  Grid->SetCells(2, 4, "held");
  Grid->EnableEditUpdate();
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "new");
  // A child added under the closed branch above moves B to data row 5: the editor takes
  // up that cell and stores nothing it did not load from it.
  Grid->SetCells(2, 5, "B1's");
  Grid->Outline()->AddChild(1, "A3");
  Grid->HideEditor();
  EXPECT_EQ(Column(2), Texts({"", "", "other", "", "held", "B1's"}));
}

TEST_F(VelloranStoreTest, AnUpdateBatchRepaintsOnceAndOnlyAfterAWrite) {
  PaintPending();
  Grid->FullInvalidations = 0;
  TStrings* Col = Grid->GetCols(2);
  Col->BeginUpdate();
  Col->BeginUpdate();
  Grid->SetCells(2, 1, "a");
  Col->Put(4, "b");
  Grid->GetRows(0)->Put(3, "c");
  Col->EndUpdate();
  EXPECT_EQ(PaintPending(), Cells{});
  EXPECT_EQ(Grid->FullInvalidations, 0);
  Col->EndUpdate();
  EXPECT_EQ(Grid->FullInvalidations, 1);
  PaintPending();

  Grid->FullInvalidations = 0;
  Col->BeginUpdate();
  Col->EndUpdate();
  EXPECT_EQ(Grid->FullInvalidations, 0);
  EXPECT_EQ(PaintPending(), Cells{});
}

TEST_F(VelloranStoreTest, MovingAColumnMovesItsCellsInEveryDataRow) {
  bool Freed = false;
  Watched Object(Freed);
  for (int32_t D : {0, 3, 40}) {
    Grid->SetCells(1, D, "one");
    Grid->SetCells(2, D, "two");
    Grid->SetObjects(4, D, &Object);
  }
  int32_t From = -1, To = -1;
  Grid->OnColumnMoved = TMovedEvent([&](TObject*, int32_t F, int32_t T) { From = F, To = T; });
  Grid->MoveColumn(1, 3);
  for (int32_t D : {0, 3, 40}) {
    EXPECT_EQ(Grid->GetCells(1, D), "two");
    EXPECT_EQ(Grid->GetCells(2, D), "");
    EXPECT_EQ(Grid->GetCells(3, D), "one");
    EXPECT_EQ(Grid->GetObjects(4, D), &Object);
  }
  EXPECT_EQ(From, 1);
  EXPECT_EQ(To, 3);
  // An empty cell moved takes no entry where it lands.
  Grid->MoveColumn(2, 4);
  EXPECT_EQ(Grid->GetObjects(3, 0), &Object);
  EXPECT_EQ(Grid->EnsureDataRow(0)->GetCount(), 4);
  Grid->MoveColumn(0, 4);
  EXPECT_EQ(Grid->GetObjects(2, 0), &Object);
  EXPECT_EQ(Grid->EnsureDataRow(0)->GetCount(), 3);
}

TEST_F(VelloranStoreTest, MovingARowMovesTheCellsOfTheRowsShown) {
  for (int32_t D = 1; D <= 5; ++D)
    Grid->SetCells(1, D, "d" + std::to_string(D));
  int32_t From = -1, To = -1;
  Grid->OnRowMoved = TMovedEvent([&](TObject*, int32_t F, int32_t T) { From = F, To = T; });

  // All expanded, visual rows are data rows: data row 1 goes to 4, 2 to 4 move up.
  Grid->Outline()->FullExpand();
  Grid->MoveRow(1, 4);
  EXPECT_EQ(Column(1), Texts({"", "d2", "d3", "d4", "d1", "d5"}));
  EXPECT_EQ(From, 1);
  EXPECT_EQ(To, 4);

  // With A collapsed, rows 1 and 2 show data rows 1 and 4: those two trade cells, A's
  // hidden children keep theirs.
  SetExpanded("A", false);
  Grid->MoveRow(2, 1);
  EXPECT_EQ(Column(1), Texts({"", "d1", "d3", "d4", "d2", "d5"}));
  // The item texts stay where they were.
  EXPECT_EQ(Grid->RowToOutline(1)->Text(), "A");
}

}  // namespace
}  // namespace bw::testing
