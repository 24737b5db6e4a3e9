#include "platform/outline/TOutlineNodeArray.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace bw {
namespace {

TOutlineNode* Fake(uintptr_t n) {
  return reinterpret_cast<TOutlineNode*>(n * 8);
}

// Inserts, deletes (short and long runs) and truncations over several chunks, with
// handles stored one by one and a chunk's worth at a time (runs the array finds by
// arithmetic), then cleared here and there: the array must read like a plain vector
// throughout, including chunks that never held a handle and chunks that received one by
// a move, and runs that a change splits, shortens, moves or removes.
TEST(TOutlineNodeArrayTest, MovesHandlesLikeAPlainVector) {
  constexpr size_t kChunk = TOutlineNodeArray::kChunk;
  std::mt19937 random(99);
  TOutlineNodeArray nodes;
  std::vector<TOutlineNode*> plain;
  for (size_t i = 0; i < 5 * kChunk; ++i) {
    nodes.PushBack();
    plain.push_back(nullptr);
  }
  // Room for the blocks' handles, never constructed: only their addresses are compared.
  std::vector<std::unique_ptr<char[]>> blocks;
  uintptr_t next = 1;
  auto check = [&](int step) {
    ASSERT_EQ(nodes.Size(), plain.size()) << "step " << step;
    for (size_t i = 0; i < plain.size(); ++i)
      ASSERT_EQ(nodes.Get(i), plain[i]) << "step " << step << " at " << i;
  };
  auto makeBlock = [&](size_t p) {
    const size_t first = p & ~TOutlineNodeArray::kMask;
    const size_t end = std::min(first + kChunk, plain.size());
    std::vector<size_t> empty;
    for (size_t q = first; q < end; ++q)
      if (!plain[q]) empty.push_back(q);
    blocks.emplace_back(new char[empty.size() * sizeof(TOutlineNode) + 1]);
    auto* block = reinterpret_cast<TOutlineNode*>(blocks.back().get());
    nodes.PrepareRuns(first, empty.size());
    for (size_t k = 0; k < empty.size();) {
      size_t n = 1;
      while (k + n < empty.size() && empty[k + n] == empty[k] + n)
        ++n;
      nodes.SetRun(empty[k], n, block + k);
      for (size_t j = k; j < k + n; ++j)
        plain[empty[j]] = block + j;
      k += n;
    }
  };
  for (int step = 0; step < 600; ++step) {
    const size_t n = plain.size();
    const uint32_t what = random() % 9;
    if (what <= 1) {
      const size_t i = random() % n;
      nodes.Set(i, what == 0 ? nullptr : Fake(next));
      plain[i] = what == 0 ? nullptr : Fake(next++);
    } else if (what == 2) {
      const size_t i = random() % (n + 1);
      nodes.Insert(i);
      plain.insert(plain.begin() + ptrdiff_t(i), nullptr);
    } else if (what == 3 && n > 10) {
      const size_t from = random() % n;
      const size_t to = std::min(n, from + 1 + random() % (random() % 4 == 0 ? 2 * kChunk : 5));
      nodes.PrepareErase(from, to);
      nodes.Erase(from, to);
      plain.erase(plain.begin() + ptrdiff_t(from), plain.begin() + ptrdiff_t(to));
    } else if (what == 4 && n > kChunk) {
      const size_t keep = n - random() % 100;
      nodes.Truncate(keep);
      plain.resize(keep);
    } else if (what == 5 || what == 6) {
      makeBlock(random() % n);
    } else if (what == 7 && n > 10) {
      const size_t from = random() % n;
      const size_t to = std::min(n, from + 1 + random() % (random() % 4 == 0 ? kChunk : 20));
      nodes.PrepareErase(from, to);
      nodes.Clear(from, to);
      std::fill(plain.begin() + ptrdiff_t(from), plain.begin() + ptrdiff_t(to), nullptr);
    } else {
      nodes.PushBack();
      plain.push_back(nullptr);
    }
    if (step % 10 == 0) check(step);
    if (HasFatalFailure()) return;
  }
  check(-1);
}

}  // namespace
}  // namespace bw
