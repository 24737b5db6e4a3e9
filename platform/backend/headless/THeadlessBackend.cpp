#include "platform/backend/headless/THeadlessBackend.h"

#include <algorithm>
#include <cstdlib>

namespace bw {

THeadlessBackend::THeadlessBackend(int32_t ScreenWidth, int32_t ScreenHeight)
    : FScreenWidth(ScreenWidth), FScreenHeight(ScreenHeight) {}

const THeadlessBackend::TSurface* THeadlessBackend::Find(TWindowId Window) const {
  auto it = FWindows.find(Window);
  return it == FWindows.end() ? nullptr : &it->second;
}

THeadlessBackend::TSurface* THeadlessBackend::Find(TWindowId Window) {
  auto it = FWindows.find(Window);
  return it == FWindows.end() ? nullptr : &it->second;
}

TWindowId THeadlessBackend::CreateWindow(const TWindowParams& Params) {
  TWindowId id = FNextId++;
  FWindows[id].Params = Params;
  FStack.push_back(id);
  return id;
}

void THeadlessBackend::DestroyWindow(TWindowId Window) {
  if (!Find(Window)) return;
  Deactivate(Window);
  if (FCapture == Window) FCapture = 0;
  if (FLastPressWindow == Window) FLastPressWindow = 0;
  if (FMouseWindow == Window) FMouseWindow = 0;
  FWindows.erase(Window);
  FStack.erase(std::remove(FStack.begin(), FStack.end(), Window), FStack.end());
}

void THeadlessBackend::SetWindowBounds(TWindowId Window, const TRect& Bounds) {
  if (TSurface* s = Find(Window)) s->Params.Bounds = Bounds;
}

void THeadlessBackend::SetWindowCaption(TWindowId Window, const String& Caption) {
  if (TSurface* s = Find(Window)) s->Params.Caption = Caption;
}

void THeadlessBackend::ShowWindow(TWindowId Window, bool Visible) {
  TSurface* s = Find(Window);
  if (!s || s->Visible == Visible) return;
  s->Visible = Visible;
  if (!Visible) {
    Deactivate(Window);
    if (FCapture == Window) FCapture = 0;
  }
}

void THeadlessBackend::RaiseWindow(TWindowId Window, bool Activate) {
  if (!Find(Window)) return;
  FStack.erase(std::remove(FStack.begin(), FStack.end(), Window), FStack.end());
  FStack.push_back(Window);
  // The program's own activation is synchronous, as on a desktop: no event echoes it.
  if (Activate) FActive = Window;
}

void THeadlessBackend::Deactivate(TWindowId Window) {
  if (FActive == Window) FActive = 0;
}

void THeadlessBackend::Present(TWindowId Window, const TPixelView& Pixels, const TRect& Changed) {
  TSurface* s = Find(Window);
  if (!s || !Pixels.Pixels || Pixels.Width <= 0 || Pixels.Height <= 0) return;
  TRect area = Bounds(0, 0, Pixels.Width, Pixels.Height);
  if (s->PixelWidth != Pixels.Width || s->PixelHeight != Pixels.Height) {
    s->PixelWidth = Pixels.Width;
    s->PixelHeight = Pixels.Height;
    s->Pixels.assign(size_t(Pixels.Width) * Pixels.Height, 0);
  } else {
    area = area.Intersect(Changed);
  }
  for (int32_t y = area.Top; y < area.Bottom; ++y)
    std::copy_n(Pixels.Pixels + size_t(y) * Pixels.Stride + area.Left, area.Width(),
                s->Pixels.begin() + size_t(y) * Pixels.Width + area.Left);
  ++s->Presents;
}

void THeadlessBackend::SetMouseCapture(TWindowId Window) {
  FCapture = Find(Window) ? Window : 0;
}

bool THeadlessBackend::PollEvent(TBackendEvent& Event) {
  if (FEvents.empty()) return false;
  Event = std::move(FEvents.front());
  FEvents.pop_front();
  return true;
}

void THeadlessBackend::WaitEvent(int32_t) {
  // Nothing arrives from outside: the clock and the input are the test's to move.
}

uint32_t THeadlessBackend::StartTimer(uint32_t IntervalMs) {
  return FTimers.Start(IntervalMs, FNow);
}

void THeadlessBackend::StopTimer(uint32_t TimerId) {
  FTimers.Stop(TimerId);
}

void THeadlessBackend::SetScreenSize(int32_t Width, int32_t Height) {
  FScreenWidth = std::max(Width, 1);
  FScreenHeight = std::max(Height, 1);
}

TRect THeadlessBackend::WindowBounds(TWindowId Window) const {
  const TSurface* s = Find(Window);
  return s ? s->Params.Bounds : TRect{};
}

String THeadlessBackend::WindowCaption(TWindowId Window) const {
  const TSurface* s = Find(Window);
  return s ? s->Params.Caption : String();
}

bool THeadlessBackend::WindowVisible(TWindowId Window) const {
  const TSurface* s = Find(Window);
  return s && s->Visible;
}

bool THeadlessBackend::WindowIsPopup(TWindowId Window) const {
  const TSurface* s = Find(Window);
  return s && s->Params.Popup;
}

std::vector<TWindowId> THeadlessBackend::WindowStack() const {
  std::vector<TWindowId> visible;
  for (TWindowId id : FStack)
    if (Find(id)->Visible) visible.push_back(id);
  return visible;
}

TWindowId THeadlessBackend::WindowAt(TPoint ScreenPoint) const {
  for (auto it = FStack.rbegin(); it != FStack.rend(); ++it) {
    const TSurface* s = Find(*it);
    if (s->Visible && s->Params.Bounds.Contains(ScreenPoint)) return *it;
  }
  return 0;
}

int32_t THeadlessBackend::PresentCount(TWindowId Window) const {
  const TSurface* s = Find(Window);
  return s ? s->Presents : 0;
}

void THeadlessBackend::QueueMouse(TBackendEventKind Kind, TPoint ScreenPoint, uint8_t Button,
                                  uint8_t Clicks, uint32_t Modifiers, int32_t Wheel) {
  FMouse = ScreenPoint;
  TWindowId under = WindowAt(ScreenPoint);
  if (FMouseWindow && FMouseWindow != under && FMouseWindow != FCapture) {
    TBackendEvent leave;
    leave.Kind = TBackendEventKind::MouseLeave;
    leave.Window = FMouseWindow;
    Enqueue(std::move(leave));
  }
  FMouseWindow = under;
  TWindowId target = FCapture ? FCapture : under;
  if (!target) return;  // the desktop takes it
  const TRect& b = Find(target)->Params.Bounds;
  TBackendEvent e;
  e.Kind = Kind;
  e.Window = target;
  e.X = ScreenPoint.X - b.Left;
  e.Y = ScreenPoint.Y - b.Top;
  e.Button = Button;
  e.Clicks = Clicks;
  e.Modifiers = Modifiers;
  e.WheelDelta = Wheel;
  Enqueue(std::move(e));
}

void THeadlessBackend::MouseMove(TPoint ScreenPoint, uint32_t Modifiers) {
  QueueMouse(TBackendEventKind::MouseMove, ScreenPoint, 0, 0, Modifiers);
}

void THeadlessBackend::MouseDown(TPoint ScreenPoint, uint8_t Button, uint32_t Modifiers) {
  TWindowId target = FCapture ? FCapture : WindowAt(ScreenPoint);
  uint8_t clicks = 1;
  if (target && target == FLastPressWindow && Button == FLastPressButton && FLastPressClicks == 1 &&
      FNow - FLastPressTime <= DoubleClickTime &&
      std::abs(ScreenPoint.X - FLastPressPoint.X) <= 2 &&
      std::abs(ScreenPoint.Y - FLastPressPoint.Y) <= 2)
    clicks = 2;
  FLastPressWindow = target;
  FLastPressPoint = ScreenPoint;
  FLastPressTime = FNow;
  FLastPressButton = Button;
  FLastPressClicks = clicks;
  QueueMouse(TBackendEventKind::MouseDown, ScreenPoint, Button, clicks, Modifiers);
}

void THeadlessBackend::MouseUp(TPoint ScreenPoint, uint8_t Button, uint32_t Modifiers) {
  QueueMouse(TBackendEventKind::MouseUp, ScreenPoint, Button, 0, Modifiers);
}

void THeadlessBackend::Click(TPoint ScreenPoint, uint8_t Button, uint32_t Modifiers) {
  FLastPressClicks = 0;  // never the second half of a double-click
  MouseDown(ScreenPoint, Button, Modifiers);
  MouseUp(ScreenPoint, Button, Modifiers);
}

void THeadlessBackend::DoubleClick(TPoint ScreenPoint, uint32_t Modifiers) {
  Click(ScreenPoint, kButtonLeft, Modifiers);
  MouseDown(ScreenPoint, kButtonLeft, Modifiers);
  MouseUp(ScreenPoint, kButtonLeft, Modifiers);
}

void THeadlessBackend::MouseWheel(TPoint ScreenPoint, int32_t Delta, uint32_t Modifiers) {
  QueueMouse(TBackendEventKind::MouseWheel, ScreenPoint, 0, 0, Modifiers, Delta);
}

// Keys go to the active window; with none active they are lost, as on a real screen.
void THeadlessBackend::QueueKey(TBackendEventKind Kind, uint16_t Key, uint32_t Modifiers) {
  if (!FActive) return;
  TBackendEvent e;
  e.Kind = Kind;
  e.Window = FActive;
  e.Key = Key;
  e.Modifiers = Modifiers;
  Enqueue(std::move(e));
}

void THeadlessBackend::KeyDown(uint16_t Key, uint32_t Modifiers) {
  QueueKey(TBackendEventKind::KeyDown, Key, Modifiers);
}

void THeadlessBackend::KeyUp(uint16_t Key, uint32_t Modifiers) {
  QueueKey(TBackendEventKind::KeyUp, Key, Modifiers);
}

void THeadlessBackend::Key(uint16_t Key, uint32_t Modifiers) {
  KeyDown(Key, Modifiers);
  KeyUp(Key, Modifiers);
}

void THeadlessBackend::TypeText(const String& Text) {
  if (!FActive || Text.empty()) return;
  TBackendEvent e;
  e.Kind = TBackendEventKind::Text;
  e.Window = FActive;
  e.Text = Text;
  Enqueue(std::move(e));
}

void THeadlessBackend::UserActivate(TWindowId Window) {
  const TSurface* s = Find(Window);
  if (!s || FActive == Window || s->Params.NoActivate) return;
  if (FActive) {
    TBackendEvent e;
    e.Kind = TBackendEventKind::Deactivate;
    e.Window = FActive;
    Enqueue(std::move(e));
  }
  RaiseWindow(Window, true);
  TBackendEvent e;
  e.Kind = TBackendEventKind::Activate;
  e.Window = Window;
  Enqueue(std::move(e));
}

void THeadlessBackend::UserClose(TWindowId Window) {
  if (!Find(Window)) return;
  TBackendEvent e;
  e.Kind = TBackendEventKind::Close;
  e.Window = Window;
  Enqueue(std::move(e));
}

void THeadlessBackend::UserResize(TWindowId Window, int32_t Width, int32_t Height) {
  TSurface* s = Find(Window);
  if (!s) return;
  s->Params.Bounds = Bounds(s->Params.Bounds.Left, s->Params.Bounds.Top, Width, Height);
  TBackendEvent e;
  e.Kind = TBackendEventKind::Resize;
  e.Window = Window;
  e.X = Width;
  e.Y = Height;
  Enqueue(std::move(e));
}

void THeadlessBackend::UserQuit() {
  TBackendEvent e;
  e.Kind = TBackendEventKind::Quit;
  Enqueue(std::move(e));
}

void THeadlessBackend::AdvanceTime(uint32_t Ms) {
  uint64_t end = FNow + Ms;
  // Fire in time order, so that two timers interleave as they would on a real clock.
  uint64_t due = 0;
  while (uint32_t next = FTimers.PopDue(end, due)) {
    FNow = due;
    TBackendEvent e;
    e.Kind = TBackendEventKind::Timer;
    e.TimerId = next;
    Enqueue(std::move(e));
  }
  FNow = end;
}

uint32_t THeadlessBackend::WindowPixel(TWindowId Window, int32_t X, int32_t Y) const {
  const TSurface* s = Find(Window);
  if (!s || X < 0 || Y < 0 || X >= s->PixelWidth || Y >= s->PixelHeight) return 0;
  return s->Pixels[size_t(Y) * s->PixelWidth + X];
}

}  // namespace bw
