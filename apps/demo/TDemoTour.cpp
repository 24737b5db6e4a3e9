#include "apps/demo/TDemoTour.h"

#include <filesystem>
#include <memory>

#include "apps/demo/PlanColumns.h"
#include "apps/demo/TPlanForm.h"
#include "apps/demo/TPlanGrid.h"
#include "editor/TCustomInplaceComboEdit.h"
#include "editor/TEditButton.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/core/Exception.h"
#include "platform/core/SaveFileAtomically.h"
#include "platform/core/TStream.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"
#include "platform/outline/TOutlineNode.h"

namespace bw::demo {

TDemoTour::TDemoTour(TPlanForm* Form, String Folder)
    : FForm(Form), FGrid(Form->Grid()), FFolder(std::move(Folder)) {}

std::vector<String> TDemoTour::Run() {
  std::filesystem::create_directories(FFolder);
  FForm->Show();
  Application->ProcessMessages();
  std::vector<String> pictures;
  pictures.push_back(Picture("plan-collapsed.png"));
  if (!HoldsTheSample()) {
    // Another plan: every branch open is the one more picture worth having.
    FGrid->Outline()->FullExpand();
    pictures.push_back(Picture("plan-expanded.png"));
    return pictures;
  }

  DoubleClickTree("Services");
  pictures.push_back(Picture("plan-expanded.png"));

  // Typing into a cell replaces its text; Effort takes digits only, so the "d" is refused.
  THeadlessInput::Click(FGrid, CellCentre(pcEffort, RowOf("Slab pour")));
  Type("3d");
  Key(VK_RETURN);
  // The Owner's "..." button chooses the next owner.
  EditCell(pcOwner, "Inspection chamber");
  PressEditorButton();
  pictures.push_back(Picture("plan-editing.png"));
  Key(VK_RETURN);

  // Due drops a calendar down; two days later is taken.
  EditCell(pcDue, "Install beams");
  PressEditorButton();
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  pictures.push_back(Picture("plan-calendar.png"));
  Key(VK_RETURN);  // takes the calendar's date
  Key(VK_RETURN);  // stores it in the cell
  return pictures;
}

bool TDemoTour::HoldsTheSample() const {
  for (const char* item : {"Services", "Slab pour", "Inspection chamber", "Install beams"})
    if (FGrid->Outline()->GetTextItem(item) <= 0) return false;
  return true;
}

int32_t TDemoTour::RowOf(const String& Item) const {
  // A plan opened from files shows its branches closed: the script opens its way in.
  if (const int32_t index = FGrid->Outline()->GetTextItem(Item); index > 0) {
    TOutlineNode* node = FGrid->Outline()->Get(index);
    if (!node->IsVisible()) {
      for (TOutlineNode* p = node->Parent(); p && !p->IsRoot(); p = p->Parent())
        p->Expand();
      FGrid->Outline()->UpdateGrid();
      Application->ProcessMessages();
    }
  }
  for (int32_t row = FGrid->FixedRows(); row < FGrid->RowCount(); ++row)
    if (TOutlineNode* node = FGrid->RowToOutline(row); node && node->Text() == Item) return row;
  throw EInvalidOperation("No row shows \"" + Item + "\"");
}

TPoint TDemoTour::CellCentre(int32_t ACol, int32_t ARow) const {
  const TRect r = FGrid->CellRect(ACol, ARow);
  return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

void TDemoTour::DoubleClickTree(const String& Item) {
  const TRect r = FGrid->CellRect(FGrid->OutlineCol(), RowOf(Item));
  THeadlessInput::DoubleClick(FGrid, TPoint{r.Left + 40, (r.Top + r.Bottom) / 2});
}

void TDemoTour::EditCell(int32_t ACol, const String& Item) {
  THeadlessInput::Click(FGrid, CellCentre(ACol, RowOf(Item)));
  THeadlessInput::Key(VK_F2);
}

void TDemoTour::PressEditorButton() {
  auto* editor = dynamic_cast<TCustomInplaceComboEdit*>(FGrid->InplaceEditor());
  if (!editor || !editor->Visible()) throw EInvalidOperation("No cell editor is open");
  THeadlessInput::Click(editor->Button());
}

void TDemoTour::Type(const String& Text) {
  THeadlessInput::Type(Text);
}

void TDemoTour::Key(uint16_t Key) {
  THeadlessInput::Key(Key);
}

String TDemoTour::Picture(const String& Name) {
  Application->ProcessMessages();
  auto& backend = THeadlessInput::Backend();
  const TRect bounds = backend.WindowBounds(FForm->Surface());
  std::unique_ptr<TBitmap> screen = backend.SnapshotScreen();
  TBitmap picture;
  picture.SetSize(bounds.Width(), bounds.Height());
  picture.Canvas()->CopyRect(TRect{0, 0, bounds.Width(), bounds.Height()}, screen->Canvas(),
                             bounds);
  const String file = (std::filesystem::path(FFolder) / Name).string();
  const std::vector<uint8_t> png = picture.SaveToPngMemory();
  SaveFileAtomically(file,
                     [&](TStream& Stream) { Stream.WriteBuffer(png.data(), int32_t(png.size())); });
  return file;
}

}  // namespace bw::demo
