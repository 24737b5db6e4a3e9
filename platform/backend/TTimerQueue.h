#pragma once
// Repeating timers over a clock that the owner reads: a back end asks which timer falls
// due next and queues its event. Both back ends use it, the headless one on its scripted
// clock and the SDL one on the real clock.

#include <cstdint>
#include <map>
#include <optional>

namespace bw {

class TTimerQueue {
 public:
  /// Starts a repeating timer first due IntervalMs after Now (at least 1 ms); never 0.
  uint32_t Start(uint32_t IntervalMs, uint64_t Now);
  void Stop(uint32_t Id);
  bool Empty() const { return FTimers.empty(); }

  /// The earliest time a timer falls due, if there is a timer.
  std::optional<uint64_t> NextDue() const;
  /// The id of the timer that falls due first at or before Now (0 when none), with the
  /// time it fell due; the timer is rescheduled one interval on. With SkipMissed, a timer
  /// that fell behind is rescheduled from Now, so a stalled program gets one event for
  /// the intervals it missed, not a burst.
  uint32_t PopDue(uint64_t Now, uint64_t& DueAt, bool SkipMissed = false);

 private:
  struct TTimer {
    uint32_t Interval = 0;
    uint64_t Due = 0;
  };
  std::map<uint32_t, TTimer> FTimers;
  uint32_t FNextId = 1;
};

}  // namespace bw
