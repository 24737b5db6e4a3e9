#pragma once
// Waiting for input without using the processor while none comes.
//
// On X11 the wait watches the display connection itself, as SDL's own wait does, but
// without SDL_WaitEventTimeout: each time that wakes for input it also sends a wake-up
// event over a second connection to SDL's newest window, and when the program destroys
// that window first (a dialog closed by the very click that woke the wait) the X error
// for the lost event ends the program. Until a window tells the connection, and on other
// window systems, the wait looks for input at short intervals instead.

#include <SDL_video.h>

#include <cstdint>

namespace bw {

class TSdlEventWait {
 public:
  /// Learns the window system's connection from Window (the first one that tells it).
  void Learn(SDL_Window* Window);
  /// Returns once SDL has an event queued, a signal arrived, or TimeoutMs passed; a
  /// negative TimeoutMs waits without limit.
  void Wait(int64_t TimeoutMs) const;
  /// True when the wait blocks on the display connection rather than looking at intervals.
  bool Blocks() const { return FConnection >= 0; }

 private:
  void WaitOnConnection(int64_t TimeoutMs) const;
  void WaitByLooking(int64_t TimeoutMs) const;

  int FConnection = -1;
};

}  // namespace bw
