// The text form reader on arbitrary bytes; input in the other form is skipped, so that this
// target's corpus holds text forms only.
#include "FormFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  bw::fuzzing::ReadForm(bw::fuzzing::Input(Data, Size), true);
  return 0;
}
