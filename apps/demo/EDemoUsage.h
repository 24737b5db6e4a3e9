#pragma once
// A command line the demo cannot follow; main prints the message and the usage.

#include "platform/core/Exception.h"

namespace bw::demo {

BW_DECLARE_EXCEPTION(EDemoUsage, Exception);

}  // namespace bw::demo
