#include "platform/core/TPersistent.h"

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

void TPersistent::Assign(TPersistent* Source) {
  if (!Source) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  Dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler*) {}

TPersistent* TPersistent::GetOwner() {
  return nullptr;
}

String TPersistent::GetNamePath() {
  String result = ClassName();
  if (TPersistent* owner = GetOwner()) {
    String path = owner->GetNamePath();
    if (!path.empty()) result = path + "." + result;
  }
  return result;
}

void TPersistent::AssignError(TPersistent* Source) {
  String source = Source ? Source->ClassName() : String("nil");
  throw EConvertError(Format(SAssignError, {source, ClassName()}));
}

}  // namespace bw
