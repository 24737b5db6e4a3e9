#include "editor/TGridEditProperties.h"

#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

BW_PUBLISHED(TGridEditProperties) {
  P.Property("Glyph", &TGridEditProperties::GetBitmap, &TGridEditProperties::SetBitmap);
  P.Property("ButtonWidth", &TGridEditProperties::ButtonWidth,
             &TGridEditProperties::SetButtonWidth);
}

TGridEditProperties::TGridEditProperties() : FBitmap(std::make_unique<TBitmap>()) {}

TGridEditProperties::~TGridEditProperties() = default;

void TGridEditProperties::SetBitmap(TBitmap* Value) {
  FBitmap->Assign(Value);
  FBtnWidth = FBitmap->Width() + 4;
}

}  // namespace bw
