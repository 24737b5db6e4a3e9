// Painting of the outline column, read back from the pixels the headless back end was
// handed: tree lines, pictures, text positions, and which cells reach OnDrawCell.

#include <cstdlib>
#include <set>
#include <string>

#include "GridFixture.h"
#include "grid/TreeOptions.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"
#include "platform/graphics/TPen.h"
#include "tests/support/FullPaintCheck.h"

namespace bw::testing {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kSilver = 0xC0C0C0;

// Rows once expanded: 1 Top, 2 Child1, 3 Grand1, 4 Grand2, 5 Child2, 6 Grand3, 7 Leaf.
const char* const kTree = "Top\n\tChild1\n\t\tGrand1\n\t\tGrand2\n\tChild2\n\t\tGrand3\nLeaf\n";

class CorvathPaintTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetFixedCols(0);
    Grid->SetColCount(2);
    LoadItems(*Grid, kTree);
    Grid->Outline()->FullExpand();
    Grid->SetCol(1);  // keeps the selection colour out of the outline column
    Paint();
    White = ColorToPixel(clWindow);
  }

  TRect Cell(int32_t ARow) { return Grid->Painted.at({0, ARow}); }
  /// A vertical line of the pen at x through rows y0 to y1 of the picture on screen.
  bool Line(int32_t X, int32_t Y0, int32_t Y1) {
    for (int32_t y = Y0; y <= Y1; ++y)
      if (Pixel(X, y) != kBlack) return false;
    return true;
  }

  uint32_t White = 0;
  const int32_t H = 24;  // DefaultRowHeight
  const int32_t h2 = 12;
};

TEST_F(CorvathPaintTest, TopLevelItemsHaveNoLinesAndACentredPicture) {
  const TRect R = Cell(1);
  EXPECT_EQ(Pixel(R.Left + h2, R.Top), White);
  EXPECT_EQ(Pixel(R.Left + h2, R.Bottom - 1), White);
  // Open folder, 16 x 15, at (R.Left + 4, R.Top + 4); its blue background is the brush.
  EXPECT_EQ(Pixel(R.Left + 4, R.Top + 4), White);
  EXPECT_EQ(Pixel(R.Left + 4 + 3, R.Top + 4 + 1), kGrey);
  EXPECT_EQ(Pixel(R.Left + 4 + 15, R.Top + 4 + 4), kBlack);

  // The text starts at the picture's width + 8: its ink begins where the same text's
  // ink begins when drawn at x = 24 on a bitmap of its own.
  TBitmap Probe;
  Probe.SetSize(60, H);
  Probe.Canvas()->Font()->Assign(Grid->Font());
  Probe.Canvas()->Brush()->SetColor(clWhite);
  Probe.Canvas()->FillRect(TRect{0, 0, 60, H});
  Probe.Canvas()->TextOut(24, 4, "Top");
  auto FirstInk = [&](auto Ink) {
    for (int32_t x = 20; x < 60; ++x)
      for (int32_t y = 4; y < H; ++y)
        if (Ink(x, y)) return x;
    return -1;
  };
  const int32_t Want =
      FirstInk([&](int32_t x, int32_t y) { return Probe.ScanLine(y)[x] != 0xFFFFFF; });
  ASSERT_GT(Want, 20);
  EXPECT_EQ(FirstInk([&](int32_t x, int32_t y) { return Pixel(R.Left + x, R.Top + y) != White; }),
            Want);

  const TRect L = Cell(7);  // a top-level leaf
  EXPECT_EQ(Pixel(L.Left + h2, L.Top), White);
  EXPECT_EQ(Pixel(L.Left + 4, L.Top + 4 + 1), kBlack);
}

