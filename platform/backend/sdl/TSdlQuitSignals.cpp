#include "platform/backend/sdl/TSdlQuitSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace bw {

namespace {

constexpr int kSignals[2] = {SIGINT, SIGTERM};

std::atomic<int> gPending{0};
// The pipe that wakes a wait; made once and kept for the life of the process, since a
// handler may still run while a back end is being destroyed.
int gWake[2] = {-1, -1};

void OnQuitSignal(int) {
  const int saved = errno;
  gPending.store(1);
  if (gWake[1] >= 0) {
    // Should the pipe be full, it wakes the wait already.
    [[maybe_unused]] const ssize_t written = write(gWake[1], "q", 1);
  }
  errno = saved;
}

void MakeWakePipe() {
  if (gWake[0] >= 0 || pipe2(gWake, O_CLOEXEC | O_NONBLOCK) == 0) return;
  gWake[0] = gWake[1] = -1;
}

void DrainWakePipe() {
  char buffer[16];
  if (gWake[0] >= 0)
    while (read(gWake[0], buffer, sizeof buffer) > 0) {
    }
}

bool IsOurs(const struct sigaction& Action) {
  return !(Action.sa_flags & SA_SIGINFO) && Action.sa_handler == OnQuitSignal;
}

}  // namespace

TSdlQuitSignals::TSdlQuitSignals() {
  MakeWakePipe();
  for (int i = 0; i < 2; ++i) {
    struct sigaction old {};
    if (sigaction(kSignals[i], nullptr, &old) != 0) continue;
    // A program that handles or ignores the signal itself keeps its choice.
    if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // One-shot: the second signal finds the default and ends the process. The program's
    // own reads and writes restart; waits for input (poll) end regardless.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    FInstalled[i] = sigaction(kSignals[i], &action, nullptr) == 0;
  }
}

void TSdlQuitSignals::Uninstall() {
  for (int i = 0; i < 2; ++i) {
    struct sigaction now {};
    if (FInstalled[i] && sigaction(kSignals[i], nullptr, &now) == 0 && IsOurs(now))
      signal(kSignals[i], SIG_DFL);
    FInstalled[i] = false;
  }
}

bool TSdlQuitSignals::Take() {
  if (!gPending.exchange(0)) return false;
  DrainWakePipe();
  return true;
}

bool TSdlQuitSignals::Pending() {
  return gPending.load() != 0;
}

int TSdlQuitSignals::WakeFd() {
  return gWake[0];
}

}  // namespace bw
