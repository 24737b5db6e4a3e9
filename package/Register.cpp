#include "package/Register.h"

#include "grid/TCorvath.h"
#include "platform/core/ComponentPalette.h"

#if __has_include("stringgrid/TVelloran.h")
#include "stringgrid/TVelloran.h"
#define BW_HAVE_VELLORAN 1
#endif

namespace bw {

void Register() {
#ifdef BW_HAVE_VELLORAN
  RegisterComponents<TCorvath, TVelloran>(PalettePage);
#else
  RegisterComponents<TCorvath>(PalettePage);
#endif
}

}  // namespace bw
