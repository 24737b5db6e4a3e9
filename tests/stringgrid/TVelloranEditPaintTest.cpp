// Editing through the in-place editor stores under the data row, and painting shows the
// stored text, read back from the pixels the headless back end was handed.

#include <cstdlib>

#include "VelloranFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/core/Exception.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"

namespace bw::testing {
namespace {

class VelloranEditTest : public VelloranFixture {
 protected:
  void SetUp() override {
    VelloranFixture::SetUp();
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->OnGetEditText =
        TGetEditEvent([this](TObject*, int32_t ACol, int32_t ARow, String& Value) {
          GetRows.push_back(ARow);
          if (ACol == 3) Value += "+";
        });
    Grid->OnSetEditText = TSetEditEvent(
        [this](TObject*, int32_t, int32_t ARow, const String&) { SetRows.push_back(ARow); });
    Grid->SetFocus();
  }
  std::vector<int32_t> GetRows, SetRows;
};

TEST_F(VelloranEditTest, TypedTextIsStoredUnderTheDataRowOfTheEditedRow) {
  Grid->SetCells(2, 4, "old");
  Grid->SetCol(2);
  Grid->SetRow(2);  // B, data row 4, below the collapsed A
  THeadlessInput::Key(VK_F2);
  ASSERT_TRUE(Grid->EditorMode());
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "old");
  THeadlessInput::Key(VK_END);
  THeadlessInput::Type("er");
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Grid->GetCells(2, 4), "older");
  EXPECT_EQ(Grid->GetCells(2, 2), "");
  EXPECT_EQ(GetRows, std::vector<int32_t>({4}));
  EXPECT_EQ(SetRows, std::vector<int32_t>({4}));

  // OnGetEditText may change the text the editor starts with.
  Grid->SetCol(3);
  THeadlessInput::Key(VK_F2);
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "+");
}

TEST_F(VelloranEditTest, StoringTheSameTextStoresNothingButStillReports) {
  Grid->SetCells(2, 4, "same");
  PaintPending();
  Grid->SetEditText(2, 2, "same");
  EXPECT_EQ(PaintPending(), (std::set<std::pair<int32_t, int32_t>>{}));
  EXPECT_EQ(SetRows, std::vector<int32_t>({4}));
  Grid->SetEditText(2, 2, "Same");
  EXPECT_EQ(Grid->GetCells(2, 4), "Same");
}

TEST_F(VelloranEditTest, AFailedStoreLeavesTheEditorReloadingAndReportsNothing) {
  Grid->SetCol(2);
  Grid->SetRow(2);
  Grid->ShowEditor();
  EXPECT_THROW(Grid->SetEditText(-1, 2, "x"), EListError);
  EXPECT_TRUE(SetRows.empty());
  // The editor again follows changes of its cell: the suppression did not stick.
  Grid->SetCells(2, 4, "from code");
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "from code");
}

TEST_F(VelloranEditTest, RowsWithoutADataRowTakeNoEditor) {
  int Errors = 0;
  Application->OnException = TExceptionEvent([&](TObject*, const Exception&) { ++Errors; });
  auto EditorShown = [this] { return Grid->InplaceEditor() && Grid->InplaceEditor()->Visible(); };

  // B's row while B is deleted inside an update bracket, before the rows are rebuilt.
  Grid->SetCol(2);
  Grid->SetRow(2);
  Grid->Outline()->BeginUpdate();
  Grid->Outline()->Delete(Grid->Outline()->GetTextItem("B"));
  THeadlessInput::Type("x");
  EXPECT_FALSE(EditorShown());
  Grid->Outline()->EndUpdate();

  // The blank row of an empty outline.
  Grid->Outline()->Clear();
  ASSERT_EQ(Grid->RowCount(), 2);
  Grid->SetRow(1);
  THeadlessInput::Type("y");
  EXPECT_FALSE(EditorShown());
  EXPECT_EQ(Errors, 0);
  EXPECT_EQ(Grid->GetCells(2, 1), "");

  Grid->Outline()->Add(0, "C");
  THeadlessInput::Type("z");
  EXPECT_TRUE(EditorShown());
}

