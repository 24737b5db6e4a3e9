#include "sparse/TSparseList.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"

using namespace bw;

namespace {

Pointer P(intptr_t n) {
  return reinterpret_cast<Pointer>(n * 8);
}

// The list's entries from 0 to Count - 1.
std::vector<Pointer> Entries(TSparseList& l) {
  std::vector<Pointer> out;
  for (int32_t i = 0; i < l.Count(); ++i)
    out.push_back(l.GetItem(i));
  return out;
}

void Fill(TSparseList& l, std::initializer_list<Pointer> items) {
  int32_t i = 0;
  for (Pointer p : items)
    l.PutItem(i++, p);
}

using V = std::vector<Pointer>;

}  // namespace

TEST(TSparseList, NewList) {
  TSparseList l(sqSmall);
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.GetItem(0), nullptr);
  EXPECT_EQ(l.GetItem(1000000), nullptr);
  try {
    l.GetItem(-1);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), SListIndexError);
  }
}

TEST(TSparseList, PutItemSetsCountToHighestPlusOne) {
  TSparseList l(sqSmall);
  l.PutItem(4, P(1));
  EXPECT_EQ(l.Count(), 5);
  EXPECT_EQ(Entries(l), (V{nullptr, nullptr, nullptr, nullptr, P(1)}));
  l.PutItem(1, P(2));
  EXPECT_EQ(l.Count(), 5);
  l.PutItem(4, nullptr);
  EXPECT_EQ(l.Count(), 2);
  l.PutItem(1, nullptr);
  EXPECT_EQ(l.Count(), 0);
  // A nil write far above Count changes nothing.
  l.PutItem(500, nullptr);
  EXPECT_EQ(l.Count(), 0);
}

TEST(TSparseList, InsertCountsEvenNil) {
  TSparseList l(sqSmall);
  l.Insert(2, P(1));
  EXPECT_EQ(l.Count(), 3);
  EXPECT_EQ(Entries(l), (V{nullptr, nullptr, P(1)}));

  TSparseList m(sqSmall);
  Fill(m, {P(1), P(2)});
  m.Insert(5, nullptr);
  EXPECT_EQ(m.Count(), 6);
  m.Insert(0, nullptr);
  EXPECT_EQ(m.Count(), 7);
  EXPECT_EQ(m.GetItem(1), P(1));
  EXPECT_EQ(m.GetItem(2), P(2));
  // Exchange writes, and every write drops the nil entries counted at the top.
  m.Exchange(1, 2);
  EXPECT_EQ(Entries(m), (V{nullptr, P(2), P(1)}));
}

TEST(TSparseList, InsertShiftsEntriesUp) {
  TSparseList l(sqSmall);
  for (int32_t i = 0; i < 40; ++i)
    l.PutItem(i, P(i + 1));
  l.Insert(0, P(100));
  l.Insert(17, nullptr);
  ASSERT_EQ(l.Count(), 42);
  EXPECT_EQ(l.GetItem(0), P(100));
  EXPECT_EQ(l.GetItem(1), P(1));
  EXPECT_EQ(l.GetItem(16), P(16));
  EXPECT_EQ(l.GetItem(17), nullptr);
  EXPECT_EQ(l.GetItem(18), P(17));
  EXPECT_EQ(l.GetItem(41), P(40));
  EXPECT_THROW(l.Insert(-1, P(1)), EListError);
  EXPECT_EQ(l.Count(), 42);
}

TEST(TSparseList, DeleteShiftsDownAndIgnoresBadIndexes) {
  TSparseList l(sqSmall);
  Fill(l, {P(1), P(2), P(3)});
  l.Delete(0);
  EXPECT_EQ(Entries(l), (V{P(2), P(3)}));
  l.Delete(5);
  l.Delete(2);
  l.Delete(-1);
  EXPECT_EQ(Entries(l), (V{P(2), P(3)}));
  l.Delete(1);
  l.Delete(0);
  EXPECT_EQ(l.Count(), 0);

  // Deleting a counted nil at the top lowers Count by one.
  TSparseList m(sqSmall);
  m.PutItem(0, P(1));
  m.Insert(3, nullptr);
  ASSERT_EQ(m.Count(), 4);
  m.Delete(3);
  EXPECT_EQ(m.Count(), 3);
}

