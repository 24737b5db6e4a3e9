#pragma once

#include "platform/core/Exception.h"

namespace bw {

BW_DECLARE_EXCEPTION(EStringSparseListError, Exception);

}  // namespace bw
