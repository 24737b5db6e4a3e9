#pragma once
// The node handles of an outline's items by position. Most items never get a handle (a
// grid asks only for the rows it paints), so the array is kept in chunks that exist only
// where a handle was once stored; a missing chunk reads as null. Inserting and deleting
// move the stored handles with the items, chunk by chunk. Any chunk a move needs is
// allocated before anything moves, so running out of memory changes nothing.
//
// Handles are made a chunk's worth at a time, side by side in one block (see
// TOutlineNodeBlock), so the handles of consecutive items mostly lie one after another in
// memory. The array notes those runs, and Get answers from them by arithmetic: a lookup
// reads a small run table rather than the entry of the item, which for a random item of
// a large tree would be a cache miss. Runs follow the items when they move, like the
// entries do; the entries stay the complete record.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/outline/TOutlineNode.h"

namespace bw {

class TOutlineNodeArray {
 public:
  static constexpr size_t kShift = 12;
  static constexpr size_t kChunk = size_t(1) << kShift;
  static constexpr size_t kMask = kChunk - 1;

  TOutlineNodeArray();
  ~TOutlineNodeArray();
  TOutlineNodeArray(const TOutlineNodeArray&) = delete;
  TOutlineNodeArray& operator=(const TOutlineNodeArray&) = delete;

  size_t Size() const { return FSize; }
  TOutlineNode* Get(size_t i) const {
    const TRun* run = FRuns.data() + FRunAt[i >> kShift];
    while (run->End <= i)
      ++run;
    if (run->First <= i) return reinterpret_cast<TOutlineNode*>(run->Origin + i * kStride);
    TOutlineNode* const* chunk = FChunks[i >> kShift];
    return chunk ? chunk[i & kMask] : nullptr;
  }
  /// Stores node at i (< Size()).
  void Set(size_t i, TOutlineNode* node);
  /// Makes sure that `runs` calls of SetRun inside the chunk of position i need no memory.
  void PrepareRuns(size_t i, size_t runs);
  /// Stores nodes[0], nodes[1], ... at first, first + 1, ... (count of them, all without a
  /// handle so far, inside one chunk), after PrepareRuns, and notes them as a run when
  /// there are enough of them.
  void SetRun(size_t first, size_t count, TOutlineNode* nodes);
  /// Sets the entries [from, to) to null. When [from, to) lies inside a run of handles,
  /// this needs memory unless PrepareErase(from, to) came first.
  void Clear(size_t from, size_t to);
  /// Prepares the chunk table for n entries.
  void Reserve(size_t n) {
    FChunks.reserve((n + kMask) >> kShift);
    FRunAt.reserve((n + kMask) >> kShift);
  }
  /// Appends a null entry.
  void PushBack() {
    if (FSize == FChunks.size() * kChunk) AddChunk();
    ++FSize;
  }
  /// Inserts a null entry at i (<= Size()).
  void Insert(size_t i);
  /// Makes the chunks that Erase(from, to) will need, so that it cannot fail afterwards.
  void PrepareErase(size_t from, size_t to);
  /// Removes [from, to).
  void Erase(size_t from, size_t to);
  /// Shrinks to n entries (n <= Size()).
  void Truncate(size_t n);
  void Swap(TOutlineNodeArray& other);

 private:
  static constexpr size_t kStride = sizeof(TOutlineNode);
  // Shorter runs are not noted (their handles are found through the entries), so that a
  // lookup steps over a few runs at most, however much the changes have cut them up.
  static constexpr size_t kMinRun = kChunk / 8;

  /// Positions [First, End) hold the handles at Origin + position * kStride.
  struct TRun {
    size_t First;
    size_t End;
    uintptr_t Origin;
  };

  std::vector<TOutlineNode**> FChunks;  // null: every entry of the chunk is null
  size_t FSize = 0;
  // The runs by position, ending in one that starts and ends past every position.
  std::vector<TRun> FRuns;
  // For each chunk, the first run that ends after the chunk's first position.
  std::vector<uint32_t> FRunAt;

  TOutlineNode** Chunk(size_t c);
  void AddChunk();
  /// Makes every chunk that a move of count entries from src to dst will carry a
  /// handle into.
  void Prepare(size_t dst, size_t src, size_t count);
  /// Moves count entries from src to dst (the ranges may overlap), after Prepare.
  void Move(size_t dst, size_t src, size_t count);
  /// Calls f(dst, src, n) for each run of the move that stays inside one chunk on both
  /// sides, in an order that reads every entry before it is overwritten.
  template <class F>
  void ForEachPiece(size_t dst, size_t src, size_t count, F&& f) const;
  bool AnyHandle(size_t from, size_t n) const;

  /// The first run that ends after position i.
  size_t RunAfter(size_t i) const;
  /// Takes the positions [from, to) out of the runs; splitting a run needs room for one
  /// more.
  void CutRuns(size_t from, size_t to);
  /// Forgets run r when it is too short to keep.
  void DropIfShort(size_t r);
  /// Moves the runs that start at from or later by delta positions, with their handles.
  void ShiftRuns(size_t from, ptrdiff_t delta);
  /// Brings FRunAt up to date from chunk c on.
  void IndexRuns(size_t c);
};

}  // namespace bw
