#pragma once
// The plan grid's cell editor. It fits its button to the column it edits: three dots that
// ask the grid's OnButtonClick for a choice (Owner, Status), a drop-down arrow that opens
// a calendar through the editor's popup (Due), and no button where text is just typed
// (Effort, Notes). While the calendar is open the arrow keys move its date by a day or a
// week and Page Up and Page Down by a month.

#include "editor/TInplaceComboEdit.h"

namespace bw::demo {

class TDuePopup;

class TPlanCellEdit : public TInplaceComboEdit {
  BW_CLASS(TPlanCellEdit, TInplaceComboEdit)

 public:
  explicit TPlanCellEdit(TComponent* AOwner);

  /// The calendar (shown only in the Due column).
  TDuePopup* DuePopup() const { return FDuePopup; }
  /// Loads the current cell's text and sets the button up for its column.
  void UpdateContents() override;

 protected:
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 private:
  void FitToColumn(int32_t ACol);

  TDuePopup* FDuePopup;  // owned as a component
};

}  // namespace bw::demo
