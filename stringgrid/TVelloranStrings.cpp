#include "stringgrid/TVelloranStrings.h"

#include <algorithm>

#include "grid/TGridOutlineProperties.h"
#include "sparse/TStringSparseList.h"
#include "stringgrid/TVelloran.h"

namespace bw {

TVelloranStrings::TVelloranStrings(TVelloran* AGrid, int32_t AIndex)
    : FGrid(AGrid), FIndex(AIndex) {}

void TVelloranStrings::CalcXY(int32_t Index, int32_t& X, int32_t& Y) const {
  if (FIndex == 0) {
    X = -1;
    Y = -1;
  } else if (FIndex > 0) {
    X = Index;
    Y = FIndex - 1;
  } else {
    X = -FIndex - 1;
    Y = Index;
  }
}

int32_t TVelloranStrings::GetCount() const {
  if (FIndex == 0) return 0;
  if (FIndex > 0) return FGrid->ColCount();
  // Every data row: the fixed rows, then one per item, shown or not.
  return FGrid->Outline()->GetItemCount() + FGrid->FixedRows();
}

String TVelloranStrings::Get(int32_t Index) const {
  int32_t X, Y;
  CalcXY(Index, X, Y);
  return X < 0 ? String() : FGrid->GetCells(X, Y);
}

TObject* TVelloranStrings::GetObject(int32_t Index) const {
  int32_t X, Y;
  CalcXY(Index, X, Y);
  return X < 0 ? nullptr : FGrid->GetObjects(X, Y);
}

void TVelloranStrings::Put(int32_t Index, const String& S) {
  int32_t X, Y;
  CalcXY(Index, X, Y);
  FGrid->SetCells(X, Y, S);
}

void TVelloranStrings::PutObject(int32_t Index, TObject* AObject) {
  int32_t X, Y;
  CalcXY(Index, X, Y);
  FGrid->SetObjects(X, Y, AObject);
}

void TVelloranStrings::SetUpdateState(bool Updating) {
  FGrid->SetUpdateState(Updating);
}

int32_t TVelloranStrings::Add(const String& S) {
  const int32_t Count = GetCount();
  for (int32_t Index = 0; Index < Count; ++Index) {
    if (Get(Index).empty()) {
      Put(Index, S);
      return Index;
    }
  }
  return -1;
}

void TVelloranStrings::Clear() {
  if (FIndex > 0) {
    // Only the columns that hold something: the others stay untouched.
    for (int32_t C : FGrid->StoredColumns(FIndex - 1))
      Put(C, String());
  } else if (FIndex < 0) {
    for (int32_t Index = GetCount() - 1; Index >= 0; --Index)
      Put(Index, String());
  }
}

void TVelloranStrings::Assign(TPersistent* Source) {
  auto* Strings = dynamic_cast<TStrings*>(Source);
  if (!Strings) {
    inherited::Assign(Source);
    return;
  }
  TUpdateScope Batch(*this);
  const int32_t N = std::min(Strings->GetCount(), GetCount());
  for (int32_t Index = 0; Index < N; ++Index) {
    Put(Index, Strings->Get(Index));
    PutObject(Index, Strings->GetObject(Index));
  }
}

}  // namespace bw
