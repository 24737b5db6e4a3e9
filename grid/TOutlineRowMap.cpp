#include "grid/TOutlineRowMap.h"

#include <algorithm>

#include "platform/outline/TOutlineTree.h"

namespace bw {

void TOutlineRowMap::Clear() {
  FEntry.clear();
  FIndex.clear();
  FSize = 0;
  FTree = nullptr;
}

void TOutlineRowMap::Sync(const TOutlineTree& tree) {
  const uint64_t expansions = tree.Expansions();
  const bool onlyExpansions = FTree == &tree && tree.LayoutStamp() == FLayoutStamp &&
                              expansions - FExpansions <= TOutlineTree::kExpansionLog;
  if (onlyExpansions) {
    for (uint64_t e = FExpansions; e < expansions; ++e)
      RedoBranch(tree, tree.ExpansionAt(e));
  } else {
    Rebuild(tree);
  }
  FTree = &tree;
  FLayoutStamp = tree.LayoutStamp();
  FExpansions = expansions;
}

void TOutlineRowMap::Rebuild(const TOutlineTree& tree) {
  FEntry.clear();
  FIndex.clear();
  FSize = 0;
  AppendShown(tree, 1, tree.Count() + 1);
}

void TOutlineRowMap::AppendShown(const TOutlineTree& tree, int32_t from, int32_t to) {
  // A run goes on through expanded items and leaves; a collapsed item with children
  // ends it, and the next one starts after that item's branch.
  int32_t start = from;
  for (int32_t p = tree.NextClosed(from, to); p < to; p = tree.NextClosed(start, to)) {
    AppendRun(start, p + 1 - start);
    start = tree.End(p);
  }
  if (start < to) AppendRun(start, to - start);
}

void TOutlineRowMap::AppendRun(int32_t first, int32_t count) {
  if (count <= 0) return;
  if (!FEntry.empty() && FIndex.back() + (FSize - FEntry.back()) == first) {
    FSize += count;
    return;
  }
  FEntry.push_back(FSize);
  FIndex.push_back(first);
  FSize += count;
}

int32_t TOutlineRowMap::LowerBound(int32_t Index) const {
  // The runs' first indexes increase like their entries; within a run the indexes are
  // consecutive.
  const auto it = std::upper_bound(FIndex.begin(), FIndex.end(), Index);
  if (it == FIndex.begin()) return 0;
  const size_t r = size_t(it - FIndex.begin()) - 1;
  const int32_t runEnd = r + 1 < FEntry.size() ? FEntry[r + 1] : FSize;
  return std::min(FEntry[r] + (Index - FIndex[r]), runEnd);
}

void TOutlineRowMap::RedoBranch(const TOutlineTree& tree, int32_t p) {
  const int32_t end = tree.End(p);
  // Entries increase, so the branch's entries lie between those of p and of its end.
  const int32_t first = LowerBound(p + 1);
  Erase(first, LowerBound(end));
  const bool hasEntry = first > 0 && At(first - 1) == p;
  if (!hasEntry || !tree.Expanded(p) || end == p + 1) return;
  TOutlineRowMap branch;
  branch.AppendShown(tree, p + 1, end);
  InsertMap(first, branch);
}

size_t TOutlineRowMap::SplitAt(int32_t at) {
  if (at >= FSize) return FEntry.size();
  const size_t r = RunOf(at);
  if (FEntry[r] == at) return r;
  FEntry.insert(FEntry.begin() + ptrdiff_t(r + 1), at);
  FIndex.insert(FIndex.begin() + ptrdiff_t(r + 1), FIndex[r] + (at - FEntry[r]));
  return r + 1;
}

void TOutlineRowMap::JoinWithPrevious(size_t r) {
  if (r == 0 || r >= FEntry.size()) return;
  if (FIndex[r - 1] + (FEntry[r] - FEntry[r - 1]) != FIndex[r]) return;
  FEntry.erase(FEntry.begin() + ptrdiff_t(r));
  FIndex.erase(FIndex.begin() + ptrdiff_t(r));
}

void TOutlineRowMap::ShiftFrom(size_t r, int32_t delta) {
  for (size_t i = r; i < FEntry.size(); ++i)
    FEntry[i] += delta;
}

void TOutlineRowMap::Erase(int32_t from, int32_t to) {
  if (from >= to) return;
  const size_t r0 = SplitAt(from);
  const size_t r1 = SplitAt(to);
  FEntry.erase(FEntry.begin() + ptrdiff_t(r0), FEntry.begin() + ptrdiff_t(r1));
  FIndex.erase(FIndex.begin() + ptrdiff_t(r0), FIndex.begin() + ptrdiff_t(r1));
  FSize -= to - from;
  ShiftFrom(r0, -(to - from));
  JoinWithPrevious(r0);
}

void TOutlineRowMap::InsertMap(int32_t at, const TOutlineRowMap& other) {
  if (other.FSize == 0) return;
  const size_t r = SplitAt(at);
  ShiftFrom(r, other.FSize);
  FEntry.insert(FEntry.begin() + ptrdiff_t(r), other.FEntry.begin(), other.FEntry.end());
  FIndex.insert(FIndex.begin() + ptrdiff_t(r), other.FIndex.begin(), other.FIndex.end());
  for (size_t i = r; i < r + other.FEntry.size(); ++i)
    FEntry[i] += at;
  FSize += other.FSize;
  JoinWithPrevious(r + other.FEntry.size());
  JoinWithPrevious(r);
}

}  // namespace bw
