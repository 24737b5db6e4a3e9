#include "platform/controls/TScreen.h"

#include <algorithm>

#include "platform/backend/Backend.h"
#include "platform/controls/TCustomForm.h"
#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

TScreen* Screen = new TScreen(nullptr);

int32_t TScreen::Width() const {
  return Backend().ScreenWidth();
}

int32_t TScreen::Height() const {
  return Backend().ScreenHeight();
}

TCustomForm* TScreen::Forms(int32_t Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError(SListIndexError);
  return FForms[size_t(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
  FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FActiveForm == Form) {
    FActiveForm = nullptr;
    FActiveControl = nullptr;
  }
}

void TScreen::SetFocused(TCustomForm* Form, TWinControl* Control) {
  FActiveForm = Form;
  FActiveControl = Control;
}

}  // namespace bw
