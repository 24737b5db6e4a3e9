#include "apps/demo/TPlanCellEdit.h"

#include "apps/demo/PlanColumns.h"
#include "apps/demo/TDuePopup.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/grids/TCustomGrid.h"

namespace bw::demo {

TPlanCellEdit::TPlanCellEdit(TComponent* AOwner)
    : TInplaceComboEdit(AOwner), FDuePopup(new TDuePopup(this)) {}

void TPlanCellEdit::UpdateContents() {
  // The base closes a calendar left open on the previous cell first.
  inherited::UpdateContents();
  if (Grid()) FitToColumn(Grid()->Col());
}

void TPlanCellEdit::FitToColumn(int32_t ACol) {
  const bool picksDate = ACol == pcDue;
  FPopup = picksDate ? FDuePopup : nullptr;
  const TGlyphKind kind = picksDate ? gkDropDown : gkEllipsis;
  if (GlyphKind() != kind) SetGlyphKind(kind);
  ButtonHolder()->SetVisible(ACol == pcOwner || ACol == pcStatus || picksDate);
}

void TPlanCellEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (GetPopupVisible() && Shift.Empty()) {
    int32_t days = 0, months = 0;
    switch (Key) {
      case VK_LEFT:
        days = -1;
        break;
      case VK_RIGHT:
        days = 1;
        break;
      case VK_UP:
        days = -7;
        break;
      case VK_DOWN:
        days = 7;
        break;
      case VK_PRIOR:
        months = -1;
        break;
      case VK_NEXT:
        months = 1;
        break;
      default:
        break;
    }
    if (days || months) {
      FDuePopup->MoveDate(days, months);
      Key = 0;
      return;
    }
  }
  inherited::KeyDown(Key, Shift);
}

}  // namespace bw::demo
