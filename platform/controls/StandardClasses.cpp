// Form files name the classes of the components they hold; the platform's own published
// controls are known to the class registry from the start, so a form that uses them
// reads without any registration by the application.
#include "platform/controls/TButton.h"
#include "platform/controls/TEdit.h"
#include "platform/controls/TForm.h"
#include "platform/controls/TMaskEdit.h"
#include "platform/controls/TSpeedButton.h"
#include "platform/core/ClassRegistry.h"

namespace bw {
namespace {

[[maybe_unused]] const bool kRegistered = [] {
  RegisterClasses<TForm, TButton, TEdit, TMaskEdit, TSpeedButton>();
  return true;
}();

}  // namespace
}  // namespace bw
