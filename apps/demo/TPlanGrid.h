#pragma once
// The demo's grid: a TVelloran whose cell editor knows the plan's columns (see
// TPlanCellEdit). Registered, so that a form file can name it.

#include "stringgrid/TVelloran.h"

namespace bw::demo {

class TPlanGrid : public TVelloran {
  BW_CLASS(TPlanGrid, TVelloran)

 public:
  explicit TPlanGrid(TComponent* AOwner);

 protected:
  /// A TPlanCellEdit, set up as the grid's Editor options say.
  TInplaceEdit* CreateEditor() override;
};

}  // namespace bw::demo
