#pragma once

#include "platform/core/Exception.h"

namespace bw {

BW_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

}  // namespace bw
