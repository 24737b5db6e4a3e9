#pragma once
// A file the form tool cannot use, with a message that names it and says why.

#include "platform/core/Exception.h"

namespace bw {

BW_DECLARE_EXCEPTION(EFormFileError, Exception);

}  // namespace bw
