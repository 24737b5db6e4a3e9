#pragma once
// A string list whose entries live in a sparse list: entries that were never stored, or
// that were emptied of text and object, take no memory. Each present entry is a TStrItem
// record owned by the list; the objects the records refer to belong to the caller.

#include <cstdint>
#include <memory>

#include "platform/core/TEvent.h"
#include "platform/core/TStrings.h"
#include "sparse/TSparseList.h"

namespace bw {

class TReader;
class TWriter;

/// One present entry of a TStringSparseList.
struct TStrItem {
  TObject* Obj = nullptr;  // not owned
  String Str;
};

class TStringSparseList : public TStrings {
  BW_CLASS(TStringSparseList, TStrings)

 public:
  explicit TStringSparseList(TSparseQuantum Quantum);
  /// Clears the list (so OnChange fires once more); never frees the entries' objects.
  ~TStringSparseList() override;

  /// The empty string for an absent entry.
  String Get(int32_t Index) const override;
  int32_t GetCount() const override;
  /// nil for an absent entry.
  TObject* GetObject(int32_t Index) const override;
  /// Replaces the entry's record, keeping its object. An empty S on an entry without an
  /// object makes the entry absent.
  void Put(int32_t Index, const String& S) override;
  /// Sets the object of a present entry (nil included, the entry stays); makes an entry
  /// with empty text for a non-nil object where none was.
  void PutObject(int32_t Index, TObject* AObject) override;
  /// Stores a record also for an empty S.
  void Insert(int32_t Index, const String& S) override;
  void Delete(int32_t Index) override;
  /// Swaps two entries; fires no OnChange.
  void Exchange(int32_t Index1, int32_t Index2) override;
  /// Moves the entry itself, absent or present, as TSparseList::Move does. A refused
  /// NewIndex (negative, or past the highest storable index) changes nothing.
  void Move(int32_t CurIndex, int32_t NewIndex) override;
  void Clear() override;

  /// Stores the list in form files as the property "List": the number of present entries,
  /// then index and text of each in ascending order (objects are not stored). Written
  /// also for an empty list.
  void DefineProperties(TFiler* Filer) override;
  /// Reads a "List" value, inserting each entry at its stored index. The list is not
  /// cleared first: read into an empty list, entries land where they were. A damaged
  /// value (short, of the wrong kind, or with an index Insert refuses) raises and
  /// leaves the list as it was.
  void ReadItems(TReader* Reader);
  void WriteItems(TWriter* Writer);

  /// Called after every change but Exchange. Default: no handler.
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

  /// Calls OnChange with the list as sender when a handler is assigned.
  virtual void NotifyChange();
  /// Raises EStringSparseListError. Nothing in the list calls it; descendants may.
  virtual void RaiseObjectError();

  /// The quantum the list was created with.
  TSparseQuantum Quantum() const { return FList->Quantum(); }

 private:
  static TStrItem* NewStrItem(const String& S, TObject* AObject);
  static void DisposeStrItem(TStrItem* Item);
  TStrItem* ItemAt(int32_t Index) const { return static_cast<TStrItem*>(FList->GetItem(Index)); }

  std::unique_ptr<TSparseList> FList;
  TNotifyEvent FOnChange;
};

}  // namespace bw