TEST_F(CorvathPaintTest, ChildLinesJoinTheirParentAndStopAtTheLastChild) {
  const int32_t F = Grid->Font()->Size();
  const TRect C1 = Cell(2);  // Child1: a sibling follows
  EXPECT_TRUE(Line(C1.Left + h2, C1.Top, C1.Bottom - 1));
  for (int32_t x = C1.Left + h2; x < C1.Left + h2 + F; ++x)
    EXPECT_EQ(Pixel(x, C1.Top + h2), kBlack) << x - C1.Left;
  EXPECT_EQ(Pixel(C1.Left + h2 + F, C1.Top + h2), White);
  EXPECT_EQ(Pixel(C1.Left + H + 4 + 3, C1.Top + 4 + 1), kGrey);  // its picture, one step in

  const TRect C2 = Cell(5);  // Child2: the last child
  EXPECT_TRUE(Line(C2.Left + h2, C2.Top, C2.Top + h2));
  EXPECT_EQ(Pixel(C2.Left + h2, C2.Top + h2 + 1), White);
  EXPECT_EQ(Pixel(C2.Left + h2, C2.Bottom - 1), White);
}

TEST_F(CorvathPaintTest, AncestorsWithLaterSiblingsContinueTheirLines) {
  const TRect G1 = Cell(3);  // Grand1: Child1 has a later sibling
  EXPECT_TRUE(Line(G1.Left + h2, G1.Top, G1.Bottom - 1));
  EXPECT_TRUE(Line(G1.Left + H + h2, G1.Top, G1.Bottom - 1));

  const TRect G2 = Cell(4);  // Grand2: last child of Child1
  EXPECT_TRUE(Line(G2.Left + h2, G2.Top, G2.Bottom - 1));
  EXPECT_TRUE(Line(G2.Left + H + h2, G2.Top, G2.Top + h2));
  EXPECT_EQ(Pixel(G2.Left + H + h2, G2.Bottom - 1), White);
  EXPECT_EQ(Pixel(G2.Left + 2 * H + 4, G2.Top + 4 + 1), kBlack);  // leaf, two steps in

  const TRect G3 = Cell(6);  // Grand3: Child2 is the last child, so no line in step 0
  for (int32_t y = G3.Top; y < G3.Bottom; ++y)
    EXPECT_EQ(Pixel(G3.Left + h2, y), White) << y;
  EXPECT_TRUE(Line(G3.Left + H + h2, G3.Top, G3.Top + h2));
}

TEST_F(CorvathPaintTest, PicturesFollowExpansionAndChildren) {
  const TRect C1 = Cell(2);
  EXPECT_EQ(Pixel(C1.Left + H + 4 + 3, C1.Top + 4 + 2), White);  // open folder
  Grid->Outline()->Get(ItemIndex(*Grid, "Child1"))->SetExpandedState(false);
  Grid->Outline()->UpdateGrid();
  Paint();
  EXPECT_EQ(Pixel(C1.Left + H + 4 + 3, C1.Top + 4 + 2), kSilver);  // closed folder

  // Child2 loses its only child and becomes a leaf; it now shows on row 3.
  Grid->Outline()->Delete(ItemIndex(*Grid, "Grand3"));
  Paint();
  const TRect C2 = Cell(3);
  EXPECT_EQ(Pixel(C2.Left + H + 4, C2.Top + 4 + 1), kBlack);
}

TEST_F(CorvathPaintTest, OnDrawCellIsRaisedForEveryCellButTheTreeCells) {
  Grid->SetFixedCols(1);
  Grid->SetColCount(3);
  Grid->SetCol(2);
  std::set<std::pair<int32_t, int32_t>> Raised;
  Grid->OnDrawCell =
      TDrawCellEvent([&](TObject*, int32_t ACol, int32_t ARow, const TRect&, TGridDrawState) {
        Raised.insert({ACol, ARow});
      });
  Grid->Painted.clear();
  Paint();
  ASSERT_FALSE(Grid->Painted.empty());
  for (const auto& [Cell, Rect] : Grid->Painted) {
    const bool TreeCell = Cell.first == 0 && Cell.second >= Grid->FixedRows();
    EXPECT_EQ(Raised.count(Cell) == 1, !TreeCell) << Cell.first << "," << Cell.second;
  }
}

