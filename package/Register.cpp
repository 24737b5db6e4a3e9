#include "package/Register.h"

#include "grid/TCorvath.h"
#include "platform/core/ComponentPalette.h"
#include "stringgrid/TVelloran.h"

namespace bw {

void Register() {
  RegisterComponents<TCorvath, TVelloran>(PalettePage);
}

}  // namespace bw
