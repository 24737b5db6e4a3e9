#include "apps/demo/TPlanDocument.h"

#include <filesystem>
#include <memory>

#include "apps/demo/TCellFile.h"
#include "apps/demo/TPlanForm.h"
#include "apps/demo/TPlanGrid.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TApplication.h"
#include "platform/core/Exception.h"
#include "platform/core/FormStreaming.h"
#include "platform/outline/TOutlineNode.h"

namespace bw::demo {

String TPlanDocument::CellsFileFor(const String& FormFile) {
  return std::filesystem::path(FormFile).replace_extension(".cells").string();
}

TPlanForm* TPlanDocument::FromOutline(const String& OutlineFile, const String& CellsFile,
                                      const std::vector<String>& Expanded) {
  auto form = std::make_unique<TPlanForm>(Application);
  form->BuildLayout();
  TPlanGrid* grid = form->Grid();
  grid->Outline()->BeginUpdate();
  grid->Outline()->LoadFromFile(OutlineFile);
  for (const String& text : Expanded)
    if (int32_t index = grid->Outline()->GetTextItem(text); index > 0)
      grid->Outline()->Get(index)->Expand();
  grid->Outline()->EndUpdate();
  if (!CellsFile.empty()) TCellFile::Load(grid, CellsFile);
  return form.release();
}

void TPlanDocument::Save(TPlanForm* Form, const String& FormFile) {
  SaveComponentToFile(FormFile, Form, sofText);
  TCellFile::Save(Form->Grid(), CellsFileFor(FormFile));
}

TPlanForm* TPlanDocument::Open(const String& FormFile) {
  std::unique_ptr<TComponent> root;
  try {
    root.reset(LoadComponentFromFile(FormFile, nullptr, Application));
  } catch (const Exception& E) {
    if (E.Message().find(FormFile) != String::npos) throw;
    throw EReadError(FormFile + ": " + E.Message());
  }
  auto* form = dynamic_cast<TPlanForm*>(root.get());
  if (!form || !form->Grid())
    throw EReadError(FormFile + " holds no plan (a TPlanForm with a grid named Plan)");
  TCellFile::Load(form->Grid(), CellsFileFor(FormFile));
  root.release();
  return form;
}

}  // namespace bw::demo
