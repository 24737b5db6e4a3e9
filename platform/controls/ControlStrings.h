#pragma once
// Message texts of the controls.

namespace bw {

inline constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";
inline constexpr const char* SCannotShowModal = "Cannot make a visible window modal";
inline constexpr const char* SSnapshotNotShown =
    "Cannot take a snapshot of a form that is not shown";
inline constexpr const char* SNotHeadless =
    "Scripted input needs the headless back end; set BW_BACKEND=headless";

}  // namespace bw
