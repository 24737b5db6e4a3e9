// The outline's text loader on arbitrary bytes. A load either succeeds, after which the
// outline saves and that text loads into an equal outline, or raises EOutlineError and
// leaves the items as they were.
#include "FormFuzzing.h"
#include "platform/core/TStringStream.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/TCustomOutline.h"

namespace bw::fuzzing {
namespace {

String Saved(TCustomOutline& Outline) {
  TStringStream stream;
  Outline.SaveToStream(&stream);
  return stream.DataString();
}

void Load(TCustomOutline& Outline, const String& Text) {
  TStringStream stream(Text);
  Outline.LoadFromStream(&stream);
}

}  // namespace
}  // namespace bw::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  using namespace bw;
  using namespace bw::fuzzing;
  static const String before = "Root\n\tChild\n\t\tLeaf\nNext\n";
  // Made once: a new outline loads its pictures, which would take most of the time.
  static TCustomOutline outline{nullptr};
  static TCustomOutline again{nullptr};
  Load(outline, before);
  try {
    Load(outline, Input(Data, Size));
  } catch (const EOutlineError&) {
    Check(Saved(outline) == before);
    return 0;
  }
  const String saved = Saved(outline);
  Load(again, saved);
  Check(Saved(again) == saved);
  return 0;
}
