#include "platform/controls/TForm.h"

#include "platform/core/TPropertyTable.h"

namespace bw {

// Defined here so that this file, and with it the property table, is always linked in.
TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

BW_PUBLISHED(TForm) {
  P.Property("Caption", &TForm::Caption, &TForm::SetCaption);
  P.Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(false);
  auto event = [&P](const char* Name, auto Member) {
    P.Property(
        Name, [Member](TForm * f) -> const auto& { return f->*Member; },
        [Member](TForm* f, const auto& Value) { f->*Member = Value; });
  };
  event("OnActivate", &TForm::OnActivate);
  event("OnClose", &TForm::OnClose);
  event("OnCloseQuery", &TForm::OnCloseQuery);
  event("OnDeactivate", &TForm::OnDeactivate);
  event("OnHide", &TForm::OnHide);
  event("OnPaint", &TForm::OnPaint);
  event("OnShow", &TForm::OnShow);
}

}  // namespace bw
