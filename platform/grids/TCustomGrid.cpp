#include "platform/grids/TCustomGrid.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/backend/VirtualKeys.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "platform/graphics/TCanvas.h"
#include "platform/grids/TInplaceEdit.h"

namespace bw {

namespace {

constexpr int32_t kSizingSlack = 2;
constexpr int32_t kWheelRows = 3;
// Timers: a held scroll-bar button repeats, and a selecting drag past the view's edge
// keeps scrolling.
constexpr uintptr_t kScrollTimer = 1;
constexpr uintptr_t kSelectTimer = 2;
constexpr uint32_t kRepeatDelayMs = 400;
constexpr uint32_t kRepeatRateMs = 50;

}  // namespace

// --- construction ----------------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* AOwner)
    : inherited(AOwner),
      FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect},
      FFixedColor(clBtnFace) {
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 320, 120);
  UpdateGeometry();
}

TCustomGrid::~TCustomGrid() {
  // The editor calls back into the grid while it goes; let it go while the grid is whole.
  delete FInplaceEdit;
  FInplaceEdit = nullptr;
}

void TCustomGrid::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle != bsSingle) return;
  // A single border is sunken in 3-D, a plain line otherwise.
  if (Ctl3D())
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  else
    Params.Style |= WS_BORDER;
}

void TCustomGrid::CheckIndex(int32_t Index, int32_t Count) {
  if (Index < 0 || Index >= Count) throw EInvalidGridOperation(SGridIndexOutOfRange);
}

void TCustomGrid::Loaded() {
  inherited::Loaded();
  UpdateGeometry();
}

// --- sizes and options -----------------------------------------------------------------

void TCustomGrid::SetColCount(int32_t Value) {
  Value = std::max(Value, 1);
  if (Value == ColCount()) return;
  if (Value <= FixedCols()) FLayout.SetFixedCols(Value - 1);
  ChangeSize(Value, RowCount());
}

void TCustomGrid::SetRowCount(int32_t Value) {
  Value = std::max(Value, 1);
  if (Value == RowCount()) return;
  if (Value <= FixedRows()) FLayout.SetFixedRows(Value - 1);
  ChangeSize(ColCount(), Value);
}

