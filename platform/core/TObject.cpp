#include "platform/core/TObject.h"

#include <cstring>

namespace bw {

bool ClassInheritsFrom(TClass cls, TClass ancestor) {
  for (TClass c = cls; c; c = c->Parent)
    if (c == ancestor) return true;
  return false;
}

bool TObject::InheritsFrom(TClass cls) const {
  return ClassInheritsFrom(ClassType(), cls);
}

bool TObject::InheritsFrom(const String& className) const {
  for (TClass c = ClassType(); c; c = c->Parent)
    if (className == c->Name) return true;
  return false;
}

}  // namespace bw
