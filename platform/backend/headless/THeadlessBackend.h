#pragma once
// A back end without a display: a virtual screen (1024x768 unless set) holding the
// top-level surfaces, a clock that moves only when told, input that tests script, an
// in-memory clipboard, and snapshots of a surface or of the whole screen.
//
// Scripted mouse input is given in screen coordinates; it goes to the surface holding the
// mouse capture, else to the topmost visible surface under the point. Keys and text go
// to the active surface. The second press of a double-click (same button, within
// DoubleClickTime and two pixels of the first) carries Clicks = 2.

#include <deque>
#include <map>
#include <vector>

#include "platform/backend/TBackend.h"
#include "platform/backend/TTimerQueue.h"
#include "platform/core/TPoint.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

class THeadlessBackend : public TBackend {
 public:
  static constexpr uint32_t DoubleClickTime = 500;
  /// The colour of the screen where no surface lies.
  static constexpr uint32_t DesktopColor = 0x00008080;

  THeadlessBackend(int32_t ScreenWidth = 1024, int32_t ScreenHeight = 768);

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
  bool CanWaitForEvents() const override { return false; }
  String ClipboardText() override { return FClipboard; }
  void SetClipboardText(const String& Text) override { FClipboard = Text; }
  int32_t ScreenWidth() const override { return FScreenWidth; }
  int32_t ScreenHeight() const override { return FScreenHeight; }
  uint64_t TickCount() const override { return FNow; }
  uint32_t StartTimer(uint32_t IntervalMs) override;
  void StopTimer(uint32_t TimerId) override;

  // The virtual screen and its surfaces.
  void SetScreenSize(int32_t Width, int32_t Height);
  bool WindowExists(TWindowId Window) const { return FWindows.count(Window) != 0; }
  TRect WindowBounds(TWindowId Window) const;
  String WindowCaption(TWindowId Window) const;
  bool WindowVisible(TWindowId Window) const;
  bool WindowIsPopup(TWindowId Window) const;
  /// Visible surfaces from the bottom of the stack to the top.
  std::vector<TWindowId> WindowStack() const;
  TWindowId ActiveWindow() const { return FActive; }
  TWindowId MouseCapture() const { return FCapture; }
  /// The topmost visible surface under a screen point, or 0.
  TWindowId WindowAt(TPoint ScreenPoint) const;
  /// How many times a surface has been presented.
  int32_t PresentCount(TWindowId Window) const;

  // Scripted input (screen coordinates). Each call queues events; nothing is handled
  // until the program takes them from the queue.
  void MouseMove(TPoint ScreenPoint, uint32_t Modifiers = 0);
  void MouseDown(TPoint ScreenPoint, uint8_t Button = kButtonLeft, uint32_t Modifiers = 0);
  void MouseUp(TPoint ScreenPoint, uint8_t Button = kButtonLeft, uint32_t Modifiers = 0);
  /// A press and release that is never taken as part of a double-click.
  void Click(TPoint ScreenPoint, uint8_t Button = kButtonLeft, uint32_t Modifiers = 0);
  /// Press, release, press (Clicks = 2), release.
  void DoubleClick(TPoint ScreenPoint, uint32_t Modifiers = 0);
  void MouseWheel(TPoint ScreenPoint, int32_t Delta, uint32_t Modifiers = 0);
  void KeyDown(uint16_t Key, uint32_t Modifiers = 0);
  void KeyUp(uint16_t Key, uint32_t Modifiers = 0);
  /// Key down and up.
  void Key(uint16_t Key, uint32_t Modifiers = 0);
  /// Typed text as the keyboard's text input delivers it.
  void TypeText(const String& Text);
  /// The user activates a surface (as by clicking its caption or switching windows); a
  /// surface that is never activated (NoActivate) stays as it is.
  void UserActivate(TWindowId Window);
  void UserClose(TWindowId Window);
  void UserResize(TWindowId Window, int32_t Width, int32_t Height);
  void UserQuit();
  /// Moves the clock on, queuing an event for every timer that falls due.
  void AdvanceTime(uint32_t Ms);
  TPoint MousePos() const { return FMouse; }

  // Snapshots of what was last presented.
  /// The surface's pixels, as last presented (black where never presented).
  std::unique_ptr<TBitmap> SnapshotWindow(TWindowId Window) const;
  /// The screen: every visible surface in stacking order over the desktop colour.
  std::unique_ptr<TBitmap> SnapshotScreen() const;
  void SaveWindowPng(TWindowId Window, const String& FileName) const;
  void SaveScreenPng(const String& FileName) const;
  /// The pixel (0x00RRGGBB) last presented at a surface point; 0 outside.
  uint32_t WindowPixel(TWindowId Window, int32_t X, int32_t Y) const;

 private:
  struct TSurface {
    TWindowParams Params;
    bool Visible = false;
    std::vector<uint32_t> Pixels;
    int32_t PixelWidth = 0;
    int32_t PixelHeight = 0;
    int32_t Presents = 0;
  };

  const TSurface* Find(TWindowId Window) const;
  TSurface* Find(TWindowId Window);
  void Enqueue(TBackendEvent Event) { FEvents.push_back(std::move(Event)); }
  void QueueKey(TBackendEventKind Kind, uint16_t Key, uint32_t Modifiers);
  void QueueMouse(TBackendEventKind Kind, TPoint ScreenPoint, uint8_t Button, uint8_t Clicks,
                  uint32_t Modifiers, int32_t Wheel = 0);
  void Deactivate(TWindowId Window);

  int32_t FScreenWidth;
  int32_t FScreenHeight;
  std::map<TWindowId, TSurface> FWindows;
  std::vector<TWindowId> FStack;  // bottom to top
  TWindowId FNextId = 1;
  TWindowId FActive = 0;
  TWindowId FCapture = 0;
  std::deque<TBackendEvent> FEvents;
  String FClipboard;
  uint64_t FNow = 0;
  TTimerQueue FTimers;
  TPoint FMouse;
  TWindowId FMouseWindow = 0;  // the surface the pointer is over, for MouseLeave
  // The last press, to tell a double-click.
  TWindowId FLastPressWindow = 0;
  TPoint FLastPressPoint;
  uint64_t FLastPressTime = 0;
  uint8_t FLastPressButton = 0;
  uint8_t FLastPressClicks = 0;
};

}  // namespace bw
