#include "sparse/TSparsePointerArray.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"

using namespace bw;

namespace {

// Distinct fake items; the array never dereferences them.
Pointer P(intptr_t n) {
  return reinterpret_cast<Pointer>(n * 8);
}

std::vector<std::pair<int32_t, Pointer>> Visit(TSparsePointerArray& a) {
  std::vector<std::pair<int32_t, Pointer>> seen;
  a.Iterate([&](int32_t i, Pointer p) {
    seen.emplace_back(i, p);
    return 0;
  });
  return seen;
}

}  // namespace

TEST(TSparsePointerArray, NewArrayIsEmpty) {
  TSparsePointerArray a(sqSmall);
  EXPECT_EQ(a.ReadAt(0), nullptr);
  EXPECT_EQ(a.HighestIndex(), -1);
  int calls = 0;
  EXPECT_EQ(a.Iterate([&](int32_t, Pointer) { return ++calls; }), 0);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(a.DirectoryLength(), 0);
}

TEST(TSparsePointerArray, NilWriteToEmptySlotAllocatesNothing) {
  TSparsePointerArray a(sqSmall);
  a.WriteAt(5, nullptr);
  EXPECT_EQ(a.DirectoryLength(), 0);
  EXPECT_EQ(a.BlockCount(), 0);
  EXPECT_EQ(a.HighestIndex(), -1);
}

TEST(TSparsePointerArray, AddressingByQuantum) {
  TSparsePointerArray small(sqSmall);
  small.WriteAt(100, P(1));
  EXPECT_EQ(small.BlockSize(), 16);
  EXPECT_EQ(small.DirectoryLength(), 7);
  EXPECT_EQ(small.BlockCount(), 1);
  EXPECT_TRUE(small.BlockAllocated(6));
  EXPECT_FALSE(small.BlockAllocated(5));
  EXPECT_EQ(small.HighestIndex(), 100);
  EXPECT_EQ(small.ReadAt(100), P(1));
  EXPECT_EQ(small.ReadAt(99), nullptr);
  EXPECT_EQ(small.ReadAt(101), nullptr);

  TSparsePointerArray large(sqLarge);
  large.WriteAt(100, P(1));
  EXPECT_EQ(large.BlockSize(), 256);
  EXPECT_EQ(large.DirectoryLength(), 1);
  EXPECT_EQ(large.ReadAt(100), P(1));
}

TEST(TSparsePointerArray, ClearingLowersHighestAndKeepsBlock) {
  TSparsePointerArray a(sqSmall);
  a.WriteAt(100, P(1));
  a.WriteAt(3, P(2));
  a.WriteAt(100, nullptr);
  EXPECT_EQ(a.HighestIndex(), 3);
  EXPECT_TRUE(a.BlockAllocated(6));
  EXPECT_EQ(a.DirectoryLength(), 7);
  // A nil write where nothing is stored changes nothing.
  a.WriteAt(100, nullptr);
  EXPECT_EQ(a.HighestIndex(), 3);
  // Clearing an entry below the highest leaves the highest alone.
  a.WriteAt(50, P(3));
  a.WriteAt(3, nullptr);
  EXPECT_EQ(a.HighestIndex(), 50);
  a.WriteAt(50, nullptr);
  EXPECT_EQ(a.HighestIndex(), -1);
}

TEST(TSparsePointerArray, CacheFollowsWrites) {
  TSparsePointerArray a(sqSmall);
  EXPECT_EQ(a.ReadAt(7), nullptr);  // a cached miss
  a.WriteAt(7, P(1));
  EXPECT_EQ(a.ReadAt(7), P(1));
  a.WriteAt(7, P(2));
  EXPECT_EQ(a.ReadAt(7), P(2));
  a.WriteAt(7, nullptr);
  EXPECT_EQ(a.ReadAt(7), nullptr);
  // Writing through SlotAt drops the cache as well.
  EXPECT_EQ(a.ReadAt(9), nullptr);
  *a.SlotAt(9) = P(3);
  EXPECT_EQ(a.ReadAt(9), P(3));
  EXPECT_EQ(a.HighestIndex(), 9);
}

TEST(TSparsePointerArray, NegativeIndexes) {
  TSparsePointerArray a(sqSmall);
  a.WriteAt(0, P(1));
  *a.SlotAt(1) = P(2);  // leaves the cache at its "no read" mark
  EXPECT_EQ(a.ReadAt(-1), nullptr);
  EXPECT_EQ(a.ReadAt(-16), nullptr);
  EXPECT_THROW(a.WriteAt(-1, P(3)), EListError);
  EXPECT_THROW(a.SlotAt(-1), EListError);
  EXPECT_EQ(Visit(a).size(), 2u);
}

TEST(TSparsePointerArray, IterateOrderAndEarlyStop) {
  TSparsePointerArray a(sqSmall);
  a.WriteAt(20, P(20));
  a.WriteAt(3, P(3));
  a.WriteAt(17, P(17));
  std::vector<int32_t> order;
  int32_t result = a.Iterate([&](int32_t i, Pointer p) {
    EXPECT_EQ(p, P(i));
    order.push_back(i);
    return i == 17 ? 7 : 0;
  });
  EXPECT_EQ(result, 7);
  EXPECT_EQ(order, (std::vector<int32_t>{3, 17}));
  EXPECT_EQ(Visit(a),
            (std::vector<std::pair<int32_t, Pointer>>{{3, P(3)}, {17, P(17)}, {20, P(20)}}));
}

