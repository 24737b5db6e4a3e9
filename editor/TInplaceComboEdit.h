#pragma once
// The in-place combo editor the grids create: TCustomInplaceComboEdit with its
// properties published.

#include "editor/TCustomInplaceComboEdit.h"

namespace bw {

class TInplaceComboEdit : public TCustomInplaceComboEdit {
  BW_CLASS(TInplaceComboEdit, TCustomInplaceComboEdit)

 public:
  // Defined with the property table, so that using the class links the table in.
  explicit TInplaceComboEdit(TComponent* AOwner);
};

}  // namespace bw
