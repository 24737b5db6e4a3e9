#include "platform/backend/sdl/SdlKeys.h"

#include "platform/backend/VirtualKeys.h"

namespace bw {

namespace {

uint16_t KeypadKey(SDL_Keycode Key, bool NumLock) {
  if (Key >= SDLK_KP_1 && Key <= SDLK_KP_9) {
    int digit = Key - SDLK_KP_1 + 1;
    if (NumLock) return VK_NUMPAD0 + digit;
    // The navigation keys on the keypad, as laid out under the digits 1 to 9.
    static constexpr uint16_t kNavigation[] = {VK_END,   VK_DOWN, VK_NEXT, VK_LEFT, 0,
                                               VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
    return kNavigation[digit - 1];
  }
  switch (Key) {
    case SDLK_KP_0:
      return NumLock ? VK_NUMPAD0 : VK_INSERT;
    case SDLK_KP_PERIOD:
      return NumLock ? VK_DECIMAL : VK_DELETE;
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_KP_PLUS:
      return VK_ADD;
    case SDLK_KP_MINUS:
      return VK_SUBTRACT;
    case SDLK_KP_MULTIPLY:
      return VK_MULTIPLY;
    case SDLK_KP_DIVIDE:
      return VK_DIVIDE;
    default:
      return 0;
  }
}

uint16_t NamedKey(SDL_Keycode Key) {
  switch (Key) {
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_RETURN:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_END:
      return VK_END;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_INSERT:
      return VK_INSERT;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    case SDLK_LGUI:
      return VK_LWIN;
    case SDLK_RGUI:
      return VK_RWIN;
    case SDLK_APPLICATION:
      return VK_APPS;
    case SDLK_CAPSLOCK:
      return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR:
      return VK_NUMLOCK;
    case SDLK_SCROLLLOCK:
      return VK_SCROLL;
    case SDLK_PAUSE:
      return VK_PAUSE;
    case SDLK_PRINTSCREEN:
      return VK_SNAPSHOT;
    case SDLK_SEMICOLON:
      return VK_OEM_1;
    case SDLK_EQUALS:
      return VK_OEM_PLUS;
    case SDLK_COMMA:
      return VK_OEM_COMMA;
    case SDLK_MINUS:
      return VK_OEM_MINUS;
    case SDLK_PERIOD:
      return VK_OEM_PERIOD;
    case SDLK_SLASH:
      return VK_OEM_2;
    case SDLK_BACKQUOTE:
      return VK_OEM_3;
    case SDLK_LEFTBRACKET:
      return VK_OEM_4;
    case SDLK_BACKSLASH:
      return VK_OEM_5;
    case SDLK_RIGHTBRACKET:
      return VK_OEM_6;
    case SDLK_QUOTE:
      return VK_OEM_7;
    default:
      return 0;
  }
}

}  // namespace

uint16_t VirtualKeyFromSdl(SDL_Keycode Key, uint16_t ModState) {
  if (Key >= SDLK_a && Key <= SDLK_z) return uint16_t('A' + (Key - SDLK_a));
  if (Key >= SDLK_0 && Key <= SDLK_9) return uint16_t('0' + (Key - SDLK_0));
  if (Key >= SDLK_F1 && Key <= SDLK_F12) return uint16_t(VK_F1 + (Key - SDLK_F1));
  if (Key >= SDLK_F13 && Key <= SDLK_F24) return uint16_t(VK_F1 + 12 + (Key - SDLK_F13));
  if (uint16_t keypad = KeypadKey(Key, (ModState & KMOD_NUM) != 0)) return keypad;
  return NamedKey(Key);
}

uint32_t ModifiersFromSdl(uint16_t ModState) {
  uint32_t mods = 0;
  if (ModState & KMOD_SHIFT) mods |= kModShift;
  if (ModState & KMOD_CTRL) mods |= kModCtrl;
  if (ModState & KMOD_ALT) mods |= kModAlt;
  return mods;
}

bool EditsComposition(uint16_t VirtualKey) {
  switch (VirtualKey) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_BACK:
    case VK_DELETE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_TAB:
    case VK_SPACE:
      return true;
    default:
      return false;
  }
}

}  // namespace bw
