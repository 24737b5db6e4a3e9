#pragma once
// A shown form on a fresh headless back end with one TestCorvath on it, and pixel reads
// in the grid's client coordinates from what was last presented.

#include <gtest/gtest.h>

#include "CorvathTestUtil.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/graphics/TColor.h"
#include "tests/support/GridPixels.h"

namespace bw::testing {

class GridFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 500, 400);
    Grid = new TestCorvath(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 480, 360);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override { Application->Reset(); }

  THeadlessBackend& Headless() { return THeadlessInput::Backend(); }

  /// Paints what is pending and presents it.
  void Paint() {
    Grid->Invalidate();
    Application->ProcessMessages();
  }

  /// The presented pixel (0x00RRGGBB) at a point of the grid's client area.
  uint32_t Pixel(int32_t X, int32_t Y) { return PresentedPixel(Form, Grid, X, Y); }
  /// The middle of a cell, in client coordinates.
  TPoint CellCenter(int32_t ACol, int32_t ARow) { return CellCenterOf(Grid, ACol, ARow); }

  TForm* Form = nullptr;
  TestCorvath* Grid = nullptr;
};

}  // namespace bw::testing
