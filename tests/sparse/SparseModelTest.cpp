// TSparseList and TStringSparseList against plain references (ordered maps of the present
// entries and a count) over long runs of random operations, near index 0 and near the
// highest index a list can store. An operation the reference refuses must raise and leave
// the list as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <string>

#include "platform/core/Exception.h"
#include "sparse/TSparseList.h"
#include "sparse/TStringSparseList.h"
#include "tests/support/ModelRun.h"

using namespace bw;
using bw::testing::ModelSteps;
using bw::testing::TModelRandom;

namespace {

// Present entries by index, plus the count; shared by both references.
template <typename Entry>
struct TRefEntries {
  std::map<int32_t, Entry> at;
  int32_t count = 0;
  int32_t limit = 0;

  const Entry* Find(int32_t i) const {
    auto it = at.find(i);
    return it == at.end() ? nullptr : &it->second;
  }
  int32_t Highest() const { return at.empty() ? -1 : at.rbegin()->first; }
  void RecountFromHighest() { count = Highest() + 1; }
  // Every entry at or above From moves by Delta (+1 or -1).
  void ShiftFrom(int32_t From, int32_t Delta) {
    std::map<int32_t, Entry> moved;
    for (auto& [i, e] : at)
      moved.emplace(i >= From ? i + Delta : i, std::move(e));
    at = std::move(moved);
  }
  bool InsertRefused(int32_t i) const { return i < 0 || std::max(count, i) > limit; }
  // Inserts E at i, or an absent entry without E.
  void InsertAt(int32_t i, std::optional<Entry> e) {
    ShiftFrom(i, +1);
    if (e) at[i] = std::move(*e);
    count = std::max(count, i) + 1;
  }
  void Clear() {
    at.clear();
    count = 0;
  }
  // Move takes the entry out (when below count), then inserts it into the shorter list.
  bool MoveRefused(int32_t a, int32_t b) const {
    const int32_t countAfter = a >= 0 && a < count ? count - 1 : count;
    return a < 0 || b < 0 || std::max(countAfter, b) > limit;
  }
  void MoveEntry(int32_t a, int32_t b) {
    auto taken = at.extract(a);
    if (a < count) {
      ShiftFrom(a + 1, -1);
      --count;
    }
    ShiftFrom(b, +1);
    if (taken) {
      taken.key() = b;
      at.insert(std::move(taken));
    }
    count = std::max(count, b) + 1;
  }
  void DeleteAt(int32_t i) {
    at.erase(i);
    ShiftFrom(i + 1, -1);
    --count;
  }
  void Swap(int32_t a, int32_t b) {
    auto ea = at.extract(a), eb = at.extract(b);
    if (ea) {
      ea.key() = b;
      at.insert(std::move(ea));
    }
    if (eb) {
      eb.key() = a;
      at.insert(std::move(eb));
    }
    RecountFromHighest();
  }
};

// Where the next operation's indexes are drawn: near 0, or just below the limit where
// writes and inserts start to be refused.
struct TIndexDraw {
  TModelRandom& rnd;
  int32_t base = 0;
  int32_t limit = 0;
  static constexpr int32_t Window = 130;

