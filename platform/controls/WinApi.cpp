#include "platform/controls/WinApi.h"

#include "platform/backend/Backend.h"
#include "platform/controls/TWinControl.h"
#include "platform/controls/TWindowManager.h"

namespace bw {

namespace {
TWindowManager& WM() {
  return TWindowManager::Get();
}

void Deliver(TWinControl* Control, uint32_t Msg, uintptr_t WParam, intptr_t LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  Control->MainWndProc(m);
}
}  // namespace

TWinControl* FindControl(HWND Wnd) {
  return WM().Find(Wnd);
}

intptr_t SendMessage(HWND Wnd, uint32_t Msg, uintptr_t WParam, intptr_t LParam) {
  TWinControl* c = FindControl(Wnd);
  if (!c) return 0;
  TMessage m{Msg, WParam, LParam, 0};
  c->MainWndProc(m);
  return m.Result;
}

bool PostMessage(HWND Wnd, uint32_t Msg, uintptr_t WParam, intptr_t LParam) {
  if (!FindControl(Wnd)) return false;
  WM().Posted.push_back({Wnd, TMessage{Msg, WParam, LParam, 0}});
  return true;
}

HWND GetFocus() {
  return WM().Focus;
}

HWND SetFocus(HWND Wnd) {
  TWindowManager& wm = WM();
  TWinControl* target = wm.Find(Wnd);
  if (Wnd && !target) return 0;
  HWND old = wm.Focus;
  if (old == Wnd) return old;
  if (target) {
    // Focusing a window in an inactive top-level window activates that window first.
    TWinControl* top = target->TopLevelWindow();
    if (wm.ActiveWindow() != top) {
      wm.SetActiveWindow(top);
      if (wm.Focus == Wnd || !wm.Find(Wnd)) return old;
    }
  }
  HWND losing = wm.Focus;
  if (TWinControl* oc = wm.Find(losing)) {
    Deliver(oc, WM_KILLFOCUS, Wnd, 0);
    if (wm.Focus != losing) return old;  // the handler moved the focus itself
  }
  wm.Focus = Wnd;
  if (target) Deliver(target, WM_SETFOCUS, losing, 0);
  return old;
}

HWND GetCapture() {
  TControl* c = WM().CaptureControl();
  if (!c) return 0;
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w) w = c->Parent();
  return w && w->HandleAllocated() ? w->Handle() : 0;
}

HWND SetCapture(HWND Wnd) {
  HWND old = GetCapture();
  WM().SetCaptureControl(FindControl(Wnd));
  return old;
}

bool ReleaseCapture() {
  WM().SetCaptureControl(nullptr);
  return true;
}

bool SetWindowPos(HWND Wnd, HWND InsertAfter, int32_t X, int32_t Y, int32_t CX, int32_t CY,
                  uint32_t Flags) {
  TWinControl* c = FindControl(Wnd);
  if (!c) return false;
  if (!(Flags & SWP_NOMOVE) || !(Flags & SWP_NOSIZE)) {
    bool move = !(Flags & SWP_NOMOVE), size = !(Flags & SWP_NOSIZE);
    c->SetBounds(move ? X : c->Left(), move ? Y : c->Top(), size ? CX : c->Width(),
                 size ? CY : c->Height());
  }
  if (!(Flags & SWP_NOZORDER)) {
    if (InsertAfter == HWND_BOTTOM)
      c->SendToBack();
    else
      c->BringToFront();
  }
  if (Flags & SWP_SHOWWINDOW) {
    if (Flags & SWP_NOACTIVATE) ++WM().SuppressActivation;
    try {
      c->SetVisible(true);
    } catch (...) {
      if (Flags & SWP_NOACTIVATE) --WM().SuppressActivation;
      throw;
    }
    if (Flags & SWP_NOACTIVATE) --WM().SuppressActivation;
  }
  if (Flags & SWP_HIDEWINDOW) c->SetVisible(false);
  return true;
}

bool ShowWindow(HWND Wnd, int32_t CmdShow) {
  TWinControl* c = FindControl(Wnd);
  if (!c) return false;
  bool wasVisible = c->Visible();
  if (CmdShow == SW_HIDE) {
    c->SetVisible(false);
  } else {
    bool quiet = CmdShow == SW_SHOWNA || CmdShow == SW_SHOWNOACTIVATE;
    if (quiet) ++WM().SuppressActivation;
    try {
      c->SetVisible(true);
    } catch (...) {
      if (quiet) --WM().SuppressActivation;
      throw;
    }
    if (quiet) --WM().SuppressActivation;
  }
  return wasVisible;
}

