#include "GridFixture.h"

#include "platform/graphics/TCanvas.h"

namespace bw::test {
namespace {

uint32_t Px(TColor c) {
  return ColorToPixel(c);
}

class GridPaintTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Grid->OnDrawCell = [this](TObject*, int32_t c, int32_t r, const TRect& R, TGridDrawState S) {
      Drawn.push_back({c, r, R, S});
      TCanvas* canvas = Grid->Canvas();
      canvas->Brush()->SetStyle(bsClear);
      canvas->TextOut(R.Left + 2, R.Top + 2, std::to_string(c) + ":" + std::to_string(r));
    };
  }
  struct Call {
    int32_t Col, Row;
    TRect Rect;
    TGridDrawState State;
  };
  void Repaint() {
    Drawn.clear();
    Grid->Invalidate();
    Application->ProcessMessages();
  }
  const Call* Find(int32_t c, int32_t r) {
    for (const Call& call : Drawn)
      if (call.Col == c && call.Row == r) return &call;
    return nullptr;
  }
  std::vector<Call> Drawn;
};

TEST_F(GridPaintTest, EveryVisibleCellIsDrawnOnceWithItsRectAndState) {
  Grid->SetColCount(20);
  Grid->SetRowCount(100);
  Grid->SetLeftCol(3);
  Grid->SetTopRow(10);
  Grid->SetSelection({3, 10, 4, 11});
  Repaint();
  Snapshot("grid-scrolled");
  const int32_t cols = Grid->VisibleColCount() + 1 /* fixed */ + 1 /* partly */;
  const int32_t rows = Grid->VisibleRowCount() + 1 + 1;
  EXPECT_EQ(static_cast<int32_t>(Drawn.size()), cols * rows);
  ASSERT_NE(Find(0, 0), nullptr);
  EXPECT_EQ(Find(0, 0)->State, TGridDrawState{gdFixed});
  EXPECT_EQ(Find(3, 0)->Rect, Grid->CellRect(3, 0));
  EXPECT_EQ(Find(3, 10)->Rect, Rect(65, 25, 129, 49));
  EXPECT_TRUE(Find(3, 10)->State.Contains(gdSelected));
  EXPECT_FALSE(Find(5, 10)->State.Contains(gdSelected));
  EXPECT_EQ(Find(1, 1), nullptr);  // scrolled away
  EXPECT_EQ(Find(2, 10), nullptr);
}

TEST_F(GridPaintTest, ColoursOfFixedNormalAndSelectedCellsAndLines) {
  Grid->OnDrawCell = nullptr;
  Grid->SetSelection({2, 2, 3, 3});
  Application->ProcessMessages();
  Snapshot("grid-colours");
  EXPECT_EQ(Pixel(30, 12), Px(clBtnFace));     // fixed corner, inside its 3-D edge
  EXPECT_EQ(Pixel(64, 12), Px(clBlack));       // fixed vertical line
  EXPECT_EQ(Pixel(0, 0), Px(clBtnHighlight));  // raised edge of a fixed cell
  EXPECT_EQ(Pixel(100, 40), Px(clWindow));     // cell (1, 1)
  EXPECT_EQ(Pixel(129, 40), Px(clSilver));     // grid line in the scrolled part
  EXPECT_EQ(Pixel(160, 60), Px(clHighlight));  // (2, 2), selected
  EXPECT_EQ(Pixel(250, 85), Px(clHighlight));  // (3, 3), selected and current
  EXPECT_EQ(Pixel(380, 60), Px(clWindow));     // right of the last column
}

TEST_F(GridPaintTest, FocusedCurrentCellIsFramedNotFilled) {
  Grid->SetFocus();
  Grid->SetRow(2);
  Repaint();
  ASSERT_TRUE(Grid->Focused());
  ASSERT_NE(Find(1, 2), nullptr);
  EXPECT_TRUE(Find(1, 2)->State.Contains(gdFocused));
  EXPECT_EQ(Pixel(100, 62), Px(clWindow));  // no highlight under the focus
  int framed = 0;                           // the dotted frame along the top edge
  for (int32_t x = 66; x < 126; ++x)
    framed += Pixel(x, 50) != Px(clWindow);
  EXPECT_GT(framed, 20);
  Grid->SetOptions(Grid->Options() + TGridOptions{goDrawFocusSelected});
  EXPECT_EQ(Pixel(100, 62), Px(clHighlight));
}

TEST_F(GridPaintTest, InvalidateCellRepaintsThatCellAlone) {
  Grid->SetRowCount(50);
  Grid->SetTopRow(20);
  Application->ProcessMessages();
  Drawn.clear();
  Grid->InvalidateCell(2, 22);
  Application->ProcessMessages();
  ASSERT_EQ(Drawn.size(), 1u);
  EXPECT_EQ(Drawn[0].Col, 2);
  EXPECT_EQ(Drawn[0].Row, 22);
  Drawn.clear();
  Grid->InvalidateCell(2, 5);  // scrolled away: nothing to paint
  Grid->InvalidateRow(0);      // the fixed row: every visible column of it
  Application->ProcessMessages();
  EXPECT_EQ(Drawn.size(), 5u);
  for (const Call& c : Drawn)
    EXPECT_EQ(c.Row, 0);
}

