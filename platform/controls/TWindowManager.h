#pragma once
// The state behind the window-level calls: the handle table, the focus, the active
// top-level window, mouse capture, the caret, timers and posted messages. One instance
// serves the program; tests reset it between cases.

#include <deque>
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/backend/TBackend.h"
#include "platform/controls/WinApi.h"

namespace bw {

class TControl;
class TWinControl;

struct TWindowManager {
  static TWindowManager& Get();

  /// Gives a new window a handle.
  HWND Register(TWinControl* Control);
  /// Forgets a handle that is being destroyed: focus, capture, caret and timers that
  /// belong to it go with it.
  void Unregister(HWND Wnd);
  TWinControl* Find(HWND Wnd) const;

  /// Makes a top-level window the active one (or none): the old one gets WM_ACTIVATE
  /// with WA_INACTIVE, the new one WM_ACTIVATE with WA_ACTIVE.
  void SetActiveWindow(TWinControl* TopLevel);
  TWinControl* ActiveWindow() const;
  /// The active window Leaving is hidden or goes: the most recently active other visible
  /// form takes over (none when there is no such form).
  void ActivateNextForm(TWinControl* Leaving);

  /// The control that holds the capture (a graphic control's window holds it for it).
  void SetCaptureControl(TControl* Control);
  TControl* CaptureControl() const { return FCaptureControl; }
  /// A control is going away: drop every reference to it.
  void ControlDestroying(TControl* Control);

  /// Top-level windows whose handles exist, in creation order.
  const std::vector<TWinControl*>& TopLevels() const { return FTopLevels; }
  void AddTopLevel(TWinControl* Window);
  void RemoveTopLevel(TWinControl* Window);
  /// The top-level window of a back-end surface.
  TWinControl* FindSurface(TWindowId Surface) const;

  /// True when the caret's look inside a top-level window differs from what that window
  /// last presented.
  bool CaretChanged(TWinControl* TopLevel) const;
  /// Presents a top-level window's back buffer with the caret drawn over it; Changed is
  /// what was painted since the last time (the caret's old and new places are added).
  void PresentWithCaret(TWinControl* TopLevel, const TRect& Changed);
  /// The caret's rectangle in a top-level window's pixels (empty when it is not there,
  /// or in the off half of a blink).
  TRect CaretRectIn(TWinControl* TopLevel) const;
  /// Shows the caret and starts its blinking anew (after it is made, shown or moved, so it
  /// stays in sight while the user types); a back end without blinking keeps it steady.
  void RestartCaretBlink();
  void StopCaretBlink();
  /// Takes the blink timer's event; false for any other timer.
  bool CaretBlinkTimerFired(uint32_t TimerId);

  /// Clears everything (between tests, after every window is gone).
  void Reset();

  std::unordered_map<HWND, TWinControl*> Handles;
  HWND NextHandle = 1;
  HWND Focus = 0;
  HWND Active = 0;
  /// Top-level windows in the order they were last activated, the latest last.
  std::vector<HWND> ActivationOrder;
  TControl* FCaptureControl = nullptr;
  TCaretInfo Caret;
  int32_t CaretHideLevel = 0;
  uint32_t CaretBlinkTimer = 0;  // the back end's timer, 0 while the caret does not blink
  bool CaretBlinkOff = false;    // in the half of a blink where the caret is not drawn
  struct TTimerKey {
    HWND Wnd;
    uintptr_t Id;
    bool operator<(const TTimerKey& o) const { return Wnd != o.Wnd ? Wnd < o.Wnd : Id < o.Id; }
  };
  std::map<TTimerKey, uint32_t> Timers;      // -> back-end timer
  std::map<uint32_t, TTimerKey> TimersById;  // back-end timer ->
  struct TPosted {
    HWND Wnd;
    TMessage Message;
  };
  std::deque<TPosted> Posted;
  /// Modifier keys (kMod bits) and mouse buttons (MK_ bits) held, as input reported them.
  uint32_t Modifiers = 0;
  uintptr_t Buttons = 0;
  /// The control under the mouse, for CM_MOUSEENTER and CM_MOUSELEAVE.
  TControl* MouseControl = nullptr;
  /// While above 0, showing a form does not activate it (SWP_NOACTIVATE, SW_SHOWNA).
  int32_t SuppressActivation = 0;
  /// Forms shown modally, the innermost last: input to any other form is dropped.
  std::vector<TWinControl*> ModalForms;
  /// True when input may reach a top-level window while forms are modal.
  bool AcceptsInput(TWinControl* TopLevel) const;
  /// The controls that TControlWatch objects follow; one that is freed becomes null.
  std::vector<TControl**> Watches;
  /// The caret rectangle each top-level window last presented.
  std::map<TWinControl*, TRect> PresentedCaret;
  /// The caret's place last told to the back end for input methods.
  TRect TextInputPlace;

 private:
  std::vector<TWinControl*> FTopLevels;
};

}  // namespace bw
