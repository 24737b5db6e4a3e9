// Row and column views: they agree with the cells both ways, count live, and Add, Clear
// and Assign behave as a fixed-length list over the grid.

#include "VelloranFixture.h"
#include "platform/core/Exception.h"
#include "platform/core/TStringList.h"
#include "stringgrid/TVelloranStrings.h"

namespace bw::testing {
namespace {

class VelloranStringsTest : public VelloranFixture {};

TEST_F(VelloranStringsTest, ViewsAgreeWithCellsBothWays) {
  TStrings* Row = Grid->GetRows(4);
  TStrings* Col = Grid->GetCols(2);
  EXPECT_EQ(Grid->GetRows(4), Row);  // one view per data row, kept
  Grid->SetCells(2, 4, "b2");
  Grid->SetObjects(3, 4, Grid);
  EXPECT_EQ(Row->Get(2), "b2");
  EXPECT_EQ(Col->Get(4), "b2");
  EXPECT_EQ(Row->GetObject(3), Grid);

  Row->Put(1, "b1");
  Col->Put(0, "head");
  Col->PutObject(5, Grid);
  EXPECT_EQ(Grid->GetCells(1, 4), "b1");
  EXPECT_EQ(Grid->GetCells(2, 0), "head");
  EXPECT_EQ(Grid->GetObjects(2, 5), Grid);
  EXPECT_EQ(Row->IndexOf("B2"), 2);  // list operations run on the cells

  // Counts are read live: a row counts columns, a column every data row, hidden items too.
  EXPECT_EQ(Row->GetCount(), 5);
  EXPECT_EQ(Col->GetCount(), 1 + 5);
  Grid->SetColCount(7);
  Grid->Outline()->Add(0, "C");
  EXPECT_EQ(Row->GetCount(), 7);
  EXPECT_EQ(Col->GetCount(), 1 + 6);

  // Entries past the count still reach their cells; a negative one does not.
  Row->Put(20, "far");
  EXPECT_EQ(Grid->GetCells(20, 4), "far");
  EXPECT_EQ(Row->Get(-1), "");
  EXPECT_THROW(Row->Put(-1, "x"), EListError);
  EXPECT_THROW(Col->Get(-1), EListError);
}

TEST_F(VelloranStringsTest, ViewsTakeNoInsertionOrDeletion) {
  TStrings* Row = Grid->GetRows(1);
  Row->Put(0, "keep");
  EXPECT_THROW(Row->Insert(0, "x"), EAbstractError);
  EXPECT_THROW(Row->Delete(0), EAbstractError);
  EXPECT_EQ(Grid->GetCells(0, 1), "keep");

  TVelloranStrings Nothing(Grid, 0);
  int32_t X = 0, Y = 0;
  Nothing.CalcXY(3, X, Y);
  EXPECT_EQ(X, -1);
  EXPECT_EQ(Y, -1);
  EXPECT_EQ(Nothing.GetCount(), 0);
  EXPECT_EQ(Nothing.Add("x"), -1);
}

TEST_F(VelloranStringsTest, AddFillsTheFirstEntryWithoutText) {
  TStrings* Row = Grid->GetRows(2);
  Row->Put(0, "a");
  Row->PutObject(1, Grid);
  EXPECT_EQ(Row->Add("b"), 1);  // an entry holding only an object counts as empty
  EXPECT_EQ(Grid->GetObjects(1, 2), Grid);
  EXPECT_EQ(Row->Add("c"), 2);

  TStrings* Col = Grid->GetCols(3);
  for (int32_t i = 0; i < Col->GetCount(); ++i)
    EXPECT_EQ(Col->Add(String("x").append(std::to_string(i))), i);
  EXPECT_EQ(Col->Add("more"), -1);  // full: nothing stored
  EXPECT_EQ(Grid->GetCells(3, 6), "");
}

TEST_F(VelloranStringsTest, ClearEmptiesTextAndKeepsObjects) {
  TStrings* Row = Grid->GetRows(3);
  Row->Put(0, "a");
  Row->Put(2, "b");
  Row->PutObject(2, Grid);
  Row->Put(9, "far");
  PaintPending();
  Row->Clear();
  EXPECT_EQ(Grid->GetCells(0, 3), "");
  EXPECT_EQ(Grid->GetCells(2, 3), "");
  EXPECT_EQ(Grid->GetObjects(2, 3), Grid);
  EXPECT_EQ(Grid->GetCells(9, 3), "");

  // A column view empties every data row of the column.
  TStrings* Col = Grid->GetCols(1);
  for (int32_t D = 0; D < 6; ++D)
    Grid->SetCells(1, D, "t");
  Grid->SetObjects(1, 5, Grid);
  Grid->SetCells(1, 6, "past the items");
  Col->Clear();
  for (int32_t D = 0; D < 6; ++D)
    EXPECT_EQ(Grid->GetCells(1, D), "");
  EXPECT_EQ(Grid->GetObjects(1, 5), Grid);
  EXPECT_EQ(Grid->GetCells(1, 6), "past the items");
}

TEST_F(VelloranStringsTest, AssignCopiesAsManyEntriesAsTheViewHasInOneBatch) {
  TStringList Long;
  for (int32_t i = 0; i < 9; ++i)
    Long.AddObject(String("L").append(std::to_string(i)), i == 1 ? Grid : nullptr);
  PaintPending();
  Grid->FullInvalidations = 0;
  Grid->SetRows(1, &Long);
  EXPECT_EQ(Grid->FullInvalidations, 1);
  EXPECT_EQ(Grid->GetRows(1)->CommaText(), "L0,L1,L2,L3,L4");
  EXPECT_EQ(Grid->GetObjects(1, 1), Grid);
  EXPECT_EQ(Grid->GetCells(5, 1), "");

  TStringList Short;
  Short.Add("s0");
  Short.Add("");
  Grid->SetCols(2, &Short);
  EXPECT_EQ(Grid->GetCells(2, 0), "s0");
  EXPECT_EQ(Grid->GetCells(2, 1), "");
  EXPECT_EQ(Grid->GetCells(2, 2), "");
  Grid->SetCells(2, 3, "kept");
  Grid->SetCols(2, &Short);
  EXPECT_EQ(Grid->GetCells(2, 3), "kept");

  // A view copies from a view, and gives anything else to the base.
  Grid->GetCols(3)->Assign(Grid->GetRows(1));
  EXPECT_EQ(Grid->GetCells(3, 4), "L4");
  EXPECT_THROW(Grid->GetCols(3)->Assign(nullptr), Exception);
  EXPECT_THROW(Grid->GetCols(3)->Assign(Grid->Outline()), Exception);
}

TEST_F(VelloranStringsTest, TextOfAViewLoadsIntoItsCells) {
  TStrings* Col = Grid->GetCols(4);
  Col->SetText("h\na\na1\n");
  EXPECT_EQ(Grid->GetCells(4, 0), "h");
  EXPECT_EQ(Grid->GetCells(4, 2), "a1");
  EXPECT_EQ(Col->Text(), "h\na\na1\n\n\n\n");
}

}  // namespace
}  // namespace bw::testing
