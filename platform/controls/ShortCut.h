#pragma once
// Shortcuts: a key code with the shift state folded into the high bits.

#include "platform/controls/ControlTypes.h"

namespace bw {

using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

/// The shortcut of a key and shift state; 0 for a key code above 255.
TShortCut ShortCut(uint16_t Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift);

}  // namespace bw
