#include "platform/backend/sdl/TSdlEventWait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <ctime>

namespace bw {

namespace {

// Longest sleep between looks for input when the connection is not known: short enough
// not to be felt.
constexpr int64_t kLookStep = 10;

// SIGINT and SIGTERM held back from a look at SDL's queue until the wait that follows
// it, which lets them in: a signal in between still ends the wait (SDL turns it into a
// quit event at its next pump) instead of arriving unseen just before an endless one.
class TQuitSignalsHeld {
 public:
  TQuitSignalsHeld() {
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &quit, &FBefore);
  }
  ~TQuitSignalsHeld() { pthread_sigmask(SIG_SETMASK, &FBefore, nullptr); }
  TQuitSignalsHeld(const TQuitSignalsHeld&) = delete;
  TQuitSignalsHeld& operator=(const TQuitSignalsHeld&) = delete;

  const sigset_t& Before() const { return FBefore; }

 private:
  sigset_t FBefore;
};

// Pumps SDL's sources (which also sends what the program drew) and says whether events
// are queued.
bool EventsQueued() {
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
  TQuitSignalsHeld held;
  // The pump leaves nothing read but unhandled, so what comes next makes the connection
  // readable.
  if (EventsQueued()) return;
  timespec limit{time_t(TimeoutMs / 1000), long(TimeoutMs % 1000) * 1000000L};
  pollfd connection{FConnection, POLLIN, 0};
  ppoll(&connection, 1, TimeoutMs < 0 ? nullptr : &limit, &held.Before());
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
