#include "platform/grids/TGridAxis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace bw {
namespace {

// A plain model of an axis: every size stored, positions summed from the start.
struct NaiveAxis {
  std::vector<int32_t> sizes;
  int32_t def, line;
  int32_t Extent(int32_t i) const { return sizes[i] < 0 ? 0 : sizes[i] + line; }
  int64_t Position(int32_t i) const {
    int64_t p = 0;
    for (int32_t k = 0; k < i; ++k)
      p += Extent(k);
    return p;
  }
  int32_t IndexAt(int64_t pos) const {
    if (pos < 0) return -1;
    int64_t p = 0;
    for (int32_t k = 0; k < static_cast<int32_t>(sizes.size()); ++k) {
      p += Extent(k);
      if (pos < p) return k;
    }
    return static_cast<int32_t>(sizes.size());
  }
};

void ExpectSame(const TGridAxis& axis, const NaiveAxis& naive, int step) {
  ASSERT_EQ(axis.Count(), static_cast<int32_t>(naive.sizes.size())) << "step " << step;
  for (int32_t i = 0; i < axis.Count(); ++i) {
    ASSERT_EQ(axis.Size(i), naive.sizes[i]) << "step " << step << " item " << i;
    ASSERT_EQ(axis.Position(i), naive.Position(i)) << "step " << step << " item " << i;
  }
  int64_t length = naive.Position(axis.Count());
  ASSERT_EQ(axis.Length(), length);
  for (int64_t pos = -2; pos <= length + 2; ++pos)
    ASSERT_EQ(axis.IndexAt(pos), naive.IndexAt(pos)) << "step " << step << " pos " << pos;
}

TEST(TGridAxis, DefaultSizesNeedNoExceptions) {
  TGridAxis axis(1'000'000, 24, 1);
  EXPECT_EQ(axis.Position(0), 0);
  EXPECT_EQ(axis.Position(10), 250);
  EXPECT_EQ(axis.Length(), 25'000'000);
  EXPECT_EQ(axis.IndexAt(249), 9);
  EXPECT_EQ(axis.IndexAt(250), 10);
  EXPECT_EQ(axis.IndexAt(24'999'999), 999'999);
  EXPECT_EQ(axis.IndexAt(25'000'000), 1'000'000);
  EXPECT_EQ(axis.IndexAt(-1), -1);
  EXPECT_FALSE(axis.HasCustomSizes());
}

TEST(TGridAxis, ExceptionsShiftLaterPositions) {
  TGridAxis axis(1'000'000, 24, 1);
  axis.SetSize(5, 100);       // 76 longer
  axis.SetSize(500'000, -1);  // hidden: 25 shorter
  EXPECT_EQ(axis.Position(5), 125);
  EXPECT_EQ(axis.Position(6), 226);
  EXPECT_EQ(axis.IndexAt(225), 5);
  EXPECT_EQ(axis.IndexAt(226), 6);
  EXPECT_EQ(axis.Position(500'001), int64_t{500'001} * 25 + 76 - 25);
  EXPECT_EQ(axis.IndexAt(axis.Position(500'000)), 500'001);  // the hidden row takes no room
  EXPECT_EQ(axis.Extent(500'000), 0);
  // Going back to the default size drops the exception.
  axis.SetSize(5, 24);
  EXPECT_EQ(axis.CustomSizeCount(), 1);
}

TEST(TGridAxis, NewDefaultForgetsExceptionsAndShrinkingForgetsDroppedItems) {
  TGridAxis axis(10, 64, 1);
  axis.SetSize(2, 10);
  axis.SetSize(8, 10);
  axis.SetCount(5);
  EXPECT_EQ(axis.CustomSizeCount(), 1);
  axis.SetCount(10);
  EXPECT_EQ(axis.Size(8), 64);
  axis.SetDefaultSize(30);
  EXPECT_EQ(axis.Size(2), 30);
  EXPECT_EQ(axis.Length(), 310);
}

TEST(TGridAxis, ZeroSizedDefaultsWithoutLinesTakeNoRoom) {
  TGridAxis axis(5, 0, 0);
  axis.SetSize(3, 10);
  EXPECT_EQ(axis.Length(), 10);
  EXPECT_EQ(axis.IndexAt(0), 3);
  EXPECT_EQ(axis.IndexAt(9), 3);
  EXPECT_EQ(axis.IndexAt(10), 5);
}

TEST(TGridAxis, AgreesWithPlainModelUnderRandomEdits) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    int32_t def = static_cast<int32_t>(rng() % 4), line = static_cast<int32_t>(rng() % 2);
    int32_t count = static_cast<int32_t>(rng() % 12);
    TGridAxis axis(count, def, line);
    NaiveAxis naive{std::vector<int32_t>(count, def), def, line};
    for (int step = 0; step < 60; ++step) {
      int32_t n = axis.Count();
      switch (rng() % 6) {
        case 0:
        case 1:
          if (n > 0) {
            int32_t i = static_cast<int32_t>(rng() % n), s = static_cast<int32_t>(rng() % 6) - 1;
            axis.SetSize(i, s);
            naive.sizes[i] = s;
          }
          break;
        case 2: {
          int32_t i = static_cast<int32_t>(rng() % (n + 1));
          axis.Insert(i);
          naive.sizes.insert(naive.sizes.begin() + i, def);
          break;
        }
        case 3:
          if (n > 0) {
            int32_t i = static_cast<int32_t>(rng() % n);
            axis.Delete(i);
            naive.sizes.erase(naive.sizes.begin() + i);
          }
          break;
        case 4:
          if (n > 0) {
            int32_t from = static_cast<int32_t>(rng() % n), to = static_cast<int32_t>(rng() % n);
            axis.Move(from, to);
            int32_t s = naive.sizes[from];
            naive.sizes.erase(naive.sizes.begin() + from);
            naive.sizes.insert(naive.sizes.begin() + to, s);
          }
          break;
        case 5: {
          int32_t c = static_cast<int32_t>(rng() % 12);
          axis.SetCount(c);
          naive.sizes.resize(c, def);
          break;
        }
      }
      ExpectSame(axis, naive, step);
    }
  }
}

TEST(TGridAxis, ThousandsOfExceptionsInAnyOrderStayConsistent) {
  // Enough exceptions to fill and split many chunks, set in a shuffled order and then
  // moved about by inserts, deletes and moves.
  std::mt19937 rng(11);
  const int32_t count = 6000;
  TGridAxis axis(count, 20, 1);
  NaiveAxis naive{std::vector<int32_t>(count, 20), 20, 1};
  std::vector<int32_t> order(count);
  for (int32_t i = 0; i < count; ++i)
    order[i] = i;
  std::shuffle(order.begin(), order.end(), rng);
  for (int32_t i : order) {
    int32_t s = static_cast<int32_t>(rng() % 40) - 1;
    axis.SetSize(i, s);
    naive.sizes[i] = s;
  }
  for (int step = 0; step < 300; ++step) {
    const int32_t n = axis.Count();
    const int32_t a = static_cast<int32_t>(rng() % n), b = static_cast<int32_t>(rng() % n);
    switch (step % 3) {
      case 0:
        axis.Insert(a);
        naive.sizes.insert(naive.sizes.begin() + a, 20);
        break;
      case 1:
        axis.Delete(a);
        naive.sizes.erase(naive.sizes.begin() + a);
        break;
      case 2: {
        axis.Move(a, b);
        int32_t s = naive.sizes[a];
        naive.sizes.erase(naive.sizes.begin() + a);
        naive.sizes.insert(naive.sizes.begin() + b, s);
        break;
      }
    }
  }
  ASSERT_EQ(axis.Count(), static_cast<int32_t>(naive.sizes.size()));
  int64_t pos = 0;
  for (int32_t i = 0; i < axis.Count(); ++i) {
    ASSERT_EQ(axis.Size(i), naive.sizes[i]) << i;
    ASSERT_EQ(axis.Position(i), pos) << i;
    if (naive.Extent(i) > 0) {
      ASSERT_EQ(axis.IndexAt(pos), i) << i;
      ASSERT_EQ(axis.IndexAt(pos + naive.Extent(i) - 1), i) << i;
    }
    pos += naive.Extent(i);
  }
  EXPECT_EQ(axis.Length(), pos);
  axis.SetCount(1000);
  EXPECT_EQ(axis.Length(), naive.Position(1000));
}

}  // namespace
}  // namespace bw
