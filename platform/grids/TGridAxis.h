#pragma once
// One axis of a grid: the columns or the rows. Sizes are a default plus the exceptions,
// so a grid of a million rows that all keep the default height costs no more than one of
// ten. Every cell takes its size plus the axis's line width; a cell of size -1 is hidden
// and takes no room at all, not even a line.
//
// The exceptions are kept sorted in chunks of a bounded size, each with the sum of its
// own deviations from the default and an index shift for the items moved behind it.
// Position and IndexAt cost O(log exceptions + chunk); a change costs O(chunk) plus
// one pass over the chunks' sums at the next lookup, so setting the sizes of many rows
// one by one, in any order, stays fast.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bw {

class TGridAxis {
 public:
  /// Largest size and line width an axis takes; larger ones are cut to these, so that a
  /// cell's room always fits in 32 bits.
  static constexpr int32_t MaxSize = 1 << 30;
  static constexpr int32_t MaxLineWidth = 1 << 20;

  TGridAxis(int32_t count, int32_t defaultSize, int32_t lineWidth);

  int32_t Count() const { return FCount; }
  /// Added items take the default size; dropped items forget theirs.
  void SetCount(int32_t value);

  int32_t DefaultSize() const { return FDefaultSize; }
  /// Every item takes the new default: the exceptions are forgotten.
  void SetDefaultSize(int32_t value);

  int32_t LineWidth() const { return FLineWidth; }
  void SetLineWidth(int32_t value);

  /// The size of item i (0 <= i < Count), without its line; -1 for a hidden item.
  int32_t Size(int32_t i) const;
  /// Sizes below -1 count as -1 (hidden), above MaxSize as MaxSize.
  void SetSize(int32_t i, int32_t size);
  /// The room item i takes: its size and its line, 0 when hidden.
  int32_t Extent(int32_t i) const { return ExtentOf(Size(i)); }

  /// Where item i starts, for 0 <= i <= Count (Position(Count) is the whole length).
  int64_t Position(int32_t i) const;
  int64_t Length() const { return Position(FCount); }
  /// The item whose room holds pos (its line included): -1 before the first item and
  /// Count at or after the end.
  int32_t IndexAt(int64_t pos) const;

  /// Opens a default-sized item at index, moving later items up by one.
  void Insert(int32_t index);
  /// Removes item index with its size, moving later items down by one.
  void Delete(int32_t index);
  /// Moves item from, with its size, to position to; the items between shift by one.
  void Move(int32_t from, int32_t to);

  /// Grows with every change of the count, a size or the line width, so that an answer
  /// worked out from the axis can be kept while the version stays.
  uint64_t Version() const { return FVersion; }

  /// True when some item does not have the default size.
  bool HasCustomSizes() const { return FEntryCount > 0; }
  int32_t CustomSizeCount() const { return FEntryCount; }

 private:
  struct Entry {
    int32_t Index;  // before the chunk's shift
    int32_t Size;
  };
  struct Chunk {
    std::vector<Entry> Entries;  // sorted by Index
    int32_t Shift = 0;           // added to every Index of the chunk
    mutable int64_t Sum = 0;     // the entries' deviation from the default length
    mutable bool SumValid = false;
    int32_t First() const { return Entries.front().Index + Shift; }
    int32_t Last() const { return Entries.back().Index + Shift; }
  };
  static constexpr std::size_t kChunkMax = 256;

  int32_t Unit() const { return FDefaultSize + FLineWidth; }
  int32_t ExtentOf(int32_t size) const { return size < 0 ? 0 : size + FLineWidth; }
  int64_t Deviation(const Entry& e) const { return ExtentOf(e.Size) - int64_t{Unit()}; }
  /// The chunk that holds index i or would take it: the last one starting at or before
  /// i, else the first; FChunks.size() when there are none.
  std::size_t ChunkFor(int32_t i) const;
  /// Where index i is (or would go) in chunk k: the first entry at or after i.
  std::size_t EntryFor(const Chunk& c, int32_t i) const;
  void ChunkChanged(std::size_t k) const;
  void EnsureSums() const;
  /// Every exception from index `from` on moves by delta.
  void ShiftFrom(int32_t from, int32_t delta);

  int32_t FCount;
  int32_t FDefaultSize;
  int32_t FLineWidth;
  std::vector<Chunk> FChunks;
  int32_t FEntryCount = 0;
  uint64_t FVersion = 0;
  // FPrefix[k]: the deviation of all chunks before k; one more element than FChunks.
  mutable std::vector<int64_t> FPrefix;
  mutable bool FPrefixValid = false;
};

}  // namespace bw
