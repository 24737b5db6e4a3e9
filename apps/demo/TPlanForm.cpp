#include "apps/demo/TPlanForm.h"

#include <algorithm>
#include <set>

#include "apps/demo/PlanColumns.h"
#include "apps/demo/TPlanGrid.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/core/ClassRegistry.h"
#include "platform/grids/TGridScrollBar.h"

namespace bw::demo {

namespace {

[[maybe_unused]] const bool kRegistered = [] {
  RegisterClass<TPlanForm>();
  return true;
}();

struct TColumnSpec {
  const char* Title;
  int32_t Width;
};
constexpr TColumnSpec kColumns[pcCount] = {{"Task", 260},         {"Owner", 120}, {"Status", 96},
                                           {"Effort (days)", 96}, {"Due", 96},    {"Notes", 220}};

bool IsDigit(Char Key) {
  return Key >= U'0' && Key <= U'9';
}

}  // namespace

TPlanForm::TPlanForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Brantwell demo: project plan");
  SetKeyPreview(true);
  FHandlers.Add<void(TObject*, int32_t, int32_t, String&)>(
      "PlanButtonClick", [this](TObject* Sender, int32_t ACol, int32_t ARow, String& EditText) {
        PlanButtonClick(Sender, ACol, ARow, EditText);
      });
  FHandlers.Add<void(TObject*, Char, bool&)>(
      "PlanEditAcceptKey",
      [this](TObject* Sender, Char Key, bool& Accept) { PlanEditAcceptKey(Sender, Key, Accept); });
}

void TPlanForm::BuildLayout() {
  FGrid = new TPlanGrid(this);
  FGrid->SetName("Plan");
  FGrid->SetParent(this);
  FGrid->SetAlign(alClient);
  FGrid->SetColCount(pcCount);
  // The tree is an ordinary column here: it scrolls with the rest and can be current.
  FGrid->SetFixedCols(0);
  FGrid->SetDefaultRowHeight(21);
  for (int32_t col = 0; col < pcCount; ++col)
    FGrid->SetColWidths(col, kColumns[col].Width);
  TGridOptions options = FGrid->Options();
  options += TGridOptions{goEditing, goColSizing, goTabs, goThumbTracking};
  FGrid->SetOptions(options);
  // The tree as a keyboard user and a mouse user would want it: arrows and + - * open
  // and close branches, plus and minus boxes open them with one click, typed letters
  // find an item, and the open branches are kept with the plan.
  FGrid->SetTreeOptions(TTreeOptions{toKeyboard, toExpanders, toTypeAhead, toKeepState});
  FGrid->OnButtonClick = TEditButtonClickEvent(
      *FHandlers.Find<void(TObject*, int32_t, int32_t, String&)>("PlanButtonClick"),
      "PlanButtonClick");
  FGrid->OnEditAcceptKey = TEditAcceptKeyEvent(
      *FHandlers.Find<void(TObject*, Char, bool&)>("PlanEditAcceptKey"), "PlanEditAcceptKey");
  SetColumnTitles();
  // Wide enough for every column and the vertical scroll bar.
  int32_t width = 4 + TGridScrollBar::Thickness;
  for (int32_t col = 0; col < pcCount; ++col)
    width += FGrid->GetColWidths(col) + FGrid->GridLineWidth();
  SetBounds(40, 40, width, 600);
}

void TPlanForm::SetColumnTitles() {
  for (int32_t col = 0; col < pcCount; ++col)
    FGrid->SetCells(col, 0, kColumns[col].Title);
}

void TPlanForm::Loaded() {
  inherited::Loaded();
  FGrid = dynamic_cast<TPlanGrid*>(FindComponent("Plan"));
  // Form files do not keep cells: the titles come back here, the rest from a cells file.
  if (FGrid && FGrid->ColCount() == pcCount) SetColumnTitles();
}

void TPlanForm::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (Key == 'Q' && Shift == TShiftState{ssCtrl}) {
    Key = 0;
    Close();
    return;
  }
  inherited::KeyDown(Key, Shift);
}

bool TPlanForm::ChooseNext(const String&, const std::vector<String>& Items, String& Value) {
  if (Items.empty()) return false;
  const auto found = std::find(Items.begin(), Items.end(), Value);
  Value = found == Items.end() || found + 1 == Items.end() ? Items.front() : *(found + 1);
  return true;
}

std::vector<String> TPlanForm::Owners() const {
  std::set<String> owners;
  const int32_t rows = FGrid->FixedRows() + FGrid->Outline()->GetItemCount();
  for (int32_t row = FGrid->FixedRows(); row < rows; ++row)
    if (String owner = FGrid->GetCells(pcOwner, row); !owner.empty()) owners.insert(owner);
  return {owners.begin(), owners.end()};
}

const std::vector<String>& TPlanForm::Statuses() {
  static const std::vector<String> statuses{"Not started", "In progress", "Waiting", "Blocked",
                                            "Done"};
  return statuses;
}

void TPlanForm::PlanButtonClick(TObject*, int32_t ACol, int32_t, String& EditText) {
  const TChooser& choose = Chooser ? Chooser : TChooser(&ChooseNext);
  if (ACol == pcOwner) choose("Owner", Owners(), EditText);
  if (ACol == pcStatus) choose("Status", Statuses(), EditText);
}

void TPlanForm::PlanEditAcceptKey(TObject*, Char Key, bool& Accept) {
  // Effort is a whole number of days; control characters (backspace) still edit.
  if (FGrid && FGrid->Col() == pcEffort && Key >= 32 && !IsDigit(Key)) Accept = false;
}

}  // namespace bw::demo
