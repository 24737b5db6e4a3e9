#pragma once
// A small printf-like formatter for the resource strings: each %s takes the next
// argument in turn; %% is a percent sign.

#include <initializer_list>

#include "platform/core/Types.h"

namespace bw {

String Format(const String& pattern, std::initializer_list<String> args);

}  // namespace bw
