#pragma once
// A small modal form that offers a list of texts: OK (or Enter, or a double-click) takes
// the chosen one, Cancel (or Escape, or closing the window) keeps the old value.

#include <vector>

#include "platform/controls/TForm.h"

namespace bw::demo {

class TChoiceList;

class TChoiceDialog : public TForm {
  BW_CLASS(TChoiceDialog, TForm)

 public:
  explicit TChoiceDialog(TComponent* AOwner);

  /// Shows the dialog with Value chosen (when it is one of Items); true and Value set to
  /// the choice when the user confirms one.
  static bool Execute(const String& Caption, const std::vector<String>& Items, String& Value);

  TChoiceList* List() const { return FList; }

 private:
  TChoiceList* FList;  // owned as a component
};

}  // namespace bw::demo
