#pragma once
// The masked edit that forms use: a TCustomMaskEdit whose properties are published.

#include "platform/controls/TCustomMaskEdit.h"

namespace bw {

class TMaskEdit : public TCustomMaskEdit {
  BW_CLASS(TMaskEdit, TCustomMaskEdit)

 public:
  // Defined with the property table, so that using the class links the table in.
  explicit TMaskEdit(TComponent* AOwner);
};

}  // namespace bw
