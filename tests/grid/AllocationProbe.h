#pragma once
// Measures memory requests: the largest single allocation made through operator new while
// a piece of code runs. The test program that holds this replaces operator new for that.

#include <cstddef>
#include <functional>

namespace bw::testing {

/// The size of the largest block f asks operator new for.
size_t LargestAllocation(const std::function<void()>& f);

}  // namespace bw::testing
