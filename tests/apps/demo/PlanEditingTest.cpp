// The demo's editing in process: the calendar's dates, the editor's button per column,
// and the choices the Owner and Status buttons offer.

#include <gtest/gtest.h>

#include "apps/demo/PlanColumns.h"
#include "apps/demo/TDemoTour.h"
#include "apps/demo/TDuePopup.h"
#include "apps/demo/TPlanCellEdit.h"
#include "apps/demo/TPlanDocument.h"
#include "apps/demo/TPlanForm.h"
#include "apps/demo/TPlanGrid.h"
#include "editor/TEditButton.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/outline/TOutlineNode.h"
#include "tests/platform/core/TempFolder.h"
#include "tests/support/GridPixels.h"

namespace bw::demo::testing {
namespace {

using namespace std::chrono;

TEST(DuePopupDates, OnlyRealDatesInOneSpellingParse) {
  year_month_day date;
  EXPECT_TRUE(TDuePopup::ParseDate("2028-02-29", date));
  EXPECT_EQ(TDuePopup::FormatDate(date), "2028-02-29");
  for (const char* bad : {"2027-02-29", "2027-6-01", "2027-06-1 ", "27-06-01", "2027/06/01", ""})
    EXPECT_FALSE(TDuePopup::ParseDate(bad, date)) << bad;
}

class PlanEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    Form = TPlanDocument::FromOutline(BW_DEMO_DATA_DIR "/plan.outline",
                                      BW_DEMO_DATA_DIR "/plan.cells", {"Structure", "Steel beams"});
    Grid = Form->Grid();
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override { Application->Reset(); }

  TPlanCellEdit* Editor() { return dynamic_cast<TPlanCellEdit*>(Grid->InplaceEditor()); }

  TPlanForm* Form = nullptr;
  TPlanGrid* Grid = nullptr;
  bw::testing::TempFolder Folder;
};

TEST_F(PlanEditing, TheButtonFitsTheColumn) {
  TDemoTour tour(Form, Folder.Root());
  tour.EditCell(pcOwner, "Install beams");
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->GlyphKind(), gkEllipsis);
  EXPECT_TRUE(Editor()->ButtonHolder()->Visible());
  EXPECT_EQ(Editor()->Popup(), nullptr);
  tour.EditCell(pcDue, "Install beams");
  EXPECT_EQ(Editor()->GlyphKind(), gkDropDown);
  EXPECT_EQ(Editor()->Popup(), Editor()->DuePopup());
  tour.EditCell(pcNotes, "Install beams");
  EXPECT_FALSE(Editor()->ButtonHolder()->Visible());
}

TEST_F(PlanEditing, TheCalendarMovesByDaysAndMonthsAndKeepsToTheMonthsEnd) {
  TDemoTour tour(Form, Folder.Root());
  Grid->SetCells(pcDue, 44, "2027-01-31");
  tour.EditCell(pcDue, "Install beams");
  tour.PressEditorButton();
  ASSERT_TRUE(Editor()->GetPopupVisible());
  EXPECT_TRUE(THeadlessInput::Backend().WindowIsPopup(Editor()->DuePopup()->Surface()));
  tour.Key(VK_NEXT);
  EXPECT_EQ(Editor()->DuePopup()->GetValue(), "2027-02-28");
  tour.Key(VK_UP);
  EXPECT_EQ(Editor()->DuePopup()->GetValue(), "2027-02-21");
  tour.Key(VK_ESCAPE);  // drops the calendar's date
  EXPECT_FALSE(Editor()->GetPopupVisible());
  EXPECT_EQ(Editor()->Text(), "2027-01-31");
}

TEST_F(PlanEditing, AClickOnADayTakesItAndTheTitleArrowsTurnPages) {
  TDemoTour tour(Form, Folder.Root());
  tour.EditCell(pcDue, "Install beams");  // 2027-06-25
  tour.PressEditorButton();
  TDuePopup* popup = Editor()->DuePopup();
  const int32_t arrowY = TDuePopup::TitleHeight / 2;
  THeadlessInput::Click(popup, TPoint{popup->ClientWidth() - 8, arrowY});  // July
  ASSERT_TRUE(Editor()->GetPopupVisible());
  // July 2027 starts on a Thursday: the first row's fourth cell.
  const int32_t dayY = 1 + TDuePopup::TitleHeight + TDuePopup::DayNamesHeight + 5;
  THeadlessInput::Click(popup, TPoint{1 + 3 * TDuePopup::CellWidth + 5, dayY});
  EXPECT_FALSE(Editor()->GetPopupVisible());
  EXPECT_EQ(Editor()->Text(), "2027-07-01");
}

TEST_F(PlanEditing, OwnerAndStatusChooseFromTheirLists) {
  std::vector<String> offered;
  Form->Chooser = [&](const String&, const std::vector<String>& Items, String& Value) {
    offered = Items;
    Value = Items.back();
    return true;
  };
  TDemoTour tour(Form, Folder.Root());
  tour.EditCell(pcOwner, "Install beams");
  tour.PressEditorButton();
  EXPECT_EQ(offered.front(), "Alex Reid");  // everyone in the Owner column, sorted
  EXPECT_EQ(Editor()->Text(), "Tom Hale");
  tour.EditCell(pcStatus, "Install beams");
  tour.PressEditorButton();
  EXPECT_EQ(offered, TPlanForm::Statuses());
  tour.Key(VK_RETURN);
  EXPECT_EQ(Grid->GetCells(pcStatus, 44), "Done");
}

TEST_F(PlanEditing, TheTreeOpensFromTheKeyboardAndByItsBoxes) {
  TDemoTour tour(Form, Folder.Root());
  // Shown on a row of the grid: RowOf itself would open the way to an item.
  auto onARow = [&](const char* Item) {
    for (int32_t row = Grid->FixedRows(); row < Grid->RowCount(); ++row)
      if (TOutlineNode* node = Grid->RowToOutline(row); node && node->Text() == Item) return true;
    return false;
  };
  ASSERT_FALSE(onARow("Roof structure"));
  THeadlessInput::Click(Grid, bw::testing::CellCenterOf(Grid, pcTask, tour.RowOf("Roof")));
  tour.Key(VK_RIGHT);
  EXPECT_TRUE(onARow("Roof structure"));
  // The plus box of Services, at the cell's left edge.
  ASSERT_FALSE(onARow("Electrical"));
  const TRect services = Grid->CellRect(pcTask, tour.RowOf("Services"));
  THeadlessInput::Click(Grid, TPoint{services.Left + 10, (services.Top + services.Bottom) / 2});
  EXPECT_TRUE(onARow("Electrical"));
}

TEST_F(PlanEditing, EffortTakesDigitsOnly) {
  TDemoTour tour(Form, Folder.Root());
  tour.EditCell(pcEffort, "Install beams");
  tour.Type("2.5 days");
  tour.Key(VK_RETURN);
  EXPECT_EQ(Grid->GetCells(pcEffort, 44), "125");
  tour.EditCell(pcNotes, "Install beams");
  tour.Type(" 2.5");
  tour.Key(VK_RETURN);
  EXPECT_EQ(Grid->GetCells(pcNotes, 44), "Fabricator short of UB 203 2.5");
}

}  // namespace
}  // namespace bw::demo::testing
