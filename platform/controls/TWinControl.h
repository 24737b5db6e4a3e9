#pragma once
// A control with a window: it holds child controls, can take the keyboard focus and has
// a handle that is created when first needed, destroyed with the control and re-created
// on demand (RecreateWnd) with fresh CreateParams. A window without a parent, or one
// whose CreateParams ask for WS_POPUP, is top-level: it has a surface of the back end, a
// back buffer that all the controls inside it paint into, and screen coordinates.
//
// Painting: Invalidate marks a rectangle of the window; a paint pass (the message loop
// when idle, or Update) paints every marked window in z-order: its background, Paint,
// its graphic controls, then its windowed children, each through a canvas whose origin
// and clip are the control's. Whatever a window paints over is painted again by the
// windows above it. The back buffer is then presented.

#include <memory>
#include <vector>

#include "platform/backend/TBackend.h"
#include "platform/controls/TControl.h"
#include "platform/controls/TUpdateRegion.h"
#include "platform/controls/WinApi.h"

namespace bw {

class TBitmap;
class TCanvas;

class TWinControl : public TControl {
  BW_CLASS(TWinControl, TControl)

 public:
  explicit TWinControl(TComponent* AOwner);
  /// Frees the children it parents but does not own, then destroys its window.
  ~TWinControl() override;

  // Children.
  /// Graphic controls first, then windowed ones, each in z-order from the bottom.
  int32_t ControlCount() const { return int32_t(FControls.size() + FWinControls.size()); }
  TControl* Controls(int32_t Index) const;
  /// True when Control is this control or lies anywhere inside it.
  bool ContainsControl(const TControl* Control) const;
  /// The topmost visible child (enabled only, unless AllowDisabled) at a client point.
  TControl* ControlAtPos(TPoint P, bool AllowDisabled = false) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  /// Sends a message to every child until one sets a nonzero result.
  void Broadcast(TMessage& Message);
  /// Sends a message to every child, ignoring results.
  void NotifyControls(uint32_t Msg);

  // The window.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != 0; }
  void HandleNeeded();
  /// Destroys the window and makes it again (CreateParams and CreateWnd run again) when
  /// it exists; the text, children and focus survive.
  void RecreateWnd();
  /// True for a window with its own surface of the back end.
  bool IsTopLevel() const;
  /// The top-level window this one lies in (itself when top-level).
  TWinControl* TopLevelWindow();
  /// The back end's surface of a top-level window whose handle exists, else 0.
  TWindowId Surface() const { return FSurface; }
  /// The style bits the window was created with (0 without a handle).
  uint32_t WindowStyle() const { return FStyle; }
  uint32_t WindowExStyle() const { return FExStyle; }
  /// True when the window is showing: visible, with every parent showing.
  bool Showing() const { return FShowing; }
  bool IsShowing() const override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  /// Width of the frame around the client area (border styles).
  int32_t BorderWidth() const;

  // Focus and keyboard.
  /// True when the control, its parents and its form are visible and enabled.
  virtual bool CanFocus() const;
  /// True when this window has the keyboard focus.
  virtual bool Focused() const;
  /// Makes the control its form's active control and gives it the focus when the form is
  /// active. EInvalidOperation when it cannot take the focus.
  virtual void SetFocus();
  /// Default 0 for a new child: its place in the parent's tab order. Setting it moves the
  /// others up or down.
  int32_t TabOrder() const;
  void SetTabOrder(int32_t Value);
  /// Default false.
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  /// The focusable descendants in tab order (depth first).
  void GetTabOrderList(std::vector<TWinControl*>& List);
  /// The control after (or before) CurControl in tab order among this one's descendants.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  /// Offers a key to the form as a dialog key when this control does not want it itself
  /// (Tab, arrows, Enter, Escape); true when the form took it.
  bool DialogKeyCheck(uint16_t Key, TShiftState Shift);

  // 3-D look.
  /// Default true.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  /// Default true: the control takes its parent's Ctl3D.
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);

  /// Lists the child controls that Root owns, and for the root also what it owns
  /// outside the control tree.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Loaded() override;

