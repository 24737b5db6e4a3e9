#pragma once
// The narrow interface between the controls and whatever shows their windows: top-level
// surfaces on a screen, presenting their pixels, an event source, clipboard text, the
// screen's size and timers. Child controls never reach a back end; only the top-level
// windows (forms and pop-ups) do.

#include <cstdint>
#include <memory>

#include "platform/backend/VirtualKeys.h"
#include "platform/core/TRect.h"
#include "platform/core/Types.h"

namespace bw {

/// Names a top-level surface of a back end; 0 names none.
using TWindowId = uint32_t;

/// What a top-level surface looks like when it is created.
struct TWindowParams {
  TRect Bounds;  ///< Outer bounds in screen coordinates.
  String Caption;
  /// No caption bar, frame or task-bar entry (drop-downs, tool windows); placed exactly
  /// at Bounds and kept above the program's other surfaces while shown.
  bool Popup = false;
  /// Never the active window: neither showing nor clicking it takes the keyboard from the
  /// active surface, and the back end reports no Activate or Deactivate for it. Its mouse
  /// events still arrive (a drop-down list is clicked while its edit keeps the keys).
  bool NoActivate = false;
};

/// A read-only view of 32-bit pixels (0x00RRGGBB, row after row) to be presented.
struct TPixelView {
  const uint32_t* Pixels = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Stride = 0;  ///< Pixels from the start of one row to the next.
};

enum class TBackendEventKind : uint8_t {
  MouseMove,
  MouseDown,
  MouseUp,
  MouseWheel,
  MouseLeave,  ///< The pointer left the surface.
  KeyDown,
  KeyUp,
  Text,        ///< Typed text, UTF-8.
  Activate,    ///< The surface became the active window (it receives the keys).
  Deactivate,  ///< The surface stopped being the active window.
  Resize,      ///< The user resized the surface: X and Y hold the new width and height.
  Move,        ///< The user moved the surface: X and Y hold the new screen position.
  Close,       ///< The user asked to close the surface.
  Timer,
  Quit,  ///< The user asked to end the program.
};

/// One raw input event. Mouse positions are relative to the surface's top-left corner.
struct TBackendEvent {
  TBackendEventKind Kind = TBackendEventKind::MouseMove;
  TWindowId Window = 0;
  int32_t X = 0;
  int32_t Y = 0;
  uint8_t Button = 0;      ///< 1 left, 2 right, 3 middle.
  uint8_t Clicks = 0;      ///< 1 for a single press, 2 for the second press of a double-click.
  int32_t WheelDelta = 0;  ///< Multiples of 120 per notch, positive away from the user.
  uint16_t Key = 0;        ///< A VK_ code.
  uint32_t Modifiers = 0;  ///< kMod bits held at the time of the event.
  String Text;
  uint32_t TimerId = 0;
};

inline constexpr uint8_t kButtonLeft = 1;
inline constexpr uint8_t kButtonRight = 2;
inline constexpr uint8_t kButtonMiddle = 3;

/// The timeout of a wait that lasts until something happens.
inline constexpr int32_t kWaitWithoutLimit = -1;

class TBackend {
 public:
  virtual ~TBackend() = default;

  virtual TWindowId CreateWindow(const TWindowParams& Params) = 0;
  virtual void DestroyWindow(TWindowId Window) = 0;
  virtual void SetWindowBounds(TWindowId Window, const TRect& Bounds) = 0;
  virtual void SetWindowCaption(TWindowId Window, const String& Caption) = 0;
  /// Shows or hides the surface. Showing never activates it: activation is RaiseWindow's.
  virtual void ShowWindow(TWindowId Window, bool Visible) = 0;
  /// Brings the surface to the top of the others; Activate also gives it the keyboard.
  virtual void RaiseWindow(TWindowId Window, bool Activate) = 0;
  /// Shows the pixels on the surface. Only Changed (in the pixels' coordinates) differs
  /// from what was presented before, unless the size changed; a back end may copy just
  /// that part.
  virtual void Present(TWindowId Window, const TPixelView& Pixels, const TRect& Changed) = 0;
  /// While a surface holds the mouse, every mouse event goes to it; 0 releases.
  virtual void SetMouseCapture(TWindowId Window) = 0;

  /// Takes the next waiting event; false when none waits.
  virtual bool PollEvent(TBackendEvent& Event) = 0;
  /// Blocks until an event waits or TimeoutMs have passed (kWaitWithoutLimit: until an
  /// event waits, a timer included).
  virtual void WaitEvent(int32_t TimeoutMs) = 0;
  /// False for a back end with no outside source of events (a script feeds it): a loop
  /// waiting on it would wait for ever, so message loops end when it runs dry.
  virtual bool CanWaitForEvents() const { return true; }

  virtual String ClipboardText() = 0;
  virtual void SetClipboardText(const String& Text) = 0;

  virtual int32_t ScreenWidth() const = 0;
  virtual int32_t ScreenHeight() const = 0;

  /// Milliseconds since the back end started.
  virtual uint64_t TickCount() const = 0;
  /// Starts a repeating timer that sends Timer events; returns its id (never 0).
  virtual uint32_t StartTimer(uint32_t IntervalMs) = 0;
  virtual void StopTimer(uint32_t TimerId) = 0;

  /// Milliseconds between the caret's blinks; 0 keeps it steady (as the headless back end
  /// does, so that pictures do not depend on the clock).
  virtual uint32_t CaretBlinkTime() const { return 0; }
  /// Where the caret stands on a surface (in its pixels), so that an input method shows
  /// what is being composed, and its candidates, beside it.
  virtual void SetTextInputPlace(TWindowId, const TRect&) {}
};

}  // namespace bw
