#include "platform/outline/TOutlineTree.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/outline/TCustomOutline.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw {
namespace {

// An item text such as "n12", built by appending: GCC 12 warns wrongly (-Wrestrict) on
// "n" + std::to_string(12) in optimised builds.
String Numbered(const char* Prefix, int64_t Number) {
  String text = Prefix;
  text += std::to_string(Number);
  return text;
}

// The plain model the item array must agree with: a list of levels and texts, where
// parents and subtrees are found by scanning.
struct Lines {
  std::vector<int32_t> level{0};
  std::vector<String> text{""};

  int32_t Count() const { return int32_t(level.size()) - 1; }
  int32_t Parent(int32_t p) const {
    for (int32_t q = p - 1; q >= 0; --q)
      if (level[q] < level[p]) return q;
    return -1;
  }
  int32_t End(int32_t p) const {
    int32_t q = p + 1;
    while (q <= Count() && level[q] > level[p])
      ++q;
    return q;
  }
  void Insert(int32_t x, int32_t lv, const String& t) {
    level.insert(level.begin() + x, lv);
    text.insert(text.begin() + x, t);
  }
  void Delete(int32_t p) {
    const int32_t e = End(p);
    level.erase(level.begin() + p, level.begin() + e);
    text.erase(text.begin() + p, text.begin() + e);
  }
};

void ExpectSame(const TOutlineTree& tree, const Lines& lines, int step) {
  ASSERT_EQ(tree.Count(), lines.Count()) << "step " << step;
  for (int32_t p = 0; p <= lines.Count(); ++p) {
    ASSERT_EQ(tree.Level(p), lines.level[p]) << "step " << step << " at " << p;
    ASSERT_EQ(tree.Parent(p), lines.Parent(p)) << "step " << step << " at " << p;
    ASSERT_EQ(tree.End(p), lines.End(p)) << "step " << step << " at " << p;
    ASSERT_EQ(tree.Text(p), lines.text[p]) << "step " << step << " at " << p;
  }
}

// Inserting a line anywhere, at any level the neighbours allow, must leave the array in
// the shape the new order of levels describes (deeper lines after it are adopted).
TEST(TOutlineTreeTest, RandomInsertsAndDeletesMatchTheLevelList) {
  std::mt19937 random(12345);
  TOutlineTree tree;
  Lines lines;
  for (int step = 0; step < 3000; ++step) {
    const int32_t n = tree.Count();
    if (n > 0 && random() % 4 == 0) {
      const int32_t p = 1 + int32_t(random() % uint32_t(n));
      tree.DeleteAt(p);
      lines.Delete(p);
    } else {
      const int32_t x = 1 + int32_t(random() % uint32_t(n + 1));
      const int32_t low = tree.MinLevelAt(x), high = tree.MaxLevelAt(x);
      ASSERT_LE(low, high);
      const int32_t lv = low + int32_t(random() % uint32_t(high - low + 1));
      const String t = Numbered(step % 3 ? "i" : "a text too long to sit in place ", step);
      tree.InsertAt(x, lv, t, nullptr);
      lines.Insert(x, lv, t);
    }
    ExpectSame(tree, lines, step);
    if (HasFatalFailure()) return;
  }
}

// The same through the outline's own operations, with node handles held across the
// changes: every handle must still name its item.
TEST(TOutlineTreeTest, HandlesSurviveRandomOutlineChanges) {
  std::mt19937 random(777);
  TCustomOutline o{nullptr};
  std::vector<TOutlineNode*> held;
  int counter = 0;
  for (int step = 0; step < 2000; ++step) {
    const int32_t n = o.ItemCount();
    const int32_t i = int32_t(random() % uint32_t(n + 1));
    const String t = Numbered("n", counter++);
    switch (random() % 5) {
      case 0:
        o.Add(i, t);
        break;
      case 1:
        o.AddChild(i, t);
        break;
      case 2:
        o.Insert(i, t);
        break;
      case 3:
        if (i > 0) {
          // Forget the handles that go with the deleted branch.
          const int32_t end = o.Tree().End(i);
          std::erase_if(held, [&](TOutlineNode* h) { return h->Index() >= i && h->Index() < end; });
          o.Delete(i);
        }
        break;
      case 4:
        if (i > 0) held.push_back(o.Get(i));
        break;
    }
    for (TOutlineNode* h : held) {
      ASSERT_EQ(o.Get(h->Index()), h) << "step " << step;
      ASSERT_EQ(o.Tree().Text(h->Index()), h->Text());
    }
  }
  Lines lines;
  for (int32_t p = 1; p <= o.ItemCount(); ++p)
    lines.Insert(p, o.Tree().Level(p), String(o.Tree().Text(p)));
  ExpectSame(o.Tree(), lines, -1);
}

// Work at the end of a deep chain: adding under the last item, after it at any level it
// may take, and deleting the last item's branch or one of its ancestors' branches. The
// items that reach the end keep no size of their own, so every one of these changes
// must hand the right sizes to the items that stop or start being last.
TEST(TOutlineTreeTest, ChangesAtTheEndOfADeepChainMatchTheLevelList) {
  std::mt19937 random(4242);
  TOutlineTree tree;
  Lines lines;
  for (int32_t lv = 1; lv <= 400; ++lv) {
    tree.InsertAt(lv, lv, "c", nullptr);
    lines.Insert(lv, lv, "c");
  }
  ExpectSame(tree, lines, -1);
  for (int step = 0; step < 1500; ++step) {
    const int32_t n = tree.Count();
    const uint32_t what = random() % 8;
    if (n > 0 && what == 0) {
      // The branch of an ancestor of the last item, a few levels up.
      int32_t p = n;
      for (uint32_t up = random() % 5; up > 0 && tree.Parent(p) > 0; --up)
        p = tree.Parent(p);
      tree.DeleteAt(p);
      lines.Delete(p);
    } else {
      // Mostly at the end; now and then just before one of the last items.
      const int32_t x = what == 1 && n > 2 ? n - int32_t(random() % 3) : n + 1;
      const int32_t low = tree.MinLevelAt(x), high = tree.MaxLevelAt(x);
      const int32_t lv = what < 5 ? high : low + int32_t(random() % uint32_t(high - low + 1));
      const String t = Numbered("s", step);
      tree.InsertAt(x, lv, t, nullptr);
      lines.Insert(x, lv, t);
    }
    if (step % 50 == 0 || step > 1480) ExpectSame(tree, lines, step);
    if (HasFatalFailure()) return;
  }
}

// A chain 20,000 deep built by adding under the deepest item, then cut at its middle and
// continued with a top-level item: each item's level, parent and subtree are right, and
// the text form lists them in order.
TEST(TOutlineTreeTest, ADeepChainBuiltItemByItemHasTheRightShape) {
  constexpr int32_t kDepth = 20000;
  TCustomOutline o{nullptr};
  o.BeginUpdate();
  for (int32_t i = 0; i < kDepth; ++i)
    ASSERT_EQ(o.AddChild(i, Numbered("d", i + 1)), i + 1);
  o.EndUpdate();
  const TOutlineTree& tree = o.Tree();
  for (int32_t p = 1; p <= kDepth; ++p) {
    ASSERT_EQ(tree.Level(p), p);
    ASSERT_EQ(tree.Parent(p), p - 1);
    ASSERT_EQ(tree.End(p), kDepth + 1);
  }
  EXPECT_EQ(o.Get(kDepth / 2)->GetLastChild(), kDepth / 2 + 1);
  EXPECT_EQ(o.Get(kDepth)->HasChildren(), false);

  o.Delete(kDepth / 2 + 1);
  EXPECT_EQ(o.Add(0, "top"), kDepth / 2 + 1);
  EXPECT_EQ(o.AddChild(kDepth / 2, "child"), kDepth / 2 + 1);  // before "top"
  EXPECT_EQ(tree.End(1), kDepth / 2 + 2);
  EXPECT_EQ(tree.End(kDepth / 2), kDepth / 2 + 2);
  EXPECT_EQ(tree.Level(kDepth / 2 + 1), kDepth / 2 + 1);
  EXPECT_EQ(tree.Level(kDepth / 2 + 2), 1);
  EXPECT_EQ(tree.End(kDepth / 2 + 2), kDepth / 2 + 3);
  EXPECT_EQ(o.RootNode()->GetNextChild(1), kDepth / 2 + 2);
}

// A tree large enough to keep its records in big blocks as well as in single chunks: a
// branch deleted from the middle moves the rest across both, and shrinking to nothing
// and growing again reuses the store.
TEST(TOutlineTreeTest, ALargeTreeStaysRightAcrossItsWholeStore) {
  constexpr int32_t kTop = 3000, kPer = 100;  // 300,000 items
  TOutlineTree tree;
  auto fill = [&] {
    for (int32_t t = 0; t < kTop; ++t)
      for (int32_t c = 0; c < kPer; ++c)
        tree.InsertAt(tree.Count() + 1, c == 0 ? 1 : 2, Numbered("t", t), nullptr);
  };
  auto expectTops = [&](int32_t tops) {
    ASSERT_EQ(tree.Count(), tops * kPer);
    for (int32_t t = 0; t < tops; ++t) {
      const int32_t p = 1 + t * kPer;
      ASSERT_EQ(tree.Level(p), 1) << p;
      ASSERT_EQ(tree.End(p), p + kPer) << p;
      ASSERT_EQ(tree.Parent(p + kPer - 1), p) << p;
    }
  };
  fill();
  expectTops(kTop);
  EXPECT_EQ(tree.Text(1 + 2999 * kPer), "t2999");
  tree.DeleteAt(1 + 10 * kPer);
  expectTops(kTop - 1);
  EXPECT_EQ(tree.Text(1 + 10 * kPer), "t11");
  EXPECT_EQ(tree.Text(1 + 2998 * kPer), "t2999");
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
  fill();
  expectTops(kTop);
}

}  // namespace
}  // namespace bw