TEST(TSparseList, ExchangeReadsBothBeforeWriting) {
  TSparseList l(sqSmall);
  Fill(l, {P(1), P(2)});
  EXPECT_THROW(l.Exchange(0, -1), EListError);
  EXPECT_THROW(l.Exchange(-1, 0), EListError);
  EXPECT_EQ(Entries(l), (V{P(1), P(2)}));
  l.Exchange(0, 9);
  EXPECT_EQ(l.Count(), 10);
  EXPECT_EQ(l.GetItem(9), P(1));
  EXPECT_EQ(l.GetItem(0), nullptr);
  l.Exchange(9, 0);
  EXPECT_EQ(Entries(l), (V{P(1), P(2)}));
}

TEST(TSparseList, Move) {
  struct Row {
    const char* name;
    int32_t cur, to;
    V expected;
  };
  const Row rows[] = {
      {"forward", 0, 2, {P(2), P(3), P(1)}},
      {"backward", 2, 0, {P(3), P(1), P(2)}},
      {"same", 1, 1, {P(1), P(2), P(3)}},
      {"from above Count", 5, 1, {P(1), nullptr, P(2), P(3)}},
      {"to above Count", 0, 5, {P(2), P(3), nullptr, nullptr, nullptr, P(1)}},
  };
  for (const Row& r : rows) {
    TSparseList l(sqSmall);
    Fill(l, {P(1), P(2), P(3)});
    l.Move(r.cur, r.to);
    EXPECT_EQ(Entries(l), r.expected) << r.name;
  }
}

TEST(TSparseList, MoveRefusesBadTargetBeforeTakingTheEntryOut) {
  TSparseList l(sqSmall);
  Fill(l, {P(1), P(2), P(3)});
  EXPECT_THROW(l.Move(-1, 0), EListError);
  EXPECT_THROW(l.Move(0, -1), EListError);
  EXPECT_THROW(l.Move(0, l.MaxIndex() + 1), EListError);
  EXPECT_EQ(Entries(l), (V{P(1), P(2), P(3)}));
}

TEST(TSparseList, ClearKeepsQuantum) {
  for (TSparseQuantum q : {sqSmall, sqLarge}) {
    TSparseList l(q);
    Fill(l, {P(1), P(2)});
    l.Insert(300, P(3));
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.Quantum(), q);
    EXPECT_EQ(l.GetItem(0), nullptr);
    EXPECT_EQ(l.GetItem(300), nullptr);
    EXPECT_EQ(l.Iterate([](int32_t, Pointer) { return 1; }), 0);
  }
}

TEST(TSparseList, IterateForwardsToTheArray) {
  TSparseList l(sqSmall);
  l.PutItem(20, P(20));
  l.PutItem(3, P(3));
  l.PutItem(17, P(17));
  std::vector<int32_t> order;
  EXPECT_EQ(l.Iterate([&](int32_t i, Pointer) {
    order.push_back(i);
    return i == 17 ? 7 : 0;
  }),
            7);
  EXPECT_EQ(order, (std::vector<int32_t>{3, 17}));
}

TEST(TSparseList, ClearInsideIterateStopsVisitingOldEntries) {
  TSparseList l(sqSmall);
  Fill(l, {P(1), P(2), P(3)});
  std::vector<int32_t> order;
  EXPECT_EQ(l.Iterate([&](int32_t i, Pointer) {
    order.push_back(i);
    if (i == 0) {
      l.Clear();
      l.PutItem(1, P(9));  // goes to the fresh array, not visited by this iteration
    }
    return 0;
  }),
            0);
  EXPECT_EQ(order, (std::vector<int32_t>{0}));
  EXPECT_EQ(Entries(l), (V{nullptr, P(9)}));
}

