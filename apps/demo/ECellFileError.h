#pragma once
// A cells file that cannot be read or written: the message names the file, and the line
// where reading stopped.

#include "platform/core/Exception.h"

namespace bw::demo {

BW_DECLARE_EXCEPTION(ECellFileError, Exception);

}  // namespace bw::demo
