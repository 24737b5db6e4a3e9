#pragma once
// A small modal form that offers a list of texts: OK (or Enter, or a double-click) takes
// the chosen one, Cancel (or Escape, or closing the window) keeps the old value.
//
// One dialog serves every choice and is hidden, not freed, between them: on real windows
// a window freed just after the message loop waited on it can draw an error from the
// window system, which would end the program.

#include <vector>

#include "platform/controls/TForm.h"

namespace bw {
class TButton;
}

namespace bw::demo {

class TChoiceList;

class TChoiceDialog : public TForm {
  BW_CLASS(TChoiceDialog, TForm)

 public:
  explicit TChoiceDialog(TComponent* AOwner);

  /// Shows the application's dialog (made on first use) with Value chosen when it is one
  /// of Items; true and Value set to the choice when the user confirms one.
  static bool Execute(const String& Caption, const std::vector<String>& Items, String& Value);

  TChoiceList* List() const { return FList; }

 private:
  /// Sizes the list to Items and puts the buttons under it.
  void Fit(const std::vector<String>& Items);

  TChoiceList* FList;  // the four are owned as components
  TButton* FOk;
  TButton* FCancel;
};

}  // namespace bw::demo
