#include "platform/grids/TDrawGrid.h"

#include "platform/core/TPropertyTable.h"

namespace bw {

BW_PUBLISHED(TDrawGrid) {
  // Counts come before the fixed counts that must stay below them.
  P.Property("BorderStyle", &TDrawGrid::BorderStyle, &TDrawGrid::SetBorderStyle,
             {"bsNone", "bsSingle"})
      .Default(bsSingle);
  P.Property("ColCount", &TDrawGrid::ColCount, &TDrawGrid::SetColCount).Default(5);
  P.Property("DefaultColWidth", &TDrawGrid::DefaultColWidth, &TDrawGrid::SetDefaultColWidth)
      .Default(64);
  P.Property("DefaultRowHeight", &TDrawGrid::DefaultRowHeight, &TDrawGrid::SetDefaultRowHeight)
      .Default(24);
  P.Property("DefaultDrawing", &TDrawGrid::DefaultDrawing, &TDrawGrid::SetDefaultDrawing)
      .Default(true);
  P.Property("FixedColor", &TDrawGrid::FixedColor, &TDrawGrid::SetFixedColor).Default(clBtnFace);
  P.Property("FixedCols", &TDrawGrid::FixedCols, &TDrawGrid::SetFixedCols).Default(1);
  P.Property("RowCount", &TDrawGrid::RowCount, &TDrawGrid::SetRowCount).Default(5);
  P.Property("FixedRows", &TDrawGrid::FixedRows, &TDrawGrid::SetFixedRows).Default(1);
  P.Property("GridLineWidth", &TDrawGrid::GridLineWidth, &TDrawGrid::SetGridLineWidth).Default(1);
  P.Property("Options", &TDrawGrid::Options, &TDrawGrid::SetOptions,
             {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
              "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
              "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"})
      .Default(
          TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
  P.Property("ScrollBars", &TDrawGrid::ScrollBars, &TDrawGrid::SetScrollBars,
             {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})
      .Default(ssBoth);
  auto event = [&P](const char* name, auto member) {
    P.Property(
        name, [member](TDrawGrid* G) { return G->*member; },
        [member](TDrawGrid* G, const auto& Value) { G->*member = Value; });
  };
  event("OnColumnMoved", &TDrawGrid::OnColumnMoved);
  event("OnDrawCell", &TDrawGrid::OnDrawCell);
  event("OnGetEditMask", &TDrawGrid::OnGetEditMask);
  event("OnGetEditText", &TDrawGrid::OnGetEditText);
  event("OnRowMoved", &TDrawGrid::OnRowMoved);
  event("OnSelectCell", &TDrawGrid::OnSelectCell);
  event("OnSetEditText", &TDrawGrid::OnSetEditText);
  event("OnTopLeftChanged", &TDrawGrid::OnTopLeftChanged);
}

TDrawGrid::TDrawGrid(TComponent* AOwner) : inherited(AOwner) {}

void TDrawGrid::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int32_t ACol, int32_t ARow) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
  return canSelect;
}

String TDrawGrid::GetEditMask(int32_t ACol, int32_t ARow) {
  String mask;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
  return mask;
}

String TDrawGrid::GetEditText(int32_t ACol, int32_t ARow) {
  String text;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TDrawGrid::SetEditText(int32_t ACol, int32_t ARow, const String& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TDrawGrid::ColumnMoved(int32_t FromIndex, int32_t ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int32_t FromIndex, int32_t ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged() {
  inherited::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

}  // namespace bw
