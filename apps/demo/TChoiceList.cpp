#include "apps/demo/TChoiceList.h"

#include <algorithm>

#include "platform/backend/VirtualKeys.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/TBrush.h"
#include "platform/graphics/TCanvas.h"
#include "platform/graphics/TFont.h"

namespace bw::demo {

TChoiceList::TChoiceList(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TChoiceList::SetItems(std::vector<String> Items) {
  FItems = std::move(Items);
  FIndex = FItems.empty() ? -1 : std::min<int32_t>(FIndex, int32_t(FItems.size()) - 1);
  Invalidate();
}

void TChoiceList::SetItemIndex(int32_t Value) {
  if (Value < -1 || Value >= int32_t(FItems.size()) || Value == FIndex) return;
  FIndex = Value;
  Invalidate();
}

String TChoiceList::Chosen() const {
  return FIndex >= 0 ? FItems[size_t(FIndex)] : String();
}

void TChoiceList::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetColor(clWindow);
  canvas->FillRect(ClientRect());
  for (int32_t i = 0; i < int32_t(FItems.size()); ++i) {
    const TRect r{0, i * RowHeight, ClientWidth(), (i + 1) * RowHeight};
    const bool chosen = i == FIndex;
    canvas->Brush()->SetColor(chosen ? clHighlight : clWindow);
    canvas->FillRect(r);
    canvas->Font()->SetColor(chosen ? clHighlightText : clWindowText);
    const String& text = FItems[size_t(i)];
    canvas->TextOut(r.Left + 6, r.Top + (RowHeight - canvas->TextHeight(text)) / 2, text);
  }
}

void TChoiceList::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (CanFocus()) SetFocus();
  if (Button == mbLeft && Y >= 0)
    SetItemIndex(std::min<int32_t>(Y / RowHeight, int32_t(FItems.size()) - 1));
  inherited::MouseDown(Button, Shift, X, Y);
}

void TChoiceList::DblClick() {
  inherited::DblClick();
  if (FIndex >= 0 && OnConfirm) OnConfirm(this);
}

void TChoiceList::KeyDown(uint16_t& Key, TShiftState Shift) {
  const int32_t last = int32_t(FItems.size()) - 1;
  switch (Key) {
    case VK_UP:
      SetItemIndex(std::max(FIndex - 1, 0));
      Key = 0;
      break;
    case VK_DOWN:
      SetItemIndex(std::min(FIndex + 1, last));
      Key = 0;
      break;
    case VK_HOME:
      SetItemIndex(0);
      Key = 0;
      break;
    case VK_END:
      SetItemIndex(last);
      Key = 0;
      break;
    default:
      break;
  }
  inherited::KeyDown(Key, Shift);
}

void TChoiceList::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS;
}

}  // namespace bw::demo
