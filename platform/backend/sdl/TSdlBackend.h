#pragma once
// Real windows through SDL2: one SDL window for every top-level surface. Pop-ups are
// borderless windows that the window manager leaves alone; a surface that takes no
// activation is shown without taking the keyboard, and if the window system hands it the
// keyboard all the same (as it does without a window manager) the active surface gets it
// back. The scale between logical and device pixels is read from the display (a whole
// number, so pixels stay sharp; BW_SCALE overrides it).
//
// Its parts: TSdlWindowTable (the surfaces), TSdlEventTranslator (SDL's events in the
// back end's terms), TSdlPresenter (pixels onto the windows), TTimerQueue (timers on SDL's
// clock), TSdlEventWait (sleeping until input comes), TSdlQuitSignals (SIGINT and SIGTERM
// as a request to end). A lost display ends the program (SdlDisplayLoss.h). This class holds them
// together and makes the window-system calls.

#include <deque>

#include "platform/backend/TBackend.h"
#include "platform/backend/TTimerQueue.h"
#include "platform/backend/sdl/TSdlEventTranslator.h"
#include "platform/backend/sdl/TSdlEventWait.h"
#include "platform/backend/sdl/TSdlPresenter.h"
#include "platform/backend/sdl/TSdlQuitSignals.h"
#include "platform/backend/sdl/TSdlWindowTable.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

class TSdlBackend : public TBackend {
 public:
  /// Starts SDL's video; EInvalidOperation when there is no display to open.
  TSdlBackend();
  ~TSdlBackend() override;
  TSdlBackend(const TSdlBackend&) = delete;
  TSdlBackend& operator=(const TSdlBackend&) = delete;

  /// The whole-number scale for a display's dots per inch (96 is 1).
  static int32_t ScaleForDpi(float Dpi);
  /// True when a display is named in the environment (DISPLAY or WAYLAND_DISPLAY).
  static bool DisplayNamed();

  // TBackend
  TWindowId CreateWindow(const TWindowParams& Params) override;
  void DestroyWindow(TWindowId Window) override;
  void SetWindowBounds(TWindowId Window, const TRect& Bounds) override;
  void SetWindowCaption(TWindowId Window, const String& Caption) override;
  void ShowWindow(TWindowId Window, bool Visible) override;
  void RaiseWindow(TWindowId Window, bool Activate) override;
  void Present(TWindowId Window, const TPixelView& Pixels, const TRect& Changed) override;
  void SetMouseCapture(TWindowId Window) override;
  bool PollEvent(TBackendEvent& Event) override;
  void WaitEvent(int32_t TimeoutMs) override;
  String ClipboardText() override;
  void SetClipboardText(const String& Text) override;
  int32_t ScreenWidth() const override { return FScreenWidth; }
  int32_t ScreenHeight() const override { return FScreenHeight; }
  uint64_t TickCount() const override;
  uint32_t StartTimer(uint32_t IntervalMs) override;
  void StopTimer(uint32_t TimerId) override;
  uint32_t CaretBlinkTime() const override { return 530; }
  void SetTextInputPlace(TWindowId Window, const TRect& Caret) override;

  int32_t Scale() const { return FWindows.Scale(); }
  /// What a surface shows now, read back from its window (logical pixels).
  std::unique_ptr<TBitmap> SnapshotWindow(TWindowId Window) const;
  /// The surface's SDL window id (0 for none), for tools that drive the window.
  uint32_t SdlWindowId(TWindowId Window);

 private:
  /// Takes what SDL has waiting and the timers that fell due into FEvents.
  void Pump();
  void GiveKeyboard(TWindowId Window);

  TSdlQuitSignals FSignals;
  TSdlWindowTable FWindows;
  TSdlEventTranslator FTranslator{FWindows};
  TSdlPresenter FPresenter;
  TTimerQueue FTimers;
  TSdlEventWait FWait;
  std::deque<TBackendEvent> FEvents;
  uint64_t FStart = 0;
  int32_t FScreenWidth = 0;
  int32_t FScreenHeight = 0;
};

}  // namespace bw
