#include "platform/backend/sdl/TSdlEventTranslator.h"

#include <cmath>

#include "platform/backend/sdl/SdlKeys.h"

namespace bw {

namespace {

uint8_t ButtonFromSdl(uint8_t Button) {
  switch (Button) {
    case SDL_BUTTON_LEFT:
      return kButtonLeft;
    case SDL_BUTTON_RIGHT:
      return kButtonRight;
    case SDL_BUTTON_MIDDLE:
      return kButtonMiddle;
    default:
      return 0;  // side buttons: the platform has no messages for them
  }
}

// SDL counts every press in a quick series; the platform knows single and double presses,
// and a third press begins a new pair, as on the desktop.
uint8_t ClicksFromSdl(uint8_t Clicks) {
  return Clicks >= 2 && Clicks % 2 == 0 ? 2 : 1;
}

int32_t WheelDelta(const SDL_MouseWheelEvent& Event) {
  float notches = Event.preciseY != 0.0f ? Event.preciseY : float(Event.y);
  if (Event.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
  return int32_t(std::lround(notches * 120.0f));
}

TBackendEvent Make(TBackendEventKind Kind, TWindowId Window) {
  TBackendEvent e;
  e.Kind = Kind;
  e.Window = Window;
  return e;
}

}  // namespace

void TSdlEventTranslator::Translate(const SDL_Event& Event, uint16_t ModState,
                                    std::deque<TBackendEvent>& Out) {
  switch (Event.type) {
    case SDL_MOUSEMOTION:
      Mouse(TBackendEventKind::MouseMove, Event.motion.windowID, Event.motion.x, Event.motion.y,
            ModState, Out);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      uint8_t button = ButtonFromSdl(Event.button.button);
      if (!button) break;
      bool down = Event.type == SDL_MOUSEBUTTONDOWN;
      Mouse(down ? TBackendEventKind::MouseDown : TBackendEventKind::MouseUp, Event.button.windowID,
            Event.button.x, Event.button.y, ModState, Out, button,
            down ? ClicksFromSdl(Event.button.clicks) : 0);
      break;
    }
    case SDL_MOUSEWHEEL: {
      int32_t delta = WheelDelta(Event.wheel);
      if (delta)
        Mouse(TBackendEventKind::MouseWheel, Event.wheel.windowID, Event.wheel.mouseX,
              Event.wheel.mouseY, ModState, Out, 0, 0, delta);
      break;
    }
    case SDL_KEYDOWN:
      Key(TBackendEventKind::KeyDown, Event.key, Out);
      break;
    case SDL_KEYUP:
      Key(TBackendEventKind::KeyUp, Event.key, Out);
      break;
    case SDL_TEXTEDITING:
      FComposing = Event.edit.text[0] != '\0';
      break;
    case SDL_TEXTINPUT:
      FComposing = false;
      Text(Event.text.text, Out);
      break;
    case SDL_WINDOWEVENT:
      Window(Event.window, Out);
      break;
    case SDL_QUIT:
      Out.push_back(Make(TBackendEventKind::Quit, 0));
      break;
    default:
      break;
  }
}

void TSdlEventTranslator::Mouse(TBackendEventKind Kind, uint32_t SdlWindow, int32_t X, int32_t Y,
                                uint16_t ModState, std::deque<TBackendEvent>& Out, uint8_t Button,
                                uint8_t Clicks, int32_t Wheel) {
  TSdlWindow* from = FWindows.FindSdl(SdlWindow);
  if (!from) return;
  TSdlWindow* to = FCapture ? FWindows.Find(FCapture) : from;
  if (!to) to = from;
  TBackendEvent e = Make(Kind, to->Id);
  e.X = from->Bounds.Left + FWindows.ToLogical(X) - to->Bounds.Left;
  e.Y = from->Bounds.Top + FWindows.ToLogical(Y) - to->Bounds.Top;
  e.Button = Button;
  e.Clicks = Clicks;
  e.WheelDelta = Wheel;
  e.Modifiers = ModifiersFromSdl(ModState);
  Out.push_back(std::move(e));
}

TWindowId TSdlEventTranslator::KeyWindow(uint32_t SdlWindow) {
  if (FActive) return FActive;
  TSdlWindow* w = FWindows.FindSdl(SdlWindow);
  return w ? w->Id : 0;
}

void TSdlEventTranslator::Key(TBackendEventKind Kind, const SDL_KeyboardEvent& Event,
                              std::deque<TBackendEvent>& Out) {
  uint16_t key = VirtualKeyFromSdl(Event.keysym.sym, Event.keysym.mod);
  if (!key) return;
  if (FComposing && EditsComposition(key)) return;
  TBackendEvent e = Make(Kind, KeyWindow(Event.windowID));
  e.Key = key;
  e.Modifiers = ModifiersFromSdl(Event.keysym.mod);
  Out.push_back(std::move(e));
}

void TSdlEventTranslator::Text(const char* Utf8, std::deque<TBackendEvent>& Out) {
  if (!Utf8 || !*Utf8) return;
  TBackendEvent e = Make(TBackendEventKind::Text, FActive);
  e.Text = Utf8;
  Out.push_back(std::move(e));
}

void TSdlEventTranslator::Window(const SDL_WindowEvent& Event, std::deque<TBackendEvent>& Out) {
  TSdlWindow* w = FWindows.FindSdl(Event.windowID);
  if (!w) return;
  switch (Event.event) {
    case SDL_WINDOWEVENT_MOVED: {
      int32_t x = FWindows.ToLogical(Event.data1), y = FWindows.ToLogical(Event.data2);
      if (x == w->Bounds.Left && y == w->Bounds.Top) break;  // where the program put it
      w->Bounds = Bounds(x, y, w->Bounds.Width(), w->Bounds.Height());
      TBackendEvent e = Make(TBackendEventKind::Move, w->Id);
      e.X = x;
      e.Y = y;
      Out.push_back(std::move(e));
      break;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      int32_t width = FWindows.ToLogical(Event.data1), height = FWindows.ToLogical(Event.data2);
      if (width == w->Bounds.Width() && height == w->Bounds.Height()) break;
      w->Bounds = Bounds(w->Bounds.Left, w->Bounds.Top, width, height);
      TBackendEvent e = Make(TBackendEventKind::Resize, w->Id);
      e.X = width;
      e.Y = height;
      Out.push_back(std::move(e));
      break;
    }
    case SDL_WINDOWEVENT_LEAVE:
      if (w->Id != FCapture) Out.push_back(Make(TBackendEventKind::MouseLeave, w->Id));
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      FFocusMoved = true;
      break;
    case SDL_WINDOWEVENT_CLOSE:
      Out.push_back(Make(TBackendEventKind::Close, w->Id));
      break;
    default:
      break;
  }
}

TWindowId TSdlEventTranslator::SettleFocus(TWindowId KeyboardWindow, uint64_t Now,
                                           std::deque<TBackendEvent>& Out) {
  FFocusMoved = false;
  if (TSdlWindow* w = FWindows.Find(KeyboardWindow); w && w->NoActivate) {
    TSdlWindow* active = FWindows.Find(FActive);
    return active && active->Visible && active->Id != w->Id ? active->Id : 0;
  }
  if (KeyboardWindow == FActive) return 0;
  if (FRequested && Now < FRequestEnds && KeyboardWindow != FRequested) return 0;
  FRequested = 0;
  if (KeyboardWindow) {
    Out.push_back(Make(TBackendEventKind::Activate, KeyboardWindow));
  } else {
    Out.push_back(Make(TBackendEventKind::Deactivate, FActive));
  }
  FActive = KeyboardWindow;
  return 0;
}

void TSdlEventTranslator::ProgramActivated(TWindowId Window, uint64_t Now) {
  FActive = Window;
  FRequested = Window;
  FRequestEnds = Now + FocusRequestGrace;
}

void TSdlEventTranslator::WindowGone(TWindowId Window) {
  if (FCapture == Window) FCapture = 0;
  if (FActive == Window) FActive = 0;
  if (FRequested == Window) FRequested = 0;
}

}  // namespace bw
