// Scrolling moves the pixels of what stays in view and paints only what comes into view.
// Whatever the grid shows around the move (fixed cells, the selection, the focus frame,
// the editor, windows over it, paints still pending), the result must look exactly like
// a full paint of the same state.

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "GridFixture.h"
#include "platform/controls/TButton.h"
#include "platform/controls/TSpeedButton.h"
#include "platform/graphics/TCanvas.h"
#include "tests/support/FullPaintCheck.h"

namespace bw::test {
namespace {

using bw::testing::ShowsLikeFullPaint;

class GridScrollTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Grid->SetColCount(30);
    Grid->SetRowCount(300);
    Grid->OnDrawCell = [this](TObject*, int32_t c, int32_t r, const TRect& R, TGridDrawState) {
      Drawn.push_back({c, r});
      auto label = Labels.find({c, r});
      Grid->Canvas()->Brush()->SetStyle(bsClear);
      Grid->Canvas()->TextOut(
          R.Left + 2, R.Top + 2,
          label != Labels.end() ? label->second : std::to_string(c) + ":" + std::to_string(r));
    };
    Grid->SetTopRow(40);
    Grid->SetLeftCol(5);
    Application->ProcessMessages();
  }

  /// Runs each step from a picture that is right, and checks the picture after it.
  void CheckSteps(const std::string& Name,
                  const std::vector<std::pair<std::string, std::function<void()>>>& Steps) {
    for (const auto& [step, run] : Steps) {
      run();
      EXPECT_TRUE(ShowsLikeFullPaint(Form, Name + "-" + step));
    }
  }
  void Rows(int32_t N) { Grid->SetTopRow(Grid->TopRow() + N); }
  void Cols(int32_t N) { Grid->SetLeftCol(Grid->LeftCol() + N); }
  /// Paints what is pending and forgets which cells were drawn.
  void Settle() {
    Application->ProcessMessages();
    Drawn.clear();
  }

  std::vector<TGridCoord> Drawn;
  std::map<std::pair<int32_t, int32_t>, std::string> Labels;
};

TEST_F(GridScrollTest, ScrollsLookLikeAFullPaint) {
  // A focused grid with a selected block and its framed current cell in view. Rows take
  // 25 pixels and columns 65 with their lines: odd moves shift the frame's dots.
  Grid->SetFocus();
  Grid->SetSelection({6, 44, 8, 47});
  ASSERT_TRUE(Grid->Focused());
  CheckSteps("grid-scroll", {
                                {"down-1", [&] { Rows(1); }},
                                {"down-3", [&] { Rows(3); }},
                                {"up-2", [&] { Rows(-2); }},
                                {"right-1", [&] { Cols(1); }},
                                {"left-2", [&] { Cols(-2); }},
                                {"both",
                                 [&] {
                                   Rows(2);
                                   Cols(1);
                                 }},
                                {"wheel-third",
                                 [&] {
                                   THeadlessInput::Wheel(Grid, {90, 90}, -40);
                                 }},
                                {"wheel-notch",
                                 [&] {
                                   THeadlessInput::Wheel(Grid, {90, 90}, 120);
                                 }},
                                {"page-down", [&] { Grid->Key(VK_NEXT); }},
                                {"key-down", [&] { Grid->Key(VK_DOWN); }},
                                {"last-rows", [&] { Rows(1000); }},
                                {"off-the-end", [&] { Rows(-1); }},
                                {"last-cols", [&] { Cols(1000); }},
                                {"back",
                                 [&] {
                                   Cols(-1);
                                   Rows(-200);
                                 }},
                            });
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  Application->ProcessMessages();
  CheckSteps("grid-scroll-rowselect", {
                                          {"right-1", [&] { Cols(1); }},
                                          {"down-1", [&] { Rows(1); }},
                                          {"key-down", [&] { Grid->Key(VK_DOWN); }},
                                      });
}

TEST_F(GridScrollTest, OnlyWhatComesIntoViewIsDrawn) {
  Grid->SetFocus();  // the wheel turns the focused control; the current cell is out of view
  Settle();
  const int32_t lastRow = Grid->Layout().LastVisibleRow();
  THeadlessInput::Wheel(Grid, {90, 90}, -40);
  ASSERT_EQ(Grid->TopRow(), 41);
  Application->ProcessMessages();
  ASSERT_FALSE(Drawn.empty());
  for (const TGridCoord& c : Drawn)
    EXPECT_GE(c.Y, lastRow) << c.X << ":" << c.Y;  // the partly shown last row, and the next
  EXPECT_LE(Drawn.size(), 2u * (Grid->VisibleColCount() + 2));

  Settle();
  const int32_t lastCol = Grid->Layout().LastVisibleCol();
  Cols(1);
  Application->ProcessMessages();
  ASSERT_FALSE(Drawn.empty());
  for (const TGridCoord& c : Drawn)
    EXPECT_GE(c.X, lastCol) << c.X << ":" << c.Y;
  EXPECT_TRUE(ShowsLikeFullPaint(Form, "grid-scroll-new-strip"));
}