TEST(TSparseList, LimitOfBothQuanta) {
  for (auto [q, limit] : {std::pair{sqSmall, 1048559}, std::pair{sqLarge, 16776959}}) {
    TSparseList l(q);
    l.PutItem(limit, P(1));
    EXPECT_EQ(l.Count(), limit + 1);
    EXPECT_EQ(l.GetItem(limit), P(1));
    EXPECT_THROW(l.PutItem(limit + 1, P(2)), EListError);
    // Inserting below would push the top entry past the limit.
    EXPECT_THROW(l.Insert(0, P(2)), EListError);
    EXPECT_THROW(l.Exchange(0, limit + 1), EListError);
    EXPECT_EQ(l.GetItem(0), nullptr);
    EXPECT_EQ(l.Count(), limit + 1);
    // Deleting the top entry is fine and makes room again.
    l.Delete(limit);
    EXPECT_EQ(l.Count(), limit);
    l.Insert(0, P(3));
    EXPECT_EQ(l.Count(), limit + 1);
    EXPECT_EQ(l.GetItem(0), P(3));
    EXPECT_THROW(l.Insert(INT32_MAX, nullptr), EListError);
  }
}

// A reference list that moves one entry at a time, as the list's rules describe, checked
// against the real one over random operations.
namespace {

struct ModelList {
  std::vector<Pointer> items;  // index -> item, grown as needed
  int32_t count = 0;
  Pointer Get(int32_t i) const {
    return i < static_cast<int32_t>(items.size()) ? items[i] : nullptr;
  }
  void Set(int32_t i, Pointer p) {
    if (i >= static_cast<int32_t>(items.size())) items.resize(i + 1);
    items[i] = p;
  }
  int32_t Highest() const {
    for (int32_t i = static_cast<int32_t>(items.size()) - 1; i >= 0; --i)
      if (items[i]) return i;
    return -1;
  }
  void Put(int32_t i, Pointer p) {
    Set(i, p);
    count = Highest() + 1;
  }
  void Insert(int32_t index, Pointer p) {
    for (int32_t i = count; i > index; --i)
      Set(i, Get(i - 1));
    Set(index, p);
    if (index > count) count = index;
    ++count;
  }
  void Delete(int32_t index) {
    if (index < 0 || index >= count) return;
    for (int32_t i = index; i < count; ++i)
      Set(i, Get(i + 1));
    Set(count, nullptr);
    --count;
  }
  void Move(int32_t cur, int32_t to) {
    if (cur == to) return;
    Pointer p = Get(cur);
    Delete(cur);
    Insert(to, p);
  }
};

}  // namespace

TEST(TSparseList, RandomOperationsMatchReference) {
  std::mt19937 rng(7);
  TSparseList l(sqSmall);
  ModelList m;
  for (int step = 0; step < 4000; ++step) {
    const int32_t a = static_cast<int32_t>(rng() % 90);
    const int32_t b = static_cast<int32_t>(rng() % 90);
    Pointer p = rng() % 4 == 0 ? nullptr : P(step + 1);
    switch (rng() % 5) {
      case 0:
        l.PutItem(a, p);
        m.Put(a, p);
        break;
      case 1:
        l.Insert(a, p);
        m.Insert(a, p);
        break;
      case 2:
        l.Delete(a);
        m.Delete(a);
        break;
      case 3:
        l.Exchange(a, b);
        {
          Pointer x = m.Get(a), y = m.Get(b);
          m.Put(a, y);
          m.Put(b, x);
        }
        break;
      case 4:
        l.Move(a, b);
        m.Move(a, b);
        break;
    }
    ASSERT_EQ(l.Count(), m.count) << "step " << step;
    for (int32_t i = 0; i < 200; ++i)
      ASSERT_EQ(l.GetItem(i), m.Get(i)) << "step " << step;
    if (rng() % 500 == 0) {
      l.Clear();
      m = ModelList{};
    }
  }
}

TEST(TSparseList, RaiseIndexErrorIsTheDescendantsToChoose) {
  struct ECustom : std::exception {};
  class TCustom : public TSparseList {
   public:
    using TSparseList::TSparseList;
    bool quiet = false;
    void RaiseIndexError() override {
      if (!quiet) throw ECustom();
    }
  };
  TCustom l(sqSmall);
  l.PutItem(0, P(1));
  EXPECT_THROW(l.GetItem(-1), ECustom);
  EXPECT_THROW(l.Insert(-2, P(2)), ECustom);
  // An override that returns does not let the negative index through.
  l.quiet = true;
  EXPECT_THROW(l.PutItem(-1, P(2)), EListError);
  EXPECT_EQ(Entries(l), (V{P(1)}));
}
