#pragma once
// What every benchmark program shares: the clock, the number of runs and the report lines.
//
// Times are the CPU time of the calling thread (CLOCK_THREAD_CPUTIME_ID), not wall time:
// on a machine shared with builds and other programs, wall time swings with whatever
// else runs, while the thread's own CPU time mostly does not. Each figure is measured
// kRuns times and printed as two lines, "name_min: value unit" and
// "name_median: value unit".

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace bw::bench {

constexpr int kRuns = 5;

/// The calling thread's CPU time as a std::chrono clock.
struct ThreadClock {
  using duration = std::chrono::nanoseconds;
  using rep = duration::rep;
  using period = duration::period;
  using time_point = std::chrono::time_point<ThreadClock>;
  static constexpr bool is_steady = true;
  static time_point now() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return time_point(duration(int64_t(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec));
  }
};

using Clock = ThreadClock;

inline double Millis(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}
inline double Micros(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::micro>(to - from).count();
}
inline double Nanos(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::nano>(to - from).count();
}

/// True when the figure called name is to be measured: BW_BENCH_ONLY, when set, keeps
/// only the figures whose names contain it.
inline bool Wanted(const std::string& name) {
  const char* only = std::getenv("BW_BENCH_ONLY");
  return !only || name.find(only) != std::string::npos;
}

/// Prints the minimum and the median of values.
inline void Report(const std::string& name, std::vector<double> values, const char* unit) {
  if (values.empty()) return;
  std::sort(values.begin(), values.end());
  std::printf("%s_min: %.3f %s\n", name.c_str(), values.front(), unit);
  std::printf("%s_median: %.3f %s\n", name.c_str(), values[values.size() / 2], unit);
  std::fflush(stdout);
}

/// Runs f(i) for i in [0, repeat) kRuns times and gives the microseconds per call of
/// each run.
template <class F>
std::vector<double> MicrosPerCall(int repeat, F&& f) {
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    for (int i = 0; i < repeat; ++i)
      f(i);
    runs.push_back(Micros(start, Clock::now()) / repeat);
  }
  return runs;
}

/// The process's resident memory in bytes, from /proc/self/statm.
inline int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * int64_t(sysconf(_SC_PAGESIZE));
}

}  // namespace bw::bench
