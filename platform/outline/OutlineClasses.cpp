// The published outline is known to the class registry from the start, so form files
// that hold one read without registration by the application.
#include "platform/core/ClassRegistry.h"
#include "platform/outline/TOutline.h"

namespace bw {
namespace {

[[maybe_unused]] const bool kRegistered = [] {
  RegisterClass<TOutline>();
  return true;
}();

}  // namespace
}  // namespace bw
