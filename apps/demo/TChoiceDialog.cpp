#include "apps/demo/TChoiceDialog.h"

#include <algorithm>
#include <memory>

#include "apps/demo/TChoiceList.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TButton.h"

namespace bw::demo {

namespace {

constexpr int32_t kMargin = 8;
constexpr int32_t kListWidth = 200;

TButton* AddButton(TChoiceDialog* Dialog, const String& Caption, TModalResult Result, int32_t X,
                   int32_t Y) {
  auto* button = new TButton(Dialog);
  button->SetParent(Dialog);
  button->SetCaption(Caption);
  button->SetModalResult(Result);
  button->SetBounds(X, Y, 75, 25);
  return button;
}

}  // namespace

TChoiceDialog::TChoiceDialog(TComponent* AOwner) : TForm(AOwner), FList(new TChoiceList(this)) {
  FList->SetParent(this);
  SetPosition(poScreenCenter);
  FList->OnConfirm = TNotifyEvent([this](TObject*) { SetModalResult(mrOk); });
}

bool TChoiceDialog::Execute(const String& Caption, const std::vector<String>& Items,
                            String& Value) {
  auto dialog = std::make_unique<TChoiceDialog>(Application);
  dialog->SetCaption(Caption);
  TChoiceList* list = dialog->List();
  list->SetItems(Items);
  const auto found = std::find(Items.begin(), Items.end(), Value);
  list->SetItemIndex(found == Items.end() ? 0 : int32_t(found - Items.begin()));

  const int32_t listHeight = int32_t(Items.size()) * TChoiceList::RowHeight + 2;
  list->SetBounds(kMargin, kMargin, kListWidth, listHeight);
  const int32_t buttonsTop = kMargin + listHeight + kMargin;
  AddButton(dialog.get(), "OK", mrOk, kMargin + kListWidth - 2 * 75 - 6, buttonsTop)
      ->SetDefault(true);
  AddButton(dialog.get(), "Cancel", mrCancel, kMargin + kListWidth - 75, buttonsTop)
      ->SetCancel(true);
  dialog->SetClientWidth(kMargin + kListWidth + kMargin);
  dialog->SetClientHeight(buttonsTop + 25 + kMargin);
  dialog->SetActiveControl(list);

  if (dialog->ShowModal() != mrOk || list->Chosen().empty()) return false;
  Value = list->Chosen();
  return true;
}

}  // namespace bw::demo
