#include "platform/controls/TMaskEdit.h"

#include "platform/core/TPropertyTable.h"

namespace bw {

TMaskEdit::TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}

BW_PUBLISHED(TMaskEdit) {
  P.Property("AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect).Default(true);
  P.Property("AutoSize", &TMaskEdit::AutoSize, &TMaskEdit::SetAutoSize).Default(true);
  P.Property("BorderStyle", &TMaskEdit::BorderStyle, &TMaskEdit::SetBorderStyle,
             {"bsNone", "bsSingle"})
      .Default(bsSingle);
  P.Property("CharCase", &TMaskEdit::CharCase, &TMaskEdit::SetCharCase,
             {"ecNormal", "ecUpperCase", "ecLowerCase"})
      .Default(ecNormal);
  // The mask comes before the text, so a form sets the text into its mask.
  P.Property(
      "EditMask", [](TMaskEdit* E) { return E->EditMask(); }, &TMaskEdit::SetEditMask);
  P.Property("HideSelection", &TMaskEdit::HideSelection, &TMaskEdit::SetHideSelection)
      .Default(true);
  P.Property("MaxLength", &TMaskEdit::MaxLength, &TMaskEdit::SetMaxLength).Default(0);
  P.Property("ReadOnly", &TMaskEdit::ReadOnly, &TMaskEdit::SetReadOnly).Default(false);
  P.Property(
      "Text", [](TMaskEdit* E) { return E->Text(); }, &TMaskEdit::SetText);
  P.Property(
      "OnChange", [](TMaskEdit* E) -> const TNotifyEvent& { return E->OnChange; },
      [](TMaskEdit* E, TNotifyEvent V) { E->OnChange = std::move(V); });
}

}  // namespace bw