TEST_F(GridPaintTest, PaintingCostsTheSameForAMillionRows) {
  Grid->SetRowCount(100);
  Repaint();
  size_t small = Drawn.size();
  Grid->SetRowCount(1'000'000);
  Grid->SetTopRow(500'000);
  Repaint();
  EXPECT_EQ(Drawn.size(), small);
}

TEST_F(GridPaintTest, DefaultDrawingOffLeavesTheCellToDrawCell) {
  Grid->SetDefaultDrawing(false);
  Grid->OnDrawCell = [this](TObject*, int32_t, int32_t, const TRect& R, TGridDrawState) {
    Grid->Canvas()->Brush()->SetColor(clRed);
    Grid->Canvas()->FillRect(R);
  };
  Application->ProcessMessages();
  EXPECT_EQ(Pixel(30, 12), Px(clRed));
  EXPECT_EQ(Pixel(0, 0), Px(clRed));      // no 3-D edge either
  EXPECT_EQ(Pixel(64, 12), Px(clBlack));  // the lines stay
}

// --- mouse ----------------------------------------------------------------------------

TEST_F(GridPaintTest, ClickSelectsAndShiftClickExtends) {
  THeadlessInput::Click(Grid, {150, 60});
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 2);
  THeadlessInput::Click(Grid, {220, 85}, mbLeft, kModShift);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 3, 3}));
  // A drag selects the cells it passes.
  THeadlessInput::MouseDown(Grid, {100, 35});
  THeadlessInput::MouseMove(Grid, {230, 110});
  THeadlessInput::MouseUp(Grid, {230, 110});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 4}));
  THeadlessInput::Click(Grid, {10, 60});  // a fixed cell selects nothing
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 4}));
}

TEST_F(GridPaintTest, DraggingALineInTheFixedRowSizesItsColumn) {
  THeadlessInput::MouseDown(Grid, {129, 10});  // on column 1's line
  THeadlessInput::MouseMove(Grid, {160, 10});
  THeadlessInput::MouseUp(Grid, {160, 10});
  EXPECT_EQ(Grid->GetColWidths(1), 64);  // without goColSizing nothing happens
  Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing, goRowSizing});
  THeadlessInput::MouseDown(Grid, {129, 10});
  THeadlessInput::MouseMove(Grid, {160, 10});
  THeadlessInput::MouseUp(Grid, {160, 10});
  EXPECT_EQ(Grid->GetColWidths(1), 95);
  THeadlessInput::MouseDown(Grid, {10, 49});  // row 1's line, in the fixed column
  THeadlessInput::MouseMove(Grid, {10, 40});
  THeadlessInput::MouseUp(Grid, {10, 40});
  EXPECT_EQ(Grid->GetRowHeights(1), 15);
}

TEST_F(GridPaintTest, SizingNextToAHiddenColumnOrRowSizesTheShownOne) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing, goRowSizing});
  Grid->SetColWidths(2, -1);   // column 3 now starts right after column 1's line, at 130
  Grid->SetRowHeights(2, -1);  // row 3 starts after row 1's line, at 50
  THeadlessInput::MouseDown(Grid, {131, 10});  // just inside column 3: column 1's edge
  THeadlessInput::MouseMove(Grid, {161, 10});
  THeadlessInput::MouseUp(Grid, {161, 10});
  EXPECT_EQ(Grid->GetColWidths(2), -1);
  EXPECT_EQ(Grid->GetColWidths(1), 94);
  THeadlessInput::MouseDown(Grid, {10, 51});
  THeadlessInput::MouseMove(Grid, {10, 61});
  THeadlessInput::MouseUp(Grid, {10, 61});
  EXPECT_EQ(Grid->GetRowHeights(2), -1);
  EXPECT_EQ(Grid->GetRowHeights(1), 34);
}

TEST_F(GridPaintTest, DraggingAFixedCellMovesItsColumn) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goColMoving, goRowMoving});
  std::vector<std::pair<int32_t, int32_t>> moves;
  Grid->OnColumnMoved = [&](TObject*, int32_t f, int32_t t) { moves.emplace_back(f, t); };
  Grid->OnRowMoved = [&](TObject*, int32_t f, int32_t t) { moves.emplace_back(-f, -t); };
  THeadlessInput::MouseDown(Grid, {100, 10});  // header of column 1
  THeadlessInput::MouseMove(Grid, {200, 10});
  EXPECT_EQ(Grid->GridState(), gsColMoving);
  THeadlessInput::MouseMove(Grid, {280, 10});
  THeadlessInput::MouseUp(Grid, {280, 10});
  THeadlessInput::MouseDown(Grid, {10, 85});  // row 3, moved up to row 1
  THeadlessInput::MouseMove(Grid, {10, 30});
  THeadlessInput::MouseUp(Grid, {10, 30});
  THeadlessInput::Click(Grid, {100, 10});  // a click without a drag moves nothing
  EXPECT_EQ(moves, (std::vector<std::pair<int32_t, int32_t>>{{1, 4}, {-3, -1}}));
  EXPECT_EQ(Grid->GridState(), gsNormal);
}

