#include "apps/demo/TPlanGrid.h"

#include <memory>

#include "apps/demo/TPlanCellEdit.h"
#include "editor/TEditButton.h"
#include "editor/TGridEditProperties.h"
#include "platform/core/ClassRegistry.h"

namespace bw::demo {

namespace {

[[maybe_unused]] const bool kRegistered = [] {
  RegisterClass<TPlanGrid>();
  return true;
}();

}  // namespace

TPlanGrid::TPlanGrid(TComponent* AOwner) : TVelloran(AOwner) {}

TInplaceEdit* TPlanGrid::CreateEditor() {
  auto editor = std::make_unique<TPlanCellEdit>(this);
  editor->SetGrid(this);
  editor->Button()->SetWidth(Editor()->ButtonWidth());
  return editor.release();
}

}  // namespace bw::demo