  // TControl
  void Invalidate() override;
  void Update() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  /// Asks the control to handle a turn of the wheel; false passes it to the parent.
  virtual bool DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos);
  /// Runs WndProc; a failure is reported through Application->HandleException.
  void MainWndProc(TMessage& Message);

  // Painting (used by the paint pass).
  /// Marks a client rectangle of this window for painting.
  void InvalidateClientRect(const TRect& Rect);
  /// Paints every marked window inside this top-level window and presents the result.
  void PaintTopLevel();
  /// True when something inside this top-level window waits to be painted.
  bool NeedsPaint() const;
  /// The back buffer of a top-level window (null until it is first painted).
  TBitmap* BackBuffer() const { return FBackBuffer.get(); }
  /// Paints the graphic controls on a canvas that is set up for this window's client.
  void PaintControls(TCanvas* ACanvas);
  /// The content shown in Area of the client moved by (DX, DY) pixels: the pixels already
  /// painted there move along in the back buffer, and only what they cannot stand for is
  /// marked for painting: the strip the move uncovers, and what was marked before, moved
  /// with the content. Where another window or graphic control lies over the area, or the
  /// pixels are not at hand, the whole area is marked instead.
  void ScrollClientRect(const TRect& Area, int32_t DX, int32_t DY);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

 protected:
  friend class TControl;
  friend class TCustomForm;
  friend struct TWindowManager;

  virtual void CreateParams(TCreateParams& Params);
  /// Creates the window from CreateParams.
  virtual void CreateWnd();
  virtual void DestroyWnd();
  void CreateHandle();
  void DestroyHandle();
  /// The window exists, or the control was made visible or moved into a showing parent:
  /// show or hide the window to match.
  void UpdateShowing();
  void UpdateControlState();
  /// Places children docked with Align.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void Realign();
  void BoundsChanged(bool Moved, bool Sized) override;
  /// Draws the frame that the window style asks for (border, 3-D edge).
  virtual void PaintFrame(TCanvas* ACanvas);
  /// Clears the client area before Paint; a window with csOpaque style skips it.
  virtual void EraseBackground(TCanvas* ACanvas);
  /// Paints the client area through WM_PAINT; see TCustomControl.
  virtual void PaintWindow(TCanvas* ACanvas);
  /// True for a window that is painted once for each part marked apart from the others
  /// (each time clipped to it), rather than once for the rectangle around them all.
  virtual bool PaintsInParts() const { return false; }
  /// The canvas that paints this window at the moment (null outside painting).
  TCanvas* PaintCanvas() const { return FPaintCanvas; }

  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(Char& Key);
  /// True for a form that sees its controls' keys first (KeyPreview).
  virtual bool PreviewsKeys() const { return false; }
  /// Offers the key to a previewing form, then KeyDown; true when the key was eaten.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);

  // Message handlers.
  virtual void WMSize(TMessage& Message);
  virtual void WMPaint(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMCut(TMessage& Message);
  virtual void WMCopy(TMessage& Message);
  virtual void WMPaste(TMessage& Message);
  virtual void WMMouseActivate(TMessage& Message);
  virtual void WMGetDlgCode(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMCtl3DChanged(TMessage& Message);
  virtual void CMParentCtl3DChanged(TMessage& Message);
  virtual void CMFocusChanged(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;

 private:
  void PaintWindowTree(TCanvas* ACanvas, TPoint Origin, const TRect& Clip, TUpdateRegion& Painted);
  /// Paints one marked part of the window (back-buffer pixels) from its frame up.
  void PaintPart(TCanvas* ACanvas, TPoint Origin, const TRect& Client, const TRect& Part);
  /// Where the client's top-left lies in the top-level window's back buffer, and the part
  /// of the buffer that shows the client (the parents' clients cut it); false without one.
  bool ClientInBuffer(TPoint& Origin, TRect& Shown);
  /// True when a graphic child, a windowed child or a window above this one in z-order
  /// paints over part of Rect (back-buffer pixels).
  bool CoveredWithin(const TRect& Rect, TPoint ClientOrigin);
  /// The back-buffer parts of Rect that this window and its parents have marked for
  /// painting.
  TUpdateRegion MarkedWithin(const TRect& Rect, TPoint ClientOrigin);
  void DestroyChildHandles();
  TRect TopLevelScreenBounds() const;

  std::vector<TControl*> FControls;        // graphic children, bottom first
  std::vector<TWinControl*> FWinControls;  // windowed children, bottom first
  std::vector<TWinControl*> FTabList;      // windowed children, in tab order
  HWND FHandle = 0;
  uint32_t FStyle = 0;
  uint32_t FExStyle = 0;
  TWindowId FSurface = 0;
  bool FShowing = false;
  bool FTabStop = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  int32_t FAlignLevel = 0;
  int32_t FLoadedTabOrder = -1;  // applied once the siblings are read too
  TUpdateRegion FUpdateRegion;   // marked part of the window
  std::unique_ptr<TBitmap> FBackBuffer;
  TRect FScrolledRect;     // top-level: back-buffer pixels moved since the last present
  bool FPainting = false;  // top-level: a paint pass runs
  TCanvas* FPaintCanvas = nullptr;
};

}  // namespace bw
