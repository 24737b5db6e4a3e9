#include "GridFixture.h"

#include <climits>

#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"

namespace bw::test {
namespace {

void ExpectOutOfRange(const std::function<void()>& f) {
  try {
    f();
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_STREQ(e.what(), "Grid index out of range");
  }
}

// --- properties and their limits ------------------------------------------------------

TEST_F(GridTest, ClassicDefaults) {
  EXPECT_EQ(Grid->ColCount(), 5);
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_EQ(Grid->FixedCols(), 1);
  EXPECT_EQ(Grid->FixedRows(), 1);
  EXPECT_EQ(Grid->DefaultColWidth(), 64);
  EXPECT_EQ(Grid->DefaultRowHeight(), 24);
  EXPECT_EQ(Grid->GridLineWidth(), 1);
  EXPECT_EQ(Grid->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                           goRangeSelect}));
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 1);
  EXPECT_EQ(Grid->TopRow(), 1);
  EXPECT_EQ(Grid->LeftCol(), 1);
  EXPECT_TRUE(Grid->DefaultDrawing());
  EXPECT_EQ(Grid->FixedColor(), clBtnFace);
  EXPECT_EQ(Grid->ScrollBars(), ssBoth);
}

TEST_F(GridTest, SizeChangedOnlyWhenACountReallyChanges) {
  Grid->SetRowCount(5);
  Grid->SetColCount(5);
  EXPECT_EQ(Grid->SizeChanges, 0);
  Grid->SetRowCount(8);
  EXPECT_EQ(Grid->SizeChanges, 1);
  EXPECT_EQ(Grid->OldSize, (TGridCoord{5, 5}));
  Grid->SetRowCount(8);
  EXPECT_EQ(Grid->SizeChanges, 1);
  Grid->SetColCount(3);
  EXPECT_EQ(Grid->SizeChanges, 2);
  EXPECT_EQ(Grid->OldSize, (TGridCoord{5, 8}));
  // Counts below 1 are 1; no change, no call.
  Grid->SetRowCount(1);
  Grid->SetRowCount(0);
  EXPECT_EQ(Grid->RowCount(), 1);
  EXPECT_EQ(Grid->SizeChanges, 3);
}

TEST_F(GridTest, SizeChangedSeesASettledGridAndMaySetTheCountAgain) {
  // A descendant that resynchronises in SizeChanged sets the count once more.
  int32_t seenRow = -1;
  struct TSyncGrid : TTestGrid {
    using TTestGrid::TTestGrid;
    int32_t* Seen = nullptr;
    void SizeChanged(int32_t c, int32_t r) override {
      TTestGrid::SizeChanged(c, r);
      *Seen = Row();
      SetRowCount(10);  // the synchronised count
    }
  };
  auto* g = new TSyncGrid(Form);
  g->Seen = &seenRow;
  g->SetParent(Form);
  g->SetRow(4);
  g->SetRowCount(3);
  EXPECT_EQ(seenRow, 2);  // the current row was already inside the new count
  EXPECT_EQ(g->RowCount(), 10);
  EXPECT_EQ(g->SizeChanges, 2);
}

TEST_F(GridTest, FixedCountsStayBelowTheCounts) {
  Grid->SetColCount(3);
  Grid->SetFixedCols(2);
  EXPECT_THROW(Grid->SetFixedCols(3), EInvalidGridOperation);
  EXPECT_EQ(Grid->FixedCols(), 2);
  Grid->SetColCount(2);  // lowers FixedCols with it
  EXPECT_EQ(Grid->FixedCols(), 1);
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_THROW(Grid->SetFixedRows(-1), EInvalidGridOperation);
  Grid->SetFixedRows(0);
  EXPECT_EQ(Grid->Row(), 0);
  EXPECT_EQ(Grid->TopRow(), 0);
}

