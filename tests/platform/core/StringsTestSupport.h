#pragma once
// Shared by the string list tests: a list's entries as a vector, for whole-list checks.

#include <vector>

#include "platform/core/TStrings.h"

namespace bw::testing {

using Lines = std::vector<String>;

inline Lines Entries(const TStrings& list) {
  Lines result;
  for (int32_t i = 0; i < list.GetCount(); ++i)
    result.push_back(list.Get(i));
  return result;
}

}  // namespace bw::testing
