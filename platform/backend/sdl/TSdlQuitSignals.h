#pragma once
// SIGINT and SIGTERM for a window program. The first asks the program to end: the back
// end turns it into a Quit event, which the message loop honours. The handler is then the
// default again, so a second signal ends a program whose loop no longer runs (busy, or
// wedged in its teardown). SDL's own handlers stay off: they turn every signal into a quit
// event, so a program that no longer reads its events could never be ended by one.
//
// A signal also makes WakeFd readable, so a wait on it ends whichever thread took the
// signal and however close to the start of the wait it came.

namespace bw {

class TSdlQuitSignals {
 public:
  /// Installs the handlers for the signals the program leaves at their default.
  TSdlQuitSignals();
  ~TSdlQuitSignals() { Uninstall(); }
  TSdlQuitSignals(const TSdlQuitSignals&) = delete;
  TSdlQuitSignals& operator=(const TSdlQuitSignals&) = delete;

  /// Puts the default back where these handlers are still installed: from here on the
  /// signals end the process.
  void Uninstall();
  /// True once for each signal that arrived since the last call.
  bool Take();
  /// True when a signal arrived that Take has not reported yet.
  static bool Pending();
  /// Readable while a signal is pending; -1 when no pipe could be made.
  static int WakeFd();

 private:
  bool FInstalled[2] = {false, false};
};

}  // namespace bw
