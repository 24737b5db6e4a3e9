// Working the tree with scripted mouse and keyboard input: double-clicks that expand and
// collapse, the click that selects a row, the editor's refusal of the outline column and
// of filtered characters, and the range of OutlineCol.

#include "GridFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/core/Exception.h"
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

  // The editor edits the item's text in column 2, the way an application keeps its cells
  // with the items; the tree is expanded and the focus on A1's cell. While Refuse is set
  // the handler refuses what was typed.
  void EditItemTexts() {
    Grid->OnGetEditText = TGetEditEvent([this](TObject*, int32_t, int32_t ARow, String& Value) {
      Value = Grid->RowToOutline(ARow)->Text();
    });
    Grid->OnSetEditText =
        TSetEditEvent([this](TObject*, int32_t, int32_t ARow, const String& Value) {
          if (Refuse) throw Exception("refused");
          Grid->RowToOutline(ARow)->SetText(Value);
        });
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->Outline()->FullExpand();
    Grid->SetCol(2);
    Grid->SetRow(2);
    Grid->SetFocus();
  }

  int DblClicks = 0;
  bool Refuse = false;
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
  // A fresh window's first click on its current tree cell, then Ctrl+End: no editor.
  Grid->HideEditor();
  Grid->SetCol(0);
  THeadlessInput::Click(Grid, CellCenter(0, 1));
  THeadlessInput::Key(VK_END, kModCtrl);
  EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(CorvathInteractionTest, EditedTextGoesToTheItemItWasTypedFor) {
  EditItemTexts();

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

// ---- regressions ----------------------------------------------------------------------

// Run under the sanitizers: a grid its own handler frees must not be written or read.
TEST_F(CorvathInteractionTest, GridFreedByItsOwnMouseHandlerIsNotTouchedAgain) {
  enum Handler { Down, DoubleDown, Up };
  for (Handler H : {Down, DoubleDown, Up}) {
    SCOPED_TRACE(int(H));
    auto* G = new TestCorvath(Form);
    G->SetParent(Form);
    G->SetBounds(0, 0, 480, 360);
    LoadItems(*G, "A\n\tA1\nB\n");
    Application->ProcessMessages();
    int Calls = 0;
    auto FreeGrid =
        TMouseEvent([&, H](TObject*, TMouseButton, TShiftState Shift, int32_t, int32_t) {
          ++Calls;
          if (H != DoubleDown || Shift.Contains(ssDouble)) delete G;
        });
    if (H == Up)
      G->OnMouseUp = FreeGrid;
    else
      G->OnMouseDown = FreeGrid;
    const TRect R = G->CellRect(0, 1);
    const TPoint P{R.Left + 5, R.Top + 5};
    if (H == DoubleDown)
      THeadlessInput::DoubleClick(G, P);
    else
      THeadlessInput::Click(G, P);
    EXPECT_EQ(Calls, H == DoubleDown ? 2 : 1);
    EXPECT_EQ(Form->ComponentCount(), 1);  // only the fixture's grid is left
  }
}

// Run under the sanitizers: a handler reached from a key or a click frees the grid, or its
// form. Open: the editor is open first; Select: OnSelectCell frees too; Other: the focus
// is elsewhere.
TEST_F(CorvathInteractionTest, GridFreedByAHandlerOfItsKeysOrClicksIsNotTouchedAgain) {
  using In = std::function<void(TCorvath*)>;
  auto Key = [](uint16_t K, uint32_t M = 0) {
    return In([=](auto) { THeadlessInput::Key(K, M); });
  };
  auto At = [](int32_t C, int32_t R) {
    return In([=](auto G) { THeadlessInput::Click(G, CellCenterOf(G, C, R)); });
  };
  In Type = [](auto) { THeadlessInput::Type("x"); }, Bar = [](auto G) {
    THeadlessInput::Click(G, TPoint{G->ClientWidth() - 4, 60});
  };
  // clang-format off
  const struct { bool Open, Select, Other; In Input; } Paths[] = {
      {1, 0, 0, Key(VK_RETURN)}, {0, 0, 0, Key(VK_RETURN)}, {0, 1, 0, Key(VK_TAB)},
      {1, 1, 0, Key(VK_DOWN)}, {0, 1, 0, Key(VK_END, kModCtrl)}, {0, 0, 0, Key(VK_F2)},
      {0, 0, 0, Type}, {1, 0, 0, Type}, 
      {0, 0, 0, At(2, 1)}, {0, 0, 0, Bar}, {1, 0, 0, At(3, 2)}, {0, 1, 0, At(3, 2)},
      {0, 0, 1, At(3, 2)}};
  // clang-format on
  for (bool FreeForm : {false, true})
    for (const auto& Path : Paths) {
      SCOPED_TRACE(&Path - Paths);
      auto* F = new TForm(Application);
      F->SetBounds(610, 0, 400, 300);  // clear of the fixture's form
      auto* G = new TestCorvath(F);
      G->SetParent(F);
      G->SetOptions(G->Options() + TGridOptions{goEditing, goTabs});
      LoadItems(*G, "A\n\tA1\nB\nC\nD\nE\nF\nG\nH\n");
      F->Show();
      G->SetCol(2);
      (Path.Other ? static_cast<TWinControl*>(Grid) : G)->SetFocus();
      if (Path.Open) G->ShowEditor();
      int Calls = 0;
      auto Free = [&, F, G](auto&&...) { Calls++ ? void() : FreeForm ? delete F : delete G; };
      G->OnSetEditText = TSetEditEvent(Free), G->OnGetEditText = TGetEditEvent(Free);
      G->OnEditAcceptKey = TEditAcceptKeyEvent(Free), G->OnTopLeftChanged = TNotifyEvent(Free);
      G->OnEnter = TNotifyEvent(Free);
      if (Path.Select) G->OnSelectCell = TSelectCellEvent(Free);
      Path.Input(G);
      EXPECT_EQ(Calls, 1);
      if (!FreeForm) delete F;
    }
}

// Text typed into the editor stays through resynchronisations that leave the item under
// the editor where it was; it gives way to the item's text when another item comes there.
TEST_F(CorvathInteractionTest, TypingSurvivesResyncsThatKeepTheEditedItem) {
  Grid->OnGetEditText = TGetEditEvent([this](TObject*, int32_t, int32_t ARow, String& Value) {
    TOutlineNode* Node = Grid->RowToOutline(ARow);
    Value = Node ? Node->Text() : String();
  });
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->Outline()->FullExpand();
  Grid->SetCol(2);
  Grid->SetRow(2);  // A1
  Grid->SetFocus();
  auto TypeOver = [] {
    THeadlessInput::Key(VK_F2);
    THeadlessInput::Type("typed");
  };
  auto EditorText = [this] { return Grid->InplaceEditor()->Text(); };
  TypeOver();
  const String Typed = EditorText();
  ASSERT_NE(Typed, "A1");

  Grid->Outline()->BeginUpdate();
  Grid->Outline()->EndUpdate();
  EXPECT_EQ(EditorText(), Typed) << "empty update bracket";
  Grid->Outline()->Add(0, "C");
  Grid->Outline()->AddChild(ItemIndex(*Grid, "A1"), "A1a");
  EXPECT_EQ(EditorText(), Typed) << "items added below";
  Grid->SetColCount(6);
  EXPECT_EQ(EditorText(), Typed) << "new column count";
  Grid->Outline()->UpdateGrid();
  EXPECT_EQ(EditorText(), Typed) << "resync on request";
  Grid->Outline()->BeginUpdate();
  Grid->Outline()->Add(0, "D");
  Grid->Outline()->Get(ItemIndex(*Grid, "B"))->Collapse();
  Grid->Outline()->EndUpdate();
  EXPECT_EQ(EditorText(), Typed) << "changes below in a bracket";

  // Another item comes under the editor: it shows that item's text.
  Grid->Outline()->Insert(ItemIndex(*Grid, "A"), "Z");
  EXPECT_EQ(EditorText(), "A");
  Grid->SetRow(3);  // A1 again
  TypeOver();
  Grid->Outline()->GetOutlineLines()->Insert(0, "Y");  // unseen until the resync
  Grid->Outline()->UpdateGrid();
  EXPECT_EQ(EditorText(), "A");
  Grid->SetRow(4);  // A1 again
  TypeOver();
  // The edited item replaced by a new one in the same place.
  Grid->Outline()->BeginUpdate();
  const int32_t A1 = ItemIndex(*Grid, "A1");
  Grid->Outline()->Delete(A1);
  Grid->Outline()->Insert(ItemIndex(*Grid, "A2"), "N");
  Grid->Outline()->EndUpdate();
  ASSERT_EQ(Grid->RowToOutline(4)->Text(), "N");
  EXPECT_EQ(EditorText(), "N");
}

// The first press of a double-click on the partly shown last row scrolls that row into
// view; the item it was on is the one toggled, not the one under the second press.
TEST_F(CorvathInteractionTest, DoubleClickOnAPartlyShownRowTogglesTheItemFirstPressed) {
  String Text;
  for (int i = 0; i < 30; ++i)
    Text.append("I")
        .append(std::to_string(i))
        .append("\n\tC")
        .append(std::to_string(i))
        .append("\n");
  LoadItems(*Grid, Text);
  // The view ends half way down a row.
  const int32_t Step = Grid->DefaultRowHeight() + Grid->GridLineWidth();
  Grid->SetHeight(Grid->Height() - Grid->ClientHeight() + 6 * Step + Step / 2);
  Paint();
  const int32_t Partial = Grid->TopRow() + Grid->VisibleRowCount();
  const TRect Above = Grid->CellRect(0, Partial - 1);
  const TPoint P{Above.Left + 5, Above.Bottom + Grid->GridLineWidth() + 2};
  ASSERT_EQ(Grid->MouseCoord(P.X, P.Y).Y, Partial);
  TOutlineNode* Pressed = Grid->RowToOutline(Partial);
  TOutlineNode* Below = Grid->RowToOutline(Partial + 1);

  THeadlessInput::DoubleClick(Grid, P);
  EXPECT_TRUE(Pressed->Expanded());
  EXPECT_FALSE(Below->Expanded());
  EXPECT_EQ(Grid->RowToOutline(Partial + 1)->Text(), String("C").append(Pressed->Text().substr(1)));
}

// A failing OnExpand or OnCollapse handler: the item has been toggled, so the rows show
// it, and the failure still reaches the application.
TEST_F(CorvathInteractionTest, FailingExpandHandlerStillLeavesTheRowsRebuilt) {
  std::vector<String> Reported;
  Application->OnException =
      TExceptionEvent([&](TObject*, const Exception& E) { Reported.push_back(E.Message()); });
  auto Fail = TOutlineEvent([](TObject*, int32_t) { throw Exception("handler failed"); });
  Grid->HiddenOutline()->OnExpand = Fail;
  Grid->HiddenOutline()->OnCollapse = Fail;

  DoubleClick(0, 1);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
  EXPECT_EQ(Grid->RowCount(), 5);
  DoubleClick(0, 1);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(Grid->RowCount(), 3);
  EXPECT_EQ(Reported, Rows({"handler failed", "handler failed"}));
}

// A failing OnSetEditText: each commit (a key, a press on another row) reports the failure
// and keeps the editor open on its text over the same row, the rows as they were; once the
// handler takes the text it is stored.
TEST_F(CorvathInteractionTest, FailingSetEditTextKeepsTheEditorAndTheRows) {
  std::vector<String> Reported;
  Application->OnException =
      TExceptionEvent([&](TObject*, const Exception& E) { Reported.push_back(E.Message()); });
  EditItemTexts();
  Refuse = true;
  THeadlessInput::Key(VK_F2);
  THeadlessInput::Type("X");
  THeadlessInput::Key(VK_RETURN);
  THeadlessInput::Key(VK_DOWN);
  EXPECT_EQ(Reported, Rows({"refused", "refused"}));
  auto ExpectStillEditing = [&] {
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "A1X");
    EXPECT_EQ(Grid->RowToOutline(2)->Text(), "A1");
  };
  ExpectStillEditing();

  // The press cannot leave the editor's cell, so the double-click toggles nothing.
  DoubleClick(0, 4);
  ExpectStillEditing();
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B", "B1"}));
  EXPECT_EQ(Reported, Rows(Reported.size(), "refused"));

  Refuse = false;
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Grid->RowToOutline(2)->Text(), "A1X");
  EXPECT_FALSE(Grid->EditorMode());
}

