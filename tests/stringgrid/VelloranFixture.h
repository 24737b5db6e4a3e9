#pragma once
// A shown form on a fresh headless back end with one TestVelloran holding the tree
// A (A1, A2), B (B1), all collapsed, under one fixed row: data rows 1 A, 2 A1, 3 A2, 4 B,
// 5 B1. Also: pixel reads in the grid's client coordinates and the cells painted since
// the last look.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "grid/TGridOutlineProperties.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/core/TStringStream.h"
#include "platform/grids/TInplaceEdit.h"
#include "platform/outline/TOutlineNode.h"
#include "stringgrid/TVelloran.h"
#include "tests/support/GridPixels.h"

namespace bw::testing {

class TestVelloran : public TVelloran {
 public:
  using TVelloran::ColumnMoved;
  using TVelloran::DeleteColumn;
  using TVelloran::DrawCell;
  using TVelloran::GetEditText;
  using TVelloran::MoveColumn;
  using TVelloran::MoveRow;
  using TVelloran::SetEditText;
  using TVelloran::TVelloran;

  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override {
    Painted.insert({ACol, ARow});
    TVelloran::DrawCell(ACol, ARow, ARect, AState);
  }
  void Invalidate() override {
    ++FullInvalidations;
    TVelloran::Invalidate();
  }

  std::set<std::pair<int32_t, int32_t>> Painted;
  int FullInvalidations = 0;
};

class VelloranFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 500, 400);
    Grid = new TestVelloran(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 480, 360);
    TStringStream Items("A\n\tA1\n\tA2\nB\n\tB1\n");
    Grid->Outline()->LoadFromStream(&Items);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override { Application->Reset(); }

  THeadlessBackend& Headless() { return THeadlessInput::Backend(); }

  /// Paints whatever is pending; returns the cells painted.
  std::set<std::pair<int32_t, int32_t>> PaintPending() {
    Grid->Painted.clear();
    Application->ProcessMessages();
    return Grid->Painted;
  }

  void SetExpanded(const char* Item, bool Expanded) {
    Grid->Outline()->Get(Grid->Outline()->GetTextItem(Item))->SetExpandedState(Expanded);
    Grid->Outline()->UpdateGrid();
  }

  /// The text of cell ACol as shown on visual row ARow.
  String Shown(int32_t ACol, int32_t ARow) {
    return Grid->GetCells(ACol, Grid->RowToOutlineRow(ARow));
  }

  /// The presented pixel (0x00RRGGBB) at a point of the grid's client area.
  uint32_t Pixel(int32_t X, int32_t Y) { return PresentedPixel(Form, Grid, X, Y); }
  /// The middle of a cell, in client coordinates.
  TPoint CellCenter(int32_t ACol, int32_t ARow) { return CellCenterOf(Grid, ACol, ARow); }

  TForm* Form = nullptr;
  TestVelloran* Grid = nullptr;
};

}  // namespace bw::testing
