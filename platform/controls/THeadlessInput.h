#pragma once
// Scripted input at control coordinates for the headless back end: each call turns the
// point into screen coordinates, queues the events and lets the application handle
// them (ProcessMessages), so a test sees the outcome at once.

#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ControlTypes.h"

namespace bw {

class TControl;

class THeadlessInput {
 public:
  /// The headless back end in use; EInvalidOperation when another one is.
  static THeadlessBackend& Backend();

  static void MouseMove(TControl* Control, TPoint P, uint32_t Modifiers = 0);
  static void MouseDown(TControl* Control, TPoint P, TMouseButton Button = mbLeft,
                        uint32_t Modifiers = 0);
  static void MouseUp(TControl* Control, TPoint P, TMouseButton Button = mbLeft,
                      uint32_t Modifiers = 0);
  static void Click(TControl* Control, TPoint P, TMouseButton Button = mbLeft,
                    uint32_t Modifiers = 0);
  /// A click in the middle of the control.
  static void Click(TControl* Control);
  static void DoubleClick(TControl* Control, TPoint P, uint32_t Modifiers = 0);
  static void Wheel(TControl* Control, TPoint P, int32_t Delta, uint32_t Modifiers = 0);
  static void Key(uint16_t Key, uint32_t Modifiers = 0);
  static void KeyDown(uint16_t Key, uint32_t Modifiers = 0);
  static void KeyUp(uint16_t Key, uint32_t Modifiers = 0);
  static void Type(const String& Text);
  /// Moves the headless clock on by Ms and handles the timers that fall due.
  static void Wait(uint32_t Ms);
};

}  // namespace bw
