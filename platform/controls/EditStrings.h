#pragma once
// Message texts of the edit controls.

namespace bw {

inline constexpr const char* SMaskEditErr =
    "Invalid input value. Fill in every required place, or press Esc to abandon the changes";

}  // namespace bw
