#pragma once

#include "platform/core/Exception.h"

namespace bw {

/// A masked edit was left with a required place empty.
BW_DECLARE_EXCEPTION(EDBEditError, Exception);

}  // namespace bw
