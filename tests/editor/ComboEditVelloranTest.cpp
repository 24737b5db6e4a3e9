// The combo editor in a string grid: the button's text reaching the cell kept under the
// data row, and a picture of the grid with its editor open.

#include <cstdlib>

#include "ComboEditTestSupport.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/backend/VirtualKeys.h"
#include "stringgrid/TVelloran.h"
#include "tests/support/GridPixels.h"

namespace bw::testing {
namespace {

class ComboEditVelloranTest : public ComboEditTest {
 protected:
  void SetUp() override {
    ComboEditTest::SetUp();
    // A (A1, A2) collapsed, then B: B shows on visual row 2 and is kept under data row 4.
    Grid = NewEditingGrid<TVelloran>(400, 180, 3, "A\n\tA1\n\tA2\nB\n");
    Grid->SetColWidths(0, 120);
    Grid->SetColWidths(1, 150);
    Grid->SetColWidths(2, 100);
    Grid->SetCells(1, 0, "Colour");
    Grid->SetCells(2, 0, "Size");
    Grid->SetCells(1, 1, "Amber");
    Grid->SetCells(1, 4, "Blue");
    Grid->SetCells(2, 4, "Large");
    Grid->SetFocus();
    Application->ProcessMessages();
  }

  TInplaceComboEdit* Edit(int32_t ACol, int32_t ARow) { return OpenEditor(Grid, ACol, ARow); }

  TVelloran* Grid = nullptr;
};

TEST_F(ComboEditVelloranTest, TheHandlersTextReachesTheCellOnceCommitted) {
  std::vector<String> seen;
  Grid->OnButtonClick = TEditButtonClickEvent([&](TObject*, int32_t C, int32_t R, String& T) {
    EXPECT_EQ(R, 4);
    seen.push_back(Grid->GetCells(C, R) + "|" + T);
    T = "Cyan";
  });
  auto* e = Edit(1, 2);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Text(), "Blue");
  ClickButton(e);
  EXPECT_EQ(e->Text(), "Cyan");
  EXPECT_EQ(Grid->GetCells(1, 4), "Blue") << "stored only once committed";
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Grid->GetCells(1, 4), "Cyan");
  EXPECT_EQ(Grid->GetCells(1, 2), "") << "not under the visual row";

  // Ctrl+Down in the next column's editor; moving away commits as well.
  Grid->OnButtonClick = TEditButtonClickEvent([&](TObject*, int32_t C, int32_t R, String& T) {
    seen.push_back(Grid->GetCells(C, R) + "|" + T);
    T = "Small";
  });
  e = Edit(2, 2);
  THeadlessInput::Key(VK_DOWN, kModCtrl);
  THeadlessInput::Key(VK_UP);
  EXPECT_EQ(Grid->Row(), 1);
  EXPECT_EQ(Grid->GetCells(2, 4), "Small");
  EXPECT_EQ(seen, (std::vector<String>{"Blue|Blue", "Large|Large"}));
}

TEST_F(ComboEditVelloranTest, ExpandingKeepsTheEditedCellWithItsItem) {
  Grid->OnButtonClick =
      TEditButtonClickEvent([&](TObject*, int32_t, int32_t, String& T) { T = "Green"; });
  auto* e = Edit(1, 2);
  e->DoClick();
  THeadlessInput::Key(VK_RETURN);
  THeadlessInput::DoubleClick(Grid, TPoint{20, Grid->CellRect(0, 1).Top + 5});
  ASSERT_EQ(Grid->RowCount(), 5);
  Grid->SetRow(4);
  Grid->ShowEditor();
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "Green");
}

// The picture a person looks at (BW_SNAPSHOT_DIR names its folder): text area and the
// dots button over the edited cell.
// A failing OnButtonClick is reported; the editor stays open with its text, nothing is
// stored, and the next commit works.
TEST_F(ComboEditVelloranTest, FailingButtonHandlerLeavesTheEditorAndCellAlone) {
  std::vector<String> reported;
  Application->OnException =
      TExceptionEvent([&](TObject*, const Exception& E) { reported.push_back(E.Message()); });
  Grid->OnButtonClick = TEditButtonClickEvent([](TObject*, int32_t, int32_t, String& T) {
    T = "half";
    throw Exception("button failed");
  });
  auto* e = Edit(1, 2);
  ASSERT_NE(e, nullptr);
  ClickButton(e);
  Application->ProcessMessages();
  EXPECT_EQ(reported, std::vector<String>{"button failed"});
  EXPECT_TRUE(e->Visible());
  EXPECT_EQ(e->Text(), "Blue");
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_EQ(Grid->GetCells(1, 4), "Blue");

  Grid->OnButtonClick = TEditButtonClickEvent();
  THeadlessInput::Key(VK_END);
  THeadlessInput::Type("!");
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Grid->GetCells(1, 4), "Blue!");
}

TEST_F(ComboEditVelloranTest, SnapshotWithTheEditorOpen) {
  auto* e = Edit(1, 2);
  e->Deselect();
  Grid->Invalidate();
  Application->ProcessMessages();
  const TRect cell = Grid->CellRect(1, 2);
  auto pixel = [&](int32_t X, int32_t Y) {
    return PresentedPixel(Form, Grid, cell.Left + X, cell.Top + Y);
  };
  // Text ink starts at the cell's text inset; nothing of it lies under the button.
  const int32_t holder = e->ButtonHolder()->Left();
  bool ink = false;
  for (int32_t x = 2; x < 20; ++x)
    for (int32_t y = 2; y < cell.Height() - 2; ++y)
      ink = ink || (pixel(x, y) & 0xFFFFFF) != ColorToPixel(clWindow);
  EXPECT_TRUE(ink);
  // The first dot: the 11x4 glyph centred on the button, its squares on rows 1 and 2.
  const TPoint dot = Grid->ScreenToClient(e->Button()->ClientToScreen(
      TPoint{(e->Button()->Width() - 11 + 1) / 2, (e->Button()->Height() - 4 + 1) / 2 + 1}));
  EXPECT_EQ(PresentedPixel(Form, Grid, dot.X, dot.Y), 0u);
  EXPECT_EQ(pixel(holder - 1, 5), ColorToPixel(clWindow)) << "the text area ends before it";
  if (const char* dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(Form->Surface(), String(dir) + "/combo-velloran.png");
}

}  // namespace
}  // namespace bw::testing
