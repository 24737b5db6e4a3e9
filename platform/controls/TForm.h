#pragma once
// The form class applications create and designers store.

#include "platform/controls/TCustomForm.h"

namespace bw {

/// Stores Caption, KeyPreview and the form's events besides what every control stores.
class TForm : public TCustomForm {
  BW_CLASS(TForm, TCustomForm)

 public:
  explicit TForm(TComponent* AOwner);
};

}  // namespace bw
