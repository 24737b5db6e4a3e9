#pragma once
// The node handles of an outline's items by position. Most items never get a handle (a
// grid asks only for the rows it paints), so the array is kept in chunks that exist only
// where a handle was once stored; a missing chunk reads as null. Inserting and deleting
// move the stored handles with the items, chunk by chunk. Any chunk a move needs is
// allocated before anything moves, so running out of memory changes nothing.

#include <cstddef>
#include <vector>

namespace bw {

class TOutlineNode;

class TOutlineNodeArray {
 public:
  static constexpr size_t kShift = 12;
  static constexpr size_t kChunk = size_t(1) << kShift;
  static constexpr size_t kMask = kChunk - 1;

  TOutlineNodeArray() = default;
  ~TOutlineNodeArray();
  TOutlineNodeArray(const TOutlineNodeArray&) = delete;
  TOutlineNodeArray& operator=(const TOutlineNodeArray&) = delete;

  size_t Size() const { return FSize; }
  TOutlineNode* Get(size_t i) const {
    TOutlineNode* const* chunk = FChunks[i >> kShift];
    return chunk ? chunk[i & kMask] : nullptr;
  }
  /// Stores node at i (< Size()).
  void Set(size_t i, TOutlineNode* node);
  /// Prepares the chunk table for n entries.
  void Reserve(size_t n) { FChunks.reserve((n + kMask) >> kShift); }
  /// Appends a null entry.
  void PushBack() {
    if (FSize == FChunks.size() * kChunk) FChunks.push_back(nullptr);
    ++FSize;
  }
  /// Inserts a null entry at i (<= Size()).
  void Insert(size_t i);
  /// Makes the chunks that Erase(from, to) will need, so that it cannot fail afterwards.
  void PrepareErase(size_t from, size_t to) { Prepare(from, to, FSize - to); }
  /// Removes [from, to).
  void Erase(size_t from, size_t to);
  /// Shrinks to n entries (n <= Size()).
  void Truncate(size_t n);
  void Swap(TOutlineNodeArray& other);

 private:
  std::vector<TOutlineNode**> FChunks;  // null: every entry of the chunk is null
  size_t FSize = 0;

  TOutlineNode** Chunk(size_t c);
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
};

}  // namespace bw