void TCustomGrid::ChangeSize(int32_t NewColCount, int32_t NewRowCount) {
  int32_t oldCols = ColCount(), oldRows = RowCount();
  if (NewColCount == oldCols && NewRowCount == oldRows) return;
  // An open editor on a cell that goes away closes without storing anything.
  if (FInplaceCol >= NewColCount || FInplaceRow >= NewRowCount) HideEdit(false);
  FLayout.Cols().SetCount(NewColCount);
  FLayout.Rows().SetCount(NewRowCount);
  auto clampCell = [this](TGridCoord c) {
    return TGridCoord{std::clamp(c.X, FixedCols(), ColCount() - 1),
                      std::clamp(c.Y, FixedRows(), RowCount() - 1)};
  };
  FCurrent = clampCell(FCurrent);
  FAnchor = clampCell(FAnchor);
  UpdateGeometry();
  Invalidate();
  // Before the editor reloads, so that a descendant that changes the size again finds
  // everything settled, and hears of the change even when the reload fails.
  SizeChanged(oldCols, oldRows);
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::SetFixedCols(int32_t Value) {
  if (Value == FixedCols()) return;
  if (Value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (Value >= ColCount()) throw EInvalidGridOperation(SFixedColTooBig);
  HideEdit(true);
  FLayout.SetFixedCols(Value);
  ChangeGridOrientation();
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::SetFixedRows(int32_t Value) {
  if (Value == FixedRows()) return;
  if (Value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (Value >= RowCount()) throw EInvalidGridOperation(SFixedRowTooBig);
  HideEdit(true);
  FLayout.SetFixedRows(Value);
  ChangeGridOrientation();
  FixedRowsChanged();
  if (FEditorMode) UpdateEdit();
}

// New fixed counts move the current cell and the scrolled origin to the first cells.
void TCustomGrid::ChangeGridOrientation() {
  FCurrent = {FixedCols(), FixedRows()};
  FAnchor = FCurrent;
  FLayout.SetTopLeft(FCurrent);
  UpdateGeometry();
  Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int32_t Value) {
  Value = std::clamp(Value, 0, TGridAxis::MaxSize);
  if (Value == DefaultColWidth()) return;
  FLayout.Cols().SetDefaultSize(Value);
  ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int32_t Value) {
  Value = std::clamp(Value, 0, TGridAxis::MaxSize);
  if (Value == DefaultRowHeight()) return;
  FLayout.Rows().SetDefaultSize(Value);
  RowHeightsChanged();
}

int32_t TCustomGrid::GetColWidths(int32_t Index) const {
  CheckIndex(Index, ColCount());
  return FLayout.Cols().Size(Index);
}

void TCustomGrid::SetColWidths(int32_t Index, int32_t Value) {
  CheckIndex(Index, ColCount());
  Value = std::clamp(Value, -1, TGridAxis::MaxSize);
  if (Value == FLayout.Cols().Size(Index)) return;
  FLayout.Cols().SetSize(Index, Value);
  ColWidthsChanged();
}

int32_t TCustomGrid::GetRowHeights(int32_t Index) const {
  CheckIndex(Index, RowCount());
  return FLayout.Rows().Size(Index);
}

void TCustomGrid::SetRowHeights(int32_t Index, int32_t Value) {
  CheckIndex(Index, RowCount());
  Value = std::clamp(Value, -1, TGridAxis::MaxSize);
  if (Value == FLayout.Rows().Size(Index)) return;
  FLayout.Rows().SetSize(Index, Value);
  RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged() {
  UpdateGeometry();
  Invalidate();
  PlaceEditor();
}

void TCustomGrid::RowHeightsChanged() {
  UpdateGeometry();
  Invalidate();
  PlaceEditor();
}

void TCustomGrid::SetGridLineWidth(int32_t Value) {
  Value = std::clamp(Value, 0, TGridAxis::MaxLineWidth);
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  ApplyLineWidths();
  UpdateGeometry();
  Invalidate();
  PlaceEditor();
}

// A direction's lines take room when they are drawn in the fixed or the scrolled part.
void TCustomGrid::ApplyLineWidths() {
  bool vert = FOptions.Contains(goVertLine) || FOptions.Contains(goFixedVertLine);
  bool horz = FOptions.Contains(goHorzLine) || FOptions.Contains(goFixedHorzLine);
  FLayout.Cols().SetLineWidth(vert ? FGridLineWidth : 0);
  FLayout.Rows().SetLineWidth(horz ? FGridLineWidth : 0);
}

void TCustomGrid::SetOptions(TGridOptions Value) {
  // An always-shown editor implies editing.
  if (Value.Contains(goAlwaysShowEditor) && !Value.Contains(goEditing))
    Value.Exclude(goAlwaysShowEditor);
  if (Value == FOptions) return;
  const bool editable = Value.Contains(goEditing) && !Value.Contains(goRowSelect);
  // The editor's text is stored before anything changes: a refused store leaves the
  // options as they were and the editor open.
  if (!editable) HideEdit(true);
  TGridOptions old = FOptions;
  FOptions = Value;
  ApplyLineWidths();
  if (!Value.Contains(goRangeSelect)) FAnchor = FCurrent;
  if (!editable) {
    FEditorMode = false;
  } else if (Value.Contains(goAlwaysShowEditor) &&
             (!old.Contains(goAlwaysShowEditor) || old.Contains(goRowSelect))) {
    // Newly always shown, or shown again now that whole rows are no longer selected.
    FEditorMode = true;
    UpdateEdit();
  }
  UpdateGeometry();
  Invalidate();
  PlaceEditor();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (Value == FDefaultDrawing) return;
  FDefaultDrawing = Value;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  UpdateGeometry();
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
  UpdateGeometry();
  Invalidate();
}

TRect TCustomGrid::ViewRect() const {
  return Rect(0, 0, FLayout.ViewWidth(), FLayout.ViewHeight());
}

void TCustomGrid::UpdateGeometry() {
  TRect client = ClientRect();
  const int32_t w = client.Width(), h = client.Height(), t = TGridScrollBar::Thickness;
  const bool wantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool wantH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  bool showV = false, showH = false;
  // A bar takes room from the view, which may make the other bar necessary.
  for (int pass = 0; pass < 3; ++pass) {
    FLayout.SetViewSize(w - (showV ? t : 0), h - (showH ? t : 0));
    TGridCoord max = FLayout.MaxTopLeft();
    showV = wantV && max.Y > FixedRows();
    showH = wantH && max.X > FixedCols();
  }
  FLayout.SetViewSize(w - (showV ? t : 0), h - (showH ? t : 0));
  FVertBar.SetBoundsRect(showV ? Rect(w - t, 0, w, h - (showH ? t : 0)) : TRect{});
  FHorzBar.SetBoundsRect(showH ? Rect(0, h - t, w - (showV ? t : 0), h) : TRect{});

  TGridCoord old = FLayout.TopLeft();
  TGridCoord clamped = FLayout.ClampTopLeft(old);
  FLayout.SetTopLeft(clamped);
  TGridCoord max = FLayout.MaxTopLeft();
  FVertBar.SetParams(FixedRows(), std::max(max.Y, FixedRows()), std::max(VisibleRowCount(), 1),
                     clamped.Y);
  FHorzBar.SetParams(FixedCols(), std::max(max.X, FixedCols()), std::max(VisibleColCount(), 1),
                     clamped.X);
  if (!(clamped == old)) {
    Invalidate();
    PlaceEditor();
    TopLeftChanged();
  }
}

// --- the current cell, the selection and scrolling -------------------------------------

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
              std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FixedCols();
    r.Right = ColCount() - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  CheckIndex(Value.Left, ColCount());
  CheckIndex(Value.Right, ColCount());
  CheckIndex(Value.Top, RowCount());
  CheckIndex(Value.Bottom, RowCount());
  TGridRect old = Selection();
  if (!(TGridCoord{Value.Right, Value.Bottom} == FCurrent)) HideEdit(true);
  FAnchor = {Value.Left, Value.Top};
  FCurrent = {Value.Right, Value.Bottom};
  if (!FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  InvalidateBox(old);
  InvalidateBox(Selection());
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::SetCol(int32_t Value) {
  if (Value == Col()) return;
  FocusCell(Value, Row(), true);
}

void TCustomGrid::SetRow(int32_t Value) {
  if (Value == Row()) return;
  FocusCell(Col(), Value, true);
}

void TCustomGrid::FocusCell(int32_t ACol, int32_t ARow, bool MoveAnchor) {
  MoveCurrent(ACol, ARow, MoveAnchor, true);
}

void TCustomGrid::MoveCurrent(int32_t ACol, int32_t ARow, bool MoveAnchor, bool Show) {
  CheckIndex(ACol, ColCount());
  CheckIndex(ARow, RowCount());
  // OnSelectCell, OnSetEditText and OnTopLeftChanged may free the grid.
  TControlWatch watch(this);
  if (!SelectCell(ACol, ARow) || !watch.Alive()) return;
  TGridRect oldSelection = Selection();
  TGridCoord oldCurrent = FCurrent;
  bool moved = !(TGridCoord{ACol, ARow} == FCurrent);
  // The text typed so far goes to its own cell before the editor moves on.
  if (moved) HideEdit(true);
  if (!watch.Alive()) return;
  // SelectCell or SetEditText may have changed the counts under the move.
  CheckIndex(ACol, ColCount());
  CheckIndex(ARow, RowCount());
  FCurrent = {ACol, ARow};
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  if (Show) ScrollToShow(FCurrent);
  if (!watch.Alive()) return;
  InvalidateBox(oldSelection);
  InvalidateBox(Selection());
  InvalidateCell(oldCurrent.X, oldCurrent.Y);
  InvalidateCell(FCurrent.X, FCurrent.Y);
  if (FEditorMode) UpdateEdit();
}

void TCustomGrid::ScrollToShow(TGridCoord Cell) {
  TGridCoord topLeft = FLayout.TopLeftToShow({FOptions.Contains(goRowSelect) ? -1 : Cell.X, Cell.Y},
                                             FLayout.TopLeft());
  MoveTopLeft(topLeft.X, topLeft.Y);
}

void TCustomGrid::SetTopRow(int32_t Value) {
  MoveTopLeft(LeftCol(), Value);
}

void TCustomGrid::SetLeftCol(int32_t Value) {
  MoveTopLeft(Value, TopRow());
}

void TCustomGrid::MoveTopLeft(int32_t ALeft, int32_t ATop) {
  TGridCoord value = FLayout.ClampTopLeft({ALeft, ATop});
  const TGridCoord old = FLayout.TopLeft();
  if (value == old) return;
  const TRect oldThumbs[2] = {FVertBar.ThumbRect(), FHorzBar.ThumbRect()};
  FLayout.SetTopLeft(value);
  FVertBar.SetParams(FVertBar.Min(), FVertBar.Max(), FVertBar.Page(), value.Y);
  FHorzBar.SetParams(FHorzBar.Min(), FHorzBar.Max(), FHorzBar.Page(), value.X);
  // A thumb that moved is painted where it was and where it is; a held page part darkens
  // the track up to the thumb, so that bar is painted whole.
  for (const auto& [bar, oldThumb] :
       {std::pair{&FVertBar, oldThumbs[0]}, std::pair{&FHorzBar, oldThumbs[1]}}) {
    if (bar->ThumbRect() == oldThumb) continue;
    if (bar == FScrollBarDown) {
      InvalidateClientRect(bar->BoundsRect());
    } else {
      InvalidateClientRect(oldThumb);
      InvalidateClientRect(bar->ThumbRect());
    }
  }
  ScrollCells(old);
  PlaceEditor();
  TopLeftChanged();
}

void TCustomGrid::ScrollCells(TGridCoord OldTopLeft) {
  const TGridCoord now = FLayout.TopLeft();
  const int64_t dx = FLayout.Cols().Position(OldTopLeft.X) - FLayout.Cols().Position(now.X);
  const int64_t dy = FLayout.Rows().Position(OldTopLeft.Y) - FLayout.Rows().Position(now.Y);
  const TRect view = ViewRect();
  // The fixed columns scroll with the rows, the fixed rows with the columns.
  const TRect rows = Rect(0, FLayout.FixedHeight(), view.Right, view.Bottom);
  const TRect cols = Rect(FLayout.FixedWidth(), 0, view.Right, view.Bottom);
  const bool dragMarker = FGridState == gsColMoving || FGridState == gsRowMoving;
  if (dragMarker || std::abs(dx) >= cols.Width() || std::abs(dy) >= rows.Height()) {
    InvalidateClientRect(view);
    return;
  }
  // What stays in view moves along; only what comes into view is painted.
  if (dy != 0) ScrollClientRect(rows, 0, static_cast<int32_t>(dy));
  if (dx != 0) ScrollClientRect(cols, static_cast<int32_t>(dx), 0);
  // The focus frame's dots keep to even pixels of the window, and a row's frame starts at
  // the first scrolled column: a move that breaks either paints the frame anew.
  const bool rowFrame = FOptions.Contains(goRowSelect);
  if (Focused() && !EditorShowing() && ((dx + dy) % 2 != 0 || (rowFrame && dx != 0))) {
    if (rowFrame)
      InvalidateBox({FixedCols(), FCurrent.Y, ColCount() - 1, FCurrent.Y});
    else
      InvalidateCell(FCurrent.X, FCurrent.Y);
  }
}

TRect TCustomGrid::CellRect(int32_t ACol, int32_t ARow) const {
  TRect r = FLayout.CellRect(ACol, ARow);
  if (r.IsEmpty()) return TRect{};
  // The lines belong to the cell in the layout; the cell proper ends before them.
  int32_t w = FLayout.Cols().Size(ACol), h = FLayout.Rows().Size(ARow);
  return Bounds(r.Left, r.Top, std::max(w, 0), std::max(h, 0));
}

void TCustomGrid::MouseToCell(int32_t X, int32_t Y, int32_t& ACol, int32_t& ARow) const {
  TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int32_t X, int32_t Y) const {
  if (X >= FLayout.ViewWidth() || Y >= FLayout.ViewHeight()) return {-1, -1};
  return FLayout.CellAt(X, Y);
}

TRect TCustomGrid::BoxRect(const TGridRect& Box) const {
  // The visible cells of a range along an axis are the fixed ones in it and the
  // scrolled ones from the first shown to the last shown; their screen order follows
  // their index, so the first and the last visible cell bound the rectangle.
  auto span = [](int32_t lo, int32_t hi, int32_t fixed, int32_t first, int32_t last, int32_t& from,
                 int32_t& to) {
    from = lo < fixed ? lo : std::max(lo, first);
    to = std::min(hi, last) >= first ? std::min(hi, last) : std::min(hi, fixed - 1);
    return from <= to && from >= 0;
  };
  int32_t c0, c1, r0, r1;
  if (!span(Box.Left, Box.Right, FixedCols(), LeftCol(), FLayout.LastVisibleCol(), c0, c1) ||
      !span(Box.Top, Box.Bottom, FixedRows(), TopRow(), FLayout.LastVisibleRow(), r0, r1))
    return TRect{};
  const int32_t left = FLayout.ColStart(c0), top = FLayout.RowStart(r0);
  const int32_t lastLeft = FLayout.ColStart(c1), lastTop = FLayout.RowStart(r1);
  if (left < 0 || top < 0 || lastLeft < 0 || lastTop < 0) return TRect{};
  return Rect(left, top, lastLeft + FLayout.Cols().Extent(c1), lastTop + FLayout.Rows().Extent(r1))
      .Intersect(ViewRect());
}

void TCustomGrid::InvalidateBox(const TGridRect& Box) {
  TRect r = BoxRect(Box);
  if (!r.IsEmpty()) InvalidateClientRect(r);
}

void TCustomGrid::InvalidateCell(int32_t ACol, int32_t ARow) {
  InvalidateBox({ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(int32_t ACol) {
  InvalidateBox({ACol, 0, ACol, RowCount() - 1});
}

void TCustomGrid::InvalidateRow(int32_t ARow) {
  InvalidateBox({0, ARow, ColCount() - 1, ARow});
}

// --- moving and deleting columns and rows ----------------------------------------------

void TCustomGrid::MoveColumn(int32_t FromIndex, int32_t ToIndex) {
  CheckIndex(FromIndex, ColCount());
  CheckIndex(ToIndex, ColCount());
  if (FromIndex == ToIndex) return;
  TControlWatch watch(this);  // OnSetEditText and OnColumnMoved may free the grid
  HideEdit(true);
  if (!watch.Alive()) return;
  FLayout.Cols().Move(FromIndex, ToIndex);
  FCurrent.X = std::max(MovedIndex(FCurrent.X, FromIndex, ToIndex), FixedCols());
  FAnchor.X = std::max(MovedIndex(FAnchor.X, FromIndex, ToIndex), FixedCols());
  UpdateGeometry();
  Invalidate();
  ColumnMoved(FromIndex, ToIndex);
  if (watch.Alive() && FEditorMode) UpdateEdit();
}

void TCustomGrid::MoveRow(int32_t FromIndex, int32_t ToIndex) {
  CheckIndex(FromIndex, RowCount());
  CheckIndex(ToIndex, RowCount());
  if (FromIndex == ToIndex) return;
  TControlWatch watch(this);  // OnSetEditText and OnRowMoved may free the grid
  HideEdit(true);
  if (!watch.Alive()) return;
  FLayout.Rows().Move(FromIndex, ToIndex);
  FCurrent.Y = std::max(MovedIndex(FCurrent.Y, FromIndex, ToIndex), FixedRows());
  FAnchor.Y = std::max(MovedIndex(FAnchor.Y, FromIndex, ToIndex), FixedRows());
  UpdateGeometry();
  Invalidate();
  RowMoved(FromIndex, ToIndex);
  if (watch.Alive() && FEditorMode) UpdateEdit();
}

void TCustomGrid::DeleteColumn(int32_t ACol) {
  MoveColumn(ACol, ColCount() - 1);
  SetColCount(ColCount() - 1);
}

void TCustomGrid::DeleteRow(int32_t ARow) {
  MoveRow(ARow, RowCount() - 1);
  SetRowCount(RowCount() - 1);
}

// --- hooks: the base's own answers -----------------------------------------------------

bool TCustomGrid::CanEditModify() {
  return true;
}
bool TCustomGrid::CanEditAcceptKey(Char) {
  return true;
}
bool TCustomGrid::SelectCell(int32_t, int32_t) {
  return true;
}
String TCustomGrid::GetEditText(int32_t, int32_t) {
  return String();
}
void TCustomGrid::SetEditText(int32_t, int32_t, const String&) {}
String TCustomGrid::GetEditMask(int32_t, int32_t) {
  return String();
}
int32_t TCustomGrid::GetEditLimit() {
  return 0;
}
void TCustomGrid::ColumnMoved(int32_t, int32_t) {}
void TCustomGrid::RowMoved(int32_t, int32_t) {}
void TCustomGrid::SizeChanged(int32_t, int32_t) {}
void TCustomGrid::FixedRowsChanged() {}
void TCustomGrid::TopLeftChanged() {}

// --- the in-place editor ---------------------------------------------------------------

TInplaceEdit* TCustomGrid::CreateEditor() {
  return new TInplaceEdit(this);
}

bool TCustomGrid::CanEditShow() {
  // A hidden cell has no room for the editor.
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
         !ComponentState().Contains(csDesigning) && FCurrent.X >= FixedCols() &&
         FCurrent.Y >= FixedRows() && FLayout.Cols().Size(FCurrent.X) > 0 &&
         FLayout.Rows().Size(FCurrent.Y) > 0;
}

bool TCustomGrid::EditorShowing() const {
  return FInplaceEdit && FInplaceCol >= 0;
}

void TCustomGrid::SetEditorMode(bool Value) {
  if (!Value) {
    HideEditor();
    return;
  }
  TControlWatch watch(this);
  ShowEditor();
  if (watch.Alive() && EditorShowing()) FInplaceEdit->Deselect();
}

void TCustomGrid::ShowEditor() {
  FEditorMode = true;
  UpdateEdit();
}

void TCustomGrid::HideEditor() {
  TControlWatch watch(this);  // OnSetEditText may free the grid
  HideEdit(true);
  if (watch.Alive()) FEditorMode = false;
}

void TCustomGrid::InvalidateEditor() {
  if (!EditorShowing()) return;
  // Reloads without storing: the cell's own text wins over what was typed.
  FInplaceCol = FInplaceRow = -1;
  UpdateEdit();
}

void TCustomGrid::UpdateEdit() {
  if (!CanEditShow()) {
    HideEdit(true);
    return;
  }
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    if (!FInplaceEdit) return;  // a descendant that edits nothing
    FInplaceEdit->FGrid = this;
    FInplaceEdit->SetVisible(false);
    FInplaceEdit->SetParent(this);
  }
  TControlWatch watch(this);  // OnGetEditText and OnGetEditMask may free the grid
  if (FInplaceCol != FCurrent.X || FInplaceRow != FCurrent.Y) {
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    try {
      FInplaceEdit->UpdateContents();
    } catch (...) {
      // No text to edit: the editor stays closed.
      if (watch.Alive()) {
        FInplaceCol = FInplaceRow = -1;
        FInplaceEdit->SetVisible(false);
      }
      throw;
    }
    if (!watch.Alive()) return;
    FEditLoadedText = FInplaceEdit->Text();
    FInplaceEdit->SelectAll();
  }
  PlaceEditor();
  if (watch.Alive() && Focused() && FInplaceEdit->Visible()) FInplaceEdit->SetFocus();
}

void TCustomGrid::UpdateText() {
  if (!EditorShowing()) return;
  FInplaceEdit->ValidateEdit();
  TControlWatch watch(this);  // OnSetEditText may free the grid
  SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
  if (watch.Alive()) FEditLoadedText = FInplaceEdit->Text();
}

void TCustomGrid::HideEdit(bool Commit) {
  if (!FInplaceEdit) return;
  TControlWatch watch(this);  // OnSetEditText may free the grid
  if (FInplaceCol >= 0) {
    int32_t col = FInplaceCol, row = FInplaceRow;
    // Closed before the text is handed over, so that a handler that closes or moves the
    // editor itself does not store the text twice; a failure leaves it open.
    FInplaceCol = FInplaceRow = -1;
    if (Commit) {
      try {
        FInplaceEdit->ValidateEdit();  // a masked text with required places left empty
        SetEditText(col, row, FInplaceEdit->Text());
      } catch (...) {
        if (watch.Alive()) {
          FInplaceCol = col;
          FInplaceRow = row;
        }
        throw;
      }
      if (!watch.Alive()) return;
    }
  }
  if (FInplaceEdit->Visible()) {
    bool hadFocus = FInplaceEdit->Focused();
    FInplaceEdit->SetVisible(false);
    if (watch.Alive() && hadFocus && CanFocus()) SetFocus();
  }
}

void TCustomGrid::PlaceEditor() {
  if (!EditorShowing()) return;
  TRect r = CellRect(FInplaceCol, FInplaceRow).Intersect(ViewRect());
  if (!r.IsEmpty()) {
    FInplaceEdit->Move(r);
    return;
  }
  // Scrolled out of sight: the editor waits, with its text, until the cell returns.
  if (FInplaceEdit->Visible()) {
    bool hadFocus = FInplaceEdit->Focused();
    FInplaceEdit->SetVisible(false);
    if (hadFocus && CanFocus()) SetFocus();
  }
}

void TCustomGrid::CancelEdit() {
  if (!EditorShowing()) return;
  TControlWatch watch(this);  // the editor's OnChange may free the grid
  FInplaceEdit->SetText(FEditLoadedText);
  if (!watch.Alive()) return;
  FInplaceEdit->SelectAll();
  if (FOptions.Contains(goAlwaysShowEditor)) return;
  HideEdit(false);
  if (watch.Alive()) FEditorMode = false;
}

// --- keyboard --------------------------------------------------------------------------

// Each key and mouse handler may find the grid freed by a handler it raised (OnKeyDown,
// OnEnter, OnSelectCell, OnSetEditText ...): nothing of the grid is touched afterwards
// unless the watch says it is still there.

void TCustomGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
  TControlWatch watch(this);
  inherited::KeyDown(Key, Shift);
  if (!watch.Alive() || Key == 0) return;
  const bool ctrl = Shift.Contains(ssCtrl);
  TGridMove move;
  switch (Key) {
    case VK_UP:
      move = gmUp;
      break;
    case VK_DOWN:
      move = gmDown;
      break;
    case VK_LEFT:
      move = ctrl ? gmPageLeft : gmLeft;
      break;
    case VK_RIGHT:
      move = ctrl ? gmPageRight : gmRight;
      break;
    case VK_PRIOR:
      move = ctrl ? gmTopOfPage : gmPageUp;
      break;
    case VK_NEXT:
      move = ctrl ? gmBottomOfPage : gmPageDown;
      break;
    case VK_HOME:
      move = ctrl ? gmFirstCell : gmHome;
      break;
    case VK_END:
      move = ctrl ? gmLastCell : gmEnd;
      break;
    case VK_TAB:
      if (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt)) return;
      move = Shift.Contains(ssShift) ? gmPrevCell : gmNextCell;
      break;
    case VK_F2:
      Key = 0;
      SetEditorMode(true);
      return;
    case VK_ESCAPE:
      if (!EditorShowing()) return;
      Key = 0;
      CancelEdit();
      return;
    default:
      return;
  }
  Key = 0;
  const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) &&
                      move != gmNextCell && move != gmPrevCell;
  TGridNavigation nav = FLayout.Navigate(FCurrent, move, FOptions.Contains(goRowSelect));
  if (!(nav.Current == FCurrent)) {
    TGridCoord before = FCurrent;
    MoveCurrent(nav.Current.X, nav.Current.Y, !extend, false);
    if (!watch.Alive() || FCurrent == before) return;  // freed, or SelectCell refused
  }
  MoveTopLeft(nav.TopLeft.X, nav.TopLeft.Y);
}

void TCustomGrid::KeyPress(Char& Key) {
  TControlWatch watch(this);
  inherited::KeyPress(Key);
  if (!watch.Alive() || Key == 0) return;
  if (Key == U'\r') {
    Key = 0;
    if (FOptions.Contains(goAlwaysShowEditor))
      UpdateText();  // the editor stays; its text is stored
    else if (FEditorMode)
      HideEditor();
    else
      ShowEditor();
    return;
  }
  if (Key < 32 || Key == 127 || !FOptions.Contains(goEditing)) return;
  Char typed = Key;
  Key = 0;
  if (!EditorShowing()) {
    // Typing over a cell opens the editor with the typed character replacing the text.
    ShowEditor();
    if (!watch.Alive() || !EditorShowing()) return;
    FInplaceEdit->SelectAll();
  }
  // Typing goes where it can be seen; a cell that cannot be brought into view (hidden
  // under the editor) takes none.
  if (!FInplaceEdit->Visible()) ScrollToShow(FCurrent);
  if (!watch.Alive() || !FInplaceEdit->Visible()) return;
  // The editor offers the character to CanEditAcceptKey like any other it gets.
  FInplaceEdit->Perform(WM_CHAR, typed, 0);
}

void TCustomGrid::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
}

// --- mouse and scroll bars -------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TControlWatch watch(this);
  if (!ComponentState().Contains(csDesigning) && CanFocus() && !Focused() &&
      !(FInplaceEdit && FInplaceEdit->Focused()))
    SetFocus();
  if (!watch.Alive()) return;
  const bool onBar = Button == mbLeft && ScrollBarMouseDown({X, Y});
  if (!watch.Alive()) return;
  if (Button == mbLeft && !onBar) {
    const TGridCoord cell = MouseCoord(X, Y);
    const bool inFixedRows = Y < FLayout.FixedHeight(), inFixedCols = X < FLayout.FixedWidth();
    int32_t edge = -1;
    if (inFixedRows && FOptions.Contains(goColSizing) &&
        (edge = FLayout.ColEdgeAt(X, kSizingSlack)) >= 0) {
      FGridState = gsColSizing;
      FSizingIndex = edge;
      FSizingOffset = FLayout.ColStart(edge) + std::max(FLayout.Cols().Size(edge), 0) - X;
    } else if (inFixedCols && FOptions.Contains(goRowSizing) &&
               (edge = FLayout.RowEdgeAt(Y, kSizingSlack)) >= 0) {
      FGridState = gsRowSizing;
      FSizingIndex = edge;
      FSizingOffset = FLayout.RowStart(edge) + std::max(FLayout.Rows().Size(edge), 0) - Y;
    } else if (cell.X >= 0 && cell.Y >= 0) {
      const bool fixedCol = cell.X < FixedCols(), fixedRow = cell.Y < FixedRows();
      if (fixedRow && !fixedCol && FOptions.Contains(goColMoving)) {
        FGridState = gsColMoving;
        FMoveIndex = FMovePos = cell.X;
      } else if (fixedCol && !fixedRow && FOptions.Contains(goRowMoving)) {
        FGridState = gsRowMoving;
        FMoveIndex = FMovePos = cell.Y;
      } else if (!fixedCol && !fixedRow) {
        if (FOptions.Contains(goEditing) && cell == FCurrent && !Shift.Contains(ssShift)) {
          // Unlike F2, a click on a cell that takes no editor (a tree column) asks for
          // nothing: it leaves no editing on that would open the next cell reached.
          const bool wasEditing = FEditorMode;
          ShowEditor();
          if (watch.Alive() && !wasEditing && !EditorShowing()) FEditorMode = false;
        } else {
          const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
          MoveCurrent(cell.X, cell.Y, !extend, true);
          if (watch.Alive() && FOptions.Contains(goRangeSelect)) FGridState = gsSelecting;
        }
      }
    }
  }
  if (watch.Alive()) inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TControlWatch watch(this);
  switch (FGridState) {
    case gsSelecting: {
      FLastMouse = {X, Y};
      SelectTowards(FLastMouse);
      if (!watch.Alive()) return;
      const bool outside = X < FLayout.FixedWidth() || X >= FLayout.ViewWidth() ||
                           Y < FLayout.FixedHeight() || Y >= FLayout.ViewHeight();
      if (outside)
        SetTimer(Handle(), kSelectTimer, kRepeatRateMs);
      else
        KillTimer(Handle(), kSelectTimer);
      break;
    }
    case gsColSizing: {
      int32_t start = FLayout.ColStart(FSizingIndex);
      if (start >= 0) SetColWidths(FSizingIndex, std::max(X + FSizingOffset - start, 0));
      break;
    }
    case gsRowSizing: {
      int32_t start = FLayout.RowStart(FSizingIndex);
      if (start >= 0) SetRowHeights(FSizingIndex, std::max(Y + FSizingOffset - start, 0));
      break;
    }
    case gsColMoving: {
      int32_t c = FLayout.CellAt(X, 0).X;
      if (c < 0 && X >= 0) c = ColCount() - 1;
      c = std::max(c, FixedCols());
      if (c != FMovePos) {
        FMovePos = c;
        Invalidate();
      }
      break;
    }
    case gsRowMoving: {
      int32_t r = FLayout.CellAt(0, Y).Y;
      if (r < 0 && Y >= 0) r = RowCount() - 1;
      r = std::max(r, FixedRows());
      if (r != FMovePos) {
        FMovePos = r;
        Invalidate();
      }
      break;
    }
    case gsNormal:
      if (FScrollBarDown) ScrollBarMouseMove({X, Y});
      break;
  }
  if (watch.Alive()) inherited::MouseMove(Shift, X, Y);
}

void TCustomGrid::SelectTowards(TPoint P) {
  // Past an edge of the view the grid scrolls one cell that way.
  TGridCoord topLeft = FLayout.TopLeft();
  if (P.X >= FLayout.ViewWidth()) ++topLeft.X;
  if (P.X < FLayout.FixedWidth()) --topLeft.X;
  if (P.Y >= FLayout.ViewHeight()) ++topLeft.Y;
  if (P.Y < FLayout.FixedHeight()) --topLeft.Y;
  TControlWatch watch(this);  // OnTopLeftChanged may free the grid
  MoveTopLeft(topLeft.X, topLeft.Y);
  if (!watch.Alive()) return;
  int32_t x = std::clamp(P.X, FLayout.FixedWidth(),
                         std::max(FLayout.ViewWidth() - 1, FLayout.FixedWidth()));
  int32_t y = std::clamp(P.Y, FLayout.FixedHeight(),
                         std::max(FLayout.ViewHeight() - 1, FLayout.FixedHeight()));
  TGridCoord cell = FLayout.CellAt(x, y);
  if (cell.X < 0) cell.X = ColCount() - 1;
  if (cell.Y < 0) cell.Y = RowCount() - 1;
  cell.X = std::max(cell.X, FixedCols());
  cell.Y = std::max(cell.Y, FixedRows());
  if (!(cell == FCurrent)) MoveCurrent(cell.X, cell.Y, false, false);
}

void TCustomGrid::StopDrag() {
  if (HandleAllocated()) {
    KillTimer(Handle(), kScrollTimer);
    KillTimer(Handle(), kSelectTimer);
  }
  if (FScrollBarDown) InvalidateClientRect(FScrollBarDown->BoundsRect());
  FScrollBarDown = nullptr;
  FScrollPart = spNone;
  FThumbDragPos = -1;
  if (FGridState == gsColMoving || FGridState == gsRowMoving) Invalidate();
  FGridState = gsNormal;
  FMoveIndex = FMovePos = FSizingIndex = -1;
}

void TCustomGrid::WMCancelMode(TMessage& Message) {
  // The mouse was taken away mid-drag: whatever the drag was doing ends unfinished.
  StopDrag();
  inherited::WMCancelMode(Message);
}

void TCustomGrid::WMTimer(TMessage& Message) {
  if (Message.WParam == kSelectTimer) {
    if (FGridState == gsSelecting)
      SelectTowards(FLastMouse);
    else
      KillTimer(Handle(), kSelectTimer);
    return;
  }
  if (Message.WParam != kScrollTimer) return;
  if (!FScrollBarDown || FScrollPart == spThumb || FScrollPart == spNone) {
    KillTimer(Handle(), kScrollTimer);
    return;
  }
  // A held button repeats while the pointer stays on it; a page part stops when the
  // thumb reaches the pointer.
  SetTimer(Handle(), kScrollTimer, kRepeatRateMs);
  // Last: OnTopLeftChanged may free the grid.
  if (FScrollBarDown->PartAt(FLastMouse) == FScrollPart) ScrollByPart(*FScrollBarDown, FScrollPart);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (HandleAllocated()) {
    KillTimer(Handle(), kScrollTimer);
    KillTimer(Handle(), kSelectTimer);
  }
  TControlWatch watch(this);
  if (FScrollBarDown) ScrollBarMouseUp();
  if (!watch.Alive()) return;
  TGridState state = FGridState;
  FGridState = gsNormal;
  int32_t from = FMoveIndex, to = FMovePos;
  FMoveIndex = FMovePos = FSizingIndex = -1;
  if ((state == gsColMoving || state == gsRowMoving) && from != to) {
    if (state == gsColMoving)
      MoveColumn(from, to);
    else
      MoveRow(from, to);
  } else if (state == gsColMoving || state == gsRowMoving) {
    Invalidate();
  }
  if (watch.Alive()) inherited::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::ScrollBarMouseDown(TPoint P) {
  for (TGridScrollBar* bar : {&FVertBar, &FHorzBar}) {
    if (!bar->Visible() || !bar->BoundsRect().Contains(P)) continue;
    FScrollBarDown = bar;
    FScrollPart = bar->PartAt(P);
    if (FScrollPart == spThumb) {
      TRect thumb = bar->ThumbRect();
      FThumbGrab = bar->Kind() == sbVertical ? P.Y - thumb.Top : P.X - thumb.Left;
      FThumbDragPos = bar->Position();
    } else if (FScrollPart != spNone) {
      FLastMouse = P;
      SetTimer(Handle(), kScrollTimer, kRepeatDelayMs);
    }
    InvalidateClientRect(bar->BoundsRect());
    // Last: OnTopLeftChanged may free the grid.
    if (FScrollPart != spThumb) ScrollByPart(*bar, FScrollPart);
    return true;
  }
  // The corner between two bars takes presses and does nothing.
  return FVertBar.Visible() && FHorzBar.Visible() && P.X >= FVertBar.BoundsRect().Left &&
         P.Y >= FHorzBar.BoundsRect().Top;
}

void TCustomGrid::ScrollByPart(const TGridScrollBar& Bar, TScrollBarPart Part) {
  int32_t delta = 0;
  switch (Part) {
    case spLineUp:
      delta = -1;
      break;
    case spLineDown:
      delta = 1;
      break;
    case spPageUp:
      delta = -Bar.Page();
      break;
    case spPageDown:
      delta = Bar.Page();
      break;
    default:
      return;
  }
  if (Bar.Kind() == sbVertical)
    MoveTopLeft(LeftCol(), TopRow() + delta);
  else
    MoveTopLeft(LeftCol() + delta, TopRow());
}

void TCustomGrid::ScrollBarMouseMove(TPoint P) {
  FLastMouse = P;
  if (FScrollPart != spThumb) return;
  TGridScrollBar* bar = FScrollBarDown;
  TRect track = bar->TrackRect();
  int32_t offset = (bar->Kind() == sbVertical ? P.Y - track.Top : P.X - track.Left) - FThumbGrab;
  int32_t pos = bar->PositionAt(offset);
  if (pos == FThumbDragPos) return;
  FThumbDragPos = pos;
  if (FOptions.Contains(goThumbTracking)) {
    if (bar->Kind() == sbVertical)
      MoveTopLeft(LeftCol(), pos);
    else
      MoveTopLeft(pos, TopRow());
  } else {
    // Only the thumb follows the mouse; the cells scroll when it is let go.
    bar->SetParams(bar->Min(), bar->Max(), bar->Page(), pos);
    InvalidateClientRect(bar->BoundsRect());
  }
}

void TCustomGrid::ScrollBarMouseUp() {
  TGridScrollBar* bar = FScrollBarDown;
  TScrollBarPart part = FScrollPart;
  FScrollBarDown = nullptr;
  FScrollPart = spNone;
  const int32_t pos = std::exchange(FThumbDragPos, -1);
  InvalidateClientRect(bar->BoundsRect());
  // Last: OnTopLeftChanged may free the grid.
  if (part == spThumb && !FOptions.Contains(goThumbTracking)) {
    if (bar->Kind() == sbVertical)
      MoveTopLeft(LeftCol(), pos);
    else
      MoveTopLeft(pos, TopRow());
  }
}

void TCustomGrid::WMMouseWheel(TMessage& Message) {
  inherited::WMMouseWheel(Message);
  if (Message.Result != 0) return;
  // One notch (120) away from the user scrolls three rows up; a finer wheel scrolls a row
  // for every third of a notch, and what is left over waits for the next turn.
  int32_t delta = static_cast<int16_t>(static_cast<uint16_t>(Message.WParam >> 16));
  FWheelDelta += delta;
  int32_t rows = FWheelDelta * kWheelRows / 120;
  FWheelDelta -= rows * 120 / kWheelRows;
  if (rows != 0) {
    if (FVertBar.Visible() || !FHorzBar.Visible())
      MoveTopLeft(LeftCol(), TopRow() - rows);
    else
      MoveTopLeft(LeftCol() - rows, TopRow());
  }
  Message.Result = 1;
}

void TCustomGrid::BoundsChanged(bool Moved, bool Sized) {
  inherited::BoundsChanged(Moved, Sized);
  if (!Sized) return;
  UpdateGeometry();
  Invalidate();
  PlaceEditor();
}

void TCustomGrid::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  if (FInplaceEdit) FInplaceEdit->SetFont(Font());
  Invalidate();
}

void TCustomGrid::DoEnter() {
  TControlWatch watch(this);  // OnEnter may free the grid
  inherited::DoEnter();
  if (watch.Alive() && FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing))
    ShowEditor();
}

void TCustomGrid::CMCtl3DChanged(TMessage& Message) {
  inherited::CMCtl3DChanged(Message);
  // The border's width follows Ctl3D.
  if (HandleAllocated() && FBorderStyle == bsSingle) RecreateWnd();
  UpdateGeometry();
  Invalidate();
}

void TCustomGrid::WndProc(TMessage& Message) {
  // Enter opens and closes the editor and Escape cancels it: neither goes to the form's
  // default or cancel button while the grid uses it.
  if (Message.Msg == CM_WANTSPECIALKEY &&
      ((Message.WParam == VK_RETURN && FOptions.Contains(goEditing)) ||
       (Message.WParam == VK_ESCAPE && EditorShowing()))) {
    Message.Result = 1;
    return;
  }
  if (Message.Msg == WM_TIMER) {
    WMTimer(Message);
    return;
  }
  inherited::WndProc(Message);
}

void TCustomGrid::WMSetFocus(TMessage& Message) {
  inherited::WMSetFocus(Message);
  InvalidateCell(FCurrent.X, FCurrent.Y);
  InvalidateBox(Selection());
}

void TCustomGrid::WMKillFocus(TMessage& Message) {
  inherited::WMKillFocus(Message);
  InvalidateCell(FCurrent.X, FCurrent.Y);
  InvalidateBox(Selection());
}

// --- painting --------------------------------------------------------------------------

void TCustomGrid::Paint() {
  TCanvas* canvas = Canvas();
  const TRect clip = canvas->ClipRect();
  const bool hadClip = canvas->HasClip();
  const TRect view = ViewRect();
  TRect cells = clip.Intersect(view);
  if (!cells.IsEmpty()) {
    // Cells paint inside the view only, never over the scroll bars.
    canvas->IntersectClipRect(view);
    PaintCells(canvas, cells);
    if (FGridState == gsColMoving || FGridState == gsRowMoving) PaintDragMarker(canvas);
    if (hadClip)
      canvas->SetClipRect(clip);
    else
      canvas->ResetClip();
  }
  if (FVertBar.Visible())
    FVertBar.Paint(canvas, FScrollBarDown == &FVertBar ? FScrollPart : spNone);
  if (FHorzBar.Visible())
    FHorzBar.Paint(canvas, FScrollBarDown == &FHorzBar ? FScrollPart : spNone);
  if (FVertBar.Visible() && FHorzBar.Visible()) {
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(Rect(FVertBar.BoundsRect().Left, FHorzBar.BoundsRect().Top,
                          FVertBar.BoundsRect().Right, FHorzBar.BoundsRect().Bottom));
  }
}

namespace {

// A column or row as painted: its index, where it starts on screen, its size and the
// room it takes with its line.
struct PaintSpan {
  int32_t Index;
  int32_t Start;
  int32_t Size;
  int32_t Extent;
};

// The fixed items, then the scrolled ones from `first`, that meet [lo, hi) of the view.
std::vector<PaintSpan> VisibleSpans(const TGridAxis& axis, int32_t fixed, int32_t first,
                                    int32_t viewLength, int32_t lo, int32_t hi) {
  std::vector<PaintSpan> spans;
  int64_t pos = 0;
  auto visit = [&](int32_t i) {
    int32_t extent = axis.Extent(i);
    if (extent > 0 && pos < hi && pos + extent > lo)
      spans.push_back({i, static_cast<int32_t>(pos), std::max(axis.Size(i), 0), extent});
    pos += extent;
  };
  for (int32_t i = 0; i < fixed && pos < viewLength; ++i)
    visit(i);
  // Skip straight to the first scrolled item that reaches the painted band.
  int32_t start = first;
  if (lo > pos) {
    int32_t at = axis.IndexAt(axis.Position(first) + (lo - pos));
    if (at > first && at < axis.Count()) {
      pos += axis.Position(at) - axis.Position(first);
      start = at;
    }
  }
  for (int32_t i = start; i < axis.Count() && pos < std::min(viewLength, hi); ++i)
    visit(i);
  return spans;
}

}  // namespace

// The raised edge of a fixed cell, as Frame3D draws it, in strips cut to the painted
// band: a cell may be far wider than the view.
void TCustomGrid::RaisedEdge(TCanvas* ACanvas, const TRect& R, const TRect& Clip) {
  TBrush* brush = ACanvas->Brush();
  brush->SetStyle(bsSolid);
  brush->SetColor(clBtnHighlight);
  ACanvas->FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom).Intersect(Clip));
  ACanvas->FillRect(Rect(R.Left, R.Top, R.Right - 1, R.Top + 1).Intersect(Clip));
  brush->SetColor(clBtnShadow);
  ACanvas->FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom - 1).Intersect(Clip));
  ACanvas->FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom).Intersect(Clip));
}

