#pragma once
// List semantics over a sparse pointer array: a count, reads and writes by index, insertion
// and deletion that shift the entries above, exchange, move, clear and iteration. Entries
// may be nil; they belong to the caller and are never dereferenced or freed.
//
// Count rules: every index at or above Count holds nil. A write (PutItem, Exchange) sets
// Count to one past the highest stored entry; Insert and Move may leave nil entries
// counted at the top.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/TObject.h"
#include "sparse/TSparsePointerArray.h"

namespace bw {

class TSparseList : public TObject {
  BW_CLASS(TSparseList, TObject)

 public:
  explicit TSparseList(TSparseQuantum Quantum);
  ~TSparseList() override;

  int32_t Count() const { return FCount; }
  TSparseQuantum Quantum() const { return FQuantum; }
  /// The highest index that can hold an entry.
  int32_t MaxIndex() const { return FArray->MaxIndex(); }

  /// The entry at Index; nil where nothing is stored, including at and above Count.
  Pointer GetItem(int32_t Index);
  /// Stores Item at Index (nil clears it), then Count := one past the highest entry.
  void PutItem(int32_t Index, Pointer Item);
  /// Shifts the entries from Index up by one and stores Item at Index; counted also when
  /// nil. An Index past Count extends Count to Index + 1.
  void Insert(int32_t Index, Pointer Item);
  /// Removes the entry at Index, shifting the entries above down. An Index below 0 or at
  /// or above Count is ignored.
  void Delete(int32_t Index);
  void Exchange(int32_t Index1, int32_t Index2);
  /// Takes the entry at CurIndex out and inserts it at NewIndex of the resulting list.
  void Move(int32_t CurIndex, int32_t NewIndex);
  /// Drops every entry (without freeing them); the quantum stays.
  void Clear();
  /// Visits the non-nil entries in ascending index order; see TSparsePointerArray::Iterate.
  /// If the callback clears the list, the rest of the old entries are not visited.
  int32_t Iterate(const TSparseIterateFunc& Callback);

  /// Raises EListError for a negative index. Should an override return, the operation
  /// is refused all the same.
  virtual void RaiseIndexError();

 private:
  void CheckIndex(int32_t Index);

  std::unique_ptr<TSparsePointerArray> FArray;
  int32_t FCount = 0;
  TSparseQuantum FQuantum;
  // Arrays replaced by Clear while an iteration was running over them; freed when the
  // outermost iteration ends.
  std::vector<std::unique_ptr<TSparsePointerArray>> FRetired;
  int32_t FIterating = 0;
};

}  // namespace bw
