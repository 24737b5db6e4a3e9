#include "sparse/TSparseList.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

TSparseList::TSparseList(TSparseQuantum Quantum)
    : FArray(std::make_unique<TSparsePointerArray>(Quantum)), FQuantum(Quantum) {}

TSparseList::~TSparseList() = default;

void TSparseList::RaiseIndexError() {
  throw EListError(SListIndexError);
}

void TSparseList::CheckIndex(int32_t Index) {
  if (Index >= 0) return;
  RaiseIndexError();
  throw EListError(SListIndexError);
}

Pointer TSparseList::GetItem(int32_t Index) {
  CheckIndex(Index);
  return FArray->ReadAt(Index);
}

void TSparseList::PutItem(int32_t Index, Pointer Item) {
  CheckIndex(Index);
  FArray->WriteAt(Index, Item);
  FCount = FArray->HighestIndex() + 1;
}

void TSparseList::Insert(int32_t Index, Pointer Item) {
  CheckIndex(Index);
  // Count never describes an entry the array could not hold, so that every entry can be
  // shifted and Count cannot overflow.
  FArray->CheckLimit(std::max(FCount, Index));
  FArray->ShiftUp(Index, FCount);
  FArray->WriteAt(Index, Item);
  if (Index > FCount) FCount = Index;
  ++FCount;
}

void TSparseList::Delete(int32_t Index) {
  if (Index < 0 || Index >= FCount) return;
  FArray->ShiftDown(Index, FCount);
  --FCount;
}

void TSparseList::Exchange(int32_t Index1, int32_t Index2) {
  Pointer a = GetItem(Index1);
  Pointer b = GetItem(Index2);
  // Both writes must succeed or neither happens.
  FArray->CheckLimit(std::max(Index1, Index2));
  PutItem(Index1, b);
  PutItem(Index2, a);
}

void TSparseList::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  Pointer item = GetItem(CurIndex);
  // NewIndex is checked before the entry is taken out, so a bad one cannot lose it.
  CheckIndex(NewIndex);
  FArray->CheckLimit(NewIndex);
  Delete(CurIndex);
  Insert(NewIndex, item);
}

void TSparseList::Clear() {
  auto fresh = std::make_unique<TSparsePointerArray>(FQuantum);
  if (FIterating > 0) {
    FRetired.push_back(std::move(FArray));
  }
  FArray = std::move(fresh);
  FCount = 0;
}

int32_t TSparseList::Iterate(const TSparseIterateFunc& Callback) {
  struct Context {
    TSparseList* List;
    TSparsePointerArray* Array;
    const TSparseIterateFunc* Callback;
  } context{this, FArray.get(), &Callback};
  ++FIterating;
  int32_t result;
  try {
    // One pointer captured, so the wrapper needs no allocation of its own.
    result = context.Array->Iterate([c = &context](int32_t Index, Pointer Item) -> int32_t {
      // After a Clear from inside the callback the old entries are no longer the list's.
      return c->List->FArray.get() == c->Array ? (*c->Callback)(Index, Item) : 0;
    });
  } catch (...) {
    if (--FIterating == 0) FRetired.clear();
    throw;
  }
  if (--FIterating == 0) FRetired.clear();
  return result;
}

}  // namespace bw