TEST(TSparsePointerArray, IterateWhileCallbackWrites) {
  TSparsePointerArray a(sqSmall);
  a.WriteAt(1, P(1));
  a.WriteAt(40, P(40));
  std::vector<int32_t> order;
  a.Iterate([&](int32_t i, Pointer) {
    order.push_back(i);
    if (i == 1) {
      a.WriteAt(2, P(2));        // later slot of the same block: visited
      a.WriteAt(40, nullptr);    // cleared before it is reached: skipped
      a.WriteAt(5000, P(5000));  // grows the directory: visited
    }
    return 0;
  });
  EXPECT_EQ(order, (std::vector<int32_t>{1, 2, 5000}));
  EXPECT_EQ(a.HighestIndex(), 5000);
}

TEST(TSparsePointerArray, LimitsOfBothQuanta) {
  struct Row {
    TSparseQuantum quantum;
    int32_t limit;
  };
  for (Row r : {Row{sqSmall, 1048559}, Row{sqLarge, 16776959}}) {
    TSparsePointerArray a(r.quantum);
    EXPECT_EQ(a.MaxIndex(), r.limit);
    a.WriteAt(r.limit, P(1));
    EXPECT_EQ(a.ReadAt(r.limit), P(1));
    EXPECT_EQ(a.HighestIndex(), r.limit);
    EXPECT_EQ(a.DirectoryLength(), 65535);
    EXPECT_EQ(a.BlockCount(), 1);
    // Above the limit: reads yield nil, writes are refused and change nothing.
    EXPECT_EQ(a.ReadAt(r.limit + 1), nullptr);
    EXPECT_EQ(a.ReadAt(INT32_MAX), nullptr);
    EXPECT_THROW(a.WriteAt(r.limit + 1, P(2)), EListError);
    EXPECT_THROW(a.WriteAt(INT32_MAX, nullptr), EListError);
    EXPECT_THROW(a.SlotAt(r.limit + 1), EListError);
    EXPECT_EQ(a.DirectoryLength(), 65535);
    EXPECT_EQ(a.HighestIndex(), r.limit);
  }
}

// The block-wise shifts must leave exactly what the same moves one entry at a time leave:
// the same items, the same highest index, the same blocks allocated.
namespace {

void NaiveShiftUp(TSparsePointerArray& a, int32_t From, int32_t To) {
  for (int32_t i = To; i > From; --i)
    a.WriteAt(i, a.ReadAt(i - 1));
}

void NaiveShiftDown(TSparsePointerArray& a, int32_t From, int32_t To) {
  for (int32_t i = From; i < To; ++i)
    a.WriteAt(i, a.ReadAt(i + 1));
  a.WriteAt(To, nullptr);
}

void ExpectSame(TSparsePointerArray& a, TSparsePointerArray& b) {
  ASSERT_EQ(Visit(a), Visit(b));
  ASSERT_EQ(a.HighestIndex(), b.HighestIndex());
  ASSERT_EQ(a.DirectoryLength(), b.DirectoryLength());
  ASSERT_EQ(a.BlockCount(), b.BlockCount());
  for (int32_t d = 0; d < a.DirectoryLength(); ++d) {
    ASSERT_EQ(a.BlockAllocated(d), b.BlockAllocated(d)) << "block " << d;
  }
}

}  // namespace

TEST(TSparsePointerArray, ShiftsMatchEntryByEntryMoves) {
  std::mt19937 rng(42);
  for (TSparseQuantum q : {sqSmall, sqLarge}) {
    const int32_t span = q == sqSmall ? 120 : 1200;
    for (int round = 0; round < 300; ++round) {
      TSparsePointerArray fast(q), slow(q);
      const int fill = static_cast<int>(rng() % 40);
      for (int k = 0; k < fill; ++k) {
        int32_t i = static_cast<int32_t>(rng() % span);
        Pointer p = rng() % 5 == 0 ? nullptr : P(k + 1);
        fast.WriteAt(i, p);
        slow.WriteAt(i, p);
      }
      int32_t from = static_cast<int32_t>(rng() % span);
      int32_t to = from + static_cast<int32_t>(rng() % span);
      if (rng() % 2) {
        fast.ShiftUp(from, to);
        NaiveShiftUp(slow, from, to);
      } else {
        fast.ShiftDown(from, to);
        NaiveShiftDown(slow, from, to);
      }
      ExpectSame(fast, slow);
      for (int32_t i = 0; i <= to + 1; ++i)
        ASSERT_EQ(fast.ReadAt(i), slow.ReadAt(i)) << i;
    }
  }
}

TEST(TSparsePointerArray, ShiftsAtTheLimit) {
  TSparsePointerArray a(sqSmall);
  const int32_t limit = a.MaxIndex();
  a.WriteAt(limit - 1, P(1));
  a.ShiftUp(limit - 1, limit);
  EXPECT_EQ(a.ReadAt(limit), P(1));
  EXPECT_EQ(a.HighestIndex(), limit);
  EXPECT_THROW(a.ShiftUp(limit - 1, limit + 1), EListError);
  // Shifting down from one past the limit reads nil there.
  a.ShiftDown(limit - 1, limit + 1);
  EXPECT_EQ(a.ReadAt(limit - 1), P(1));
  EXPECT_EQ(a.ReadAt(limit), nullptr);
  EXPECT_EQ(a.HighestIndex(), limit - 1);
}
