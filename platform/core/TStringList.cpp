#include "platform/core/TStringList.h"

#include <algorithm>
#include <numeric>

#include "platform/core/Exception.h"
#include "platform/core/MoveItem.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/TList.h"
#include "platform/core/TextCompare.h"

namespace bw {

TStringList::~TStringList() {
  FOnChange.Clear();
  FOnChanging.Clear();
}

void TStringList::Error(const char* Msg) const {
  throw EStringListError(Msg);
}

void TStringList::CheckIndex(int32_t Index) const {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && FOnChange) FOnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && FOnChanging) FOnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

int32_t TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? CompareStr(S1, S2) : CompareText(S1, S2);
}

String TStringList::Get(int32_t Index) const {
  CheckIndex(Index);
  return FList[Index].FString;
}

int32_t TStringList::GetCount() const {
  return static_cast<int32_t>(FList.size());
}

void TStringList::Put(int32_t Index, const String& S) {
  if (FSorted) Error(SSortedListError);
  CheckIndex(Index);
  Changing();
  FList[Index].FString = S;
  Changed();
}

TObject* TStringList::GetObject(int32_t Index) const {
  CheckIndex(Index);
  return FList[Index].FObject;
}

void TStringList::PutObject(int32_t Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[Index].FObject = AObject;
  Changed();
}

int32_t TStringList::GetCapacity() const {
  return FCapacity;
}

void TStringList::SetCapacity(int32_t NewCapacity) {
  if (NewCapacity < GetCount() || NewCapacity > TList::MaxListSize) Error(SListCapacityError);
  if (NewCapacity == FCapacity) return;
  if (NewCapacity > static_cast<int32_t>(FList.capacity())) {
    FList.reserve(NewCapacity);
  } else if (NewCapacity < static_cast<int32_t>(FList.capacity()) / 2) {
    FList.shrink_to_fit();
    FList.reserve(NewCapacity);
  }
  FCapacity = NewCapacity;
}

void TStringList::Grow() {
  int32_t delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  SetCapacity(std::min(FCapacity + delta, TList::MaxListSize));
}

void TStringList::InsertItem(int32_t Index, const String& S, TObject* AObject) {
  if (GetCount() == FCapacity) {
    if (FCapacity == TList::MaxListSize) Error(SListCapacityError);
    Grow();
  }
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Insert(int32_t Index, const String& S) {
  if (FSorted) Error(SSortedListError);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError);
  InsertItem(Index, S, nullptr);
}

int32_t TStringList::Add(const String& S) {
  return AddObject(S, nullptr);
}

int32_t TStringList::AddObject(const String& S, TObject* AObject) {
  int32_t index = GetCount();
  if (FSorted && Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) Error(SDuplicateString);
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Delete(int32_t Index) {
  CheckIndex(Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  FList.shrink_to_fit();
  FCapacity = 0;
  Changed();
}

void TStringList::Exchange(int32_t Index1, int32_t Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[Index1], FList[Index2]);
  Changed();
}

void TStringList::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  // Checked up front: deleting first and failing to insert would lose the entry.
  if (FSorted) Error(SSortedListError);
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  TUpdateScope update(*this);
  MoveItem(FList, CurIndex, NewIndex);
}

bool TStringList::Find(const String& S, int32_t& Index) const {
  bool found = false;
  int32_t low = 0;
  int32_t high = GetCount() - 1;
  while (low <= high) {
    int32_t mid = low + (high - low) / 2;
    int32_t c = CompareStrings(FList[mid].FString, S);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) low = mid;
      }
    }
  }
  Index = low;
  return found;
}

int32_t TStringList::IndexOf(const String& S) const {
  if (!FSorted) return inherited::IndexOf(S);
  int32_t index;
  return Find(S, index) ? index : -1;
}

void TStringList::SortItems(const TStringListSortCompare& Compare) {
  if (GetCount() < 2) return;
  // Sort a permutation while the list stays as it is, so Compare sees the entries at
  // the indexes it is given, and an exception from Compare leaves the list untouched.
  std::vector<int32_t> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FCapacity);
  Changing();
  for (int32_t i : order)
    sorted.push_back(std::move(FList[i]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SortByStrings() {
  SortItems([](TStringList* list, int32_t a, int32_t b) {
    return list->CompareStrings(list->FList[a].FString, list->FList[b].FString);
  });
}

void TStringList::Sort() {
  if (!FSorted) SortByStrings();
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FSorted || !Compare) return;
  SortItems(Compare);
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  // The order of a sorted list depends on the comparison; Find needs it restored.
  if (FSorted) SortByStrings();
}

void TStringList::SetLines(const std::vector<String>& Lines) {
  // A sorted list that refuses duplicates would otherwise be cleared and then fail part
  // way through the new lines; refuse them before anything changes.
  if (FSorted && FDuplicates == dupError) {
    std::vector<const String*> order;
    order.reserve(Lines.size());
    for (const String& line : Lines)
      order.push_back(&line);
    std::sort(order.begin(), order.end(),
              [this](const String* a, const String* b) { return CompareStrings(*a, *b) < 0; });
    for (size_t i = 1; i < order.size(); ++i)
      if (CompareStrings(*order[i - 1], *order[i]) == 0) throw EStringListError(SDuplicateString);
  }
  inherited::SetLines(Lines);
}

}  // namespace bw
