#include "stringgrid/TVelloran.h"

#include <cstring>

#include "grid/TGridOutlineProperties.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "platform/graphics/TCanvas.h"
#include "sparse/TSparseList.h"
#include "sparse/TStringSparseList.h"
#include "stringgrid/TVelloranStrings.h"

namespace bw {

namespace {

// Form files that hold a TVelloran read without the application registering it.
[[maybe_unused]] const bool kRegistered = [] {
  RegisterClass<TVelloran>();
  return true;
}();

// Lists indexed by column take the large blocks only for very wide grids, lists indexed by
// data row only for long outlines.
TSparseQuantum QuantumFor(int32_t Count, int32_t Threshold) {
  return Count > Threshold ? sqLarge : sqSmall;
}
constexpr int32_t kWideGrid = 512;
constexpr int32_t kLongOutline = 256;

template <class T>
void FreeEntries(TSparseList& List) {
  List.Iterate([](int32_t, Pointer Item) {
    delete static_cast<T*>(Item);
    return 0;
  });
}

// An entry that has neither text nor object any more is dropped: an empty cell takes no
// room in the store.
void DropIfEmpty(TStringSparseList& Cells, int32_t ACol) {
  if (Cells.Get(ACol).empty() && !Cells.GetObject(ACol)) Cells.Put(ACol, String());
}

}  // namespace

// ---- construction -----------------------------------------------------------------------

TVelloran::TVelloran(TComponent* AOwner) : TCorvath(AOwner) {
  Initialize();
}

TVelloran::~TVelloran() {
  // Views first: they refer to the grid, the data rows do not.
  if (FRowViews) FreeEntries<TVelloranStrings>(*FRowViews);
  FRowViews.reset();
  if (FColViews) FreeEntries<TVelloranStrings>(*FColViews);
  FColViews.reset();
  if (FDataRows) FreeEntries<TStringSparseList>(*FDataRows);
  FDataRows.reset();
}

void TVelloran::Initialize() {
  if (!FColViews) FColViews = std::make_unique<TSparseList>(QuantumFor(ColCount(), kWideGrid));
  const int32_t Items = Outline()->GetItemCount();
  if (!FRowViews) FRowViews = std::make_unique<TSparseList>(QuantumFor(Items, kLongOutline));
  if (!FDataRows) FDataRows = std::make_unique<TSparseList>(QuantumFor(Items, kLongOutline));
}

// ---- the store ---------------------------------------------------------------------------

TStringSparseList* TVelloran::FindDataRow(int32_t ARow) const {
  return static_cast<TStringSparseList*>(FDataRows->GetItem(ARow));
}

TStringSparseList* TVelloran::EnsureDataRow(int32_t ARow) {
  if (TStringSparseList* Cells = FindDataRow(ARow)) return Cells;
  auto Made = std::make_unique<TStringSparseList>(QuantumFor(ColCount(), kWideGrid));
  FDataRows->PutItem(ARow, Made.get());
  return Made.release();
}

TVelloranStrings* TVelloran::EnsureColRow(int32_t Index, bool IsCol) {
  TSparseList& Views = IsCol ? *FColViews : *FRowViews;
  if (auto* View = static_cast<TVelloranStrings*>(Views.GetItem(Index))) return View;
  auto Made = std::make_unique<TVelloranStrings>(this, 0);
  Views.PutItem(Index, Made.get());  // refuses an index the list cannot hold
  Made->FIndex = IsCol ? -Index - 1 : Index + 1;
  return Made.release();
}

String TVelloran::GetCells(int32_t ACol, int32_t ARow) const {
  TStringSparseList* Cells = FindDataRow(ARow);
  return Cells ? Cells->Get(ACol) : String();
}

TObject* TVelloran::GetObjects(int32_t ACol, int32_t ARow) const {
  TStringSparseList* Cells = FindDataRow(ARow);
  return Cells ? Cells->GetObject(ACol) : nullptr;
}

// Clearing a cell of a data row that has no cells leaves nothing to store, so no list is
// made for it; the column is checked all the same.
void TVelloran::SetCells(int32_t ACol, int32_t ARow, const String& Value) {
  if (TStringSparseList* Cells = Value.empty() ? FindDataRow(ARow) : EnsureDataRow(ARow))
    Cells->Put(ACol, Value);
  else if (ACol < 0)
    throw EListError(SListIndexError);
  Update(ACol, ARow);
}

void TVelloran::SetObjects(int32_t ACol, int32_t ARow, TObject* Value) {
  if (TStringSparseList* Cells = Value ? EnsureDataRow(ARow) : FindDataRow(ARow)) {
    Cells->PutObject(ACol, Value);
    if (!Value) DropIfEmpty(*Cells, ACol);
  } else if (ACol < 0) {
    throw EListError(SListIndexError);
  }
  Update(ACol, ARow);
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

int32_t TVelloran::ShownRow(int32_t ARow) const {
  if (ARow < 0) return -1;
  const int32_t Fixed = FixedRows();
  if (ARow < Fixed) return ARow;
  const int32_t Items = Outline()->GetItemCount();
  const int64_t Index = int64_t(ARow) - Fixed + 1;
  if (Index > Items) return -1;
  if (FShownItemCount != Items || FShownRowCount != RowCount()) BuildShownRows(Items);
  int32_t V = FShownRows[size_t(Index)];
  if (V >= 0 && ShownDataRow(V) != ARow) {
    // The rows changed under the same counts without a resynchronisation passing here.
    BuildShownRows(Items);
    V = FShownRows[size_t(Index)];
  }
  return V;
}

void TVelloran::BuildShownRows(int32_t Items) const {
  // The inverse of the row map, as the row map reads now.
  const int32_t Fixed = FixedRows();
  FShownRows.assign(size_t(Items) + 1, -1);
  try {
    for (int32_t V = Fixed; V < RowCount(); ++V) {
      const int32_t D = RowToOutlineRow(V);
      if (D >= Fixed) FShownRows[size_t(D - Fixed + 1)] = V;
    }
  } catch (const EListError&) {
    // The rows past the map show no item.
  }
  FShownItemCount = Items;
  FShownRowCount = RowCount();
}

void TVelloran::Update(int32_t ACol, int32_t ARow) {
  int32_t Shown = -2;  // looked up once, and only when needed
  auto shown = [&] { return Shown == -2 ? (Shown = ShownRow(ARow)) : Shown; };
  if (FUpdating)
    FUpdatePending = true;
  else if (shown() >= 0)
    InvalidateCell(ACol, Shown);
  if (ACol == Col() && FEditUpdateCount == 0 && shown() == Row()) InvalidateEditor();
}

void TVelloran::SetUpdateState(bool Updating) {
  FUpdating = Updating;
  if (!Updating && FUpdatePending) {
    FUpdatePending = false;
    Invalidate();
  }
}

void TVelloran::SyncOutline() {
  FShownItemCount = -1;
  TCorvath::SyncOutline();
  // The rows may have changed again while they were set.
  FShownItemCount = -1;
}

// ---- moving columns and rows ----------------------------------------------------------------

void TVelloran::ColumnMoved(int32_t FromIndex, int32_t ToIndex) {
  FDataRows->Iterate([&](int32_t, Pointer Item) {
    auto& Cells = *static_cast<TStringSparseList*>(Item);
    Cells.Move(FromIndex, ToIndex);
    DropIfEmpty(Cells, ToIndex);
    return 0;
  });
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
    Pointer Moved = FDataRows->GetItem(Rows.front());
    for (size_t i = 0; i + 1 < Rows.size(); ++i)
      FDataRows->PutItem(Rows[i], FDataRows->GetItem(Rows[i + 1]));
    FDataRows->PutItem(Rows.back(), Moved);
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