void TCustomGrid::PaintCells(TCanvas* ACanvas, const TRect& Clip) {
  const int32_t viewW = FLayout.ViewWidth(), viewH = FLayout.ViewHeight();
  std::vector<PaintSpan> cols =
      VisibleSpans(FLayout.Cols(), FixedCols(), LeftCol(), viewW, Clip.Left, Clip.Right);
  std::vector<PaintSpan> rows =
      VisibleSpans(FLayout.Rows(), FixedRows(), TopRow(), viewH, Clip.Top, Clip.Bottom);
  TBrush* brush = ACanvas->Brush();
  const TColor lineColor = ColorToRGB(Color()) == ColorToRGB(clSilver) ? clGray : clSilver;
  const TGridRect selection = Selection();
  const bool focused = Focused();
  const bool drawFocusSelected =
      FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect);

  for (const PaintSpan& r : rows) {
    for (const PaintSpan& c : cols) {
      const bool fixed = c.Index < FixedCols() || r.Index < FixedRows();
      const TColor background = fixed ? FFixedColor : Color();
      // The grid lines at the cell's right and bottom.
      const TRect cell = Bounds(c.Start, r.Start, c.Size, r.Size);
      const TRect right = Rect(cell.Right, r.Start, c.Start + c.Extent, r.Start + r.Extent);
      const TRect bottom = Rect(c.Start, cell.Bottom, cell.Right, r.Start + r.Extent);
      brush->SetStyle(bsSolid);
      if (!right.IsEmpty()) {
        bool drawn = FOptions.Contains(fixed ? goFixedVertLine : goVertLine);
        brush->SetColor(drawn ? (fixed ? clBlack : lineColor) : background);
        ACanvas->FillRect(right);
      }
      if (!bottom.IsEmpty()) {
        bool drawn = FOptions.Contains(fixed ? goFixedHorzLine : goHorzLine);
        brush->SetColor(drawn ? (fixed ? clBlack : lineColor) : background);
        ACanvas->FillRect(bottom);
      }
      if (cell.IsEmpty()) continue;

      TGridDrawState state;
      if (fixed) state.Include(gdFixed);
      if (!fixed && selection.Contains(c.Index, r.Index)) state.Include(gdSelected);
      if (focused && c.Index == FCurrent.X && r.Index == FCurrent.Y) state.Include(gdFocused);
      ACanvas->SetFont(Font());
      brush->SetStyle(bsSolid);
      if (state.Contains(gdSelected) && (!state.Contains(gdFocused) || drawFocusSelected)) {
        brush->SetColor(clHighlight);
        ACanvas->Font()->SetColor(clHighlightText);
      } else {
        brush->SetColor(background);
      }
      if (FDefaultDrawing) ACanvas->FillRect(cell);
      DrawCell(c.Index, r.Index, cell, state);
      if (FDefaultDrawing && fixed && Ctl3D()) RaisedEdge(ACanvas, cell, Clip);
    }
  }

  // What lies beyond the last column and row shows the grid's colour.
  const int32_t gridRight = static_cast<int32_t>(std::min<int64_t>(
      viewW, FLayout.FixedWidth() + FLayout.Cols().Length() - FLayout.Cols().Position(LeftCol())));
  const int32_t gridBottom = static_cast<int32_t>(std::min<int64_t>(
      viewH, FLayout.FixedHeight() + FLayout.Rows().Length() - FLayout.Rows().Position(TopRow())));
  brush->SetStyle(bsSolid);
  brush->SetColor(Color());
  if (gridRight < viewW) ACanvas->FillRect(Rect(gridRight, 0, viewW, viewH).Intersect(Clip));
  if (gridBottom < viewH) ACanvas->FillRect(Rect(0, gridBottom, gridRight, viewH).Intersect(Clip));

  // The focus frame, unless the editor covers the cell.
  if (focused && !EditorShowing()) {
    TRect frame = FOptions.Contains(goRowSelect)
                      ? BoxRect({FixedCols(), FCurrent.Y, ColCount() - 1, FCurrent.Y})
                      : CellRect(FCurrent.X, FCurrent.Y);
    if (FOptions.Contains(goRowSelect) && !frame.IsEmpty()) {
      frame.Bottom = frame.Top + std::max(FLayout.Rows().Size(FCurrent.Y), 0);
      frame.Right = std::min(frame.Right, gridRight) - FLayout.Cols().LineWidth();
    }
    // Cut to just past the view, so that a huge cell's frame costs no more than the view.
    frame = frame.Intersect(ViewRect().Inflate(1, 1));
    if (!frame.IsEmpty()) ACanvas->DrawFocusRect(frame);
  }
}

