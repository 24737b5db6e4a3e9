#include "platform/backend/sdl/TSdlEventWait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

#include <algorithm>

#include "platform/backend/sdl/TSdlQuitSignals.h"

namespace bw {

namespace {

// Longest sleep between looks for input when the connection is not known: short enough
// not to be felt.
constexpr int64_t kLookStep = 10;

// Pumps SDL's sources (which also sends what the program drew) and says whether events
// are queued or a quit signal waits to be taken.
bool EventsQueued() {
  if (TSdlQuitSignals::Pending()) return true;
  SDL_PumpEvents();
  return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

}  // namespace

void TSdlEventWait::Learn(SDL_Window* Window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (FConnection >= 0 || !Window) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(Window, &info) && info.subsystem == SDL_SYSWM_X11)
    FConnection = ConnectionNumber(info.info.x11.display);
#else
  (void)Window;
#endif
}

void TSdlEventWait::Wait(int64_t TimeoutMs) const {
  if (Blocks())
    WaitOnConnection(TimeoutMs);
  else
    WaitByLooking(TimeoutMs);
}

void TSdlEventWait::WaitOnConnection(int64_t TimeoutMs) const {
  // The pump leaves nothing read but unhandled, so what comes next makes the connection
  // readable; a quit signal from here on makes the other readable.
  if (EventsQueued()) return;
  pollfd sources[2] = {{FConnection, POLLIN, 0}, {TSdlQuitSignals::WakeFd(), POLLIN, 0}};
  poll(sources, sources[1].fd >= 0 ? 2 : 1, int(std::min<int64_t>(TimeoutMs, INT32_MAX)));
}

void TSdlEventWait::WaitByLooking(int64_t TimeoutMs) const {
  const uint64_t start = SDL_GetTicks64();
  for (;;) {
    if (EventsQueued()) return;
    const int64_t waited = int64_t(SDL_GetTicks64() - start);
    if (TimeoutMs >= 0 && waited >= TimeoutMs) return;
    const int64_t step = TimeoutMs < 0 ? kLookStep : std::min(TimeoutMs - waited, kLookStep);
    SDL_Delay(uint32_t(step));
  }
}

}  // namespace bw
