#pragma once
// The form class applications create and designers store.

#include "platform/controls/TCustomForm.h"

namespace bw {

class TForm : public TCustomForm {
  BW_CLASS(TForm, TCustomForm)

 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

}  // namespace bw
