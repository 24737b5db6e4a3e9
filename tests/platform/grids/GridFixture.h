#pragma once
// Shared set-up of the grid tests: a fresh application on the headless back end, a shown
// form, and a draw grid that records the hooks the base calls.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend/VirtualKeys.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/grids/TDrawGrid.h"
#include "platform/grids/TInplaceEdit.h"

namespace bw::test {

class TTestGrid : public TDrawGrid {
  BW_CLASS(TTestGrid, TDrawGrid)

 public:
  explicit TTestGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

  int SizeChanges = 0;
  TGridCoord OldSize{-1, -1};
  int FixedRowsChanges = 0;
  int EditorsCreated = 0;
  std::function<bool(int32_t ACol, int32_t ARow)> EditShow;
  std::function<bool(Char Key)> AcceptKey;

  using TCustomGrid::DeleteRow;
  using TCustomGrid::GridState;
  using TCustomGrid::MoveColumn;
  using TCustomGrid::MoveRow;
  using TCustomGrid::SaveCellExtents;
  using TCustomGrid::SetSaveCellExtents;

  void Key(uint16_t Key, uint32_t Modifiers = 0) { Perform(WM_KEYDOWN, Key, Modifiers); }
  void Type(const std::u32string& Text) {
    for (Char c : Text)
      Perform(WM_CHAR, c, 0);
  }

 protected:
  void FixedRowsChanged() override {
    ++FixedRowsChanges;
    inherited::FixedRowsChanged();
  }
  void SizeChanged(int32_t OldColCount, int32_t OldRowCount) override {
    ++SizeChanges;
    OldSize = {OldColCount, OldRowCount};
    inherited::SizeChanged(OldColCount, OldRowCount);
  }
  TInplaceEdit* CreateEditor() override {
    ++EditorsCreated;
    return inherited::CreateEditor();
  }
  bool CanEditShow() override {
    return inherited::CanEditShow() && (!EditShow || EditShow(Col(), Row()));
  }
  bool CanEditAcceptKey(Char Key) override { return !AcceptKey || AcceptKey(Key); }
};

/// Sends typed characters to a control, one WM_CHAR each.
inline void TypeInto(TWinControl* Control, const std::u32string& Text) {
  for (Char c : Text)
    Control->Perform(WM_CHAR, c, 0);
}

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    Form = new TForm(Application);
    Form->SetBounds(50, 50, 500, 400);
    Form->Show();
    Grid = new TTestGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 400, 300);
    Application->ProcessMessages();
  }
  void TearDown() override { Application->Reset(); }

  THeadlessBackend& Headless() { return THeadlessInput::Backend(); }
  /// The colour of a pixel of the grid, by its client coordinates.
  uint32_t Pixel(int32_t X, int32_t Y) {
    Application->ProcessMessages();
    TPoint s = Grid->ClientToScreen({X, Y});
    TPoint origin = Form->ClientOrigin();
    return Headless().WindowPixel(Form->Surface(), s.X - origin.X, s.Y - origin.Y);
  }
  void Snapshot(const char* Name) {
    Application->ProcessMessages();
    if (const char* dir = std::getenv("BW_SNAPSHOT_DIR"))
      Headless().SaveWindowPng(Form->Surface(), std::string(dir) + "/" + Name + ".png");
  }

  TForm* Form = nullptr;
  TTestGrid* Grid = nullptr;
};

}  // namespace bw::test
