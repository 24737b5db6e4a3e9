#include "platform/controls/TInputRouter.h"

#include "platform/controls/TApplication.h"
#include "platform/controls/TWinControl.h"
#include "platform/controls/TWindowManager.h"
#include "platform/core/Unicode.h"

namespace bw {

namespace {

TWindowManager& WM() {
  return TWindowManager::Get();
}

uintptr_t MouseKeys() {
  TWindowManager& wm = WM();
  uintptr_t keys = wm.Buttons;
  if (wm.Modifiers & kModShift) keys |= MK_SHIFT;
  if (wm.Modifiers & kModCtrl) keys |= MK_CONTROL;
  if (wm.Modifiers & kModAlt) keys |= MK_ALT;
  return keys;
}

uintptr_t ButtonBit(uint8_t Button) {
  switch (Button) {
    case kButtonLeft:
      return MK_LBUTTON;
    case kButtonRight:
      return MK_RBUTTON;
    case kButtonMiddle:
      return MK_MBUTTON;
    default:
      return 0;
  }
}

}  // namespace

void TInputRouter::Deliver(TControl* Target, uint32_t Msg, uintptr_t WParam, intptr_t LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  try {
    Target->WndProc(m);
  } catch (...) {
    if (Application)
      Application->HandleException(Target);
    else
      throw;
  }
}

void TInputRouter::HandleEvent(const TBackendEvent& Event) {
  switch (Event.Kind) {
    case TBackendEventKind::MouseMove:
    case TBackendEventKind::MouseDown:
    case TBackendEventKind::MouseUp:
    case TBackendEventKind::MouseWheel:
      WM().Modifiers = Event.Modifiers;
      Mouse(Event);
      break;
    case TBackendEventKind::MouseLeave:
      if (TControl* under = WM().MouseControl) {
        TWinControl* top = WM().FindSurface(Event.Window);
        TWinControl* window = dynamic_cast<TWinControl*>(under);
        if (!window) window = under->Parent();
        if (top && window && window->TopLevelWindow() == top) {
          WM().MouseControl = nullptr;
          Deliver(under, CM_MOUSELEAVE, 0, 0);
        }
      }
      break;
    case TBackendEventKind::KeyDown:
      WM().Modifiers = Event.Modifiers;
      KeyDown(Event);
      break;
    case TBackendEventKind::KeyUp:
      WM().Modifiers = Event.Modifiers;
      KeyUp(Event);
      break;
    case TBackendEventKind::Text:
      Text(Event);
      break;
    case TBackendEventKind::Timer:
      Timer(Event);
      break;
    case TBackendEventKind::Quit:
      if (Application) Application->Terminate();
      break;
    default:
      Surface(Event);
      break;
  }
}

TControl* TInputRouter::ControlAt(TWinControl* TopLevel, TPoint ScreenPoint) {
  if (!TopLevel || !TopLevel->Enabled() || !TopLevel->IsShowing()) return nullptr;
  TWinControl* window = TopLevel;
  for (;;) {
    TPoint p = window->ScreenToClient(ScreenPoint);
    if (!window->ClientRect().Contains(p)) return window;
    TControl* child = window->ControlAtPos(p);
    if (!child) return window;
    auto* childWindow = dynamic_cast<TWinControl*>(child);
    if (!childWindow) return child;
    if (!childWindow->IsShowing()) return window;
    window = childWindow;
  }
}

void TInputRouter::Mouse(const TBackendEvent& Event) {
  TWindowManager& wm = WM();
  TWinControl* top = wm.FindSurface(Event.Window);
  if (!top) return;
  if (!wm.AcceptsInput(top)) return;  // a modal form is up elsewhere
  TPoint screen{top->Left() + Event.X, top->Top() + Event.Y};
  bool down = Event.Kind == TBackendEventKind::MouseDown;
  bool up = Event.Kind == TBackendEventKind::MouseUp;
  if (down) wm.Buttons |= ButtonBit(Event.Button);
  if (up) wm.Buttons &= ~ButtonBit(Event.Button);

  if (Event.Kind == TBackendEventKind::MouseWheel) {
    // The wheel turns what has the focus, as on the desktop.
    TControl* target = FindControl(wm.Focus);
    if (!target) target = ControlAt(top, screen);
    if (!target) return;
    uintptr_t w = (MouseKeys() & 0xFFFF) | (uintptr_t(uint16_t(int16_t(Event.WheelDelta))) << 16);
    Deliver(target, WM_MOUSEWHEEL, w, PointToLParam(screen));
    return;
  }

  TControl* target = wm.CaptureControl();
  if (!target) target = ControlAt(top, screen);
  if (!target) return;

  if (down && wm.ActiveWindow() != top) {
    auto* window = dynamic_cast<TWinControl*>(target);
    if (!window) window = target->Parent();
    // The handlers on the way (OnActivate among them) may free the window or the target.
    TControlWatch topWatch(top), targetWatch(target);
    TMessage m{WM_MOUSEACTIVATE, top->Handle(), 0, 0};
    try {
      window->WndProc(m);
    } catch (...) {
      if (Application) Application->HandleException(window);
    }
    if (!topWatch.Alive()) return;
    intptr_t answer = m.Result ? m.Result : MA_ACTIVATE;
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
      wm.SetActiveWindow(top);
      if (!topWatch.Alive()) return;
      // Activation may have moved things; find the target again.
      target = wm.CaptureControl() ? wm.CaptureControl() : ControlAt(top, screen);
      if (!target) return;
    } else if (!targetWatch.Alive()) {
      return;
    }
    if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return;
  }

