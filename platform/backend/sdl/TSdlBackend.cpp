#include "platform/backend/sdl/TSdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "platform/backend/sdl/SdlDisplayLoss.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

namespace {

constexpr uint32_t kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;
// Events taken in one pump at most, so a flood of input cannot starve painting.
constexpr int kEventsPerPump = 256;

int32_t ScaleFromEnvironment() {
  const char* value = std::getenv("BW_SCALE");
  if (!value || !*value) return 0;
  int scale = std::atoi(value);
  if (scale < 1 || scale > 8)
    throw EInvalidOperation(
        Format("BW_SCALE must be a whole number from 1 to 8, not \"%s\"", {value}));
  return scale;
}

int32_t DisplayScale() {
  if (int32_t scale = ScaleFromEnvironment()) return scale;
  float dpi = 0;
  if (SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) != 0) return 1;
  return TSdlBackend::ScaleForDpi(dpi);
}

}  // namespace

TSdlBackend::TSdlBackend() {
  // A Close is a request the program may refuse, not the end of it.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // The platform's double-click rectangle (SM_CXDOUBLECLK) rather than SDL's wide one.
  SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "4");
  // The click that activates a window also reaches the control under it.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The window system's own framebuffer, not an OpenGL texture behind the window surface:
  // the pixels are ours already, and only the changed rectangles travel to the screen.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // FSignals handles SIGINT and SIGTERM instead.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(kSubsystems) != 0)
    throw EInvalidOperation(Format("The SDL back end cannot open a display: %s", {SDL_GetError()}));
  EndProgramOnDisplayLoss();
  try {
    FWindows = TSdlWindowTable(DisplayScale());
  } catch (...) {
    SDL_QuitSubSystem(kSubsystems);
    throw;
  }
  FStart = SDL_GetTicks64();
  SDL_Rect screen{0, 0, 1024, 768};
  SDL_GetDisplayBounds(0, &screen);
  FScreenWidth = std::max(FWindows.ToLogical(screen.w), 1);
  FScreenHeight = std::max(FWindows.ToLogical(screen.h), 1);
  SDL_StartTextInput();
}

TSdlBackend::~TSdlBackend() {
  // A signal from here on ends the process: no loop is left to honour a request.
  FSignals.Uninstall();
  std::vector<TWindowId> left;
  for (const auto& [id, w] : FWindows.All())
    left.push_back(id);
  for (TWindowId id : left)
    DestroyWindow(id);
  SDL_QuitSubSystem(kSubsystems);
}

int32_t TSdlBackend::ScaleForDpi(float Dpi) {
  // A whole-number scale keeps lines one device pixel apart per logical pixel; it steps
  // up once a display is three quarters of the way to the next one.
  if (!(Dpi > 0)) return 1;
  return std::clamp(int32_t(Dpi / 96.0f + 0.25f), 1, 8);
}

bool TSdlBackend::DisplayNamed() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* value = std::getenv(name); value && *value) return true;
  return false;
}

TWindowId TSdlBackend::CreateWindow(const TWindowParams& Params) {
  uint32_t flags = SDL_WINDOW_HIDDEN;
  // Pop-ups bypass the window manager: no frame, no task-bar entry, placed exactly and
  // kept above the program's other windows.
  flags |= Params.Popup ? SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_POPUP_MENU |
                              SDL_WINDOW_ALWAYS_ON_TOP
                        : SDL_WINDOW_RESIZABLE;
  const TRect& b = Params.Bounds;
  SDL_Window* window = SDL_CreateWindow(
      Params.Caption.c_str(), FWindows.ToDevice(b.Left), FWindows.ToDevice(b.Top),
      FWindows.ToDevice(std::max(b.Width(), 1)), FWindows.ToDevice(std::max(b.Height(), 1)), flags);
  if (!window) throw EInvalidOperation(Format("Cannot create a window: %s", {SDL_GetError()}));
  FWait.Learn(window);
  return FWindows.Add(SDL_GetWindowID(window), window, Params).Id;
}

void TSdlBackend::DestroyWindow(TWindowId Window) {
  TSdlWindow* w = FWindows.Find(Window);
  if (!w) return;
  if (FTranslator.Capture() == Window) SDL_CaptureMouse(SDL_FALSE);
  FTranslator.WindowGone(Window);
  FPresenter.Forget(w->Handle);
  SDL_DestroyWindow(w->Handle);
  FWindows.Remove(Window);
}

void TSdlBackend::SetWindowBounds(TWindowId Window, const TRect& Bounds) {
  TSdlWindow* w = FWindows.Find(Window);
  if (!w || w->Bounds == Bounds) return;
  TRect old = w->Bounds;
  // Recorded first, so that the window system's report of the change is known as ours.
  w->Bounds = Bounds;
  if (Bounds.Left != old.Left || Bounds.Top != old.Top)
    SDL_SetWindowPosition(w->Handle, FWindows.ToDevice(Bounds.Left), FWindows.ToDevice(Bounds.Top));
  if (Bounds.Width() != old.Width() || Bounds.Height() != old.Height())
    SDL_SetWindowSize(w->Handle, FWindows.ToDevice(std::max(Bounds.Width(), 1)),
                      FWindows.ToDevice(std::max(Bounds.Height(), 1)));
}

void TSdlBackend::SetWindowCaption(TWindowId Window, const String& Caption) {
  if (TSdlWindow* w = FWindows.Find(Window)) SDL_SetWindowTitle(w->Handle, Caption.c_str());
}

