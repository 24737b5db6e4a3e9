#pragma once
// The edit that forms use: a TCustomEdit whose properties are published.

#include "platform/controls/TCustomEdit.h"

namespace bw {

class TEdit : public TCustomEdit {
  BW_CLASS(TEdit, TCustomEdit)

 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

}  // namespace bw
