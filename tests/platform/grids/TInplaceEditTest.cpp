#include "GridFixture.h"

#include "platform/controls/EDBEditError.h"
#include "platform/controls/TButton.h"

namespace bw::test {
namespace {

// A grid whose cells hold texts, edited through the editor hooks.
class GridEditTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->OnGetEditText = [](TObject*, int32_t c, int32_t r, String& Value) {
      Value = "cell " + std::to_string(c) + "," + std::to_string(r);
    };
    Grid->OnSetEditText = [this](TObject*, int32_t c, int32_t r, const String& Value) {
      Stored.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + Value);
    };
  }
  TInplaceEdit* Editor() { return Grid->InplaceEditor(); }
  bool Showing() { return Editor() && Editor()->Visible(); }

  std::vector<String> Stored;
};

TEST_F(GridEditTest, TypingOpensTheEditorOverTheCellWithTheTypedText) {
  EXPECT_EQ(Editor(), nullptr);  // not made before it is needed
  Grid->Type(U"ab");
  ASSERT_TRUE(Showing());
  EXPECT_TRUE(Grid->EditorMode());
  EXPECT_EQ(Editor()->Text(), "ab");
  EXPECT_EQ(Editor()->BoundsRect(), Grid->CellRect(1, 1));
  Snapshot("grid-editing");
  Editor()->Perform(WM_CHAR, U'\r', 0);  // Enter stores through SetEditText and closes
  EXPECT_EQ(Stored, (std::vector<String>{"1,1=ab"}));
  EXPECT_FALSE(Showing());
  EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(GridEditTest, RealKeyboardTypingGoesThroughTheFocusedEditor) {
  int defaultClicks = 0;
  auto* ok = new TButton(Form);
  ok->SetParent(Form);
  ok->SetBounds(410, 10, 75, 25);
  ok->SetDefault(true);
  ok->OnClick = [&](TObject*) { ++defaultClicks; };
  Grid->SetFocus();
  THeadlessInput::Type("hé");  // the first character opens the editor, which takes the focus
  ASSERT_TRUE(Showing());
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(Editor()->Text(), "hé");
  THeadlessInput::Key(VK_RETURN);  // Enter stores; the default button stays out of it
  EXPECT_EQ(Stored, (std::vector<String>{"1,1=hé"}));
  EXPECT_FALSE(Showing());
  EXPECT_TRUE(Grid->Focused());
  THeadlessInput::Key(VK_RETURN);  // and opens the editor again
  EXPECT_TRUE(Showing());
  THeadlessInput::Key(VK_ESCAPE);
  EXPECT_FALSE(Showing());
  EXPECT_EQ(defaultClicks, 0);
}

TEST_F(GridEditTest, CreateEditorIsCalledOnceForAllEdits) {
  for (int i = 0; i < 3; ++i) {
    Grid->Key(VK_F2);
    ASSERT_TRUE(Showing());
    Editor()->Perform(WM_CHAR, U'\r', 0);
    Grid->Key(VK_DOWN);
  }
  EXPECT_EQ(Grid->EditorsCreated, 1);
}

TEST_F(GridEditTest, F2AndEnterOpenWithTheCellTextAndEscapeCancels) {
  Grid->SetRow(3);
  Grid->Key(VK_F2);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "cell 1,3");
  TypeInto(Editor(), U"!");  // F2 leaves the caret at the end
  EXPECT_EQ(Editor()->Text(), "cell 1,3!");
  Editor()->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(Showing());
  EXPECT_TRUE(Stored.empty());
  Grid->Perform(WM_CHAR, U'\r', 0);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "cell 1,3");  // the cancelled text is gone
}

TEST_F(GridEditTest, RefusedCharactersAreDropped) {
  std::vector<Char> offered;
  Grid->AcceptKey = [&](Char k) {
    offered.push_back(k);
    return !(k >= U'0' && k <= U'9');
  };
  Grid->Type(U"a1b2é");
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "abé");
  EXPECT_EQ(offered, (std::vector<Char>{U'a', U'1', U'b', U'2', U'é'}));
  // A refused first character opens the editor but leaves the cell's text as it was.
  Editor()->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  Grid->Key(VK_DOWN);
  Grid->Type(U"7");
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "cell 1,2");
}

