// Scrolling the outline grid moves the pixels of the rows that stay in view: the tree
// lines, boxes and pictures must join across the place where the moved rows meet the
// newly painted one, exactly as a full paint draws them.

#include <string>

#include "GridFixture.h"
#include "grid/TreeOptions.h"
#include "tests/support/FullPaintCheck.h"

namespace bw::testing {
namespace {

class CorvathScrollTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    // Three levels whose lines run on through many rows, with last children ending
    // them; a row of 14 + 1 pixels moves the lines by an odd amount.
    String text;
    for (int top = 1; top <= 4; ++top) {
      text += "Top " + std::to_string(top) + "\n";
      for (int child = 1; child <= 5; ++child) {
        text += "\tChild " + std::to_string(top) + "." + std::to_string(child) + "\n";
        for (int grand = 1; grand <= 3; ++grand)
          text += "\t\tGrand " + std::to_string(grand) + "\n";
      }
    }
    LoadItems(*Grid, text);
    Grid->Outline()->FullExpand();
    Grid->SetTreeOptions({toExpanders});
    Grid->SetDefaultRowHeight(14);
    Grid->SetColWidths(0, 220);
    Grid->SetFocus();
    Paint();
  }
};

TEST_F(CorvathScrollTest, OneRowAtATimeLooksLikeAFullPaint) {
  for (int step = 0; step < 24; ++step) {
    THeadlessInput::Wheel(Grid, {300, 100}, step < 16 ? -40 : 40);
    EXPECT_TRUE(ShowsLikeFullPaint(Form, "corvath-scroll-" + std::to_string(step)));
  }
  EXPECT_EQ(Grid->TopRow(), 1 + 16 - 8);
}

TEST_F(CorvathScrollTest, OnlyTheRowsComingIntoViewAreDrawn) {
  Grid->SetTopRow(20);
  Paint();
  const int32_t last = Grid->Layout().LastVisibleRow();
  Grid->Painted.clear();
  THeadlessInput::Wheel(Grid, {300, 100}, -40);
  Application->ProcessMessages();
  ASSERT_FALSE(Grid->Painted.empty());
  for (const auto& [cell, rect] : Grid->Painted)
    EXPECT_GE(cell.second, last) << cell.first << ":" << cell.second;
  // Many wheel steps with a paint after each still add up to the full picture.
  for (int step = 0; step < 30; ++step) {
    THeadlessInput::Wheel(Grid, {300, 100}, step % 7 == 6 ? 120 : -40);
    Application->ProcessMessages();
  }
  EXPECT_TRUE(ShowsLikeFullPaint(Form, "corvath-scroll-many"));
}

}  // namespace
}  // namespace bw::testing
