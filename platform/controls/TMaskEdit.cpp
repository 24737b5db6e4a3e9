#include "platform/controls/TMaskEdit.h"

#include "platform/controls/EditPublishing.h"

namespace bw {

TMaskEdit::TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}

BW_PUBLISHED(TMaskEdit) {
  PublishEditLook(P);
  // The mask comes before the text, so a form sets the text into its mask.
  P.Property(
      "EditMask", [](TMaskEdit* E) { return E->EditMask(); }, &TMaskEdit::SetEditMask);
  PublishEditLimits(P);
  P.Property(
      "Text", [](TMaskEdit* E) { return E->Text(); }, &TMaskEdit::SetText);
  PublishEditEvents(P);
}

}  // namespace bw
