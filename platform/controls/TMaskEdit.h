#pragma once
// The masked edit that forms use: a TCustomMaskEdit whose properties are published.

#include "platform/controls/TCustomMaskEdit.h"

namespace bw {

class TMaskEdit : public TCustomMaskEdit {
  BW_CLASS(TMaskEdit, TCustomMaskEdit)

 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

}  // namespace bw
