#include "platform/core/TList.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/MoveItem.h"
#include "platform/core/ResourceStrings.h"

namespace bw {

void TList::Error(const char* Msg) const {
  throw EListError(Msg);
}

void TList::CheckIndex(int32_t Index) const {
  if (Index < 0 || Index >= FCount) Error(SListIndexError);
}

void TList::Grow() {
  int32_t capacity = Capacity();
  int32_t delta = capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4;
  SetCapacity(std::min(capacity + delta, MaxListSize));
}

TList* TList::Expand() {
  if (FCount == Capacity()) Grow();
  return this;
}

int32_t TList::Add(Pointer Item) {
  Insert(FCount, Item);
  return FCount - 1;
}

void TList::Insert(int32_t Index, Pointer Item) {
  if (Index < 0 || Index > FCount) Error(SListIndexError);
  if (FCount == Capacity()) {
    if (FCount == MaxListSize) Error(SListCapacityError);
    Grow();
  }
  std::move_backward(FList.begin() + Index, FList.begin() + FCount, FList.begin() + FCount + 1);
  FList[Index] = Item;
  ++FCount;
}

void TList::Delete(int32_t Index) {
  CheckIndex(Index);
  std::move(FList.begin() + Index + 1, FList.begin() + FCount, FList.begin() + Index);
  FList[--FCount] = nullptr;
}

int32_t TList::Remove(Pointer Item) {
  int32_t index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

int32_t TList::IndexOf(Pointer Item) const {
  auto end = FList.begin() + FCount;
  auto it = std::find(FList.begin(), end, Item);
  return it == end ? -1 : static_cast<int32_t>(it - FList.begin());
}

Pointer TList::Items(int32_t Index) const {
  CheckIndex(Index);
  return FList[Index];
}

void TList::SetItems(int32_t Index, Pointer Item) {
  CheckIndex(Index);
  FList[Index] = Item;
}

void TList::SetCount(int32_t NewCount) {
  if (NewCount < 0 || NewCount > MaxListSize) Error(SListCountError);
  if (NewCount > Capacity()) SetCapacity(NewCount);
  // Slots past the count are kept nil, so growing exposes nil entries only.
  if (NewCount < FCount) std::fill(FList.begin() + NewCount, FList.begin() + FCount, nullptr);
  FCount = NewCount;
}

void TList::SetCapacity(int32_t NewCapacity) {
  if (NewCapacity < FCount || NewCapacity > MaxListSize) Error(SListCapacityError);
  if (NewCapacity == Capacity()) return;
  FList.resize(NewCapacity, nullptr);
  if (NewCapacity < static_cast<int32_t>(FList.capacity()) / 2) FList.shrink_to_fit();
}

void TList::Exchange(int32_t Index1, int32_t Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  // Both indexes are checked first so that a bad one changes nothing.
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  MoveItem(FList, CurIndex, NewIndex);
}

void TList::Pack() {
  auto end = FList.begin() + FCount;
  auto kept = std::remove(FList.begin(), end, nullptr);
  std::fill(kept, end, nullptr);
  FCount = static_cast<int32_t>(kept - FList.begin());
}

void TList::Sort(const TListSortCompare& Compare) {
  if (FCount < 2 || !Compare) return;
  // Sorting a copy keeps the list whole if Compare throws, and a stable merge sort stays
  // inside its bounds even when Compare is not a strict ordering.
  std::vector<Pointer> sorted(FList.begin(), FList.begin() + FCount);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&Compare](Pointer a, Pointer b) { return Compare(a, b) < 0; });
  std::copy(sorted.begin(), sorted.end(), FList.begin());
}

void TList::Clear() {
  FList.clear();
  FList.shrink_to_fit();
  FCount = 0;
}

}  // namespace bw