bool IsWindowVisible(HWND Wnd) {
  TWinControl* c = FindControl(Wnd);
  return c && c->IsShowing();
}

bool IsWindowEnabled(HWND Wnd) {
  TWinControl* c = FindControl(Wnd);
  return c && c->Enabled();
}

bool InvalidateRect(HWND Wnd, const TRect* Rect, bool) {
  TWinControl* c = FindControl(Wnd);
  if (!c) return false;
  if (Rect)
    c->InvalidateClientRect(*Rect);
  else
    c->Invalidate();
  return true;
}

bool UpdateWindow(HWND Wnd) {
  TWinControl* c = FindControl(Wnd);
  if (!c) return false;
  c->Update();
  return true;
}

bool CreateCaret(HWND Wnd, void*, int32_t Width, int32_t Height) {
  if (!FindControl(Wnd)) return false;
  TWindowManager& wm = WM();
  wm.Caret = TCaretInfo{Wnd, TPoint{}, Width, Height, false};
  wm.CaretHideLevel = 1;  // a new caret is hidden until ShowCaret
  wm.StopCaretBlink();
  return true;
}

bool DestroyCaret() {
  TWindowManager& wm = WM();
  if (!wm.Caret.Owner) return false;
  wm.Caret = TCaretInfo();
  wm.CaretHideLevel = 0;
  wm.StopCaretBlink();
  return true;
}

bool ShowCaret(HWND Wnd) {
  TWindowManager& wm = WM();
  if (!wm.Caret.Owner || (Wnd && Wnd != wm.Caret.Owner)) return false;
  if (wm.CaretHideLevel > 0) --wm.CaretHideLevel;
  wm.Caret.Visible = wm.CaretHideLevel == 0;
  if (wm.Caret.Visible) wm.RestartCaretBlink();
  return true;
}

bool HideCaret(HWND Wnd) {
  TWindowManager& wm = WM();
  if (!wm.Caret.Owner || (Wnd && Wnd != wm.Caret.Owner)) return false;
  ++wm.CaretHideLevel;
  wm.Caret.Visible = false;
  wm.StopCaretBlink();
  return true;
}

bool SetCaretPos(int32_t X, int32_t Y) {
  TWindowManager& wm = WM();
  if (!wm.Caret.Owner) return false;
  if (wm.Caret.Pos == TPoint{X, Y}) return true;
  wm.Caret.Pos = TPoint{X, Y};
  if (wm.Caret.Visible) wm.RestartCaretBlink();
  return true;
}

bool GetCaretPos(TPoint& Point) {
  TWindowManager& wm = WM();
  if (!wm.Caret.Owner) return false;
  Point = wm.Caret.Pos;
  return true;
}

TCaretInfo GetCaretInfo() {
  return WM().Caret;
}

uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, uint32_t Elapse) {
  if (!FindControl(Wnd)) return 0;
  TWindowManager& wm = WM();
  KillTimer(Wnd, IDEvent);
  uint32_t id = Backend().StartTimer(Elapse);
  wm.Timers[{Wnd, IDEvent}] = id;
  wm.TimersById[id] = {Wnd, IDEvent};
  return IDEvent;
}

bool KillTimer(HWND Wnd, uintptr_t IDEvent) {
  TWindowManager& wm = WM();
  auto it = wm.Timers.find({Wnd, IDEvent});
  if (it == wm.Timers.end()) return false;
  Backend().StopTimer(it->second);
  wm.TimersById.erase(it->second);
  wm.Timers.erase(it);
  return true;
}

uint32_t GetTickCount() {
  return uint32_t(Backend().TickCount());
}

int32_t GetSystemMetrics(int32_t Index) {
  switch (Index) {
    case SM_CXSCREEN:
      return Backend().ScreenWidth();
    case SM_CYSCREEN:
      return Backend().ScreenHeight();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 16;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    default:
      return 0;
  }
}

int16_t GetKeyState(int32_t VirtualKey) {
  TWindowManager& wm = WM();
  bool down = false;
  switch (VirtualKey) {
    case VK_SHIFT:
      down = wm.Modifiers & kModShift;
      break;
    case VK_CONTROL:
      down = wm.Modifiers & kModCtrl;
      break;
    case VK_MENU:
      down = wm.Modifiers & kModAlt;
      break;
    case VK_LBUTTON:
      down = wm.Buttons & MK_LBUTTON;
      break;
    case VK_RBUTTON:
      down = wm.Buttons & MK_RBUTTON;
      break;
    case VK_MBUTTON:
      down = wm.Buttons & MK_MBUTTON;
      break;
    default:
      break;
  }
  return down ? int16_t(-128) : int16_t(0);
}

}  // namespace bw
