#include "sparse/TStringSparseList.h"

#include <utility>
#include <vector>

#include "platform/core/ResourceStrings.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "sparse/EStringSparseListError.h"

namespace bw {

TStringSparseList::TStringSparseList(TSparseQuantum Quantum)
    : FList(std::make_unique<TSparseList>(Quantum)) {}

TStringSparseList::~TStringSparseList() {
  if (!FList) return;
  try {
    Clear();
  } catch (...) {
    // An OnChange handler failing here cannot be reported from a destructor; the records
    // are already released by then.
  }
}

TStrItem* TStringSparseList::NewStrItem(const String& S, TObject* AObject) {
  return new TStrItem{AObject, S};
}

void TStringSparseList::DisposeStrItem(TStrItem* Item) {
  delete Item;
}

String TStringSparseList::Get(int32_t Index) const {
  const TStrItem* item = ItemAt(Index);
  return item ? item->Str : String();
}

int32_t TStringSparseList::GetCount() const {
  return FList->Count();
}

TObject* TStringSparseList::GetObject(int32_t Index) const {
  const TStrItem* item = ItemAt(Index);
  return item ? item->Obj : nullptr;
}

void TStringSparseList::Put(int32_t Index, const String& S) {
  TStrItem* old = ItemAt(Index);
  TObject* object = old ? old->Obj : nullptr;
  if (S.empty() && !object) {
    FList->PutItem(Index, nullptr);
  } else {
    // Held until the list has taken it, so a refused write leaks nothing.
    std::unique_ptr<TStrItem> item(NewStrItem(S, object));
    FList->PutItem(Index, item.get());
    item.release();
  }
  if (old) DisposeStrItem(old);
  NotifyChange();
}

void TStringSparseList::PutObject(int32_t Index, TObject* AObject) {
  if (TStrItem* item = ItemAt(Index)) {
    item->Obj = AObject;
  } else if (AObject) {
    std::unique_ptr<TStrItem> fresh(NewStrItem(String(), AObject));
    FList->PutItem(Index, fresh.get());
    fresh.release();
  }
  NotifyChange();
}

void TStringSparseList::Insert(int32_t Index, const String& S) {
  std::unique_ptr<TStrItem> item(NewStrItem(S, nullptr));
  FList->Insert(Index, item.get());
  item.release();
  NotifyChange();
}

void TStringSparseList::Delete(int32_t Index) {
  TStrItem* item = ItemAt(Index);
  FList->Delete(Index);
  if (item) DisposeStrItem(item);
  NotifyChange();
}

void TStringSparseList::Exchange(int32_t Index1, int32_t Index2) {
  FList->Exchange(Index1, Index2);
}

void TStringSparseList::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  FList->Move(CurIndex, NewIndex);
  NotifyChange();
}

void TStringSparseList::Clear() {
  FList->Iterate([](int32_t, Pointer Item) {
    DisposeStrItem(static_cast<TStrItem*>(Item));
    return 0;
  });
  FList->Clear();
  NotifyChange();
}

void TStringSparseList::DefineProperties(TFiler* Filer) {
  // Replaces the inherited line-by-line storage: absent entries are not written.
  Filer->DefineProperty(
      "List", [this](TReader* Reader) { ReadItems(Reader); },
      [this](TWriter* Writer) { WriteItems(Writer); }, true);
}

void TStringSparseList::ReadItems(TReader* Reader) {
  // The whole value is read, and its indexes tried on an empty list of the same count,
  // before any entry goes in: a damaged value changes nothing.
  std::vector<std::pair<int32_t, String>> entries;
  for (int32_t n = Reader->ReadInteger(); n > 0; --n) {
    const int32_t index = Reader->ReadInteger();
    entries.emplace_back(index, Reader->ReadString());
  }
  TSparseList trial(Quantum());
  if (GetCount() > 0) trial.Insert(GetCount() - 1, nullptr);
  for (const auto& entry : entries)
    trial.Insert(entry.first, nullptr);
  for (const auto& [index, s] : entries)
    InsertObject(index, s, nullptr);
}

void TStringSparseList::WriteItems(TWriter* Writer) {
  int32_t n = 0;
  FList->Iterate([&n](int32_t, Pointer) {
    ++n;
    return 0;
  });
  Writer->WriteInteger(n);
  FList->Iterate([Writer](int32_t Index, Pointer Item) {
    Writer->WriteInteger(Index);
    Writer->WriteString(static_cast<TStrItem*>(Item)->Str);
    return 0;
  });
}

void TStringSparseList::NotifyChange() {
  if (FOnChange) FOnChange(this);
}

void TStringSparseList::RaiseObjectError() {
  throw EStringSparseListError(SPutObjectError);
}

}  // namespace bw
