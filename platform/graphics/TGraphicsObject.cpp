#include "platform/graphics/TGraphicsObject.h"

namespace bw {

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace bw
