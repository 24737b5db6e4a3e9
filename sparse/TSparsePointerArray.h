#pragma once
// A two-level sparse array of untyped pointers. An index splits into a directory entry
// (Index >> FBlockShift) and a slot inside that entry's block (Index & FSlotMask); only
// blocks that have held an item exist, so memory grows with the blocks touched rather than
// with the highest index. The items belong to the caller: the array never dereferences or
// frees them.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/TObject.h"
#include "platform/core/Types.h"

namespace bw {

/// Block size, chosen when an array or list is created: sqSmall blocks hold 16 slots,
/// sqLarge blocks 256.
enum class TSparseQuantum : uint8_t { sqSmall = 0, sqLarge = 1 };
inline constexpr TSparseQuantum sqSmall = TSparseQuantum::sqSmall;
inline constexpr TSparseQuantum sqLarge = TSparseQuantum::sqLarge;

/// Called with (Index, Item) for each stored item; a nonzero result stops the iteration
/// and becomes its result. A closure, so callbacks can reach the caller's locals.
using TSparseIterateFunc = std::function<int32_t(int32_t Index, Pointer Item)>;

class TSparsePointerArray : public TObject {
  BW_CLASS(TSparsePointerArray, TObject)

 public:
  /// The directory has at most 65535 entries, so the highest storable index is
  /// 65535 * block size - 1.
  static constexpr uint32_t MaxDirectoryLength = 65535;

  explicit TSparsePointerArray(TSparseQuantum Quantum);
  ~TSparsePointerArray() override;

  /// The item at Index, or nil. Negative indexes and indexes above the limit read nil.
  Pointer ReadAt(int32_t Index);
  /// Stores Item at Index; nil clears the slot. A nil write to an empty slot allocates
  /// nothing. Raises EListError for a negative index or one above MaxIndex(), unchanged.
  void WriteAt(int32_t Index, Pointer Item);
  /// The address of Index's slot, allocating the directory entry and block it needs.
  /// Raises the HighestIndex to Index and drops the read cache.
  Pointer* SlotAt(int32_t Index);
  /// Visits the non-nil items in ascending index order until a callback returns nonzero;
  /// returns that value, or 0. The callback may store or clear items meanwhile.
  int32_t Iterate(const TSparseIterateFunc& Callback);
  /// Lowers HighestIndex to the highest index at or below it that holds an item (-1 if none).
  void RecalcHighestIndex();

  /// Moves the entries From..To-1 up by one (entry I := entry I-1 for I = To down to
  /// From+1), as that many ReadAt/WriteAt pairs would, but a block at a time. Entry From
  /// keeps its item. To must not exceed MaxIndex().
  void ShiftUp(int32_t From, int32_t To);
  /// Moves the entries From+1..To down by one (entry I := entry I+1 for I = From to To-1)
  /// and clears entry To, as that many ReadAt/WriteAt pairs would.
  void ShiftDown(int32_t From, int32_t To);

  int32_t HighestIndex() const { return FHighestIndex; }
  TSparseQuantum Quantum() const { return FQuantum; }
  int32_t BlockSize() const { return FBlockSize; }
  int32_t MaxIndex() const { return static_cast<int32_t>(MaxDirectoryLength * FBlockSize - 1); }
  /// Number of directory entries: one past the highest block that has been allocated.
  int32_t DirectoryLength() const { return static_cast<int32_t>(FDirectory.size()); }
  /// Raises EListError when Index lies above MaxIndex().
  void CheckLimit(int32_t Index) const {
    if (Index > MaxIndex()) RaiseLimitError(Index);
  }
  /// True when the block of directory entry D exists.
  bool BlockAllocated(int32_t D) const;
  /// Number of allocated blocks.
  int32_t BlockCount() const { return FBlockCount; }

 private:
  using Block = std::unique_ptr<Pointer[]>;

  Pointer* BlockOf(uint32_t D) const {
    return D < FDirectory.size() ? FDirectory[D].get() : nullptr;
  }
  Pointer* EnsureBlock(uint32_t D);
  [[noreturn]] void RaiseLimitError(int32_t Index) const;
  /// The highest index at or below From that holds an item, or -1.
  int32_t ScanDown(int32_t From) const;

  // The directory's length is exact (one past the highest block); its capacity may be
  // larger, so that a run of writes upward does not copy the directory every time.
  std::vector<Block> FDirectory;
  uint16_t FSlotMask;
  uint16_t FBlockShift;
  int32_t FHighestIndex = -1;
  uint16_t FBlockSize;
  int32_t FCacheIndex = -1;
  Pointer FCacheItem = nullptr;
  TSparseQuantum FQuantum;
  int32_t FBlockCount = 0;
};

}  // namespace bw