  if (target != wm.MouseControl) {
    // Either handler may free the control the mouse is on: then the event ends here.
    TControlWatch watch(target);
    TControl* old = wm.MouseControl;
    wm.MouseControl = target;
    if (old) Deliver(old, CM_MOUSELEAVE, 0, 0);
    if (watch.Alive() && wm.MouseControl == target) Deliver(target, CM_MOUSEENTER, 0, 0);
    if (!watch.Alive()) return;
  }

  TPoint local = target->ScreenToClient(screen);
  intptr_t pos = PointToLParam(local);
  uint32_t msg = WM_MOUSEMOVE;
  bool twice = Event.Clicks >= 2 && target->ControlStyle().Contains(csDoubleClicks);
  switch (Event.Kind) {
    case TBackendEventKind::MouseDown:
      msg = Event.Button == kButtonRight    ? (twice ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
            : Event.Button == kButtonMiddle ? (twice ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN)
                                            : (twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
      break;
    case TBackendEventKind::MouseUp:
      msg = Event.Button == kButtonRight    ? WM_RBUTTONUP
            : Event.Button == kButtonMiddle ? WM_MBUTTONUP
                                            : WM_LBUTTONUP;
      break;
    default:
      break;
  }
  Deliver(target, msg, MouseKeys(), pos);
}

void TInputRouter::KeyDown(const TBackendEvent& Event) {
  TWindowManager& wm = WM();
  TWinControl* target = FindControl(wm.Focus);
  if (!target) target = wm.ActiveWindow();
  if (!target) return;
  HWND handle = target->Handle();
  TShiftState shift = KeyDataToShiftState(Event.Modifiers);
  bool eaten = false;
  try {
    eaten = target->DialogKeyCheck(Event.Key, shift);
  } catch (...) {
    if (Application) Application->HandleException(target);
    eaten = true;
  }
  if (eaten) return;
  Deliver(target, WM_KEYDOWN, Event.Key, intptr_t(Event.Modifiers));
  // Keys that type a control character do so even when KeyDown zeroed the key, as the
  // classic translation of key messages does.
  Char typed = 0;
  if (!(Event.Modifiers & (kModCtrl | kModAlt))) {
    switch (Event.Key) {
      case VK_RETURN:
        typed = 13;
        break;
      case VK_ESCAPE:
        typed = 27;
        break;
      case VK_TAB:
        typed = 9;
        break;
      case VK_BACK:
        typed = 8;
        break;
      default:
        break;
    }
  }
  if (typed)
    if (TWinControl* still = FindControl(handle))
      Deliver(still, WM_CHAR, typed, intptr_t(Event.Modifiers));
}

void TInputRouter::KeyUp(const TBackendEvent& Event) {
  TWindowManager& wm = WM();
  TWinControl* target = FindControl(wm.Focus);
  if (!target) target = wm.ActiveWindow();
  if (!target) return;
  Deliver(target, WM_KEYUP, Event.Key, intptr_t(Event.Modifiers));
}

void TInputRouter::Text(const TBackendEvent& Event) {
  TWindowManager& wm = WM();
  for (Char c : DecodeUtf8Lenient(Event.Text)) {
    if (c < 32 || c == 127) continue;  // control characters come from their keys
    TWinControl* target = FindControl(wm.Focus);
    if (!target) target = wm.ActiveWindow();
    if (!target) return;
    Deliver(target, WM_CHAR, c, intptr_t(wm.Modifiers));
  }
}

void TInputRouter::Surface(const TBackendEvent& Event) {
  TWindowManager& wm = WM();
  TWinControl* top = wm.FindSurface(Event.Window);
  if (!top) return;
  switch (Event.Kind) {
    case TBackendEventKind::Activate:
      // While a form is modal the desktop cannot hand the keyboard to another form.
      if (!wm.AcceptsInput(top)) {
        if (!wm.ModalForms.empty()) wm.SetActiveWindow(wm.ModalForms.back());
        break;
      }
      if (wm.ActiveWindow() != top) wm.SetActiveWindow(top);
      break;
    case TBackendEventKind::Deactivate:
      if (wm.ActiveWindow() == top) wm.SetActiveWindow(nullptr);
      break;
    case TBackendEventKind::Resize:
      top->SetBounds(top->Left(), top->Top(), Event.X, Event.Y);
      break;
    case TBackendEventKind::Move:
      top->SetBounds(Event.X, Event.Y, top->Width(), top->Height());
      break;
    case TBackendEventKind::Close:
      if (wm.AcceptsInput(top)) Deliver(top, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void TInputRouter::Timer(const TBackendEvent& Event) {
  TWindowManager& wm = WM();
  if (wm.CaretBlinkTimerFired(Event.TimerId)) return;
  auto it = wm.TimersById.find(Event.TimerId);
  if (it == wm.TimersById.end()) return;
  if (TWinControl* c = wm.Find(it->second.Wnd)) Deliver(c, WM_TIMER, it->second.Id, 0);
}

}  // namespace bw
