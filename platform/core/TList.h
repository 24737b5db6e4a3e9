#pragma once
// A list of untyped pointers. The list never owns, frees or dereferences what it holds.
// Slots beyond Count up to Capacity are allocated but not part of the list.

#include <functional>
#include <vector>

#include "platform/core/TObject.h"

namespace bw {

/// Orders two items: negative, zero or positive like a three-way comparison.
using TListSortCompare = std::function<int32_t(Pointer Item1, Pointer Item2)>;

class TList : public TObject {
  BW_CLASS(TList, TObject)

 public:
  /// The largest Count and Capacity a list accepts; larger requests are errors rather
  /// than attempts to allocate gigabytes.
  static constexpr int32_t MaxListSize = 134217727;

  TList() = default;

  /// Appends Item; returns its index.
  int32_t Add(Pointer Item);
  /// Inserts Item before Index; Index == Count appends.
  void Insert(int32_t Index, Pointer Item);
  void Delete(int32_t Index);
  /// Deletes the first occurrence of Item; returns its former index, or -1.
  int32_t Remove(Pointer Item);
  /// The index of the first occurrence of Item, or -1.
  int32_t IndexOf(Pointer Item) const;

  Pointer Items(int32_t Index) const;
  void SetItems(int32_t Index, Pointer Item);
  Pointer First() const { return Items(0); }
  Pointer Last() const { return Items(FCount - 1); }

  int32_t Count() const { return FCount; }
  /// Grows with nil entries or drops entries from the end.
  void SetCount(int32_t NewCount);
  int32_t Capacity() const { return static_cast<int32_t>(FList.size()); }
  /// Capacity never drops below Count.
  void SetCapacity(int32_t NewCapacity);

  void Exchange(int32_t Index1, int32_t Index2);
  /// Moves the item at CurIndex so that it ends up at NewIndex.
  void Move(int32_t CurIndex, int32_t NewIndex);
  /// Drops every nil entry.
  void Pack();
  /// Sorts with Compare; items that compare equal keep their order. If Compare throws,
  /// the list is left as it was.
  void Sort(const TListSortCompare& Compare);
  /// Empties the list and releases its storage.
  virtual void Clear();
  /// Makes room for at least one more item; returns this list.
  TList* Expand();

 protected:
  /// Raises EListError with Msg; descendants may raise their own class instead.
  [[noreturn]] virtual void Error(const char* Msg) const;
  /// Called when the list needs room for one more item.
  virtual void Grow();

 private:
  void CheckIndex(int32_t Index) const;

  std::vector<Pointer> FList;  // size() is the capacity; entries from FCount on are nil
  int32_t FCount = 0;
};

}  // namespace bw
