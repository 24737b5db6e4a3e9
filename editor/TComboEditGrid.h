#pragma once
// What the combo editor needs from the grid that shows it. The grid implements this, so
// the editor reaches its grid without knowing the grid's class.

#include "platform/core/Types.h"

namespace bw {

class TObject;

class TComboEditGrid {
 public:
  /// Raises the grid's OnButtonClick for its current cell, Editor the sender; the handler
  /// may change EditText. False, with nothing raised, when no handler is assigned.
  virtual bool EditButtonClick(TObject* Editor, String& EditText) = 0;

 protected:
  ~TComboEditGrid() = default;
};

}  // namespace bw