TEST_F(GridPaintTest, ScrollBarsAndWheelScroll) {
  Grid->SetRowCount(100);
  Grid->SetColCount(20);  // both bars, so the vertical one ends above the horizontal one
  const int32_t barX = Grid->ClientWidth() - 8;
  THeadlessInput::Click(Grid, {barX, Grid->ClientHeight() - 16 - 8});  // down arrow
  EXPECT_EQ(Grid->TopRow(), 2);
  THeadlessInput::Click(Grid, {barX, Grid->ClientHeight() - 40});  // the track below the thumb
  EXPECT_EQ(Grid->TopRow(), 2 + Grid->VisibleRowCount());
  THeadlessInput::Wheel(Grid, {100, 100}, -120);  // towards the user: down
  EXPECT_EQ(Grid->TopRow(), 5 + Grid->VisibleRowCount());
  THeadlessInput::Wheel(Grid, {100, 100}, 240);
  EXPECT_EQ(Grid->TopRow(), Grid->VisibleRowCount() - 1);
  EXPECT_EQ(Grid->Row(), 1);  // scrolling leaves the current cell alone
  THeadlessInput::Click(Grid, {Grid->ClientWidth() - 16 - 8, Grid->ClientHeight() - 8});
  EXPECT_EQ(Grid->LeftCol(), 2);  // the horizontal bar's right arrow
}

TEST_F(GridPaintTest, HeldButtonsAndSelectingDragsKeepScrolling) {
  Grid->SetRowCount(100);
  const int32_t barX = Grid->ClientWidth() - 8, downArrow = Grid->ClientHeight() - 8;
  auto wait = [this](uint32_t ms) {
    Headless().AdvanceTime(ms);
    Application->ProcessMessages();
  };
  THeadlessInput::MouseDown(Grid, {barX, downArrow});
  EXPECT_EQ(Grid->TopRow(), 2);
  wait(399);
  EXPECT_EQ(Grid->TopRow(), 2);  // a pause before the repeat starts
  wait(1);
  EXPECT_EQ(Grid->TopRow(), 3);
  for (int i = 0; i < 4; ++i)
    wait(50);
  EXPECT_EQ(Grid->TopRow(), 7);
  THeadlessInput::MouseUp(Grid, {barX, downArrow});
  wait(500);
  EXPECT_EQ(Grid->TopRow(), 7);

  // A drag below the view goes on selecting downwards while the mouse is held there.
  Grid->SetTopRow(1);
  THeadlessInput::MouseDown(Grid, {100, 35});
  THeadlessInput::MouseMove(Grid, {100, Grid->ClientHeight() + 20});
  const int32_t row = Grid->Row();
  wait(60);
  wait(60);
  EXPECT_EQ(Grid->Row(), row + 2);
  EXPECT_EQ(Grid->Selection().Top, 1);
  THeadlessInput::MouseUp(Grid, {100, Grid->ClientHeight() + 20});
  wait(200);
  EXPECT_EQ(Grid->Row(), row + 2);
}

TEST_F(GridPaintTest, LosingTheMouseMidDragEndsTheDrag) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goColMoving});
  int moves = 0;
  Grid->OnColumnMoved = [&](TObject*, int32_t, int32_t) { ++moves; };
  THeadlessInput::MouseDown(Grid, {100, 10});
  THeadlessInput::MouseMove(Grid, {250, 10});
  EXPECT_EQ(Grid->GridState(), gsColMoving);
  Grid->Perform(WM_CANCELMODE, 0, 0);
  EXPECT_EQ(Grid->GridState(), gsNormal);
  THeadlessInput::MouseUp(Grid, {250, 10});
  EXPECT_EQ(moves, 0);
}

TEST_F(GridPaintTest, DraggingTheThumbScrollsOnRelease) {
  Grid->SetRowCount(1000);
  Application->ProcessMessages();
  const int32_t barX = Grid->ClientWidth() - 8;
  THeadlessInput::MouseDown(Grid, {barX, 20});  // the thumb at the top of the track
  THeadlessInput::MouseMove(Grid, {barX, 150});
  EXPECT_EQ(Grid->TopRow(), 1);
  THeadlessInput::MouseUp(Grid, {barX, 150});
  EXPECT_GT(Grid->TopRow(), 400);
  Grid->SetOptions(Grid->Options() + TGridOptions{goThumbTracking});
  Grid->SetTopRow(1);
  THeadlessInput::MouseDown(Grid, {barX, 20});
  THeadlessInput::MouseMove(Grid, {barX, 100});
  EXPECT_GT(Grid->TopRow(), 100);
  THeadlessInput::MouseUp(Grid, {barX, 100});
}

}  // namespace
}  // namespace bw::test
