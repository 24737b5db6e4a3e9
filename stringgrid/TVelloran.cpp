#include "stringgrid/TVelloran.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "grid/TGridOutlineProperties.h"
#include "grid/TInGridOutline.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "platform/graphics/TCanvas.h"
#include "sparse/TSparseList.h"
#include "sparse/TStringSparseList.h"
#include "stringgrid/TCellStore.h"
#include "stringgrid/TVelloranStrings.h"

namespace bw {

namespace {

// Form files that hold a TVelloran read without the application registering it.
[[maybe_unused]] const bool kRegistered = [] {
  RegisterClass<TVelloran>();
  return true;
}();

// Lists indexed by data row take the large blocks only for long outlines (and lists
// indexed by column only for very wide grids, see ColQuantum).
TSparseQuantum QuantumFor(int32_t Count, int32_t Threshold) {
  return Count > Threshold ? sqLarge : sqSmall;
}
constexpr int32_t kLongOutline = 256;

template <class T>
void FreeEntries(TSparseList& List) {
  List.Iterate([](int32_t, Pointer Item) {
    delete static_cast<T*>(Item);
    return 0;
  });
}

}  // namespace

// ---- construction -----------------------------------------------------------------------

TVelloran::TVelloran(TComponent* AOwner)
    : TCorvath(AOwner), FCells(QuantumFor(Outline()->GetItemCount(), kLongOutline)) {
  Initialize();
}

TVelloran::~TVelloran() {
  // Views first: they refer to the grid, the data rows do not.
  if (FRowViews) FreeEntries<TVelloranStrings>(*FRowViews);
  FRowViews.reset();
  if (FColViews) FreeEntries<TVelloranStrings>(*FColViews);
  FColViews.reset();
}

void TVelloran::Initialize() {
  if (!FColViews) FColViews = std::make_unique<TSparseList>(ColQuantum());
  const int32_t Items = Outline()->GetItemCount();
  if (!FRowViews) FRowViews = std::make_unique<TSparseList>(QuantumFor(Items, kLongOutline));
}

// ---- the store ---------------------------------------------------------------------------

TStringSparseList* TVelloran::EnsureDataRow(int32_t ARow) {
  return FCells.EnsureList(ARow, ColQuantum());
}

TVelloranStrings* TVelloran::EnsureColRow(int32_t Index, bool IsCol) {
  TSparseList& Views = IsCol ? *FColViews : *FRowViews;
  if (auto* View = static_cast<TVelloranStrings*>(Views.GetItem(Index))) return View;
  auto Made = std::make_unique<TVelloranStrings>(this, 0);
  Views.PutItem(Index, Made.get());  // refuses an index the list cannot hold
  Made->FIndex = IsCol ? -Index - 1 : Index + 1;
  return Made.release();
}

TObject* TVelloran::GetObjects(int32_t ACol, int32_t ARow) const {
  return FCells.Object(ACol, ARow);
}

void TVelloran::SetObjects(int32_t ACol, int32_t ARow, TObject* Value) {
  FCells.SetObject(ACol, ARow, Value, ColQuantum());
  Update(ACol, ARow);
}

std::vector<int32_t> TVelloran::StoredColumns(int32_t ARow) const {
  TStringSparseList* Cells = FCells.FindList(ARow);
  if (!Cells) return FCells.PackedColumns(ARow);
  std::vector<int32_t> Columns;
  for (int32_t C = 0; C < Cells->GetCount(); ++C)
    if (!Cells->Get(C).empty() || Cells->GetObject(C)) Columns.push_back(C);
  return Columns;
}

TStrings* TVelloran::GetCols(int32_t Index) {
  return EnsureColRow(Index, true);
}

void TVelloran::SetCols(int32_t Index, TStrings* Value) {
  EnsureColRow(Index, true)->Assign(Value);
}

TStrings* TVelloran::GetRows(int32_t Index) {
  return EnsureColRow(Index, false);
}

void TVelloran::SetRows(int32_t Index, TStrings* Value) {
  EnsureColRow(Index, false)->Assign(Value);
}

// ---- repainting changed cells -------------------------------------------------------------

int32_t TVelloran::ShownDataRow(int32_t ARow) const {
  if (ARow < 0) return -1;
  if (ARow < FixedRows()) return ARow;
  return RowToOutline(ARow) ? RowToOutlineRow(ARow) : -1;
}

const TVelloran::TShownRows& TVelloran::ShownRows() const {
  // Every cell write asks, so the answer is kept while what it follows from stays.
  if (ShownRowsKept()) return FShown;
  const TGridLayout& Layout = this->Layout();
  FShownKey = {Layout.Version(), HiddenOutline()->ItemCount()};
  const int32_t Top = Layout.TopLeft().Y;
  const int32_t Bottom = std::min(Layout.LastVisibleRow(), Layout.Rows().Count() - 1);
  FShown = {Top, Bottom, INT32_MAX, INT32_MIN};
  if (Top >= Layout.FixedRows() && Top <= Bottom) {
    FShown.FirstData = ShownOn(Top);
    FShown.LastData = ShownOn(Bottom);
  }
  return FShown;
}

int32_t TVelloran::VisibleRowOf(int32_t ARow) const {
  const int32_t Fixed = FixedRows();
  if (ARow < Fixed) return ARow < 0 ? -1 : ARow;
  // Most data rows fall outside the rows on screen at once.
  const TShownRows& Shown = ShownRows();
  if (ARow < Shown.FirstData || ARow > Shown.LastData) return -1;
  return FindShownRow(ARow, Shown.Top, Shown.Bottom);
}

void TVelloran::RepaintStored(int32_t ACol, int32_t ARow) {
  if (FUpdating) {
    FUpdatePending = true;
  } else if (const int32_t Shown = VisibleRowOf(ARow); Shown >= 0) {
    InvalidateCell(ACol, Shown);
  }
  if (ACol == Col() && FEditUpdateCount == 0 && ARow >= 0 && ShownDataRow(Row()) == ARow)
    InvalidateEditor();
}

void TVelloran::SetUpdateState(bool Updating) {
  FUpdating = Updating;
  if (!Updating && FUpdatePending) {
    FUpdatePending = false;
    Invalidate();
  }
}

// ---- moving columns and rows ----------------------------------------------------------------

void TVelloran::ColumnMoved(int32_t FromIndex, int32_t ToIndex) {
  FCells.MoveColumn(FromIndex, ToIndex);
  Invalidate();
  inherited::ColumnMoved(FromIndex, ToIndex);
}

// The rows between the two shown rows pass their cells on by one, and the moved row's
// cells land at the target: what the user sees moves, and items in collapsed branches
// keep theirs. With every branch expanded this is a move of the data rows themselves.
void TVelloran::RowMoved(int32_t FromIndex, int32_t ToIndex) {
  if (FromIndex != ToIndex && ShownDataRow(FromIndex) >= 0 && ShownDataRow(ToIndex) >= 0) {
    std::vector<int32_t> Rows;  // data rows shown from FromIndex to ToIndex, in that order
    const int32_t Step = FromIndex < ToIndex ? 1 : -1;
    for (int32_t V = FromIndex; V != ToIndex + Step; V += Step) {
      const int32_t D = ShownDataRow(V);
      if (D >= 0) Rows.push_back(D);
    }
    FCells.RotateRows(Rows);
  }
  Invalidate();
  inherited::RowMoved(FromIndex, ToIndex);
}

// ---- editing ---------------------------------------------------------------------------------

String TVelloran::GetEditText(int32_t ACol, int32_t ARow) {
  const int32_t D = RowToOutlineRow(ARow);
  if (D == -1) return String();
  String Result = GetCells(ACol, D);
  if (OnGetEditText) OnGetEditText(this, ACol, D, Result);
  return Result;
}

bool TVelloran::CanEditShow() {
  return inherited::CanEditShow() && ShownDataRow(Row()) >= 0;
}

void TVelloran::SetEditText(int32_t ACol, int32_t ARow, const String& Value) {
  const int32_t D = RowToOutlineRow(ARow);
  if (D == -1) return;
  {
    // The editor keeps its text and caret while its own text is stored.
    DisableEditUpdate();
    struct Enable {
      TVelloran* Grid;
      ~Enable() { Grid->EnableEditUpdate(); }
    } enable{this};
    if (Value != GetCells(ACol, D)) SetCells(ACol, D, Value);
  }
  inherited::SetEditText(ACol, D, Value);
}

// ---- painting ----------------------------------------------------------------------------------

void TVelloran::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  TCorvath::DrawCell(ACol, ARow, ARect, AState);
  // The outline column's item rows show the items' own text.
  if (DefaultDrawing() && (ACol != OutlineCol() || ARow < FixedRows()))
    DrawCellText(ACol, ARow, ARect);
}

void TVelloran::DrawCellText(int32_t ACol, int32_t ARow, const TRect& ARect) {
  String Text;
  if (ARow < FixedRows())
    Text = GetCells(ACol, ARow);
  else if (RowToOutline(ARow))
    Text = GetCells(ACol, RowToOutlineRow(ARow));
  // The text ends at its first zero character; it is not cut at any length.
  Text.resize(std::strlen(Text.c_str()));
  Canvas()->ExtTextOut(ARect.Left + 2, ARect.Top + 2, ETO_CLIPPED | ETO_OPAQUE, &ARect, Text);
}

}  // namespace bw
