#pragma once
// The screen as the program sees it: its size, the forms on it, and which form and
// control are active.

#include <vector>

#include "platform/core/TComponent.h"

namespace bw {

class TCustomForm;
class TWinControl;

class TScreen : public TComponent {
  BW_CLASS(TScreen, TComponent)

 public:
  explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}

  /// The back end's screen size in pixels.
  int32_t Width() const;
  int32_t Height() const;
  /// The form that last received the focus, or null.
  TCustomForm* ActiveForm() const { return FActiveForm; }
  /// The control that last received the focus, or null.
  TWinControl* ActiveControl() const { return FActiveControl; }
  /// The forms in existence, in order of creation.
  int32_t FormCount() const { return int32_t(FForms.size()); }
  TCustomForm* Forms(int32_t Index) const;

 private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetFocused(TCustomForm* Form, TWinControl* Control);

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
};

/// The program's screen; it lives as long as the program.
extern TScreen* Screen;

}  // namespace bw
