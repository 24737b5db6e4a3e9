#pragma once
// The outline with its properties published for form files: Lines (the items in the text
// form), ItemSeparator, the five pictures and the expand and collapse events.

#include "platform/outline/TCustomOutline.h"

namespace bw {

class TOutline : public TCustomOutline {
  BW_CLASS(TOutline, TCustomOutline)

 public:
  // Out of line, so that using the class links in its property table.
  explicit TOutline(TComponent* AOwner);
};

}  // namespace bw
