#pragma once
// The outline that holds a TCorvath's items. The grid owns it as a hidden child control
// and never shows it; the only thing it adds is OnChange, raised after its own
// double-click processing so that the grid can rebuild its rows.

#include "platform/core/TEvent.h"
#include "platform/outline/TOutline.h"

namespace bw {

class TInGridOutline : public TOutline {
  BW_CLASS(TInGridOutline, TOutline)

 public:
  explicit TInGridOutline(TComponent* AOwner);

  /// Raised with this outline as Sender after a double-click, except at design time.
  TNotifyEvent OnChange;

  void DblClick() override;
};

}  // namespace bw
