// Working the tree with scripted mouse and keyboard input: double-clicks that expand and
// collapse, the click that selects a row, the editor's refusal of the outline column and
// of filtered characters, and the range of OutlineCol.

#include "GridFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/grids/EInvalidGridOperation.h"
#include "platform/grids/TInplaceEdit.h"

namespace bw::testing {
namespace {

using Rows = std::vector<String>;

class CorvathInteractionTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    LoadItems(*Grid, "A\n\tA1\n\tA2\nB\n\tB1\n");
    Grid->OnDblClick = TNotifyEvent([this](TObject*) { ++DblClicks; });
    Paint();
  }

  void DoubleClick(int32_t ACol, int32_t ARow) {
    THeadlessInput::DoubleClick(Grid, CellCenter(ACol, ARow));
  }

  int DblClicks = 0;
};

TEST_F(CorvathInteractionTest, DoubleClickExpandsAndCollapsesAndClosesTheEditor) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->SetCol(2);
  Grid->SetRow(2);
  Grid->ShowEditor();
  ASSERT_TRUE(Grid->EditorMode());

  DoubleClick(0, 1);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_EQ(DblClicks, 1);

  DoubleClick(0, 1);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(Grid->RowCount(), 3);
  EXPECT_EQ(DblClicks, 2);

  // A leaf toggles nothing that shows.
  DoubleClick(0, 2);
  DoubleClick(0, 3);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B", "B1"}));
  EXPECT_EQ(DblClicks, 4);
}

TEST_F(CorvathInteractionTest, DoubleClicksOutsideTheItemsToggleNothing) {
  DoubleClick(2, 1);  // another column
  DoubleClick(0, 0);  // the fixed row
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(DblClicks, 2);

  // A double-click in the editor (selecting a word) is one on the editor's cell, whatever
  // outline cell was pressed last.
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  THeadlessInput::Click(Grid, CellCenter(0, 1));
  Grid->SetFocus();
  THeadlessInput::Type("ab");
  ASSERT_TRUE(Grid->EditorMode());
  THeadlessInput::DoubleClick(Grid->InplaceEditor(), TPoint{5, 5});
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_TRUE(Grid->EditorMode());
  EXPECT_EQ(DblClicks, 3);
  THeadlessInput::Key(VK_ESCAPE);

  Grid->Outline()->Clear();
  DoubleClick(0, 1);  // the blank row of an empty outline
  EXPECT_EQ(ShownRows(*Grid), Rows({"-"}));
  EXPECT_EQ(DblClicks, 4);
}

TEST_F(CorvathInteractionTest, DoubleClickAtDesignTimeTogglesNothing) {
  Grid->SetDesigning(true);
  DoubleClick(0, 1);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_FALSE(Grid->Outline()->Get(1)->Expanded());
}

TEST_F(CorvathInteractionTest, ClickInTheOutlineColumnSelectsTheRow) {
  // The outline column is the fixed column here, where the grid itself selects nothing.
  ASSERT_EQ(Grid->FixedCols(), 1);
  ASSERT_EQ(Grid->Row(), 1);
  THeadlessInput::Click(Grid, CellCenter(0, 2));
  EXPECT_EQ(Grid->Row(), 2);

  // Pressed and released on different pixels: no selection.
  const TPoint P = CellCenter(0, 1);
  THeadlessInput::MouseDown(Grid, P);
  THeadlessInput::MouseUp(Grid, TPoint{P.X + 1, P.Y});
  EXPECT_EQ(Grid->Row(), 2);

  // The fixed row and the space below the last row are no rows to select.
  THeadlessInput::Click(Grid, CellCenter(0, 0));
  EXPECT_EQ(Grid->Row(), 2);
  const TRect Last = Grid->CellRect(0, Grid->RowCount() - 1);
  THeadlessInput::Click(Grid, TPoint{Last.Left + 5, Last.Bottom + 20});
  EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(CorvathInteractionTest, EditorNeverOpensInTheOutlineColumn) {
  Grid->SetFixedCols(0);
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->SetCol(0);
  Grid->ShowEditor();
  EXPECT_FALSE(Grid->CanEditShow());
  EXPECT_TRUE(Grid->InplaceEditor() == nullptr || !Grid->InplaceEditor()->Visible());

  Grid->SetCol(1);
  Grid->ShowEditor();
  EXPECT_TRUE(Grid->CanEditShow());
  ASSERT_NE(Grid->InplaceEditor(), nullptr);
  EXPECT_TRUE(Grid->InplaceEditor()->Visible());
}

// The editor edits the item's text in column 2 here, the way an application keeps its
// cells with the items.
TEST_F(CorvathInteractionTest, EditedTextGoesToTheItemItWasTypedFor) {
  Grid->OnGetEditText = TGetEditEvent([this](TObject*, int32_t, int32_t ARow, String& Value) {
    Value = Grid->RowToOutline(ARow)->Text();
  });
  Grid->OnSetEditText = TSetEditEvent([this](TObject*, int32_t, int32_t ARow, const String& Value) {
    Grid->RowToOutline(ARow)->SetText(Value);
  });
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->Outline()->FullExpand();
  Grid->SetCol(2);
  Grid->SetRow(2);
  Grid->SetFocus();

  // The item under an open editor goes: the editor takes up the item now on its row.
  THeadlessInput::Key(VK_F2);
  ASSERT_EQ(Grid->InplaceEditor()->Text(), "A1");
  Grid->Outline()->Delete(ItemIndex(*Grid, "A1"));
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "A2");
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A2", "B", "B1"}));

  // A double-click on the outline cell of the row being edited keeps what was typed.
  THeadlessInput::Type("X");
  DoubleClick(0, 2);
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "X", "B", "B1"}));
}

TEST_F(CorvathInteractionTest, OnEditAcceptKeyFiltersTypedCharacters) {
  EXPECT_TRUE(Grid->CanEditAcceptKey(U'7'));

  TObject* Sender = nullptr;
  Grid->OnEditAcceptKey = TEditAcceptKeyEvent([&](TObject* S, Char Key, bool& Accept) {
    Sender = S;
    EXPECT_TRUE(Accept);
    if (Key >= U'0' && Key <= U'9') Accept = false;
  });
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->SetCol(2);
  Grid->SetFocus();
  THeadlessInput::Type("a1b2c");
  ASSERT_NE(Grid->InplaceEditor(), nullptr);
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "abc");
  EXPECT_EQ(Sender, Grid);
}

TEST_F(CorvathInteractionTest, OutlineColumnMustBeAColumnOfTheGrid) {
  Grid->SetColCount(4);
  for (int32_t Bad : {4, -1, 100}) {
    try {
      Grid->SetOutlineCol(Bad);
      FAIL() << Bad << " was accepted";
    } catch (const EInvalidGridOperation& E) {
      EXPECT_EQ(E.Message(), "Grid index out of range");
    }
    EXPECT_EQ(Grid->OutlineCol(), 0);
  }
  Grid->SetOutlineCol(3);
  EXPECT_EQ(Grid->OutlineCol(), 3);
  DoubleClick(3, 1);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
}

}  // namespace
}  // namespace bw::testing
