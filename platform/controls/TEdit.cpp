#include "platform/controls/TEdit.h"

#include "platform/controls/EditPublishing.h"

namespace bw {

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

BW_PUBLISHED(TEdit) {
  PublishEditLook(P);
  PublishEditLimits(P);
  P.Property(
      "Text", [](TEdit* E) { return E->Text(); }, &TEdit::SetText);
  PublishEditEvents(P);
}

}  // namespace bw
