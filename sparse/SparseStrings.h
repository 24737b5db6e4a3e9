#pragma once
// Message texts of the sparse containers.

namespace bw {

inline constexpr const char* SSparseIndexLimit =
    "Index %s is above the highest index a sparse list can store (%s)";

}  // namespace bw
