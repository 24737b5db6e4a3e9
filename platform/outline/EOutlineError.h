#pragma once

#include "platform/core/Exception.h"

namespace bw {

/// Raised for a bad item index, a text that cannot be loaded or saved, and a bad picture
/// index of an outline.
BW_DECLARE_EXCEPTION(EOutlineError, Exception);

}  // namespace bw
