// Handlers that raise: a failing OnDrawCell, OnGetEditText or OnSetEditText is reported
// through the application, and the grid is left as it was: the canvas pen restored, the
// rows matching the items, and the message loop still painting and taking input.

#include <gtest/gtest.h>

#include <vector>

#include "VelloranFixture.h"
#include "platform/core/Exception.h"
#include "platform/graphics/TCanvas.h"
#include "platform/graphics/TPen.h"

namespace bw::testing {
namespace {

class VelloranHandlerFaultTest : public VelloranFixture {
 protected:
  void SetUp() override {
    VelloranFixture::SetUp();
    Application->OnException =
        TExceptionEvent([this](TObject*, const Exception& E) { Reported.push_back(E.Message()); });
  }

  // The loop still paints every cell on screen and the rows show the items.
  void ExpectGridStillWorks() {
    Grid->Invalidate();
    const auto painted = PaintPending();
    EXPECT_TRUE(painted.count({0, 1}) && painted.count({1, 2}));
    EXPECT_EQ(Grid->RowCount(), 3);
    EXPECT_EQ(Grid->RowToOutline(1)->Text(), "A");
    EXPECT_EQ(Grid->RowToOutline(2)->Text(), "B");
  }

  std::vector<String> Reported;
};

TEST_F(VelloranHandlerFaultTest, FailingDrawCellRestoresThePenAndKeepsPainting) {
  TPen* Pen = Grid->Canvas()->Pen();
  const TColor Color = Pen->Color();
  const int32_t Width = Pen->Width();
  Grid->OnDrawCell =
      TDrawCellEvent([](TObject*, int32_t ACol, int32_t ARow, const TRect&, TGridDrawState) {
        if (ACol == 1 && ARow == 2) throw Exception("draw failed");
      });
  Grid->Invalidate();
  Application->ProcessMessages();
  ASSERT_FALSE(Reported.empty());
  EXPECT_EQ(Reported.front(), "draw failed");
  EXPECT_EQ(Pen->Color(), Color);
  EXPECT_EQ(Pen->Width(), Width);

  Grid->OnDrawCell = TDrawCellEvent();
  ExpectGridStillWorks();
}

TEST_F(VelloranHandlerFaultTest, FailingGetEditTextLeavesTheCellsAndTheGridUsable) {
  Grid->SetCells(1, 1, "kept");
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->OnGetEditText =
      TGetEditEvent([](TObject*, int32_t, int32_t, String&) { throw Exception("no text"); });
  Grid->SetCol(1);
  Grid->SetRow(1);
  Grid->SetFocus();
  THeadlessInput::Key(VK_F2);
  Application->ProcessMessages();
  EXPECT_FALSE(Reported.empty());
  EXPECT_EQ(Grid->GetCells(1, 1), "kept");

  // Without the handler the same cell edits and stores.
  Grid->OnGetEditText = TGetEditEvent();
  Grid->SetFocus();
  THeadlessInput::Key(VK_F2);
  THeadlessInput::Type("!");
  THeadlessInput::Key(VK_RETURN);
  Application->ProcessMessages();
  EXPECT_EQ(Grid->GetCells(1, 1), "kept!");
  ExpectGridStillWorks();
}

// The edited text is stored before OnSetEditText hears of it, so a failing handler finds
// the cell already holding what was committed; nothing else may change, the editor stays
// open on its text, and code that changes the cell afterwards still reloads the editor
// (the count that holds reloads off while the grid stores is back at zero).
TEST_F(VelloranHandlerFaultTest, FailingSetEditTextKeepsTheEditorAndOtherCells) {
  Grid->SetCells(1, 1, "kept");
  Grid->SetCells(2, 1, "other");
  Grid->SetCells(1, 4, "below");
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  bool refuse = true;
  std::vector<String> stored;
  Grid->OnSetEditText = TSetEditEvent([&](TObject*, int32_t, int32_t ARow, const String& Value) {
    if (refuse) throw Exception("refused");
    stored.push_back(std::to_string(ARow) + ":" + Value);
  });
  Grid->SetCol(1);
  Grid->SetRow(1);
  Grid->SetFocus();
  THeadlessInput::Key(VK_F2);
  THeadlessInput::Type("!");
  for (uint16_t commit : {VK_RETURN, VK_DOWN}) {
    Reported.clear();
    THeadlessInput::Key(commit);
    Application->ProcessMessages();
    ASSERT_EQ(Reported, std::vector<String>{"refused"});
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_TRUE(Grid->EditorMode());
    ASSERT_TRUE(Grid->InplaceEditor()->Visible());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "kept!");
    EXPECT_EQ(Grid->GetCells(1, 1), "kept!");
    EXPECT_EQ(Grid->GetCells(2, 1), "other");
    EXPECT_EQ(Grid->GetCells(1, 4), "below");
  }
  Grid->SetCells(1, 1, "from code");
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "from code");

  refuse = false;
  THeadlessInput::Type("new");  // over the reloaded text, which is selected
  THeadlessInput::Key(VK_RETURN);
  Application->ProcessMessages();
  EXPECT_EQ(Grid->GetCells(1, 1), "new");
  EXPECT_EQ(stored, std::vector<String>{"1:new"});
  ExpectGridStillWorks();
}

}  // namespace
}  // namespace bw::testing