TEST_F(CorvathPaintTest, RowsWithoutAnItemPaintNothing) {
  Grid->Outline()->Clear();
  bool Raised = false;
  Grid->OnDrawCell =
      TDrawCellEvent([&](TObject*, int32_t ACol, int32_t ARow, const TRect&, TGridDrawState) {
        if (ACol == 0 && ARow == 1) Raised = true;
      });
  Paint();
  EXPECT_FALSE(Raised);
  const TRect R = Cell(1);
  for (int32_t x = R.Left; x < R.Right; x += 3)
    for (int32_t y = R.Top; y < R.Bottom; y += 3)
      ASSERT_EQ(Pixel(x, y), White) << x << "," << y;
}

TEST_F(CorvathPaintTest, PenIsRestoredAfterTheLines) {
  TCanvas* C = Grid->Canvas();
  C->Pen()->SetColor(clRed);
  C->Pen()->SetWidth(3);
  Grid->DrawCell(0, 4, Cell(4), TGridDrawState());
  EXPECT_EQ(C->Pen()->Color(), clRed);
  EXPECT_EQ(C->Pen()->Width(), 3);
}

TEST_F(CorvathPaintTest, PlusAndMinusPicturesAreNeverPainted) {
  const auto Before = Headless().SnapshotWindow(Form->Surface());
  TBitmap Red;
  Red.SetSize(16, 15);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect(TRect{0, 0, 16, 15});
  Grid->SetPicture(0, &Red);
  Grid->SetPicture(1, &Red);
  Grid->SetPicture(5, &Red);  // no such picture: ignored
  Paint();
  const auto After = Headless().SnapshotWindow(Form->Surface());
  for (int32_t y = 0; y < Before->Height(); ++y)
    for (int32_t x = 0; x < Before->Width(); ++x)
      ASSERT_EQ(Before->ScanLine(y)[x], After->ScanLine(y)[x]) << x << "," << y;
  EXPECT_EQ(Grid->GetPicture(0)->Width(), 16);
}

// Rows lower than the pictures and the boxes: each is cut to its cell, so that a cell
// painted again alone (a write to it, a new current cell) leaves the lines and rows around
// it as they were.
TEST_F(CorvathPaintTest, APictureTallerThanItsRowStaysInItsCell) {
  TBitmap Box;  // red, with a white corner for its transparent colour
  Box.SetSize(11, 11);
  Box.Canvas()->Brush()->SetColor(clRed);
  Box.Canvas()->FillRect(TRect{0, 0, 11, 11});
  Box.Canvas()->Brush()->SetColor(clWhite);
  Box.Canvas()->FillRect(TRect{0, 10, 1, 11});
  Grid->SetPicture(0, &Box);
  Grid->SetPicture(1, &Box);
  Grid->SetDefaultRowHeight(7);
  Grid->SetRowHeights(3, 4);
  for (const TTreeOptions Options : {TTreeOptions{}, TTreeOptions{toExpanders}}) {
    Grid->SetTreeOptions(Options);
    Paint();
    for (int32_t Row = 1; Row <= 6; ++Row) {
      Grid->InvalidateCell(0, Row);
      EXPECT_TRUE(ShowsLikeFullPaint(Form, "corvath-low-row-" + std::to_string(Row)));
    }
  }
}

// Saves a picture of a three-level tree with some branches collapsed when
// BW_SNAPSHOT_DIR names a folder, for a person to look at.
TEST_F(CorvathPaintTest, Snapshot) {
  Grid->SetFixedCols(1);
  Grid->SetColCount(3);
  Grid->SetOutlineCol(1);
  Grid->SetColWidths(1, 220);
  LoadItems(*Grid,
            "Documents\n\tLetters\n\t\tTo the bank\n\t\tTo the council\n\tInvoices\n\t\t2025\n"
            "\t\t2026\n\tNotes\nPictures\n\tHolidays\n\t\tCoast\n\tFamily\nMusic\n\tJazz\n");
  auto* O = Grid->Outline();
  for (const char* Open : {"Documents", "Letters", "Pictures", "Music"})
    O->Get(ItemIndex(*Grid, Open))->SetExpandedState(true);
  O->UpdateGrid();
  Paint();
  EXPECT_EQ(Grid->RowCount(), 1 + 11);
  if (const char* Dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(Form->Surface(), String(Dir) + "/corvath.png");
}

}  // namespace
}  // namespace bw::testing