TEST_F(GridTest, IndexesOutOfRangeRaise) {
  ExpectOutOfRange([&] { Grid->GetColWidths(5); });
  ExpectOutOfRange([&] { Grid->SetColWidths(-1, 10); });
  ExpectOutOfRange([&] { Grid->GetRowHeights(5); });
  ExpectOutOfRange([&] { Grid->SetRowHeights(7, 10); });
  ExpectOutOfRange([&] { Grid->SetCol(5); });
  ExpectOutOfRange([&] { Grid->SetRow(-1); });
  ExpectOutOfRange([&] { Grid->SetSelection({1, 1, 9, 1}); });
  ExpectOutOfRange([&] { Grid->MoveColumn(1, 5); });
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridTest, NewDefaultSizesReplaceTheCustomOnes) {
  Grid->SetColWidths(2, 100);
  Grid->SetDefaultColWidth(30);
  EXPECT_EQ(Grid->GetColWidths(2), 30);
  Grid->SetRowHeights(3, -1);
  EXPECT_EQ(Grid->GetRowHeights(3), -1);
  Grid->SetRowHeights(3, -7);  // anything below hidden is hidden
  EXPECT_EQ(Grid->GetRowHeights(3), -1);
}

TEST_F(GridTest, HugeSizesAreCutAndTheGridStaysUsable) {
  Grid->SetColWidths(1, INT32_MAX);
  Grid->SetRowHeights(1, INT32_MAX);
  Grid->SetGridLineWidth(INT32_MAX);
  Grid->SetDefaultColWidth(INT32_MAX);
  EXPECT_EQ(Grid->GetColWidths(2), TGridAxis::MaxSize);
  EXPECT_EQ(Grid->GridLineWidth(), TGridAxis::MaxLineWidth);
  TRect r = Grid->CellRect(0, 0);
  EXPECT_EQ(r.Left, 0);
  EXPECT_EQ(r.Width(), TGridAxis::MaxSize);
  Grid->Key(VK_END, kModCtrl);
  EXPECT_EQ(Grid->Col(), 4);
  EXPECT_EQ(Grid->LeftCol(), 4);
  Application->ProcessMessages();  // and it paints
}

// --- geometry with scrolling and sizes --------------------------------------------------

TEST_F(GridTest, CellRectAndMouseToCellFollowScrollingAndSizes) {
  Grid->SetRowCount(100);
  Grid->SetColCount(20);
  Grid->SetColWidths(2, 100);
  // Both scroll bars take 16 pixels from the 398 x 298 client area (a 1-pixel border).
  EXPECT_EQ(Grid->CellRect(1, 1), Rect(65, 25, 129, 49));
  EXPECT_EQ(Grid->CellRect(2, 1), Rect(130, 25, 230, 49));
  Grid->SetTopRow(10);
  Grid->SetLeftCol(2);
  EXPECT_EQ(Grid->CellRect(2, 10), Rect(65, 25, 165, 49));
  EXPECT_EQ(Grid->CellRect(0, 10), Rect(0, 25, 64, 49));
  EXPECT_TRUE(Grid->CellRect(1, 10).IsEmpty());  // scrolled away to the left
  EXPECT_TRUE(Grid->CellRect(2, 9).IsEmpty());   // and up
  int32_t c = 0, r = 0;
  Grid->MouseToCell(70, 30, c, r);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(r, 10);
  Grid->MouseToCell(166, 49, c, r);  // the grid lines belong to the cell before them
  EXPECT_EQ(c, 3);
  EXPECT_EQ(r, 10);
  Grid->MouseToCell(10, 10, c, r);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(r, 0);
  const int32_t barX = Grid->ClientWidth() - 8;
  Grid->MouseToCell(barX, 30, c, r);  // on the vertical scroll bar
  EXPECT_EQ(c, -1);
  EXPECT_EQ(r, -1);
}

TEST_F(GridTest, ScrollingStopsWhereTheLastRowFillsTheView) {
  Grid->SetRowCount(100);
  Grid->SetTopRow(1000);
  const int32_t last = Grid->TopRow() + Grid->VisibleRowCount() - 1;
  EXPECT_EQ(last, 99);
  Grid->SetTopRow(-5);
  EXPECT_EQ(Grid->TopRow(), 1);
  // A larger view scrolls back so that no blank space shows below the last row.
  Grid->SetTopRow(1000);
  int32_t before = Grid->TopRow();
  Grid->SetHeight(400);
  EXPECT_LT(Grid->TopRow(), before);
  EXPECT_EQ(Grid->TopRow() + Grid->VisibleRowCount() - 1, 99);
}

// --- keyboard navigation ----------------------------------------------------------------

