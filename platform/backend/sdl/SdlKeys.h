#pragma once
// SDL's key codes and modifier states in the platform's terms: virtual keys (VirtualKeys.h)
// and kMod bits. Pure functions, so they are tested without a display.

#include <SDL_keyboard.h>

#include <cstdint>

namespace bw {

/// The virtual key of an SDL key, 0 for a key the platform has no code for. Keypad keys
/// give digits with Num Lock on and the navigation keys printed on them with it off.
uint16_t VirtualKeyFromSdl(SDL_Keycode Key, uint16_t ModState);

/// kModShift, kModCtrl and kModAlt of an SDL modifier state (either side counts).
uint32_t ModifiersFromSdl(uint16_t ModState);

/// Keys that an input method uses to edit text it is composing (the composition takes
/// them, not the focused control).
bool EditsComposition(uint16_t VirtualKey);

}  // namespace bw
