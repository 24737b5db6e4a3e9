#pragma once
// The string list that stores its entries: optionally kept sorted, with a choice of what
// happens to duplicates, and change events. Objects stored with entries are not owned.

#include <functional>
#include <vector>

#include "platform/core/TEvent.h"
#include "platform/core/TStrings.h"

namespace bw {

/// What adding a string that a sorted list already holds does.
enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
/// Orders the entries at Index1 and Index2 of List: negative, zero or positive.
using TStringListSortCompare =
    std::function<int32_t(TStringList* List, int32_t Index1, int32_t Index2)>;

class TStringList : public TStrings {
  BW_CLASS(TStringList, TStrings)

 public:
  TStringList() = default;
  /// Fires no events.
  ~TStringList() override;

  String Get(int32_t Index) const override;
  int32_t GetCount() const override;
  /// Raises EStringListError on a sorted list.
  void Put(int32_t Index, const String& S) override;
  TObject* GetObject(int32_t Index) const override;
  void PutObject(int32_t Index, TObject* AObject) override;
  int32_t GetCapacity() const override;
  /// Raises EStringListError below the count.
  void SetCapacity(int32_t NewCapacity) override;
  /// Raises EStringListError on a sorted list.
  void Insert(int32_t Index, const String& S) override;
  void Delete(int32_t Index) override;
  void Clear() override;
  void Exchange(int32_t Index1, int32_t Index2) override;
  /// Raises EStringListError on a sorted list, before anything changes.
  void Move(int32_t CurIndex, int32_t NewIndex) override;

  /// On a sorted list, S goes to its place; Duplicates decides about an equal entry (an
  /// ignored duplicate leaves the entry there as it is and returns its index).
  int32_t Add(const String& S) override;
  int32_t AddObject(const String& S, TObject* AObject) override;
  /// Binary search on a sorted list: true when found; Index is where S is or would go.
  /// With Duplicates other than dupAccept it is the first of equal entries.
  virtual bool Find(const String& S, int32_t& Index) const;
  int32_t IndexOf(const String& S) const override;

  /// Sorts by CompareStrings; a sorted list is already in order.
  virtual void Sort();
  /// Sorts an unsorted list by Compare; entries that compare equal keep their order.
  /// If Compare throws, the list is left as it was.
  virtual void CustomSort(const TStringListSortCompare& Compare);

  /// Default dupIgnore; applies to sorted lists.
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  /// Default false. Setting it sorts the list.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  /// Default false: entries compare without regard to case. A sorted list re-sorts.
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

  /// After each change, and once when an update ends.
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  /// Before each change, and once when an update starts.
  const TNotifyEvent& OnChanging() const { return FOnChanging; }
  void SetOnChanging(TNotifyEvent Value) { FOnChanging = std::move(Value); }

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool Updating) override;
  void SetLines(const std::vector<String>& Lines) override;
  int32_t CompareStrings(const String& S1, const String& S2) const override;
  [[noreturn]] void Error(const char* Msg) const;

 private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };

  void CheckIndex(int32_t Index) const;
  void InsertItem(int32_t Index, const String& S, TObject* AObject);
  void Grow();
  void SortItems(const TStringListSortCompare& Compare);
  void SortByStrings();

  std::vector<TStringItem> FList;
  int32_t FCapacity = 0;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnChanging;
};

}  // namespace bw
