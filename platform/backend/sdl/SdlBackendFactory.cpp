// The SDL back end's factory: linking bw_sdl makes "sdl" known by name (BW_BACKEND=sdl)
// and the first choice when a display is there. The library's link options name
// bw_sdl_backend_anchor, so the linker keeps this file and its registration even though
// nothing else in the program refers to it.

#include <memory>

#include "platform/backend/Backend.h"
#include "platform/backend/sdl/TSdlBackend.h"

extern "C" {
int bw_sdl_backend_anchor = 1;
}

namespace bw {
namespace {

[[maybe_unused]] const bool kRegistered = [] {
  RegisterBackend(
      "sdl", [] { return std::make_unique<TSdlBackend>(); }, &TSdlBackend::DisplayNamed);
  return true;
}();

}  // namespace
}  // namespace bw
