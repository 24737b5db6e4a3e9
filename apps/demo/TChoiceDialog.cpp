#include "apps/demo/TChoiceDialog.h"

#include <algorithm>

#include "apps/demo/TChoiceList.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TButton.h"

namespace bw::demo {

namespace {

constexpr int32_t kMargin = 8;
constexpr int32_t kListWidth = 200;
constexpr int32_t kButtonWidth = 75;
constexpr int32_t kButtonHeight = 25;
constexpr const char* kDialogName = "ChoiceDialog";

TButton* AddButton(TChoiceDialog* Dialog, const String& Caption, TModalResult Result) {
  auto* button = new TButton(Dialog);
  button->SetParent(Dialog);
  button->SetCaption(Caption);
  button->SetModalResult(Result);
  return button;
}

}  // namespace

TChoiceDialog::TChoiceDialog(TComponent* AOwner)
    : TForm(AOwner),
      FList(new TChoiceList(this)),
      FOk(AddButton(this, "OK", mrOk)),
      FCancel(AddButton(this, "Cancel", mrCancel)) {
  FList->SetParent(this);
  FOk->SetDefault(true);
  FCancel->SetCancel(true);
  SetPosition(poScreenCenter);
  FList->OnConfirm = TNotifyEvent([this](TObject*) { SetModalResult(mrOk); });
}

void TChoiceDialog::Fit(const std::vector<String>& Items) {
  const int32_t listHeight = int32_t(Items.size()) * TChoiceList::RowHeight + 2;
  FList->SetBounds(kMargin, kMargin, kListWidth, listHeight);
  const int32_t buttonsTop = kMargin + listHeight + kMargin;
  const int32_t right = kMargin + kListWidth;
  FOk->SetBounds(right - 2 * kButtonWidth - 6, buttonsTop, kButtonWidth, kButtonHeight);
  FCancel->SetBounds(right - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight);
  SetClientWidth(right + kMargin);
  SetClientHeight(buttonsTop + kButtonHeight + kMargin);
}

bool TChoiceDialog::Execute(const String& Caption, const std::vector<String>& Items,
                            String& Value) {
  auto* dialog = dynamic_cast<TChoiceDialog*>(Application->FindComponent(kDialogName));
  if (!dialog) {
    dialog = new TChoiceDialog(Application);
    dialog->SetName(kDialogName);
  }
  dialog->SetCaption(Caption);
  TChoiceList* list = dialog->List();
  list->SetItems(Items);
  const auto found = std::find(Items.begin(), Items.end(), Value);
  list->SetItemIndex(found == Items.end() ? 0 : int32_t(found - Items.begin()));
  dialog->Fit(Items);
  dialog->SetActiveControl(list);

  if (dialog->ShowModal() != mrOk || list->Chosen().empty()) return false;
  Value = list->Chosen();
  return true;
}

}  // namespace bw::demo
