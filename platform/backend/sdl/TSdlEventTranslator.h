#pragma once
// The one place where SDL's raw events become the back end's events (TBackendEvent):
// - mouse positions from device pixels of the window the event came from to logical
//   pixels of the surface holding the capture, else of that window;
// - the second press of a double-click carries Clicks = 2 (a third press starts again);
// - the wheel in multiples of 120 per notch, positive away from the user;
// - keys to virtual keys (SdlKeys.h); typed text as Text events. While an input method
//   composes text (SDL_TEXTEDITING) the keys that edit the composition are its own, and
//   only the finished text (SDL_TEXTINPUT) reaches the program;
// - window events to Move, Resize, Close and MouseLeave; SDL_QUIT to Quit.
// Activation is settled after each batch of events rather than per event, because the
// window system reports a focus change as a flurry (out of one window, into a pop-up,
// back again) of which only the end state means anything.
//
// It reads SDL_Event structures and calls no SDL function, so tests feed it made-up events.

#include <SDL_events.h>

#include <deque>

#include "platform/backend/TBackend.h"
#include "platform/backend/sdl/TSdlWindowTable.h"

namespace bw {

class TSdlEventTranslator {
 public:
  /// How long the window system may take to give a surface the keyboard the program
  /// asked for; focus reports against it meanwhile are stale.
  static constexpr uint64_t FocusRequestGrace = 500;

  explicit TSdlEventTranslator(TSdlWindowTable& Windows) : FWindows(Windows) {}

  /// Appends the events that one SDL event means. ModState is the keyboard's modifier
  /// state now (SDL_GetModState), which mouse events do not carry.
  void Translate(const SDL_Event& Event, uint16_t ModState, std::deque<TBackendEvent>& Out);

  /// True when a focus change was reported since the last SettleFocus.
  bool FocusMoved() const { return FFocusMoved; }
  /// Settles activation given the surface that holds the keyboard now (0: none of ours):
  /// a move to another window of ours activates it, a move away from all of them
  /// deactivates. Returns the surface that should be given the keyboard back (else 0):
  /// the active one, when a surface that takes no activation got it.
  TWindowId SettleFocus(TWindowId KeyboardWindow, uint64_t Now, std::deque<TBackendEvent>& Out);
  /// The program activated a surface itself: no event echoes that.
  void ProgramActivated(TWindowId Window, uint64_t Now);
  TWindowId Active() const { return FActive; }

  void SetCapture(TWindowId Window) { FCapture = Window; }
  TWindowId Capture() const { return FCapture; }
  bool Composing() const { return FComposing; }
  /// A surface is going: forget it.
  void WindowGone(TWindowId Window);

 private:
  void Mouse(TBackendEventKind Kind, uint32_t SdlWindow, int32_t X, int32_t Y, uint16_t ModState,
             std::deque<TBackendEvent>& Out, uint8_t Button = 0, uint8_t Clicks = 0,
             int32_t Wheel = 0);
  void Key(TBackendEventKind Kind, const SDL_KeyboardEvent& Event, std::deque<TBackendEvent>& Out);
  void Text(const char* Utf8, std::deque<TBackendEvent>& Out);
  void Window(const SDL_WindowEvent& Event, std::deque<TBackendEvent>& Out);
  /// Where keys and text go: the active surface (the router looks at the focus anyway).
  TWindowId KeyWindow(uint32_t SdlWindow);

  TSdlWindowTable& FWindows;
  TWindowId FCapture = 0;
  TWindowId FActive = 0;
  TWindowId FRequested = 0;  // the surface the program last activated, until the grace ends
  uint64_t FRequestEnds = 0;
  bool FFocusMoved = false;
  bool FComposing = false;
};

}  // namespace bw
