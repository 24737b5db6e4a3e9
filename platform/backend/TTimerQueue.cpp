#include "platform/backend/TTimerQueue.h"

#include <algorithm>

namespace bw {

uint32_t TTimerQueue::Start(uint32_t IntervalMs, uint64_t Now) {
  uint32_t id = FNextId++;
  if (FNextId == 0) FNextId = 1;
  uint32_t interval = std::max<uint32_t>(IntervalMs, 1);
  FTimers[id] = TTimer{interval, Now + interval};
  return id;
}

void TTimerQueue::Stop(uint32_t Id) {
  FTimers.erase(Id);
}

std::optional<uint64_t> TTimerQueue::NextDue() const {
  std::optional<uint64_t> next;
  for (const auto& [id, t] : FTimers)
    if (!next || t.Due < *next) next = t.Due;
  return next;
}

uint32_t TTimerQueue::PopDue(uint64_t Now, uint64_t& DueAt, bool SkipMissed) {
  auto next = FTimers.end();
  for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
    if (it->second.Due <= Now && (next == FTimers.end() || it->second.Due < next->second.Due))
      next = it;
  if (next == FTimers.end()) return 0;
  TTimer& t = next->second;
  DueAt = t.Due;
  t.Due += t.Interval;
  if (SkipMissed && t.Due <= Now) t.Due = Now + t.Interval;
  return next->first;
}

}  // namespace bw