TEST_F(GridTest, ArrowsPagesAndEndsMoveTheCurrentCell) {
  Grid->SetRowCount(1'000'000);
  Grid->Key(VK_DOWN);
  EXPECT_EQ(Grid->Row(), 2);
  const int32_t page = Grid->VisibleRowCount();
  Grid->Key(VK_NEXT);
  EXPECT_EQ(Grid->Row(), 2 + page);
  EXPECT_EQ(Grid->TopRow(), 1 + page);
  Grid->Key(VK_END, kModCtrl);
  EXPECT_EQ(Grid->Row(), 999'999);
  EXPECT_EQ(Grid->Col(), 4);
  EXPECT_EQ(Grid->TopRow() + Grid->VisibleRowCount() - 1, 999'999);
  Grid->Key(VK_HOME);
  EXPECT_EQ(Grid->Col(), 1);
  Grid->Key(VK_HOME, kModCtrl);
  EXPECT_EQ(Grid->Row(), 1);
  EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(GridTest, ShiftExtendsTheSelectionOnlyWithRangeSelect) {
  Grid->Key(VK_DOWN, kModShift);
  Grid->Key(VK_RIGHT, kModShift);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 2}));
  Grid->Key(VK_DOWN);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 3, 2, 3}));
  Grid->SetOptions(Grid->Options() - TGridOptions{goRangeSelect});
  Grid->Key(VK_UP, kModShift);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 2, 2}));
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 4, 2}));
}

TEST_F(GridTest, SelectCellMayRefuseAMove) {
  Grid->OnSelectCell = [](TObject*, int32_t, int32_t ARow, bool& CanSelect) {
    CanSelect = ARow != 2;
  };
  Grid->Key(VK_DOWN);
  EXPECT_EQ(Grid->Row(), 1);
  Grid->SetRow(3);
  EXPECT_EQ(Grid->Row(), 3);
  Grid->SetRow(2);
  EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridTest, ACellThatSelectCellRemovesIsNotMovedTo) {
  Grid->SetRowCount(10);
  Grid->OnSelectCell = [this](TObject*, int32_t, int32_t, bool& CanSelect) {
    Grid->SetRowCount(3);
    CanSelect = true;
  };
  ExpectOutOfRange([this] { Grid->SetRow(8); });
  EXPECT_EQ(Grid->RowCount(), 3);
  EXPECT_EQ(Grid->Row(), 1);
  EXPECT_EQ(Grid->Selection().Bottom, 1);
  // The same when the store of the edited text shrinks the grid.
  Grid->OnSelectCell = nullptr;
  Grid->SetRowCount(10);
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->OnSetEditText = [this](TObject*, int32_t, int32_t, const String&) { Grid->SetRowCount(3); };
  Grid->Type(U"x");
  ExpectOutOfRange([this] { Grid->SetRow(8); });
  EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridTest, TabMovesBetweenCellsOnlyWithGoTabs) {
  Grid->Key(VK_TAB);
  EXPECT_EQ(Grid->Col(), 1);
  Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
  Grid->SetCol(4);
  Grid->Key(VK_TAB);
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 2);
  Grid->Key(VK_TAB, kModShift);
  EXPECT_EQ(Grid->Col(), 4);
  EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridTest, TopLeftChangedOnceForEachScroll) {
  int calls = 0;
  Grid->OnTopLeftChanged = [&](TObject*) { ++calls; };
  Grid->SetRowCount(100);
  Grid->SetTopRow(1);
  EXPECT_EQ(calls, 0);
  Grid->SetTopRow(20);
  EXPECT_EQ(calls, 1);
  Grid->SetRow(5);  // scrolls back to show row 5
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Grid->TopRow(), 5);
}

// --- moving columns and rows --------------------------------------------------------------