class VelloranPaintTest : public VelloranFixture {
 protected:
  void SetUp() override {
    VelloranFixture::SetUp();
    Grid->SetCol(4);  // keeps the selection colour out of the cells looked at
    Grid->SetRow(1);
    Repaint();
  }
  void Repaint() {
    Grid->Invalidate();
    PaintPending();
  }
  /// Pixels of R that differ from its top-left one, which text never reaches.
  int Ink(const TRect& R) {
    const uint32_t Back = Pixel(R.Left, R.Top);
    int Count = 0;
    for (int32_t y = R.Top; y < R.Bottom; ++y)
      for (int32_t x = R.Left; x < R.Right; ++x)
        Count += Pixel(x, y) != Back;
    return Count;
  }
  TRect Cell(int32_t ACol, int32_t ARow) { return Grid->CellRect(ACol, ARow); }
};

TEST_F(VelloranPaintTest, StoredTextIsDrawnInTheCellOfItsRow) {
  EXPECT_EQ(Ink(Cell(2, 2)), 0);
  Grid->SetCells(2, 4, "B's");
  Grid->SetCells(1, 0, "Head");
  Grid->SetCells(3, 5, "hidden");
  PaintPending();
  EXPECT_GT(Ink(Cell(2, 2)), 0);
  EXPECT_GT(Ink(Cell(1, 0)), 0);
  EXPECT_EQ(Ink(Cell(3, 2)), 0);
  // The text starts 2 pixels in from the cell's top-left corner.
  const TRect R = Cell(2, 2);
  EXPECT_EQ(Ink(TRect{R.Left, R.Top, R.Left + 2, R.Bottom}), 0);
  EXPECT_EQ(Ink(TRect{R.Left, R.Top, R.Right, R.Top + 2}), 0);
}

TEST_F(VelloranPaintTest, TheOutlineColumnShowsItemsAndStoredHeaders) {
  const auto Before = Headless().SnapshotWindow(Form->Surface());
  Grid->SetCells(0, 1, "NOT SHOWN");  // A's row shows A
  Repaint();
  const auto After = Headless().SnapshotWindow(Form->Surface());
  for (int32_t y = 0; y < Before->Height(); ++y)
    for (int32_t x = 0; x < Before->Width(); ++x)
      ASSERT_EQ(Before->ScanLine(y)[x], After->ScanLine(y)[x]) << x << "," << y;
  Grid->SetCells(0, 0, "Items");
  PaintPending();
  EXPECT_GT(Ink(Cell(0, 0)), 0);
}

TEST_F(VelloranPaintTest, WithoutDefaultDrawingNoStoredTextIsPainted) {
  Grid->SetDefaultDrawing(false);
  Repaint();
  const int Body = Ink(Cell(2, 2)), Head = Ink(Cell(2, 0));
  Grid->SetCells(2, 4, "text");
  Grid->SetCells(2, 0, "head");
  Repaint();
  EXPECT_EQ(Ink(Cell(2, 2)), Body);
  EXPECT_EQ(Ink(Cell(2, 0)), Head);
  Grid->SetDefaultDrawing(true);
  Repaint();
  EXPECT_NE(Ink(Cell(2, 2)), Body);
}

TEST_F(VelloranPaintTest, TextIsCutAtTheCellEdgeAndAtAZeroCharacter) {
  Grid->SetCells(1, 4, String(40, 'W'));
  PaintPending();
  const TRect R = Cell(1, 2);
  EXPECT_GT(Ink(TRect{R.Right - 3, R.Top, R.Right, R.Bottom}), 0);
  EXPECT_EQ(Ink(Cell(2, 2)), 0);
  EXPECT_EQ(Pixel(R.Right, R.Top + 8), Pixel(R.Right, R.Top));  // the grid line

  Grid->SetCells(2, 4, String("W\0WWW", 5));
  PaintPending();
  const TRect Z = Cell(2, 2);
  EXPECT_GT(Ink(Z), 0);
  EXPECT_EQ(Ink(TRect{Z.Left + 20, Z.Top, Z.Right, Z.Bottom}), 0);
}

