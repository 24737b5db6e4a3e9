#pragma once
// What the form targets share: the classes a fuzzed form may name, and the checks run on
// whatever a reader accepted. Any bw::Exception is an accepted outcome of bad input; a
// crash, a sanitizer report, a leak, another exception type or a failed check is a fault.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "grid/TCorvath.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/FormConversion.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TMemoryStream.h"
#include "platform/grids/TCustomGrid.h"
#include "stringgrid/TVelloran.h"
#include "tests/platform/core/FormTestClasses.h"

namespace bw::fuzzing {

inline void RegisterFormClasses() {
  static const bool registered = [] {
    formtest::RegisterTestClasses();
    RegisterClasses<TForm, TCorvath, TVelloran>();
    return true;
  }();
  (void)registered;
}

inline String Input(const uint8_t* Data, size_t Size) {
  return String(reinterpret_cast<const char*>(Data), Size);
}

/// Stops the run, so that libFuzzer keeps the input, when a check fails.
inline void Check(bool Holds) {
  if (!Holds) std::abort();
}

/// Whether a grid under Root has more columns than a store is checked for. A grid stores
/// one width per column however many there are, so a count of a billion that a damaged
/// form sets (and that reads fine) would store gigabytes.
inline bool HasHugeGrid(TComponent* Root) {
  constexpr int32_t MaxCheckedColumns = 100000;
  if (auto* grid = dynamic_cast<TCustomGrid*>(Root); grid && grid->ColCount() > MaxCheckedColumns)
    return true;
  for (int32_t i = 0; i < Root->ComponentCount(); ++i)
    if (HasHugeGrid(Root->Components(i))) return true;
  return false;
}

/// The form Root stores, read back and stored again: a form must read what it stored.
inline String StoredAgain(TComponent* Root) {
  std::unique_ptr<TComponent> back(ComponentFromString(ComponentToBinary(Root)));
  return ComponentToBinary(back.get());
}

/// Reads Data when it is text (Text) or anything else (!Text), as LoadComponentFromStream
/// tells them apart. A form that was read stores again, and what it stores reads back and
/// stores the same from the binary and (where text can hold it) from the text form. (Not
/// the first store: a picture emptied by the input is not stored, and reads back as the
/// component's default picture.)
inline void ReadForm(const String& Data, bool Text) {
  RegisterFormClasses();
  formtest::TWidget::LoadLog().clear();
  {
    TMemoryStream probe;
    probe.Write(Data.data(), int32_t(Data.size()));
    probe.SetPosition(0);
    if ((TestStreamFormat(&probe) == sofText) != Text) return;
  }
  std::unique_ptr<TComponent> root;
  try {
    root.reset(ComponentFromString(Data));
  } catch (const Exception&) {
    return;
  }
  if (HasHugeGrid(root.get())) return;
  const String binary = StoredAgain(root.get());
  root.reset(ComponentFromString(binary));
  Check(ComponentToBinary(root.get()) == binary);
  root.reset();
  String text;
  try {
    text = ObjectBinaryToText(binary);
  } catch (const EReadError&) {
    return;  // values the text form has no notation for
  }
  root.reset(ComponentFromString(text));
  Check(ComponentToBinary(root.get()) == binary);
  root.reset();
  formtest::TWidget::LoadLog().clear();
}

}  // namespace bw::fuzzing
