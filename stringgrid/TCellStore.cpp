#include "stringgrid/TCellStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"
#include "platform/grids/GridTypes.h"
#include "sparse/SparseStrings.h"
#include "sparse/TSparseList.h"
#include "sparse/TStringSparseList.h"

namespace bw {

namespace {

constexpr uint32_t kPageShift = TCellPage::kShift;
constexpr uint32_t kPageRows = TCellPage::kRows;

[[noreturn]] void RaiseIndexError() {
  throw EListError(SListIndexError);
}

// The highest index a sparse list of the quantum holds.
int32_t MaxIndexOf(TSparseQuantum Quantum) {
  const uint32_t BlockSize = Quantum == sqLarge ? 256 : 16;
  return static_cast<int32_t>(TSparsePointerArray::MaxDirectoryLength * BlockSize - 1);
}

// Refuses an index a sparse list of the quantum could not hold, as the list itself would.
void CheckLimit(int32_t Index, TSparseQuantum Quantum) {
  const int32_t Max = MaxIndexOf(Quantum);
  if (Index > Max)
    throw EListError(Format(SSparseIndexLimit, {std::to_string(Index), std::to_string(Max)}));
}

// An entry left with neither text nor object is dropped: an empty cell takes no room.
void DropIfEmpty(TStringSparseList& List, int32_t ACol) {
  if (List.Get(ACol).empty() && !List.GetObject(ACol)) List.Put(ACol, String());
}

}  // namespace

struct TCellStore::TWriteSpot {
  TStringSparseList* List = nullptr;  // the row's list, which takes the write
  TCellPage* Page = nullptr;          // else the page and the cell's place in it
  uint32_t Row = 0;
  uint32_t Pos = 0;
  bool Found = false;  // a cell is at Pos
};

// One cell taken out of its page.
struct TCellStore::TCell {
  int32_t Col;
  TObject* Obj;
  TCellText Text;
};

struct TCellStore::TRowContents {
  bool Exists = false;
  TStringSparseList* List = nullptr;
  std::vector<TCell> Cells;  // their texts' heap blocks travel with them
};

TCellStore::TCellStore(TSparseQuantum RowQuantum)
    : FLists(std::make_unique<TSparseList>(RowQuantum)) {
  static_assert(sizeof(TCellPage) == 48 && sizeof(TCellPage) % alignof(TCellText) == 0);
  static_assert(kPageRows * kMaxPackedRow * 9 / 8 + 1 < UINT16_MAX, "a page's cells fit 16 bits");
}

TCellStore::~TCellStore() {
  for (TCellPage* Page : FPages) {
    if (!Page) continue;
    for (uint32_t I = 0; I < Page->Count(); ++I)
      Page->Texts()[I].Release();
    std::free(Page);
  }
  FLists->Iterate([](int32_t, Pointer Item) {
    delete static_cast<TStringSparseList*>(Item);
    return 0;
  });
}

int32_t TCellStore::MaxRow() const {
  return FLists->MaxIndex();
}

TCellPage* TCellStore::PageOf(int32_t ARow) const {
  const size_t P = TCellPage::IndexOf(ARow);
  return P < FPages.size() ? FPages[P] : nullptr;
}

TCellPage* TCellStore::EnsurePage(int32_t ARow) {
  const size_t P = TCellPage::IndexOf(ARow);
  if (P >= FPages.size()) FPages.resize(P + 1, nullptr);
  TCellPage*& Page = FPages[P];
  if (!Page) {
    const size_t Bytes = TCellPage::BytesFor(0);
    Page = static_cast<TCellPage*>(std::malloc(Bytes));
    if (!Page) throw std::bad_alloc();
    std::memset(static_cast<void*>(Page), 0, Bytes);
  }
  return Page;
}

void TCellStore::Compact(int32_t ARow) {
  TCellPage*& Page = FPages[TCellPage::IndexOf(ARow)];
  if (!Page) return;
  const uint32_t Count = Page->Count();
  if (Count == 0 && Page->Listed == 0) {
    std::free(Page);
    Page = nullptr;
    return;
  }
  // Below half, so that a page on the edge does not shrink and grow by turns; the spare
  // eighth matches what growing leaves.
  if (Count >= Page->Capacity / 2u) return;
  const uint32_t Capacity = Count + Count / 8u;
  // The objects and the columns move down to where the smaller arrays put them (the
  // objects first: the columns' new place may overlap their old one), then the block is
  // cut. Cutting a block does not move it where realloc cannot; then it stays as it is.
  TObject** OldObjects = Page->Objects();
  const int32_t* OldCols = Page->Cols();
  Page->Capacity = static_cast<uint16_t>(Capacity);
  std::memmove(static_cast<void*>(Page->Objects()), OldObjects, Count * sizeof(TObject*));
  std::memmove(Page->Cols(), OldCols, Count * sizeof(int32_t));
  std::memset(Page->Cols() + Count, 0, (Capacity - Count + TCellPage::kShortRow) * sizeof(int32_t));
  if (auto* Cut = static_cast<TCellPage*>(std::realloc(Page, TCellPage::BytesFor(Capacity))))
    Page = Cut;
}

void TCellStore::SetRowExists(int32_t ARow, bool Exists) {
  const size_t P = TCellPage::IndexOf(ARow);
  if (P >= FExisting.size()) {
    if (!Exists) return;
    FExisting.resize(P + 1, 0);
  }
  const uint16_t Bit = TCellPage::RowBit(ARow);
  FExisting[P] = static_cast<uint16_t>(Exists ? FExisting[P] | Bit : FExisting[P] & ~Bit);
}

TStringSparseList* TCellStore::ListAt(int32_t ARow) const {
  return static_cast<TStringSparseList*>(FLists->GetItem(ARow));
}

void TCellStore::CheckRow(int32_t ARow) const {
  if (ARow < 0) RaiseIndexError();
}

TCellPage* TCellStore::Reserve(int32_t ARow, uint32_t Extra) {
  TCellPage*& Page = FPages[TCellPage::IndexOf(ARow)];
  const uint32_t Need = Page->Count() + Extra;
  if (Need <= Page->Capacity) return Page;
  // An eighth to spare: pages of a sparse grid stay tight, full ones grow by few copies.
  const uint32_t Capacity = Need + Page->Count() / 8u;
  auto* Grown = static_cast<TCellPage*>(std::realloc(Page, TCellPage::BytesFor(Capacity)));
  if (!Grown) throw std::bad_alloc();
  // The objects and the columns follow the texts: they move up to their new places, the
  // columns (last) first, and the room past the cells gets defined values.
  const uint32_t Count = Grown->Count();
  TObject** OldObjects = Grown->Objects();
  int32_t* OldCols = Grown->Cols();
  Grown->Capacity = static_cast<uint16_t>(Capacity);
  std::memmove(Grown->Cols(), OldCols, Count * sizeof(int32_t));
  std::memset(Grown->Cols() + Count, 0,
              (Capacity - Count + TCellPage::kShortRow) * sizeof(int32_t));
  std::memmove(static_cast<void*>(Grown->Objects()), OldObjects, Count * sizeof(TObject*));
  Page = Grown;
  return Grown;
}

void TCellStore::InsertCell(int32_t ARow, uint32_t Pos, int32_t ACol, TObject* Obj,
                            const String& Text) {
  TCellText Made;
  Made.Assign(Text);
  TCellPage* Page;
  try {
    Page = Reserve(ARow, 1);
  } catch (...) {
    Made.Release();
    throw;
  }
  const uint32_t R = TCellPage::RowOf(ARow);
  OpenCells(Page, R, Pos, 1);
  Page->Cols()[Pos] = ACol;
  Page->Objects()[Pos] = Obj;
  Page->Texts()[Pos] = Made;
  Page->LongTexts = static_cast<uint16_t>(Page->LongTexts + Made.IsLong());
  Page->RunChanged(R);
}

void TCellStore::OpenCells(TCellPage* Page, uint32_t R, uint32_t Pos, uint32_t N) {
  const size_t Moved = Page->Count() - Pos;
  std::memmove(static_cast<void*>(Page->Texts() + Pos + N), Page->Texts() + Pos,
               Moved * sizeof(TCellText));
  std::memmove(static_cast<void*>(Page->Objects() + Pos + N), Page->Objects() + Pos,
               Moved * sizeof(TObject*));
  std::memmove(Page->Cols() + Pos + N, Page->Cols() + Pos, Moved * sizeof(int32_t));
  for (uint32_t I = Pos; I < Pos + N; ++I)
    Page->Texts()[I] = TCellText();
  Page->ShiftAfter(R, static_cast<int32_t>(N));
}

void TCellStore::EraseCells(TCellPage* Page, uint32_t R, uint32_t Begin, uint32_t End,
                            bool Release) {
  if (End <= Begin) return;
  if (Release) {
    for (uint32_t I = Begin; I < End; ++I)
      Page->ReleaseText(I);
  } else {
    Page->LongTexts = static_cast<uint16_t>(Page->LongTexts - Page->LongTextsIn(Begin, End));
  }
  const size_t Moved = Page->Count() - End;
  std::memmove(static_cast<void*>(Page->Texts() + Begin), Page->Texts() + End,
               Moved * sizeof(TCellText));
  std::memmove(static_cast<void*>(Page->Objects() + Begin), Page->Objects() + End,
               Moved * sizeof(TObject*));
  std::memmove(Page->Cols() + Begin, Page->Cols() + End, Moved * sizeof(int32_t));
  Page->ShiftAfter(R, -static_cast<int32_t>(End - Begin));
  Page->RunChanged(R);
}

std::vector<TCellStore::TCell> TCellStore::CellsOf(const TCellPage* Page, uint32_t R) {
  std::vector<TCell> Cells;
  Cells.reserve(Page->End(R) - Page->Begin(R));
  for (uint32_t I = Page->Begin(R); I < Page->End(R); ++I)
    Cells.push_back({Page->Cols()[I], Page->Objects()[I], Page->Texts()[I]});
  return Cells;
}

void TCellStore::PutCells(TCellPage* Page, uint32_t R, const std::vector<TCell>& Cells) {
  const uint32_t Begin = Page->Begin(R);
  const uint32_t End = Begin + static_cast<uint32_t>(Cells.size());
  Page->LongTexts = static_cast<uint16_t>(Page->LongTexts - Page->LongTextsIn(Begin, End));
  for (uint32_t I = Begin; I < End; ++I) {
    const TCell& Cell = Cells[I - Begin];
    Page->Cols()[I] = Cell.Col;
    Page->Objects()[I] = Cell.Obj;
    Page->Texts()[I] = Cell.Text;
  }
  Page->LongTexts = static_cast<uint16_t>(Page->LongTexts + Page->LongTextsIn(Begin, End));
  Page->RunChanged(R);
}

// ---- cells ---------------------------------------------------------------------------------

String TCellStore::TextElsewhere(int32_t ACol, int32_t ARow) const {
  CheckRow(ARow);
  if (!RowExists(ARow)) return String();
  const TCellPage* Page = PageOf(ARow);
  if (Page && (Page->Listed & TCellPage::RowBit(ARow))) return ListAt(ARow)->Get(ACol);
  if (ACol < 0) RaiseIndexError();
  const TCellText* Text = Page ? Page->FindText(TCellPage::RowOf(ARow), ACol) : nullptr;
  return Text ? Text->ToString() : String();
}

TObject* TCellStore::Object(int32_t ACol, int32_t ARow) const {
  CheckRow(ARow);
  if (!RowExists(ARow)) return nullptr;
  const TCellPage* Page = PageOf(ARow);
  if (Page && (Page->Listed & TCellPage::RowBit(ARow))) return ListAt(ARow)->GetObject(ACol);
  if (ACol < 0) RaiseIndexError();
  const int32_t At = Page ? Page->Find(TCellPage::RowOf(ARow), ACol) : -1;
  return At < 0 ? nullptr : Page->Objects()[At];
}

TCellStore::TWriteSpot TCellStore::Locate(int32_t ACol, int32_t ARow, bool Storing,
                                          TSparseQuantum ColQuantum) {
  CheckRow(ARow);
  TWriteSpot Spot;
  TCellPage* Page = PageOf(ARow);
  const bool Exists = RowExists(ARow);
  if (Page && (Page->Listed & TCellPage::RowBit(ARow))) {
    Spot.List = ListAt(ARow);
    return Spot;
  }
  if (Storing && !Exists) {
    CheckLimit(ARow, FLists->Quantum());
    SetRowExists(ARow, true);
  }
  if (ACol < 0) RaiseIndexError();
  // Nothing to clear: a row that does not exist is not made for it.
  if (!Storing && !Exists) return Spot;
  if (!Page) {
    // A page is made only for a cell that goes into it.
    CheckLimit(ACol, ColQuantum);
    if (!Storing) return Spot;
    Page = EnsurePage(ARow);
  }
  Spot.Page = Page;
  Spot.Row = TCellPage::RowOf(ARow);
  Spot.Pos = Page->LowerBound(Spot.Row, ACol);
  Spot.Found = Spot.Pos < Page->End(Spot.Row) && Page->Cols()[Spot.Pos] == ACol;
  if (Spot.Found) return Spot;
  CheckLimit(ACol, ColQuantum);
  if (Storing && Page->End(Spot.Row) - Page->Begin(Spot.Row) >= uint32_t(kMaxPackedRow))
    Spot.List = EnsureList(ARow, ColQuantum);
  return Spot;
}

void TCellStore::StoreText(int32_t ACol, int32_t ARow, const String& Value,
                           TSparseQuantum ColQuantum) {
  const TWriteSpot Spot = Locate(ACol, ARow, !Value.empty(), ColQuantum);
  if (Spot.List) {
    Spot.List->Put(ACol, Value);
  } else if (!Spot.Found) {
    if (!Value.empty()) InsertCell(ARow, Spot.Pos, ACol, nullptr, Value);
  } else if (!Value.empty()) {
    Spot.Page->AssignText(Spot.Pos, Value);
  } else if (Spot.Page->Objects()[Spot.Pos]) {
    Spot.Page->ReleaseText(Spot.Pos);
  } else {
    EraseCells(Spot.Page, Spot.Row, Spot.Pos, Spot.Pos + 1, true);
    Compact(ARow);
  }
}

void TCellStore::SetObject(int32_t ACol, int32_t ARow, TObject* Value, TSparseQuantum ColQuantum) {
  const TWriteSpot Spot = Locate(ACol, ARow, Value != nullptr, ColQuantum);
  if (Spot.List) {
    Spot.List->PutObject(ACol, Value);
    if (!Value) DropIfEmpty(*Spot.List, ACol);
  } else if (!Spot.Found) {
    if (Value) InsertCell(ARow, Spot.Pos, ACol, Value, String());
  } else if (Value || !Spot.Page->Texts()[Spot.Pos].IsEmpty()) {
    Spot.Page->Objects()[Spot.Pos] = Value;
  } else {
    EraseCells(Spot.Page, Spot.Row, Spot.Pos, Spot.Pos + 1, true);
    Compact(ARow);
  }
}

// ---- rows ----------------------------------------------------------------------------------

TStringSparseList* TCellStore::FindList(int32_t ARow) const {
  CheckRow(ARow);
  const TCellPage* Page = PageOf(ARow);
  return Page && (Page->Listed & TCellPage::RowBit(ARow)) ? ListAt(ARow) : nullptr;
}

TStringSparseList* TCellStore::EnsureList(int32_t ARow, TSparseQuantum ColQuantum) {
  if (TStringSparseList* List = FindList(ARow)) return List;
  CheckLimit(ARow, FLists->Quantum());
  TCellPage* Page = EnsurePage(ARow);
  const uint32_t R = TCellPage::RowOf(ARow);
  const uint32_t Begin = Page->Begin(R), End = Page->End(R);
  // A row holding a column past what the quantum indexes takes the large blocks.
  TSparseQuantum Quantum = ColQuantum;
  if (End > Begin && Page->Cols()[End - 1] > MaxIndexOf(Quantum)) Quantum = sqLarge;
  auto List = std::make_unique<TStringSparseList>(Quantum);
  for (uint32_t I = Begin; I < End; ++I) {
    const int32_t Col = Page->Cols()[I];
    if (!Page->Texts()[I].IsEmpty()) List->Put(Col, String(Page->Texts()[I].View()));
    if (TObject* Obj = Page->Objects()[I]) List->PutObject(Col, Obj);
  }
  FLists->PutItem(ARow, List.get());
  EraseCells(Page, R, Begin, End, true);
  SetRowExists(ARow, true);
  Page->Listed |= TCellPage::RowBit(ARow);
  Compact(ARow);
  return List.release();
}

std::vector<int32_t> TCellStore::PackedColumns(int32_t ARow) const {
  std::vector<int32_t> Columns;
  CheckRow(ARow);
  const TCellPage* Page = PageOf(ARow);
  if (!Page || (Page->Listed & TCellPage::RowBit(ARow))) return Columns;
  const uint32_t R = TCellPage::RowOf(ARow);
  for (uint32_t I = Page->Begin(R); I < Page->End(R); ++I)
    Columns.push_back(Page->Cols()[I]);
  return Columns;
}

void TCellStore::MoveColumn(int32_t From, int32_t To) {
  if (From == To) return;
  for (size_t P = 0; P < FPages.size(); ++P) {
    for (uint32_t R = 0; R < kPageRows; ++R) {
      TCellPage* Page = FPages[P];  // a list's handler may write other rows meanwhile
      if (!Page || !RowExists(static_cast<int32_t>(P << kPageShift | R))) continue;
      if (Page->Listed & (1u << R)) {
        TStringSparseList& List = *ListAt(static_cast<int32_t>(P << kPageShift | R));
        List.Move(From, To);
        DropIfEmpty(List, To);
        continue;
      }
      std::vector<TCell> Cells = CellsOf(Page, R);
      for (TCell& Cell : Cells)
        Cell.Col = MovedIndex(Cell.Col, From, To);
      std::sort(Cells.begin(), Cells.end(),
                [](const TCell& A, const TCell& B) { return A.Col < B.Col; });
      PutCells(Page, R, Cells);
    }
  }
}

TCellStore::TRowContents TCellStore::TakeRow(int32_t ARow) {
  TRowContents Contents;
  if (!RowExists(ARow)) return Contents;
  Contents.Exists = true;
  SetRowExists(ARow, false);
  TCellPage* Page = PageOf(ARow);
  if (!Page) return Contents;
  const uint16_t Bit = TCellPage::RowBit(ARow);
  if (Page->Listed & Bit) {
    Contents.List = ListAt(ARow);
    FLists->PutItem(ARow, nullptr);
    Page->Listed &= uint16_t(~Bit);
  } else {
    const uint32_t R = TCellPage::RowOf(ARow);
    Contents.Cells = CellsOf(Page, R);
    EraseCells(Page, R, Page->Begin(R), Page->End(R), false);
  }
  Compact(ARow);
  return Contents;
}

void TCellStore::PutRow(int32_t ARow, TRowContents&& Contents) {
  if (!Contents.Exists) return;
  SetRowExists(ARow, true);
  if (Contents.List) {
    FLists->PutItem(ARow, Contents.List);
    EnsurePage(ARow)->Listed |= TCellPage::RowBit(ARow);
  } else if (const uint32_t N = uint32_t(Contents.Cells.size())) {
    EnsurePage(ARow);
    TCellPage* Page = Reserve(ARow, N);
    const uint32_t R = TCellPage::RowOf(ARow);
    OpenCells(Page, R, Page->Begin(R), N);
    PutCells(Page, R, Contents.Cells);
  }
}

void TCellStore::RotateRows(const std::vector<int32_t>& Rows) {
  if (Rows.size() < 2) return;
  std::vector<TRowContents> Taken;
  Taken.reserve(Rows.size());
  for (int32_t Row : Rows)
    Taken.push_back(TakeRow(Row));
  for (size_t I = 0; I < Rows.size(); ++I)
    PutRow(Rows[I], std::move(Taken[(I + 1) % Rows.size()]));
}

}  // namespace bw
