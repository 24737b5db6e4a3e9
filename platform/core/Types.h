#pragma once
// Basic value types shared by every layer.

#include <cstdint>
#include <string>

namespace bw {

/// Text is UTF-8 held in std::string.
using String = std::string;
/// One character is one Unicode code point.
using Char = char32_t;
/// An untyped item, as stored by the pointer containers.
using Pointer = void*;

}  // namespace bw
