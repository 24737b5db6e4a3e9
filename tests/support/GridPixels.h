#pragma once
// Reading back what a grid on a shown form looks like on the headless back end: the
// presented pixel at a point of the grid's client area, and the middle of a cell.

#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/grids/TCustomGrid.h"

namespace bw::testing {

/// The presented pixel (0x00RRGGBB) at client point (X, Y) of Grid, shown on Form.
inline uint32_t PresentedPixel(const TForm* Form, const TCustomGrid* Grid, int32_t X, int32_t Y) {
  THeadlessBackend& Headless = THeadlessInput::Backend();
  const TPoint Screen = Grid->ClientToScreen(TPoint{X, Y});
  const TRect Window = Headless.WindowBounds(Form->Surface());
  return Headless.WindowPixel(Form->Surface(), Screen.X - Window.Left, Screen.Y - Window.Top);
}

/// The middle of a cell, in client coordinates.
inline TPoint CellCenterOf(const TCustomGrid* Grid, int32_t ACol, int32_t ARow) {
  const TRect R = Grid->CellRect(ACol, ARow);
  return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

}  // namespace bw::testing
