#pragma once
// Shared by the binary and text form tests: byte strings written out by hand, and the
// bytes a writer produces.

#include <functional>
#include <initializer_list>

#include "platform/core/TMemoryStream.h"
#include "platform/core/TWriter.h"

namespace bw::formtest {

/// A string of the given byte values.
inline String Bytes(std::initializer_list<int> B) {
  String s;
  for (int b : B)
    s += static_cast<char>(b);
  return s;
}

/// Whatever Fill writes through a writer on an empty memory stream.
inline String Written(const std::function<void(TWriter&)>& Fill) {
  TMemoryStream s;
  TWriter w(&s);
  Fill(w);
  return String(static_cast<const char*>(s.Memory()), size_t(s.Size()));
}

}  // namespace bw::formtest
