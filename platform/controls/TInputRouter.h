#pragma once
// The one place where raw back-end events become messages: mouse events go to the
// control holding the capture, else to the deepest visible, enabled control under the
// point (asking WM_MOUSEACTIVATE before a press activates a window); keys go to the
// focused window, after the form has had its chance at dialog keys; typed text becomes
// one WM_CHAR per character; surface events become activation, WM_SIZE and WM_CLOSE.

#include "platform/backend/TBackend.h"

namespace bw {

class TControl;
class TWinControl;

class TInputRouter {
 public:
  static void HandleEvent(const TBackendEvent& Event);

  /// The deepest visible, enabled control of a top-level window at a screen point.
  static TControl* ControlAt(TWinControl* TopLevel, TPoint ScreenPoint);

 private:
  static void Mouse(const TBackendEvent& Event);
  static void KeyDown(const TBackendEvent& Event);
  static void KeyUp(const TBackendEvent& Event);
  static void Text(const TBackendEvent& Event);
  static void Surface(const TBackendEvent& Event);
  static void Timer(const TBackendEvent& Event);
  /// Delivers a message, reporting a failure through the application.
  static void Deliver(TControl* Target, uint32_t Msg, uintptr_t WParam, intptr_t LParam);
};

}  // namespace bw
