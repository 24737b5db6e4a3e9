// Storing a grid in a form and reading it back: items, column widths, the outline column,
// the editor options, and what is deliberately not stored.

#include <gtest/gtest.h>

#include <memory>

#include "AllocationProbe.h"
#include "CorvathTestUtil.h"
#include "editor/TGridEditProperties.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"
#include "platform/graphics/TBitmap.h"
#include "tests/support/FormFixture.h"

namespace bw::testing {
namespace {

using Rows = std::vector<String>;

using CorvathStreamingTest = FormFixture<TCorvath>;

TEST_F(CorvathStreamingTest, NewGridDefaults) {
  EXPECT_EQ(Grid->OutlineCol(), 0);
  EXPECT_EQ(Grid->GetColWidths(0), 200);
  for (int32_t i : {2, 3, 4}) {
    ASSERT_NE(Grid->GetPicture(i), nullptr);
    EXPECT_EQ(Grid->GetPicture(i)->Width(), 16);
    EXPECT_EQ(Grid->GetPicture(i)->Height(), 15);
  }
  EXPECT_EQ(Grid->GetPicture(5), nullptr);
  EXPECT_EQ(Grid->GetPicture(-1), nullptr);
  EXPECT_TRUE(Grid->Editor()->GetBitmap()->Empty());
  EXPECT_EQ(Grid->Editor()->ButtonWidth(), 15);
}

TEST_F(CorvathStreamingTest, RoundTripKeepsItemsWidthsOutlineColumnAndEditor) {
  Grid->SetColCount(3);
  Grid->SetColWidths(2, 80);
  Grid->SetRowHeights(1, 40);
  LoadItems(*Grid, "Top\n\tChild\n\t\tGrand\nOther\n");
  Grid->Outline()->Get(1)->SetExpandedState(true);
  Grid->Outline()->UpdateGrid();
  Grid->SetOutlineCol(2);
  TBitmap Glyph;
  Glyph.SetSize(16, 10);
  Grid->Editor()->SetBitmap(&Glyph);
  Grid->Editor()->SetButtonWidth(30);

  const String Text = ComponentToText(Form.get());
  EXPECT_NE(Text.find("ColWidths = (\n      200\n      64\n      80)"), String::npos) << Text;
  EXPECT_EQ(Text.find("RowHeights"), String::npos) << Text;

  for (const String& Data : StoredForms()) {
    TCorvath* Copy = ReadBack(Data);
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->ColCount(), 3);
    EXPECT_EQ(Copy->GetColWidths(0), 200);
    EXPECT_EQ(Copy->GetColWidths(1), 64);
    EXPECT_EQ(Copy->GetColWidths(2), 80);
    EXPECT_EQ(Copy->GetRowHeights(1), Copy->DefaultRowHeight());
    EXPECT_EQ(Copy->OutlineCol(), 2);
    EXPECT_EQ(Copy->Outline()->GetOutlineLines()->Text(), "Top\n\tChild\n\t\tGrand\nOther\n");
    // Loaded built the rows from the items read (all collapsed: the text form keeps no
    // expansion).
    EXPECT_EQ(ShownRows(*Copy), Rows({"Top", "Other"}));
    EXPECT_EQ(Copy->Editor()->GetBitmap()->Width(), 16);
    EXPECT_EQ(Copy->Editor()->ButtonWidth(), 30);
    EXPECT_EQ(Copy->GetPicture(3)->Width(), 16);
  }
}

TEST_F(CorvathStreamingTest, MoreFixedRowsThanTheDefaultReadBack) {
  Grid->SetFixedRows(2);
  for (const char* Items : {"", "A\n\tA1\nB\nC\n"}) {
    LoadItems(*Grid, Items);
    for (const String& Data : StoredForms()) {
      TCorvath* Copy = ReadBack(Data);
      ASSERT_NE(Copy, nullptr);
      EXPECT_EQ(Copy->FixedRows(), 2);
      EXPECT_EQ(Copy->RowCount(), Grid->RowCount()) << Items;
      EXPECT_EQ(ShownRows(*Copy), ShownRows(*Grid)) << Items;
    }
  }
}

TEST_F(CorvathStreamingTest, GridStoredOnItsOwnReadsBack) {
  TCorvath Alone(nullptr);
  Alone.SetName("Alone");
  LoadItems(Alone, "One\n\tTwo\n");
  std::unique_ptr<TComponent> Copy(ComponentFromString(ComponentToText(&Alone)));
  auto* Grid = dynamic_cast<TCorvath*>(Copy.get());
  ASSERT_NE(Grid, nullptr);
  EXPECT_EQ(Grid->Outline()->GetOutlineLines()->Text(), "One\n\tTwo\n");
  EXPECT_EQ(Grid->ComponentCount(), Alone.ComponentCount());
}

TEST_F(CorvathStreamingTest, StoredOutlineColumnMustFitTheStoredColumnCount) {
  Grid->SetColCount(4);
  Grid->SetOutlineCol(3);
  EXPECT_TRUE(
      RefusedSaying(DamagedText("ColCount = 4", "ColCount = 3"), "Grid index out of range"));
}

TEST_F(CorvathStreamingTest, GridWhoseOutlineColumnWasCutOffReadsBack) {
  LoadItems(*Grid, "A\nB\n");
  Grid->SetColCount(4);
  Grid->SetOutlineCol(3);
  Grid->SetColCount(2);  // the tree column is gone; the grid lets that be
  for (const String& Data : StoredForms()) {
    TCorvath* Copy = ReadBack(Data);
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->ColCount(), 2);
    EXPECT_EQ(ShownRows(*Copy), Rows({"A", "B"}));
  }
}

TEST_F(CorvathStreamingTest, ColumnWidthsListMustHoldColCountEntries) {
  Grid->SetColCount(3);
  Grid->SetColWidths(2, 80);
  for (const char* Widths :
       {"(\n      200\n      64)", "(\n      200\n      64\n      80\n      9)"}) {
    const String Bad = DamagedText("ColWidths = (\n      200\n      64\n      80)",
                                   String("ColWidths = ") + Widths);
    EXPECT_THROW(ReadBack(Bad), Exception) << Widths;
  }
}

// A damaged form claims far more columns than its width list holds: the reader refuses it
// having taken memory for the entries that are there, not for the columns claimed.
TEST_F(CorvathStreamingTest, ShortWidthListOfAHugeColumnCountTakesLittleMemory) {
  Grid->SetColCount(3);
  const String Text = DamagedText("ColCount = 3", "ColCount = 50000000");
  const size_t Largest = LargestAllocation([&] { EXPECT_THROW(ReadBack(Text), Exception); });
  EXPECT_LT(Largest, size_t(1) << 20);
}

}  // namespace
}  // namespace bw::testing
