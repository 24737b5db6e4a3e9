#include "platform/controls/TUpdateRegion.h"

#include <cstdint>
#include <limits>

namespace bw {

namespace {

int64_t Area(const TRect& R) {
  return int64_t{R.Width()} * R.Height();
}

}  // namespace

void TUpdateRegion::Add(const TRect& R) {
  if (R.IsEmpty()) return;
  // Whatever the new part overlaps joins it; the joined part may overlap more.
  TRect joined = R;
  for (int i = 0; i < FCount;) {
    if (joined.Intersect(FRects[i]).IsEmpty()) {
      ++i;
      continue;
    }
    joined = joined.Union(FRects[i]);
    FRects[i] = FRects[--FCount];
    i = 0;
  }
  FRects[FCount++] = joined;
  if (FCount > kMaxRects) JoinCheapestPair();
}

void TUpdateRegion::JoinCheapestPair() {
  int best0 = 0, best1 = 1;
  int64_t bestGrowth = std::numeric_limits<int64_t>::max();
  for (int i = 0; i < FCount; ++i)
    for (int j = i + 1; j < FCount; ++j) {
      const int64_t growth = Area(FRects[i].Union(FRects[j])) - Area(FRects[i]) - Area(FRects[j]);
      if (growth < bestGrowth) {
        bestGrowth = growth;
        best0 = i;
        best1 = j;
      }
    }
  const TRect joined = FRects[best0].Union(FRects[best1]);
  // best1 > best0: take out the later one first so the earlier index stays valid.
  FRects[best1] = FRects[--FCount];
  FRects[best0] = FRects[--FCount];
  Add(joined);
}

TRect TUpdateRegion::Bounds() const {
  TRect all;
  for (const TRect& r : *this)
    all = all.Union(r);
  return all;
}

}  // namespace bw
