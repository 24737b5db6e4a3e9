#pragma once
// The owner-drawn grid: every hook of the grid base raises an event, so an application
// paints the cells in OnDrawCell and supplies the text to edit in OnGetEditText.

#include "platform/grids/TCustomGrid.h"

namespace bw {

using TDrawCellEvent = TEvent<void(TObject* Sender, int32_t ACol, int32_t ARow, const TRect& Rect,
                                   TGridDrawState State)>;
using TSelectCellEvent = TEvent<void(TObject* Sender, int32_t ACol, int32_t ARow, bool& CanSelect)>;
using TGetEditEvent = TEvent<void(TObject* Sender, int32_t ACol, int32_t ARow, String& Value)>;
using TSetEditEvent =
    TEvent<void(TObject* Sender, int32_t ACol, int32_t ARow, const String& Value)>;
using TMovedEvent = TEvent<void(TObject* Sender, int32_t FromIndex, int32_t ToIndex)>;

class TDrawGrid : public TCustomGrid {
  BW_CLASS(TDrawGrid, TCustomGrid)

 public:
  explicit TDrawGrid(TComponent* AOwner);

  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditMask;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TSelectCellEvent OnSelectCell;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;

 protected:
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int32_t ACol, int32_t ARow) override;
  String GetEditMask(int32_t ACol, int32_t ARow) override;
  String GetEditText(int32_t ACol, int32_t ARow) override;
  void SetEditText(int32_t ACol, int32_t ARow, const String& Value) override;
  void ColumnMoved(int32_t FromIndex, int32_t ToIndex) override;
  void RowMoved(int32_t FromIndex, int32_t ToIndex) override;
  void TopLeftChanged() override;
};

}  // namespace bw