TEST_F(GridTest, MovesCarrySizesAndRaiseTheHooks) {
  std::vector<std::pair<int32_t, int32_t>> colMoves, rowMoves;
  Grid->OnColumnMoved = [&](TObject*, int32_t f, int32_t t) { colMoves.emplace_back(f, t); };
  Grid->OnRowMoved = [&](TObject*, int32_t f, int32_t t) { rowMoves.emplace_back(f, t); };
  Grid->SetColWidths(1, 10);
  Grid->SetCol(1);
  Grid->MoveColumn(1, 3);
  EXPECT_EQ(colMoves, (std::vector<std::pair<int32_t, int32_t>>{{1, 3}}));
  EXPECT_EQ(Grid->GetColWidths(3), 10);
  EXPECT_EQ(Grid->GetColWidths(1), 64);
  EXPECT_EQ(Grid->Col(), 3);  // the current column travels with its column
  Grid->SetRowHeights(4, 50);
  Grid->MoveRow(4, 1);
  EXPECT_EQ(rowMoves, (std::vector<std::pair<int32_t, int32_t>>{{4, 1}}));
  EXPECT_EQ(Grid->GetRowHeights(1), 50);
  Grid->MoveRow(2, 2);  // no move, no hook
  EXPECT_EQ(rowMoves.size(), 1u);
  Grid->DeleteRow(1);
  EXPECT_EQ(Grid->RowCount(), 4);
  EXPECT_EQ(Grid->GetRowHeights(1), 24);
}

// --- form storage -----------------------------------------------------------------------

TEST_F(GridTest, ColWidthsAndRowHeightsGoIntoFormFiles) {
  RegisterClass<TTestGrid>();
  Grid->SetColCount(3);
  Grid->SetColWidths(0, 200);
  Grid->SetColWidths(2, 80);
  Grid->SetRowHeights(2, 40);
  String text = ComponentToText(Grid);
  EXPECT_NE(text.find("ColWidths"), String::npos) << text;
  EXPECT_NE(text.find("200"), String::npos) << text;
  auto* copy = new TTestGrid(Form);
  ComponentFromString(text, copy);
  EXPECT_EQ(copy->ColCount(), 3);
  EXPECT_EQ(copy->GetColWidths(0), 200);
  EXPECT_EQ(copy->GetColWidths(1), 64);
  EXPECT_EQ(copy->GetColWidths(2), 80);
  EXPECT_EQ(copy->GetRowHeights(2), 40);
}

TEST_F(GridTest, PublishedPropertiesRoundTripThroughTheTextForm) {
  RegisterClass<TTestGrid>();
  Grid->SetColCount(7);
  Grid->SetRowCount(9);
  Grid->SetFixedCols(2);
  Grid->SetFixedRows(0);
  Grid->SetDefaultRowHeight(18);
  Grid->SetOptions(TGridOptions{goVertLine, goEditing, goTabs, goThumbTracking});
  Grid->SetScrollBars(ssVertical);
  Grid->SetFixedColor(clYellow);
  Grid->SetDefaultDrawing(false);
  Grid->SetGridLineWidth(2);
  String text = ComponentToText(Grid);
  EXPECT_NE(text.find("Options = [goVertLine, goEditing, goTabs, goThumbTracking]"), String::npos)
      << text;
  auto* copy = new TTestGrid(Form);
  ComponentFromString(text, copy);
  EXPECT_EQ(copy->ColCount(), 7);
  EXPECT_EQ(copy->RowCount(), 9);
  EXPECT_EQ(copy->FixedCols(), 2);
  EXPECT_EQ(copy->FixedRows(), 0);
  EXPECT_EQ(copy->DefaultRowHeight(), 18);
  EXPECT_EQ(copy->Options(), Grid->Options());
  EXPECT_EQ(copy->ScrollBars(), ssVertical);
  EXPECT_EQ(copy->FixedColor(), clYellow);
  EXPECT_FALSE(copy->DefaultDrawing());
  EXPECT_EQ(copy->GridLineWidth(), 2);
  // Defaults are left out.
  EXPECT_EQ(ComponentToText(new TTestGrid(Form)).find("ColCount"), String::npos);
}

TEST_F(GridTest, ExtentsStayOutOfFormFilesWhenDefaultOrSwitchedOff) {
  RegisterClass<TTestGrid>();
  EXPECT_EQ(ComponentToText(Grid).find("ColWidths"), String::npos);
  Grid->SetColWidths(1, 99);
  Grid->SetRowHeights(1, 9);
  Grid->SetSaveCellExtents(false);
  String text = ComponentToText(Grid);
  EXPECT_EQ(text.find("ColWidths"), String::npos) << text;
  EXPECT_EQ(text.find("RowHeights"), String::npos) << text;
}

}  // namespace
}  // namespace bw::test