TEST_F(GridEditTest, CanEditShowKeepsTheEditorClosed) {
  Grid->EditShow = [](int32_t ACol, int32_t) { return ACol != 2; };
  Grid->SetCol(2);
  Grid->Key(VK_F2);
  EXPECT_FALSE(Showing());
  Grid->Type(U"x");
  EXPECT_FALSE(Showing());
  // Moving on to an allowed cell lets the editor open there, in the same edit mode.
  Grid->Key(VK_RIGHT);
  EXPECT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "cell 3,1");
  EXPECT_EQ(Grid->EditorsCreated, 1);
}

TEST_F(GridEditTest, MovingOnStoresTheTextInItsOwnCell) {
  Grid->Type(U"x");
  Editor()->Perform(WM_KEYDOWN, VK_DOWN, 0);  // the editor hands the arrow to the grid
  EXPECT_EQ(Stored, (std::vector<String>{"1,1=x"}));
  EXPECT_EQ(Grid->Row(), 2);
  ASSERT_TRUE(Showing());  // still editing, now in the next row
  EXPECT_EQ(Editor()->Text(), "cell 1,2");
  Grid->HideEditor();
  EXPECT_EQ(Stored.back(), "1,2=cell 1,2");
}

TEST_F(GridEditTest, TheEditorFollowsScrollingAndWaitsWhileItsCellIsAway) {
  Grid->SetRowCount(100);
  Grid->SetRow(5);
  Grid->Type(U"q");
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Top(), Grid->CellRect(1, 5).Top);
  Grid->SetTopRow(3);
  EXPECT_EQ(Editor()->Top(), Grid->CellRect(1, 5).Top);
  EXPECT_EQ(Editor()->Top(), 25 + 2 * 25);
  Grid->SetTopRow(40);
  EXPECT_FALSE(Editor()->Visible());
  EXPECT_TRUE(Grid->EditorMode());
  Grid->SetTopRow(4);
  ASSERT_TRUE(Editor()->Visible());
  EXPECT_EQ(Editor()->Text(), "q");
  EXPECT_TRUE(Stored.empty());
}

TEST_F(GridEditTest, InvalidateEditorReloadsTheCellText) {
  Grid->Type(U"typed");
  String cellText = "new";
  Grid->OnGetEditText = [&](TObject*, int32_t, int32_t, String& Value) { Value = cellText; };
  Grid->InvalidateEditor();
  EXPECT_EQ(Editor()->Text(), "new");
  EXPECT_TRUE(Stored.empty());
}

TEST_F(GridEditTest, AFailingStoreKeepsTheEditorOpenWithItsText) {
  Grid->OnSetEditText = [](TObject*, int32_t, int32_t, const String&) {
    throw EInvalidGridOperation("refused");
  };
  Grid->Type(U"bad");
  EXPECT_THROW(Grid->SetRow(2), EInvalidGridOperation);
  EXPECT_EQ(Grid->Row(), 1);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "bad");
}

TEST_F(GridEditTest, AFailingStoreLeavesNewOptionsUnapplied) {
  Grid->Type(U"bad");
  Grid->OnSetEditText = [](TObject*, int32_t, int32_t, const String&) {
    throw EInvalidGridOperation("refused");
  };
  const TGridOptions before = Grid->Options();
  EXPECT_THROW(Grid->SetOptions(before - TGridOptions{goEditing}), EInvalidGridOperation);
  EXPECT_EQ(Grid->Options(), before);
  EXPECT_TRUE(Grid->EditorMode());
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "bad");
  EXPECT_THROW(Grid->SetOptions(before + TGridOptions{goRowSelect}), EInvalidGridOperation);
  EXPECT_EQ(Grid->Options(), before);
  // Once the store succeeds the new options take.
  Grid->OnSetEditText = nullptr;
  Grid->SetOptions(before - TGridOptions{goEditing});
  EXPECT_FALSE(Showing());
  EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(GridEditTest, AFailingReloadStillReportsTheNewSizeAndFixedRows) {
  Grid->SetRowCount(6);
  Grid->SetRow(5);
  Grid->Type(U"x");
  Grid->OnGetEditText = [](TObject*, int32_t, int32_t, String&) {
    throw EInvalidGridOperation("no text");
  };
  const int sizeChanges = Grid->SizeChanges;
  // The editor's cell goes away and the editor reopens on the new current cell, whose
  // text cannot be had: the descendant still hears of the new size.
  EXPECT_THROW(Grid->SetRowCount(4), EInvalidGridOperation);
  EXPECT_EQ(Grid->RowCount(), 4);
  EXPECT_EQ(Grid->SizeChanges, sizeChanges + 1);
  EXPECT_THROW(Grid->SetColCount(3), EInvalidGridOperation);
  EXPECT_EQ(Grid->SizeChanges, sizeChanges + 2);
  EXPECT_THROW(Grid->SetFixedRows(2), EInvalidGridOperation);
  EXPECT_EQ(Grid->FixedRows(), 2);
  EXPECT_EQ(Grid->FixedRowsChanges, 1);
}