// The stored text is drawn after OnDrawCell, its cell filled first with the canvas's brush:
// with DefaultDrawing a handler's drawing is covered, in a cell with text as in one
// without, and a handler colours a cell behind its text by setting the brush.
TEST_F(VelloranPaintTest, TheTextAndItsFillCoverWhatOnDrawCellDrew) {
  Grid->SetCells(2, 4, "B's");  // B, on visual row 2
  auto Marked = [&](const TRect& R) {
    int Count = 0;
    for (int32_t y = R.Top; y < R.Bottom; ++y)
      for (int32_t x = R.Left; x < R.Right; ++x)
        Count += Pixel(x, y) == ColorToPixel(clRed);
    return Count;
  };
  const TDrawCellEvent RedLine =
      TDrawCellEvent([this](TObject*, int32_t, int32_t, const TRect& R, TGridDrawState) {
        Grid->Canvas()->Pen()->SetColor(clRed);
        Grid->Canvas()->MoveTo(R.Left, R.Top + 5);
        Grid->Canvas()->LineTo(R.Right, R.Top + 5);
      });
  Grid->OnDrawCell = RedLine;
  Repaint();
  if (const char* Dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(Form->Surface(), String(Dir) + "/velloran-ondrawcell.png");
  EXPECT_GT(Ink(Cell(2, 2)), 0);
  EXPECT_EQ(Marked(Cell(2, 2)), 0);
  EXPECT_EQ(Ink(Cell(3, 2)), 0);
  // The tree column's item rows raise no OnDrawCell; every other cell is filled.
  EXPECT_EQ(Marked(TRect{0, 0, Grid->ClientWidth(), Grid->ClientHeight()}), 0);

  Grid->OnDrawCell =
      TDrawCellEvent([this](TObject*, int32_t ACol, int32_t, const TRect&, TGridDrawState) {
        if (ACol == 2) Grid->Canvas()->Brush()->SetColor(clYellow);
      });
  Repaint();
  const TRect R = Cell(2, 2);
  EXPECT_EQ(Pixel(R.Left, R.Top), ColorToPixel(clYellow));
  EXPECT_EQ(Pixel(R.Right - 2, R.Bottom - 2), ColorToPixel(clYellow));
  EXPECT_GT(Ink(R), 0);

  // Without default drawing the handler's drawing stays.
  Grid->OnDrawCell = RedLine;
  Grid->SetDefaultDrawing(false);
  Repaint();
  EXPECT_GT(Marked(Cell(2, 2)), 0);
  EXPECT_GT(Ink(Cell(3, 2)), 0);
}

TEST_F(VelloranPaintTest, LongTextsAreDrawnWhole) {
  Form->SetBounds(0, 0, 1000, 300);
  Grid->SetBounds(0, 0, 990, 280);
  Grid->Font()->SetSize(5);
  Grid->SetColWidths(1, 900);
  const String Dots(300, '.');
  Grid->SetCells(1, 0, Dots + "WW");
  Repaint();
  TBitmap Probe;
  Probe.Canvas()->Font()->Assign(Grid->Font());
  const int32_t X = Cell(1, 0).Left + 2 + Probe.Canvas()->TextWidth(Dots);
  ASSERT_LT(X + 10, Cell(1, 0).Right);
  EXPECT_GT(Ink(TRect{X, Cell(1, 0).Top, X + Probe.Canvas()->TextWidth("WW"), Cell(1, 0).Bottom}),
            0);
}

// Saves a picture of a grid with stored text when BW_SNAPSHOT_DIR names a folder.
TEST_F(VelloranPaintTest, Snapshot) {
  const char* Heads[] = {"Items", "Owner", "Size", "Note", "Due"};
  for (int32_t C = 0; C < 5; ++C)
    Grid->SetCells(C, 0, Heads[C]);
  Grid->Outline()->FullExpand();
  for (int32_t D = 1; D <= 5; ++D) {
    Grid->SetCells(1, D, "owner " + std::to_string(D));
    Grid->SetCells(2, D, std::to_string(D * 1024));
  }
  Grid->SetCells(3, 2, "a note far too long for its cell");
  Repaint();
  EXPECT_GT(Ink(Cell(3, 2)), 0);
  if (const char* Dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(Form->Surface(), String(Dir) + "/velloran.png");
}

}  // namespace
}  // namespace bw::testing