  int32_t Next() {
    if (!rnd.OneIn(80)) return base + rnd.Below(Window);
    // Far below the window, an insert or delete shifts every entry up to the limit.
    const int32_t specials[] = {-1, -7, INT32_MIN, INT32_MAX, limit + 1, 0, 3};
    return specials[rnd.Below(7)];
  }
  void NewEpoch() { base = rnd.OneIn(2) ? 0 : limit - Window + 10; }
};

// Starts the next stretch of a run: both lists emptied, indexes drawn from a new place.
template <class List, class Entry>
void NewEpoch(List& l, TRefEntries<Entry>& m, TIndexDraw& draw) {
  draw.NewEpoch();
  l.Clear();
  m.Clear();
}

// Insert, Exchange and Move on a list and its reference alike; true when the reference
// refuses the call, which the list must then raise for. Insert puts Value into the list
// and Entry (none: an absent one) into the reference.
template <class List, class Value, class Entry>
bool InsertBoth(List& l, TRefEntries<Entry>& m, int32_t a, const Value& v, std::optional<Entry> e,
                int32_t step) {
  if (m.InsertRefused(a)) {
    EXPECT_THROW(l.Insert(a, v), EListError) << "step " << step;
    return true;
  }
  l.Insert(a, v);
  m.InsertAt(a, std::move(e));
  return false;
}

template <class List, class Entry>
bool ExchangeBoth(List& l, TRefEntries<Entry>& m, int32_t a, int32_t b, int32_t step) {
  if (a < 0 || b < 0 || std::max(a, b) > m.limit) {
    EXPECT_THROW(l.Exchange(a, b), EListError) << "step " << step;
    return true;
  }
  l.Exchange(a, b);
  m.Swap(a, b);
  return false;
}

template <class List, class Entry>
bool MoveBoth(List& l, TRefEntries<Entry>& m, int32_t a, int32_t b, int32_t step) {
  if (a == b) {
    l.Move(a, b);
    return false;
  }
  if (m.MoveRefused(a, b)) {
    EXPECT_THROW(l.Move(a, b), EListError) << "step " << step;
    return true;
  }
  l.Move(a, b);
  m.MoveEntry(a, b);
  return false;
}

Pointer P(int32_t n) {
  return reinterpret_cast<Pointer>(static_cast<intptr_t>(n) * 8 + 8);
}

void ExpectSameWindow(TSparseList& l, const TRefEntries<Pointer>& m, int32_t base, int32_t step) {
  for (int32_t i = base; i < base + TIndexDraw::Window + 10; ++i) {
    const Pointer* e = m.Find(i);
    ASSERT_EQ(l.GetItem(i), e ? *e : nullptr) << "index " << i << ", step " << step;
  }
}

// The window the indexes are drawn from, and now and then every stored entry (a walk over
// the whole directory, which near the limit is long).
void ExpectSameEntries(TSparseList& l, const TRefEntries<Pointer>& m, int32_t base, int32_t step) {
  ExpectSameWindow(l, m, base, step);
  int32_t visited = 0;
  l.Iterate([&](int32_t i, Pointer item) {
    const Pointer* e = m.Find(i);
    EXPECT_TRUE(e && *e == item) << "index " << i << ", step " << step;
    ++visited;
    return 0;
  });
  ASSERT_EQ(visited, static_cast<int32_t>(m.at.size())) << "step " << step;
}

void RunSparseListModel(TSparseQuantum q, uint32_t seed, int32_t steps) {
  TModelRandom rnd(seed);
  TSparseList l(q);
  TRefEntries<Pointer> m;
  m.limit = l.MaxIndex();
  TIndexDraw draw{rnd, 0, m.limit};
  for (int32_t step = 0; step < steps; ++step) {
    if (step % 5000 == 0) NewEpoch(l, m, draw);
    const int32_t a = draw.Next(), b = draw.Next();
    const Pointer p = rnd.OneIn(5) ? nullptr : P(step);
    const int32_t op = rnd.Below(6);
    bool refused = false;
    switch (op) {
      case 0:  // PutItem
        refused = a < 0 || a > m.limit;
        if (refused) {
          EXPECT_THROW(l.PutItem(a, p), EListError) << "step " << step;
        } else {
          l.PutItem(a, p);
          if (p)
            m.at[a] = p;
          else
            m.at.erase(a);
          m.RecountFromHighest();
        }
        break;
      case 1:  // Insert
        refused = InsertBoth(l, m, a, p, p ? std::optional<Pointer>(p) : std::nullopt, step);
        break;
      case 2:  // Delete: out of range is ignored
        l.Delete(a);
        if (a >= 0 && a < m.count) m.DeleteAt(a);
        break;
      case 3:  // Exchange
        refused = ExchangeBoth(l, m, a, b, step);
        break;
      case 4:  // Move
        refused = MoveBoth(l, m, a, b, step);
        break;
      case 5:  // GetItem
        if (a < 0) {
          EXPECT_THROW(l.GetItem(a), EListError);
        } else {
          const Pointer* e = m.Find(a);
          ASSERT_EQ(l.GetItem(a), e ? *e : nullptr) << "step " << step;
        }
        break;
    }
    ASSERT_EQ(l.Count(), m.count) << "op " << op << " (" << a << ", " << b << "), step " << step;
    for (int32_t i : {a, b}) {
      if (i < 0) continue;
      const Pointer* e = m.Find(i);
      ASSERT_EQ(l.GetItem(i), e ? *e : nullptr)
          << "op " << op << " index " << i << ", step " << step;
    }
    if (refused || step % 64 == 0) ExpectSameWindow(l, m, draw.base, step);
    if (step % 4096 == 0) ExpectSameEntries(l, m, draw.base, step);
  }
  ExpectSameEntries(l, m, draw.base, steps);
}

// TStringSparseList: a present entry is a record (text and object); an absent one reads
// as "" and nil.
struct TRec {
  std::string s;
  TObject* o = nullptr;
};

void ExpectSameStrings(TStringSparseList& l, const TRefEntries<TRec>& m, int32_t base,
                       int32_t step) {
  ASSERT_EQ(l.GetCount(), m.count) << "step " << step;
  for (int32_t i = base; i < base + TIndexDraw::Window + 10; ++i) {
    const TRec* e = m.Find(i);
    ASSERT_EQ(l.Get(i), e ? e->s : "") << "index " << i << ", step " << step;
    ASSERT_EQ(l.GetObject(i), e ? e->o : nullptr) << "index " << i << ", step " << step;
  }
}

void RunStringSparseListModel(TSparseQuantum q, uint32_t seed, int32_t steps) {
  TModelRandom rnd(seed);
  TStringSparseList l(q);
  TRefEntries<TRec> m;
  m.limit = TSparseList(q).MaxIndex();
  TIndexDraw draw{rnd, 0, m.limit};
  TObject objects[3];
  for (int32_t step = 0; step < steps; ++step) {
    if (step % 5000 == 0) NewEpoch(l, m, draw);
    const int32_t a = draw.Next(), b = draw.Next();
    const std::string s = rnd.OneIn(4) ? std::string() : "s" + std::to_string(step);
    TObject* o = rnd.OneIn(2) ? nullptr : &objects[rnd.Below(3)];
    const int32_t op = rnd.Below(6);
    bool refused = false;
    switch (op) {
      case 0: {  // Put: keeps the object; empty text without an object leaves no entry
        refused = a < 0 || a > m.limit;
        if (refused) {
          EXPECT_THROW(l.Put(a, s), EListError) << "step " << step;
          break;
        }
        l.Put(a, s);
        const TRec* e = m.Find(a);
        TObject* kept = e ? e->o : nullptr;
        if (s.empty() && !kept)
          m.at.erase(a);
        else
          m.at[a] = TRec{s, kept};
        m.RecountFromHighest();
        break;
      }
      case 1: {  // PutObject
        TRec* e = m.at.count(a) ? &m.at[a] : nullptr;
        refused = a < 0 || (!e && o && a > m.limit);
        if (refused) {
          EXPECT_THROW(l.PutObject(a, o), EListError) << "step " << step;
          break;
        }
        l.PutObject(a, o);
        if (e) {
          e->o = o;
        } else if (o) {
          m.at[a] = TRec{"", o};
          m.RecountFromHighest();
        }
        break;
      }
      case 2:  // Insert
        refused = InsertBoth(l, m, a, s, std::optional<TRec>(TRec{s, nullptr}), step);
        break;
      case 3:  // Delete
        refused = a < 0;
        if (refused) {
          EXPECT_THROW(l.Delete(a), EListError) << "step " << step;
        } else {
          l.Delete(a);
          if (a < m.count) m.DeleteAt(a);
        }
        break;
      case 4:  // Exchange
        refused = ExchangeBoth(l, m, a, b, step);
        break;
      case 5:  // Move: the entry itself, present or absent, goes to its new index
        refused = MoveBoth(l, m, a, b, step);
        break;
    }
    ASSERT_EQ(l.GetCount(), m.count) << "op " << op << " (" << a << ", " << b << "), step " << step;
    for (int32_t i : {a, b}) {
      if (i < 0) continue;
      const TRec* e = m.Find(i);
      ASSERT_EQ(l.Get(i), e ? e->s : "") << "op " << op << " index " << i << ", step " << step;
      ASSERT_EQ(l.GetObject(i), e ? e->o : nullptr) << "op " << op << " index " << i;
    }
    if (refused || step % 64 == 0) ExpectSameStrings(l, m, draw.base, step);
  }
  ExpectSameStrings(l, m, draw.base, steps);
}

}  // namespace

TEST(SparseModel, SparseListMatchesReferenceSmallQuantum) {
  RunSparseListModel(sqSmall, 11, ModelSteps(50000, 1000000));
}

TEST(SparseModel, SparseListMatchesReferenceLargeQuantum) {
  RunSparseListModel(sqLarge, 12, ModelSteps(50000, 1000000));
}

TEST(SparseModel, StringSparseListMatchesReferenceSmallQuantum) {
  RunStringSparseListModel(sqSmall, 21, ModelSteps(50000, 1000000));
}

TEST(SparseModel, StringSparseListMatchesReferenceLargeQuantum) {
  RunStringSparseListModel(sqLarge, 22, ModelSteps(50000, 1000000));
}
