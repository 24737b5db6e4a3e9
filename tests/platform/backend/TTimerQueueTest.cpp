#include "platform/backend/TTimerQueue.h"

#include <gtest/gtest.h>

namespace bw {
namespace {

TEST(TTimerQueueTest, FallsDueInTimeOrderAndCatchesUpOrSkipsAsAsked) {
  TTimerQueue q;
  EXPECT_FALSE(q.NextDue());
  uint32_t slow = q.Start(50, 0), fast = q.Start(0, 0);  // 0 ms runs as 1 ms
  EXPECT_EQ(q.NextDue(), 1u);
  uint64_t due = 0;
  EXPECT_EQ(q.PopDue(1, due), fast);
  EXPECT_EQ(due, 1u);
  EXPECT_EQ(q.PopDue(1, due), 0u) << "nothing else is due yet";
  q.Stop(fast);

  // A program that stalls for three intervals: the scripted clock catches up one by one,
  // the real clock gets one event.
  EXPECT_EQ(q.PopDue(160, due), slow);
  EXPECT_EQ(due, 50u);
  EXPECT_EQ(q.PopDue(160, due), slow);
  EXPECT_EQ(due, 100u);
  EXPECT_EQ(q.PopDue(160, due, true), slow);
  EXPECT_EQ(due, 150u);
  EXPECT_EQ(q.NextDue(), 200u);
  EXPECT_EQ(q.PopDue(500, due, true), slow);
  EXPECT_EQ(q.NextDue(), 550u) << "rescheduled from now, not from the missed time";
}

}  // namespace
}  // namespace bw
