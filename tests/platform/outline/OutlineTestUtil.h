#pragma once
// Shared helpers of the outline tests: building an outline from its text form and
// reading it back, so that expectations read like the tree they describe.

#include "platform/core/TStringStream.h"
#include "platform/outline/TCustomOutline.h"

namespace bw::testing {

inline void LoadOutline(TCustomOutline& outline, const String& text) {
  TStringStream stream(text);
  outline.LoadFromStream(&stream);
}

inline String OutlineText(TCustomOutline& outline) {
  TStringStream stream;
  outline.SaveToStream(&stream);
  return stream.DataString();
}

}  // namespace bw::testing
