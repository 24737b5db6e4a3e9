#include "grid/TOutlineRowMap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/outline/TCustomOutline.h"

namespace bw {
namespace {

std::vector<int32_t> ShownItems(const TCustomOutline& o) {
  std::vector<int32_t> shown;
  o.ForEachVisible([&](int32_t i) { shown.push_back(i); });
  return shown;
}

void ExpectMapIs(const TOutlineRowMap& map, const std::vector<int32_t>& shown, int step) {
  ASSERT_EQ(map.Size(), int32_t(shown.size())) << "step " << step;
  for (int32_t k = 0; k < map.Size(); ++k)
    ASSERT_EQ(map.At(k), shown[size_t(k)]) << "step " << step << " entry " << k;
  for (int32_t k = 0; k < map.Size(); ++k)
    ASSERT_EQ(map.LowerBound(shown[size_t(k)]), k) << "step " << step;
}

// A random tree that is changed at random, mostly by expanding and collapsing items and
// branches between synchronisations (a few or more than the outline keeps a record of),
// now and then by adding or deleting items: after each Sync the map lists exactly the
// shown items, whether it redid single branches or rebuilt everything.
TEST(TOutlineRowMapTest, FollowsRandomChangesExactly) {
  std::mt19937 random(2024);
  TCustomOutline o{nullptr};
  for (int32_t i = 0; i < 300; ++i) {
    const int32_t n = o.ItemCount();
    o.AddChild(int32_t(random() % uint32_t(n + 1)), "x");
  }
  TOutlineRowMap map;
  map.Sync(o.Tree());
  ExpectMapIs(map, ShownItems(o), -1);
  for (int step = 0; step < 400; ++step) {
    const uint32_t changes = random() % 12;
    for (uint32_t c = 0; c < changes; ++c) {
      const int32_t n = o.ItemCount();
      const int32_t i = 1 + int32_t(random() % uint32_t(n));
      switch (random() % 10) {
        case 0:
          o.Get(i)->FullExpand();
          break;
        case 1:
          o.Get(i)->FullCollapse();
          break;
        case 2:
          if (step % 4 == 0) o.AddChild(i, "y");
          break;
        case 3:
          if (step % 4 == 0 && n > 50) o.Delete(i);
          break;
        default:
          o.Get(i)->SetExpandedState(!o.Get(i)->Expanded());
      }
    }
    map.Sync(o.Tree());
    ExpectMapIs(map, ShownItems(o), step);
    if (HasFatalFailure()) return;
  }
}

// A map that was not synchronised keeps answering with the entries it had; another
// outline's tree is followed from scratch.
TEST(TOutlineRowMapTest, AnswersFromItsLastSyncUntilTheNext) {
  TCustomOutline a{nullptr}, b{nullptr};
  const int32_t top = a.Add(0, "top");
  a.AddChild(top, "child");
  a.Add(0, "next");
  b.Add(0, "only");
  TOutlineRowMap map;
  map.Sync(a.Tree());
  ExpectMapIs(map, {1, 3}, 0);
  a.Get(top)->Expand();
  ExpectMapIs(map, {1, 3}, 1);
  map.Sync(a.Tree());
  ExpectMapIs(map, {1, 2, 3}, 2);
  map.Sync(b.Tree());
  ExpectMapIs(map, {1}, 3);
  map.Clear();
  EXPECT_EQ(map.Size(), 0);
  map.Sync(a.Tree());
  ExpectMapIs(map, {1, 2, 3}, 4);
}

}  // namespace
}  // namespace bw
