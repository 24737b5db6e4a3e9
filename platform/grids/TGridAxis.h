#pragma once
// One axis of a grid: the columns or the rows. Sizes are a default plus the exceptions,
// so a grid of a million rows that all keep the default height costs no more than one of
// ten. Every cell takes its size plus the axis's line width; a cell of size -1 is hidden
// and takes no room at all, not even a line.
//
// Position and IndexAt run in O(log exceptions); they use running sums over the
// exceptions that are rebuilt lazily, once after any batch of changes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bw {

class TGridAxis {
 public:
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
  /// Sizes below -1 count as -1 (hidden).
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

  /// True when some item does not have the default size.
  bool HasCustomSizes() const { return !FEntries.empty(); }
  int32_t CustomSizeCount() const { return static_cast<int32_t>(FEntries.size()); }

 private:
  struct Entry {
    int32_t Index;
    int32_t Size;
  };

  int32_t Unit() const { return FDefaultSize + FLineWidth; }
  int32_t ExtentOf(int32_t size) const { return size < 0 ? 0 : size + FLineWidth; }
  /// The first entry whose index is at least i.
  std::size_t LowerBound(int32_t i) const;
  void EnsureSums() const;

  int32_t FCount;
  int32_t FDefaultSize;
  int32_t FLineWidth;
  std::vector<Entry> FEntries;  // sorted by Index; only sizes that differ from the default
  // FSums[k]: how much the entries before k lengthen (or shorten) the axis against the
  // default; one more element than FEntries.
  mutable std::vector<int64_t> FSums;
  mutable bool FSumsValid = false;
};

}  // namespace bw
