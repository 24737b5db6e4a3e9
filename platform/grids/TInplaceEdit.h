#pragma once
// The grid's in-place editor: a borderless masked edit that the grid places over the
// current cell. It hands the keys that move between cells to the grid, offers every
// typed character to the grid's CanEditAcceptKey (dropping a refused one), refuses
// changes the grid does not allow, and loads its text, mask and length limit from the
// grid.

#include "platform/controls/TCustomMaskEdit.h"

namespace bw {

class TCustomGrid;

class TInplaceEdit : public TCustomMaskEdit {
  BW_CLASS(TInplaceEdit, TCustomMaskEdit)

 public:
  explicit TInplaceEdit(TComponent* AOwner);

  /// The grid that shows this editor; set by the grid when it first uses the editor.
  TCustomGrid* Grid() const { return FGrid; }
  /// Puts the caret after the text, selecting nothing.
  void Deselect();
  /// Places the editor over a cell rectangle (client coordinates of the grid) and shows it.
  void Move(const TRect& Loc);
  /// Loads text, mask and length limit of the grid's current cell.
  virtual void UpdateContents();

 protected:
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void DblClick() override;
  /// May the text change? Asks the grid.
  bool EditCanModify() override;
  void WndProc(TMessage& Message) override;
  void WMPaste(TMessage& Message) override;
  void WMCut(TMessage& Message) override;
  /// Lays the text out 2 pixels in from the cell's corner, where the grid paints cell text.
  void BoundsChanged(bool Moved, bool Sized) override;
  void CreateWnd() override;

 private:
  friend class TCustomGrid;
  void UpdateFormatRect();
  TCustomGrid* FGrid = nullptr;
};

}  // namespace bw
