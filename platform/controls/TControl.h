#pragma once
// The base of every visual control: a place in a parent, bounds, visibility and
// enablement, font and colour (each optionally taken from the parent), hint, style and
// state flags, alignment, painting requests, and messages: Perform sends a message to
// WndProc, which hands it to Dispatch, which calls the handler for its number.
//
// Mouse messages reach a control through its parent's window (see TWinControl), already
// in the control's client coordinates.

#include <memory>

#include "platform/controls/ControlTypes.h"
#include "platform/controls/Messages.h"
#include "platform/core/TComponent.h"
#include "platform/core/TRect.h"
#include "platform/graphics/TColor.h"

namespace bw {

class TFont;
class TWinControl;
class TCustomForm;

class TControl : public TComponent {
  BW_CLASS(TControl, TComponent)

 public:
  explicit TControl(TComponent* AOwner);
  /// Leaves the parent (releasing capture and focus it holds) before it is freed.
  ~TControl() override;

  // Place in the tree.
  TWinControl* Parent() const { return FParent; }
  /// Moves the control into another parent's list of controls (or out of any).
  virtual void SetParent(TWinControl* AParent);

  // Bounds, in the parent's client coordinates (screen coordinates for a top-level window).
  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetLeft(int32_t Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int32_t Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int32_t Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int32_t Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  /// Moves and sizes in one step; negative sizes become 0. The parent repaints what the
  /// control leaves and what it covers; a change of size sends WM_SIZE to a window.
  virtual void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  /// The client area in client coordinates: all of the control, less any border.
  virtual TRect ClientRect() const;
  int32_t ClientWidth() const { return ClientRect().Width(); }
  int32_t ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int32_t Value);
  void SetClientHeight(int32_t Value);
  /// The screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;

  /// Default alNone. A docked control is placed by its parent when either changes size.
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);

  // Visibility and enablement.
  /// Default true.
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  /// True when the control and every parent are visible, up to a top-level window.
  virtual bool IsShowing() const;
  /// Default true. A disabled control gets no mouse or keyboard input.
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  // Appearance.
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  /// Default true: the control uses its parent's font until its own font is changed.
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  /// Default clWindow.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  /// Default false: when true the control takes its parent's colour.
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  /// The caption or text; default empty.
  const String& Caption() const { return FText; }
  void SetCaption(const String& Value) { SetText(Value); }
  const String& Text() const { return FText; }
  virtual void SetText(const String& Value);

  /// Default crDefault: the pointer shape over the control.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  /// Default 0: the help topic of the control.
  int32_t HelpContext() const { return FHelpContext; }
  void SetHelpContext(int32_t Value) { FHelpContext = Value; }

  // Hints.
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  /// Default false.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  /// Default true.
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);

  // Style and state.
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  // Painting.
  /// Marks the control's area to be painted by the next paint pass.
  virtual void Invalidate();
  /// Paints what is marked in the control's window now.
  virtual void Update();
  /// Marks and paints now.
  virtual void Repaint();
  void Refresh() { Repaint(); }
  /// Puts the control above (or below) its siblings of the same kind.
  void BringToFront();
  void SendToBack();

  // Mouse capture.
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // Messages.
  /// Sends a message straight to WndProc and returns its result.
  intptr_t Perform(uint32_t Msg, uintptr_t WParam, intptr_t LParam);
  /// Handles every message; the default keeps control state for mouse messages and
  /// passes the message to Dispatch.
  virtual void WndProc(TMessage& Message);
  /// Calls the handler for the message's number, or DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  /// What happens to a message no handler takes: nothing, for a control.
  virtual void DefaultHandler(TMessage& Message);

  void Loaded() override;

  // Form files: a control is stored inside its parent.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  /// The colour a new control of this class has; Color is stored when it differs.
  virtual TColor DefaultColor() const { return clWindow; }
  /// Whether a new control of this class is visible; Visible is stored when it differs.
  virtual bool DefaultVisible() const { return true; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;

 protected:
  friend class TWinControl;

  // Event operations; overrides call the inherited one to keep the events.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseMove(TShiftState Shift, int32_t X, int32_t Y);
  virtual void Resize();

  /// The font changed (own or parent's): repaint.
  virtual void FontChanged();
  /// The top-level window painting this control, and the control's offset in it.
  TWinControl* PaintingWindow(TPoint& Offset) const;
  /// Sends CM_CANCELMODE naming this control to the active control of its form.
  void SendCancelMode(TControl* Sender);

  // Message handlers.
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMRButtonDblClk(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMButtonDblClk(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMCancelMode(TMessage& Message);

  /// The parts of bounds that changed; a window re-lays out and sends WM_SIZE.
  virtual void BoundsChanged(bool Moved, bool Sized);
  /// Keeps the control's own bounds without any repainting (form reading, alignment).
  void SetBoundsQuiet(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);

  TWinControl* FParent = nullptr;
  int32_t FLeft = 0;
  int32_t FTop = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TControlStyle FControlStyle;
  TControlState FControlState;

 private:
  void MouseButtonDown(TMessage& Message, TMouseButton Button, TShiftState Extra);
  void MouseButtonUp(TMessage& Message, TMouseButton Button);
  void OtherButtonDown(TMessage& Message, TMouseButton Button, TShiftState Extra);
  void OtherButtonUp(TMessage& Message, TMouseButton Button);
  void FontOnChange();

  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TColor FColor = clWindow;
  bool FParentColor = false;
  String FText;
  String FHint;
  TCursor FCursor = crDefault;
  int32_t FHelpContext = 0;
  bool FShowHint = false;
  bool FParentShowHint = true;
};

/// Tells code that calls an event handler whether the control outlived it: a handler may
/// free its own sender (a button that removes itself when clicked).
class TControlWatch {
 public:
  explicit TControlWatch(TControl* Control);
  ~TControlWatch();
  TControlWatch(const TControlWatch&) = delete;
  TControlWatch& operator=(const TControlWatch&) = delete;
  bool Alive() const { return FControl != nullptr; }

 private:
  TControl* FControl;
};

/// The form a control sits on (following Parent up), or null when it is on none.
TCustomForm* GetParentForm(const TControl* Control);

/// The shift state of a mouse message's key bits, with the double flag when asked.
TShiftState MouseKeysToShiftState(uintptr_t Keys);
/// The shift state of the kMod bits that key messages carry.
TShiftState KeyDataToShiftState(intptr_t KeyData);

}  // namespace bw
