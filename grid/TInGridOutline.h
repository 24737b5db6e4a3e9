#pragma once
// The outline that holds a TCorvath's items. The grid owns it as a hidden child control
// and never shows it. It adds OnChange, raised after its own double-click processing so
// that the grid can rebuild its rows, and tells the grid of every change of its items
// (OnItemsChanged), so that the grid drops the node handles it has looked up.

#include "platform/core/TEvent.h"
#include "platform/outline/TOutline.h"

namespace bw {

class TInGridOutline : public TOutline {
  BW_CLASS(TInGridOutline, TOutline)

 public:
  explicit TInGridOutline(TComponent* AOwner);

  /// Raised with this outline as Sender after a double-click, except at design time.
  TNotifyEvent OnChange;

  /// Raised after every change of the items or their expansion made outside an update
  /// bracket, and when the outermost bracket closes. Not stored in forms.
  TNotifyEvent OnItemsChanged;

  void DblClick() override;

 protected:
  void Changed() override;
};

}  // namespace bw
