#include "platform/outline/TOutlineNodeArray.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace bw {
namespace {

TOutlineNode* Fake(uintptr_t n) {
  return reinterpret_cast<TOutlineNode*>(n * 8);
}

// Inserts, deletes (short and long runs) and truncations over several chunks, with
// handles stored here and there: the array must read like a plain vector throughout,
// including chunks that never held a handle and chunks that received one by a move.
TEST(TOutlineNodeArrayTest, MovesHandlesLikeAPlainVector) {
  constexpr size_t kChunk = TOutlineNodeArray::kChunk;
  std::mt19937 random(99);
  TOutlineNodeArray nodes;
  std::vector<TOutlineNode*> plain;
  for (size_t i = 0; i < 5 * kChunk; ++i) {
    nodes.PushBack();
    plain.push_back(nullptr);
  }
  uintptr_t next = 1;
  auto check = [&](int step) {
    ASSERT_EQ(nodes.Size(), plain.size()) << "step " << step;
    for (size_t i = 0; i < plain.size(); ++i)
      ASSERT_EQ(nodes.Get(i), plain[i]) << "step " << step << " at " << i;
  };
  for (int step = 0; step < 300; ++step) {
    const size_t n = plain.size();
    const uint32_t what = random() % 6;
    if (what <= 1) {
      const size_t i = random() % n;
      nodes.Set(i, Fake(next));
      plain[i] = Fake(next++);
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