// The tree cell is never edited in place: an editor open on the column that becomes the
// tree column closes, and what was typed is stored.
TEST_F(CorvathInteractionTest, OutlineColumnMovedOntoTheEditorClosesItAndStoresTheText) {
  std::vector<std::pair<int32_t, String>> Stored;
  Grid->OnSetEditText = TSetEditEvent([&](TObject*, int32_t ACol, int32_t, const String& Value) {
    Stored.emplace_back(ACol, Value);
  });
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->SetCol(2);
  Grid->SetFocus();
  THeadlessInput::Type("xy");
  ASSERT_TRUE(Grid->InplaceEditor()->Visible());

  Grid->SetOutlineCol(3);  // elsewhere: the editor stays
  EXPECT_TRUE(Grid->InplaceEditor()->Visible());
  EXPECT_TRUE(Stored.empty());
  Grid->SetOutlineCol(2);
  EXPECT_FALSE(Grid->InplaceEditor()->Visible());
  EXPECT_EQ(Stored, (std::vector<std::pair<int32_t, String>>{{2, "xy"}}));
  Grid->ShowEditor();
  EXPECT_FALSE(Grid->InplaceEditor()->Visible());
}

TEST_F(CorvathInteractionTest, TreeColumnTravelsWithItsColumnWhenColumnsAreDragged) {
  Grid->SetFixedCols(0);
  Grid->SetOptions(Grid->Options() + TGridOptions{goColMoving});
  auto Drag = [this](int32_t From, int32_t To) {
    THeadlessInput::MouseDown(Grid, CellCenter(From, 0));
    THeadlessInput::MouseMove(Grid, CellCenter(To, 0));
    THeadlessInput::MouseUp(Grid, CellCenter(To, 0));
  };
  Drag(0, 2);
  EXPECT_EQ(Grid->OutlineCol(), 2);
  Drag(3, 1);  // a column moved in before it
  EXPECT_EQ(Grid->OutlineCol(), 3);
  Drag(1, 4);  // and out again, past it
  EXPECT_EQ(Grid->OutlineCol(), 2);
  Drag(3, 4);  // columns after it
  EXPECT_EQ(Grid->OutlineCol(), 2);
  DoubleClick(2, 1);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
}

}  // namespace
}  // namespace bw::testing
