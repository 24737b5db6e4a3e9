#include "platform/graphics/TGraphicsObject.h"

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

void TGraphicsObject::Assign(TGraphicsObject* Source) {
  throw EConvertError(
      Format(SAssignError, {Source ? Source->ClassName() : String("nil"), ClassName()}));
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace bw