TEST_F(GridEditTest, AHiddenCellTakesNoTyping) {
  Grid->SetColWidths(2, -1);
  Grid->SetRowHeights(3, -1);
  Grid->Key(VK_RIGHT);  // steps over the hidden column
  EXPECT_EQ(Grid->Col(), 3);
  Grid->SetSelection({2, 1, 2, 1});  // a hidden cell made current on purpose
  Grid->Type(U"x");
  Grid->Key(VK_F2);
  EXPECT_FALSE(Showing());
  // An open editor whose column is hidden under it takes no more characters either.
  Grid->SetSelection({1, 1, 1, 1});
  Grid->Type(U"a");
  ASSERT_TRUE(Showing());
  Grid->SetColWidths(1, -1);
  Grid->Type(U"b");
  Grid->SetColWidths(1, 64);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->Text(), "a");
  Grid->SetSelection({1, 3, 1, 3});
  Grid->Type(U"y");
  EXPECT_EQ(Stored, (std::vector<String>{"1,1=a"}));
}

TEST_F(GridEditTest, TheCellMaskShapesTheTextAndGuardsTheStore) {
  Grid->OnGetEditMask = [](TObject*, int32_t, int32_t ARow, String& Value) {
    if (ARow == 1) Value = "000;1;_";
  };
  Grid->OnGetEditText = [](TObject*, int32_t, int32_t, String& Value) { Value = ""; };
  Grid->Type(U"1x2");
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Editor()->EditMask(), "000;1;_");
  EXPECT_EQ(Editor()->EditText(), "12_");  // the letter does not fit a digit place
  EXPECT_THROW(Editor()->Perform(WM_CHAR, U'\r', 0), EDBEditError);
  EXPECT_TRUE(Showing());  // a required place is empty: nothing stored, still editing
  EXPECT_TRUE(Stored.empty());
  TypeInto(Editor(), U"3");
  Editor()->Perform(WM_CHAR, U'\r', 0);
  EXPECT_EQ(Stored, (std::vector<String>{"1,1=123"}));
  Grid->Key(VK_DOWN);
  Grid->Key(VK_F2);
  EXPECT_EQ(Editor()->EditMask(), "");  // each cell brings its own mask
}

TEST_F(GridEditTest, NoEditorWithoutGoEditingOrWithRowSelect) {
  Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
  Grid->Key(VK_F2);
  Grid->Type(U"a");
  EXPECT_FALSE(Showing());
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goRowSelect});
  Grid->Key(VK_F2);
  EXPECT_FALSE(Showing());
  EXPECT_EQ(Grid->EditorsCreated, 0);
}

TEST_F(GridEditTest, AlwaysShowEditorOpensAtOnceAndStaysAfterEnter) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goAlwaysShowEditor});
  ASSERT_TRUE(Showing());
  TypeInto(Editor(), U"z");
  Editor()->Perform(WM_CHAR, U'\r', 0);
  EXPECT_EQ(Stored, (std::vector<String>{"1,1=z"}));
  EXPECT_TRUE(Showing());
  // Whole-row selection keeps it away; it comes back when cells are selected again.
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  EXPECT_FALSE(Showing());
  Grid->SetOptions(Grid->Options() - TGridOptions{goRowSelect});
  EXPECT_TRUE(Showing());
}

}  // namespace
}  // namespace bw::test