TEST_F(GridScrollTest, PaintsStillPendingMoveWithTheContent) {
  // A cell changed and marked, then scrolled before it was painted.
  Labels[{7, 46}] = "new";
  Grid->InvalidateCell(7, 46);
  Rows(2);
  EXPECT_TRUE(ShowsLikeFullPaint(Form, "grid-scroll-pending-cell"));

  // A window over the grid goes: the form marks where it was, and its pixels are still
  // in the back buffer when the grid scrolls under that place.
  auto* button = new TButton(Form);
  button->SetParent(Form);
  button->SetBounds(120, 100, 90, 60);
  Application->ProcessMessages();
  button->SetVisible(false);
  Rows(-1);
  EXPECT_TRUE(ShowsLikeFullPaint(Form, "grid-scroll-pending-parent"));
}

TEST_F(GridScrollTest, WindowsOverTheGridAndClippedGridsStayRight) {
  auto* over = new TButton(Form);
  over->SetParent(Form);
  over->SetBounds(300, 200, 80, 40);
  auto* inside = new TSpeedButton(Grid);
  inside->SetParent(Grid);
  inside->SetBounds(150, 60, 40, 40);
  Application->ProcessMessages();
  CheckSteps("grid-scroll-covered", {{"down", [&] { Rows(1); }}, {"right", [&] { Cols(1); }}});
  inside->SetVisible(false);
  CheckSteps("grid-scroll-covered-by-window",
             {{"down", [&] { Rows(1); }}, {"right", [&] { Cols(-1); }}});
  over->SetVisible(false);
  // Larger than the form, and placed above and left of its client area.
  Grid->SetBounds(-30, -40, 700, 600);
  Application->ProcessMessages();
  CheckSteps("grid-scroll-clipped",
             {{"down", [&] { Rows(1); }}, {"up", [&] { Rows(-3); }}, {"right", [&] { Cols(1); }}});
}

TEST_F(GridScrollTest, TheEditorMovesWithItsCellOrHides) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goAlwaysShowEditor});
  Grid->SetFocus();
  Grid->SetSelection({7, 42, 7, 42});
  Grid->ShowEditor();
  Application->ProcessMessages();
  TInplaceEdit* editor = Grid->InplaceEditor();
  ASSERT_TRUE(editor && editor->Visible());
  auto editorOnItsCell = [&] {
    ASSERT_TRUE(editor->Visible());
    EXPECT_EQ(editor->BoundsRect(), Grid->CellRect(7, 42));
  };
  CheckSteps("grid-scroll-editor", {{"down",
                                     [&] {
                                       Rows(1);
                                       editorOnItsCell();
                                     }},
                                    {"right",
                                     [&] {
                                       Cols(1);
                                       editorOnItsCell();
                                     }},
                                    {"away",
                                     [&] {
                                       Rows(2);
                                       EXPECT_FALSE(editor->Visible());
                                     }},
                                    {"back", [&] {
                                       Rows(-2);
                                       editorOnItsCell();
                                     }}});
}

TEST_F(GridScrollTest, ManyStepsInARowAddUpToTheFullPaint) {
  Grid->SetFocus();
  Grid->SetSelection({6, 50, 6, 50});
  for (int i = 0; i < 30; ++i) {
    THeadlessInput::Wheel(Grid, {90, 90}, i < 20 ? -40 : 40);
    Application->ProcessMessages();
  }
  for (int i = 0; i < 6; ++i) {
    Cols(i < 4 ? 1 : -1);
    Application->ProcessMessages();
  }
  EXPECT_EQ(Grid->TopRow(), 50);
  EXPECT_TRUE(ShowsLikeFullPaint(Form, "grid-scroll-many"));
}

TEST_F(GridScrollTest, AFinerWheelScrollsARowForEachThirdOfANotch) {
  Grid->SetFocus();
  THeadlessInput::Wheel(Grid, {90, 90}, -40);
  EXPECT_EQ(Grid->TopRow(), 41);
  THeadlessInput::Wheel(Grid, {90, 90}, -20);
  EXPECT_EQ(Grid->TopRow(), 41);  // half a row waits
  THeadlessInput::Wheel(Grid, {90, 90}, -20);
  EXPECT_EQ(Grid->TopRow(), 42);
  THeadlessInput::Wheel(Grid, {90, 90}, 60);
  EXPECT_EQ(Grid->TopRow(), 41);
  THeadlessInput::Wheel(Grid, {90, 90}, 60);
  EXPECT_EQ(Grid->TopRow(), 39);  // two notches' halves: three rows, as one notch
}

}  // namespace
}  // namespace bw::test
