#pragma once
// Sizes of the randomised model tests. A model test runs a fixed seed for a bounded number
// of steps; the default keeps each one to a few seconds in a Debug build, and BW_SOAK=1 in
// the environment runs the long count instead.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

namespace bw::testing {

/// True when the environment asks for the long runs (BW_SOAK set to anything but 0).
inline bool SoakRequested() {
  const char* v = std::getenv("BW_SOAK");
  return v && *v && std::strcmp(v, "0") != 0;
}

/// Normal steps by default, Soak steps under BW_SOAK=1; BW_MODEL_STEPS=N sets N for a
/// quick look at one failing run.
inline int32_t ModelSteps(int32_t Normal, int32_t Soak) {
  if (const char* n = std::getenv("BW_MODEL_STEPS")) return std::atoi(n);
  return SoakRequested() ? Soak : Normal;
}

/// A seeded generator with the few draws the model tests use.
class TModelRandom {
 public:
  explicit TModelRandom(uint32_t Seed) : FEngine(Seed) {}
  /// A number in [0, N).
  int32_t Below(int32_t N) { return static_cast<int32_t>(FEngine() % static_cast<uint32_t>(N)); }
  /// A number in [Lo, Hi].
  int32_t Between(int32_t Lo, int32_t Hi) { return Lo + Below(Hi - Lo + 1); }
  /// True once in N draws.
  bool OneIn(int32_t N) { return Below(N) == 0; }

 private:
  std::mt19937 FEngine;
};

}  // namespace bw::testing
