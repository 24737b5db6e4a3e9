#include "grid/TInGridOutline.h"

#include "platform/core/TPropertyTable.h"

namespace bw {

BW_PUBLISHED(TInGridOutline) {
  P.Property(
      "OnChange", [](TInGridOutline* O) -> const TNotifyEvent& { return O->OnChange; },
      [](TInGridOutline* O, const TNotifyEvent& E) { O->OnChange = E; });
}

TInGridOutline::TInGridOutline(TComponent* AOwner) : TOutline(AOwner) {}

void TInGridOutline::Changed() {
  inherited::Changed();
  if (OnItemsChanged) OnItemsChanged(this);
}

void TInGridOutline::DblClick() {
  inherited::DblClick();
  if (!ComponentState().Contains(csDesigning) && OnChange) OnChange(this);
}

}  // namespace bw