void TSdlBackend::ShowWindow(TWindowId Window, bool Visible) {
  TSdlWindow* w = FWindows.Find(Window);
  if (!w || w->Visible == Visible) return;
  w->Visible = Visible;
  if (!Visible) {
    SDL_HideWindow(w->Handle);
    return;
  }
  SDL_ShowWindow(w->Handle);
  // Without a window manager a shown window takes the keyboard; the active one keeps it.
  if (TWindowId active = FTranslator.Active()) GiveKeyboard(active);
}

void TSdlBackend::RaiseWindow(TWindowId Window, bool Activate) {
  TSdlWindow* w = FWindows.Find(Window);
  if (!w) return;
  if (Activate) {
    FTranslator.ProgramActivated(Window, TickCount());
    if (w->Visible) {
      SDL_RaiseWindow(w->Handle);
      GiveKeyboard(Window);
    }
  } else if (w->Popup && w->Visible) {
    // SDL raises by asking for activation, which a window manager grants to a normal
    // window; pop-ups are outside its reach, so only they are raised quietly.
    SDL_RaiseWindow(w->Handle);
  }
}

void TSdlBackend::SetTextInputPlace(TWindowId Window, const TRect& Caret) {
  if (!FWindows.Find(Window)) return;
  // SDL places the input method's window beside this rectangle of the focused window.
  SDL_Rect place{FWindows.ToDevice(Caret.Left), FWindows.ToDevice(Caret.Top),
                 FWindows.ToDevice(Caret.Width()), FWindows.ToDevice(Caret.Height())};
  SDL_SetTextInputRect(&place);
}

void TSdlBackend::GiveKeyboard(TWindowId Window) {
  TSdlWindow* w = FWindows.Find(Window);
  if (w && w->Visible) SDL_SetWindowInputFocus(w->Handle);
}

void TSdlBackend::Present(TWindowId Window, const TPixelView& Pixels, const TRect& Changed) {
  if (TSdlWindow* w = FWindows.Find(Window))
    FPresenter.Present(w->Handle, Pixels, Changed, FWindows.Scale());
}

void TSdlBackend::SetMouseCapture(TWindowId Window) {
  TWindowId target = FWindows.Find(Window) ? Window : 0;
  if (target == FTranslator.Capture()) return;
  FTranslator.SetCapture(target);
  // SDL captures for the window under the mouse; the translator sends to the right one.
  SDL_CaptureMouse(target ? SDL_TRUE : SDL_FALSE);
}

void TSdlBackend::Pump() {
  if (FSignals.Take()) {
    TBackendEvent quit;
    quit.Kind = TBackendEventKind::Quit;
    FEvents.push_back(std::move(quit));
  }
  SDL_Event event;
  for (int i = 0; i < kEventsPerPump && SDL_PollEvent(&event); ++i) {
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
      if (TSdlWindow* w = FWindows.FindSdl(event.window.windowID)) FPresenter.Expose(w->Handle);
      continue;
    }
    FTranslator.Translate(event, uint16_t(SDL_GetModState()), FEvents);
  }
  if (FTranslator.FocusMoved()) {
    SDL_Window* focus = SDL_GetKeyboardFocus();
    TSdlWindow* w = focus ? FWindows.FindSdl(SDL_GetWindowID(focus)) : nullptr;
    if (TWindowId back = FTranslator.SettleFocus(w ? w->Id : 0, TickCount(), FEvents))
      GiveKeyboard(back);
  }
  uint64_t due = 0;
  while (uint32_t id = FTimers.PopDue(TickCount(), due, true)) {
    TBackendEvent e;
    e.Kind = TBackendEventKind::Timer;
    e.TimerId = id;
    FEvents.push_back(std::move(e));
  }
}

bool TSdlBackend::PollEvent(TBackendEvent& Event) {
  if (FEvents.empty()) Pump();
  if (FEvents.empty()) return false;
  Event = std::move(FEvents.front());
  FEvents.pop_front();
  return true;
}

void TSdlBackend::WaitEvent(int32_t TimeoutMs) {
  if (!FEvents.empty()) return;
  int64_t timeout = TimeoutMs;
  if (auto due = FTimers.NextDue()) {
    const int64_t untilDue = std::max<int64_t>(int64_t(*due) - int64_t(TickCount()), 0);
    timeout = timeout < 0 ? untilDue : std::min(timeout, untilDue);
  }
  FWait.Wait(timeout);
}

String TSdlBackend::ClipboardText() {
  char* text = SDL_GetClipboardText();
  String result = text ? text : "";
  SDL_free(text);
  return result;
}

void TSdlBackend::SetClipboardText(const String& Text) {
  SDL_SetClipboardText(Text.c_str());
}

uint64_t TSdlBackend::TickCount() const {
  return SDL_GetTicks64() - FStart;
}

uint32_t TSdlBackend::StartTimer(uint32_t IntervalMs) {
  return FTimers.Start(IntervalMs, TickCount());
}

void TSdlBackend::StopTimer(uint32_t TimerId) {
  FTimers.Stop(TimerId);
}

std::unique_ptr<TBitmap> TSdlBackend::SnapshotWindow(TWindowId Window) const {
  auto& windows = const_cast<TSdlWindowTable&>(FWindows);
  TSdlWindow* w = windows.Find(Window);
  if (!w)
    throw EInvalidOperation(Format("No window %s to take a snapshot of", {std::to_string(Window)}));
  return FPresenter.Snapshot(w->Handle, w->Bounds.Width(), w->Bounds.Height(), FWindows.Scale());
}

uint32_t TSdlBackend::SdlWindowId(TWindowId Window) {
  TSdlWindow* w = FWindows.Find(Window);
  return w ? w->SdlId : 0;
}

}  // namespace bw
