#pragma once
// A plain list of texts, one row each, with one of them chosen: a click or the arrow
// keys choose, a double-click or Enter confirms (OnConfirm).

#include <vector>

#include "platform/controls/TCustomControl.h"

namespace bw::demo {

class TChoiceList : public TCustomControl {
  BW_CLASS(TChoiceList, TCustomControl)

 public:
  static constexpr int32_t RowHeight = 20;

  explicit TChoiceList(TComponent* AOwner);

  const std::vector<String>& Items() const { return FItems; }
  void SetItems(std::vector<String> Items);
  /// -1 when nothing is chosen.
  int32_t ItemIndex() const { return FIndex; }
  void SetItemIndex(int32_t Value);
  /// The chosen text, or the empty string.
  String Chosen() const;

  TNotifyEvent OnConfirm;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void DblClick() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void WMGetDlgCode(TMessage& Message) override;

 private:
  std::vector<String> FItems;
  int32_t FIndex = -1;
};

}  // namespace bw::demo