void TCustomGrid::PaintDragMarker(TCanvas* ACanvas) {
  if (FMovePos < 0 || FMovePos == FMoveIndex) return;
  const bool cols = FGridState == gsColMoving;
  // The marker sits on the edge the moved item will take.
  const bool after = FMovePos > FMoveIndex;
  int32_t start = cols ? FLayout.ColStart(FMovePos) : FLayout.RowStart(FMovePos);
  if (start < 0) return;
  int32_t at =
      start +
      (after ? (cols ? FLayout.Cols().Extent(FMovePos) : FLayout.Rows().Extent(FMovePos)) : 0);
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(clHighlight);
  if (cols)
    ACanvas->FillRect(Rect(at - 1, 0, at + 1, FLayout.ViewHeight()));
  else
    ACanvas->FillRect(Rect(0, at - 1, FLayout.ViewWidth(), at + 1));
}

// --- form storage ----------------------------------------------------------------------

void TCustomGrid::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  if (!FSaveCellExtents) return;
  Filer->DefineProperty(
      "ColWidths", [this](TReader* R) { ReadExtents(R, true); },
      [this](TWriter* W) { WriteExtents(W, true); }, FLayout.Cols().HasCustomSizes());
  Filer->DefineProperty(
      "RowHeights", [this](TReader* R) { ReadExtents(R, false); },
      [this](TWriter* W) { WriteExtents(W, false); }, FLayout.Rows().HasCustomSizes());
}

// A list of one integer per column (row). The whole list is read before any size is
// set, so a damaged list changes nothing; entries past the count are ignored.
void TCustomGrid::ReadExtents(TReader* Reader, bool Cols) {
  std::vector<int32_t> sizes;
  Reader->ReadListBegin();
  while (!Reader->EndOfList())
    sizes.push_back(Reader->ReadInteger());
  Reader->ReadListEnd();
  const int32_t count = Cols ? ColCount() : RowCount();
  for (int32_t i = 0; i < count && i < static_cast<int32_t>(sizes.size()); ++i) {
    if (Cols)
      SetColWidths(i, sizes[static_cast<size_t>(i)]);
    else
      SetRowHeights(i, sizes[static_cast<size_t>(i)]);
  }
}

void TCustomGrid::WriteExtents(TWriter* Writer, bool Cols) const {
  const TGridAxis& axis = Cols ? FLayout.Cols() : FLayout.Rows();
  Writer->WriteListBegin();
  for (int32_t i = 0; i < axis.Count(); ++i)
    Writer->WriteInteger(axis.Size(i));
  Writer->WriteListEnd();
}

}  // namespace bw
