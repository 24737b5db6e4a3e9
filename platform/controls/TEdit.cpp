#include "platform/controls/TEdit.h"

#include "platform/core/TPropertyTable.h"

namespace bw {

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

BW_PUBLISHED(TEdit) {
  P.Property("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect).Default(true);
  P.Property("AutoSize", &TEdit::AutoSize, &TEdit::SetAutoSize).Default(true);
  P.Property("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle, {"bsNone", "bsSingle"})
      .Default(bsSingle);
  P.Property("CharCase", &TEdit::CharCase, &TEdit::SetCharCase,
             {"ecNormal", "ecUpperCase", "ecLowerCase"})
      .Default(ecNormal);
  P.Property("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection).Default(true);
  P.Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
  P.Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
  P.Property(
      "Text", [](TEdit* E) { return E->Text(); }, &TEdit::SetText);
  P.Property(
      "OnChange", [](TEdit* E) -> const TNotifyEvent& { return E->OnChange; },
      [](TEdit* E, TNotifyEvent V) { E->OnChange = std::move(V); });
}

}  // namespace bw
