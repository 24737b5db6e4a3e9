#pragma once
// The row map of an outline grid: entry k is the outline index of the item shown on the
// k-th non-fixed row. Shown items come in outline order, so the entries increase, and
// every expanded branch shows a stretch of consecutive indexes. The map keeps those
// stretches as runs (first entry, first index): a fully expanded tree is one run, each
// collapsed branch with children starts a new one. Looking up an entry is a binary
// search over the runs; expanding or collapsing one branch edits the runs of that branch
// and shifts the entry numbers of the runs after it.
//
// Sync follows the outline's changes: when the only changes since the last Sync are a
// few expansions or collapses, it redoes just their branches; after anything else it
// rebuilds the map from the whole tree.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bw {

class TOutlineTree;

class TOutlineRowMap {
 public:
  /// Number of entries.
  int32_t Size() const { return FSize; }
  /// Entry k, 0 <= k < Size().
  int32_t At(int32_t k) const {
    const size_t r = RunOf(k);
    return FIndex[r] + (k - FEntry[r]);
  }
  /// Removes every entry and forgets the outline it followed.
  void Clear();
  /// Brings the map in line with the items of tree that are shown now.
  void Sync(const TOutlineTree& tree);

  // The editing steps Sync is made of, public for tests.

  /// Rebuilds the map from every shown item of tree.
  void Rebuild(const TOutlineTree& tree);
  /// Redoes the entries of the descendants of the item at position p: none unless p
  /// has an entry and is expanded, else the shown items of its branch.
  void RedoBranch(const TOutlineTree& tree, int32_t p);
  /// The first entry whose index is Index or more; Size() when there is none.
  int32_t LowerBound(int32_t Index) const;

 private:
  // Run r covers entries [FEntry[r], FEntry[r + 1]) (the last one up to FSize) and
  // shows indexes FIndex[r], FIndex[r] + 1, ... FEntry[0] is 0 unless the map is empty.
  std::vector<int32_t> FEntry;
  std::vector<int32_t> FIndex;
  int32_t FSize = 0;
  // What Sync saw of the outline last time.
  const TOutlineTree* FTree = nullptr;
  uint64_t FLayoutStamp = 0;
  uint64_t FExpansions = 0;

  /// The run holding entry k: the last one whose first entry is k or less.
  size_t RunOf(int32_t k) const {
    const int32_t* base = FEntry.data();
    size_t n = FEntry.size();
    while (n > 1) {
      const size_t half = n / 2;
      base = base[half] <= k ? base + half : base;
      n -= half;
    }
    return size_t(base - FEntry.data());
  }
  /// Appends count entries with the indexes first, first + 1, ...
  void AppendRun(int32_t first, int32_t count);
  /// Removes the entries [from, to).
  void Erase(int32_t from, int32_t to);
  /// Inserts the entries of other before entry at.
  void InsertMap(int32_t at, const TOutlineRowMap& other);
  /// Splits the run holding entry at so that a run starts there (at < Size()); gives
  /// that run's number, or the number of runs when at == Size().
  size_t SplitAt(int32_t at);
  /// Joins run r with the run before it when its indexes carry straight on.
  void JoinWithPrevious(size_t r);
  /// Adds delta to the first entries of runs r and after.
  void ShiftFrom(size_t r, int32_t delta);
  /// Appends the shown items of [from, to), which must be shown itself and be a whole
  /// number of branches.
  void AppendShown(const TOutlineTree& tree, int32_t from, int32_t to);
};

}  // namespace bw
