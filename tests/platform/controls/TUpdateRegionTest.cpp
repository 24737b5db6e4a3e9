#include "platform/controls/TUpdateRegion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace bw::test {
namespace {

std::vector<TRect> Parts(const TUpdateRegion& Region) {
  return std::vector<TRect>(Region.begin(), Region.end());
}

TEST(UpdateRegionTest, PartsApartStayApartAndOverlappingOnesJoin) {
  TUpdateRegion region;
  region.Add(TRect{});
  EXPECT_TRUE(region.IsEmpty());
  region.Add(Rect(0, 300, 400, 320));  // a row at the bottom
  region.Add(Rect(380, 10, 396, 30));  // a thumb at the side
  EXPECT_EQ(Parts(region).size(), 2u);
  EXPECT_EQ(region.Bounds(), Rect(0, 10, 400, 320));
  // Overlapping both: all three become one, and what lies inside adds nothing.
  region.Add(Rect(370, 20, 390, 310));
  EXPECT_EQ(Parts(region), (std::vector<TRect>{Rect(0, 10, 400, 320)}));
  region.Add(Rect(10, 10, 20, 20));
  EXPECT_EQ(Parts(region).size(), 1u);
}

TEST(UpdateRegionTest, PastTheLimitTheCheapestPairJoins) {
  TUpdateRegion region;
  for (int i = 0; i < TUpdateRegion::kMaxRects; ++i)
    region.Add(Bounds(i * 100, 0, 10, 10));
  region.Add(Bounds(0, 12, 10, 10));  // just below the first: the cheapest to join
  std::vector<TRect> parts = Parts(region);
  ASSERT_EQ(int(parts.size()), TUpdateRegion::kMaxRects);
  EXPECT_NE(std::find(parts.begin(), parts.end(), Rect(0, 0, 10, 22)), parts.end());
  for (size_t i = 0; i < parts.size(); ++i)
    for (size_t j = i + 1; j < parts.size(); ++j)
      EXPECT_TRUE(parts[i].Intersect(parts[j]).IsEmpty());
  region.Set(Rect(0, 0, 5, 5));
  EXPECT_EQ(Parts(region), (std::vector<TRect>{Rect(0, 0, 5, 5)}));
}

}  // namespace
}  // namespace bw::test
