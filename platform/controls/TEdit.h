#pragma once
// The edit that forms use: a TCustomEdit whose properties are published.

#include "platform/controls/TCustomEdit.h"

namespace bw {

class TEdit : public TCustomEdit {
  BW_CLASS(TEdit, TCustomEdit)

 public:
  // Defined with the property table, so that using the class links the table in.
  explicit TEdit(TComponent* AOwner);
};

}  // namespace bw
