// Very large grids: with a million columns or a million items, a paint draws only the
// cells on screen, wherever the grid is scrolled to. Counted through DrawCell, not timed.

#include <gtest/gtest.h>

#include <string>

#include "VelloranFixture.h"

namespace bw::testing {
namespace {

class VelloranLimitsTest : public VelloranFixture {
 protected:
  // Every painted cell lies in the fixed rows and columns or in the scrolled window, and
  // there are no more of them than fit on screen.
  void ExpectOnlyVisibleCellsPainted() {
    Grid->Invalidate();
    const auto painted = PaintPending();
    ASSERT_FALSE(painted.empty());
    const int32_t cols = Grid->FixedCols() + Grid->VisibleColCount() + 1;
    const int32_t rows = Grid->FixedRows() + Grid->VisibleRowCount() + 1;
    EXPECT_LE(int32_t(painted.size()), cols * rows);
    for (const auto& [col, row] : painted) {
      EXPECT_TRUE(col < Grid->FixedCols() ||
                  (col >= Grid->LeftCol() && col <= Grid->LeftCol() + Grid->VisibleColCount()))
          << "column " << col;
      EXPECT_TRUE(row < Grid->FixedRows() ||
                  (row >= Grid->TopRow() && row <= Grid->TopRow() + Grid->VisibleRowCount()))
          << "row " << row;
    }
  }
};

TEST_F(VelloranLimitsTest, AMillionColumnsPaintOnlyTheVisibleOnes) {
  Grid->SetColCount(1000000);
  Grid->SetCells(999998, 1, "far");
  ExpectOnlyVisibleCellsPainted();
  Grid->SetLeftCol(999990);
  ExpectOnlyVisibleCellsPainted();
  EXPECT_EQ(Grid->GetCells(999998, 1), "far");
}

TEST_F(VelloranLimitsTest, AMillionItemsPaintOnlyTheVisibleRows) {
  std::string text;
  text.reserve(9000000);
  for (int32_t i = 0; i < 1000000; ++i)
    text += "i" + std::to_string(i) + "\n";
  TStringStream items(text);
  Grid->Outline()->LoadFromStream(&items);
  ASSERT_EQ(Grid->RowCount(), 1000000 + Grid->FixedRows());
  ExpectOnlyVisibleCellsPainted();
  Grid->SetTopRow(Grid->RowCount() - 5);
  ExpectOnlyVisibleCellsPainted();
  EXPECT_EQ(Grid->RowToOutline(Grid->RowCount() - 1)->Text(), "i999999");
}

}  // namespace
}  // namespace bw::testing
