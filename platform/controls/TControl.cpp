#include "platform/controls/TControl.h"

#include <algorithm>

#include "platform/backend/Backend.h"
#include "platform/controls/TCustomForm.h"
#include "platform/controls/TWinControl.h"
#include "platform/controls/TWindowManager.h"
#include "platform/core/Exception.h"
#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TFont.h"

namespace bw {

namespace {
// Whether the parent's window shows this control (a pop-up child lies on its own surface).
bool OnParentsWindow(const TControl* c) {
  if (!c->Parent()) return false;
  auto* w = dynamic_cast<const TWinControl*>(c);
  return !w || !w->IsTopLevel();
}

template <class C, class E>
void PublishEvent(TPropertyBuilder<C>& P, const char* Name, E C::*Member) {
  P.Property(
      Name, [Member](C* c) -> const E& { return c->*Member; },
      [Member](C* c, const E& Value) { c->*Member = Value; });
}
}  // namespace

// Every control stores these; windowed controls add the focus properties.
BW_PUBLISHED(TControl) {
  P.Property("Left", &TControl::Left, &TControl::SetLeft);
  P.Property("Top", &TControl::Top, &TControl::SetTop);
  P.Property("Width", &TControl::Width, &TControl::SetWidth);
  P.Property("Height", &TControl::Height, &TControl::SetHeight);
  P.Property("Align", &TControl::Align, &TControl::SetAlign,
             {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"})
      .Default(alNone);
  P.Property("Color", &TControl::Color, &TControl::SetColor)
      .Idents(ColorIntToIdent, ColorIdentToInt)
      .Stored([](TControl* c) { return !c->ParentColor() && c->Color() != c->DefaultColor(); });
  P.Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
      .Default(crDefault)
      .Idents(CursorToIdent, IdentToCursor);
  P.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
  P.Property("Font", &TControl::Font).Stored([](TControl* c) { return !c->ParentFont(); });
  P.Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
  P.Property("Hint", &TControl::Hint, &TControl::SetHint);
  P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
      .Default(true);
  P.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored([](TControl* c) {
    return !c->ParentShowHint();
  });
  P.Property("Visible", &TControl::Visible, &TControl::SetVisible).Stored([](TControl* c) {
    return c->Visible() != c->DefaultVisible();
  });
  PublishEvent(P, "OnClick", &TControl::OnClick);
  PublishEvent(P, "OnDblClick", &TControl::OnDblClick);
  PublishEvent(P, "OnMouseDown", &TControl::OnMouseDown);
  PublishEvent(P, "OnMouseMove", &TControl::OnMouseMove);
  PublishEvent(P, "OnMouseUp", &TControl::OnMouseUp);
  PublishEvent(P, "OnResize", &TControl::OnResize);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = TNotifyEvent([this](TObject*) { FontOnChange(); });
}

TControl::~TControl() {
  TWindowManager::Get().ControlDestroying(this);
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot be its own parent");
  if (AParent) {
    auto* self = dynamic_cast<TWinControl*>(this);
    if (self && self->ContainsControl(AParent))
      throw EInvalidOperation("A control cannot be placed inside one of its own children");
  }
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBoundsQuiet(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  FLeft = ALeft;
  FTop = ATop;
  FWidth = std::max(AWidth, 0);
  FHeight = std::max(AHeight, 0);
}

void TControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool moved = ALeft != FLeft || ATop != FTop;
  bool sized = AWidth != FWidth || AHeight != FHeight;
  // The parent paints again what the control leaves and what it now covers.
  bool onParent = FVisible && OnParentsWindow(this);
  if (onParent) FParent->InvalidateClientRect(BoundsRect());
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (onParent) FParent->InvalidateClientRect(BoundsRect());
  Invalidate();
  BoundsChanged(moved, sized);
  if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::BoundsChanged(bool, bool Sized) {
  if (Sized && !ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::ClientRect() const {
  return TRect{0, 0, FWidth, FHeight};
}

void TControl::SetClientWidth(int32_t Value) {
  SetWidth(Value + (FWidth - ClientWidth()));
}

void TControl::SetClientHeight(int32_t Value) {
  SetHeight(Value + (FHeight - ClientHeight()));
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) return TPoint{FLeft, FTop};
  TPoint p = FParent->ClientOrigin();
  return TPoint{p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const {
  TPoint o = ClientOrigin();
  return TPoint{P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
  TPoint o = ClientOrigin();
  return TPoint{P.X - o.X, P.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  if (FParent) FParent->Realign();
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  bool onParent = OnParentsWindow(this);
  if (onParent && FVisible) FParent->InvalidateClientRect(BoundsRect());
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value, 0);
  if (onParent && FVisible) FParent->InvalidateClientRect(BoundsRect());
  if (FParent && FAlign != alNone) FParent->Realign();
}

bool TControl::IsShowing() const {
  return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetFont(TFont* Value) {
  if (Value) FFont->Assign(Value);
}

void TControl::FontOnChange() {
  if (!FUpdatingFont) FParentFont = false;
  FontChanged();
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::FontChanged() {}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParent && Value) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent && Value) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  if (FShowHint == Value && !FParentShowHint) return;
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent && Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::Invalidate() {
  if (FParent && FVisible) FParent->InvalidateClientRect(BoundsRect());
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    if (self->IsTopLevel()) {
      if (self->Surface()) Backend().RaiseWindow(self->Surface(), false);
      return;
    }
    auto& wins = FParent->FWinControls;
    auto it = std::find(wins.begin(), wins.end(), self);
    if (it == wins.end() || it + 1 == wins.end()) return;
    wins.erase(it);
    wins.push_back(self);
    Invalidate();
    return;
  }
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end() || it + 1 == list.end()) return;
  list.erase(it);
  list.push_back(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    if (self->IsTopLevel()) return;
    auto& wins = FParent->FWinControls;
    auto it = std::find(wins.begin(), wins.end(), self);
    if (it == wins.end() || it == wins.begin()) return;
    wins.erase(it);
    wins.insert(wins.begin(), self);
    FParent->InvalidateClientRect(BoundsRect());
    return;
  }
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end() || it == list.begin()) return;
  list.erase(it);
  list.insert(list.begin(), this);
  Invalidate();
}

bool TControl::MouseCapture() const {
  return TWindowManager::Get().CaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  TWindowManager::Get().SetCaptureControl(Value ? this : nullptr);
}

intptr_t TControl::Perform(uint32_t Msg, uintptr_t WParam, intptr_t LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FControlState.Include(csLButtonDown);
      break;
    case WM_LBUTTONUP:
      FControlState.Exclude(csLButtonDown);
      break;
    default:
      break;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      WMLButtonDown(Message);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(Message);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      break;
    case WM_RBUTTONDOWN:
      WMRButtonDown(Message);
      break;
    case WM_RBUTTONUP:
      WMRButtonUp(Message);
      break;
    case WM_RBUTTONDBLCLK:
      WMRButtonDblClk(Message);
      break;
    case WM_MBUTTONDOWN:
      WMMButtonDown(Message);
      break;
    case WM_MBUTTONUP:
      WMMButtonUp(Message);
      break;
    case WM_MBUTTONDBLCLK:
      WMMButtonDblClk(Message);
      break;
    case WM_MOUSEMOVE:
      WMMouseMove(Message);
      break;
    case WM_CANCELMODE:
      WMCancelMode(Message);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(Message);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(Message);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(Message);
      break;
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_CANCELMODE:
      CMCancelMode(Message);
      break;
    default:
      DefaultHandler(Message);
      break;
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Loaded() {
  inherited::Loaded();
  if (FParent) {
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
  }
}

TComponent* TControl::GetParentComponent() const {
  return FParent;
}

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* parent = dynamic_cast<TWinControl*>(Value)) SetParent(parent);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

TWinControl* TControl::PaintingWindow(TPoint& Offset) const {
  Offset = TPoint{FLeft, FTop};
  return FParent;
}

void TControl::SendCancelMode(TControl* Sender) {
  if (TCustomForm* form = GetParentForm(this)) form->SendCancelMode(Sender);
}

void TControl::MouseButtonDown(TMessage& Message, TMouseButton Button, TShiftState Extra) {
  TPoint p = LParamToPoint(Message.LParam);
  MouseDown(Button, MouseKeysToShiftState(Message.WParam) + Extra, p.X, p.Y);
}

void TControl::MouseButtonUp(TMessage& Message, TMouseButton Button) {
  TPoint p = LParamToPoint(Message.LParam);
  MouseUp(Button, MouseKeysToShiftState(Message.WParam), p.X, p.Y);
}

// The default handling may focus the control, and OnEnter may free it; so may the mouse
// handlers. Whatever follows checks that the control is still there.
void TControl::WMLButtonDown(TMessage& Message) {
  TControlWatch watch(this);
  SendCancelMode(this);
  if (!watch.Alive()) return;
  DefaultHandler(Message);
  if (!watch.Alive()) return;
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  MouseButtonDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  TControlWatch watch(this);
  SendCancelMode(this);
  if (!watch.Alive()) return;
  DefaultHandler(Message);
  if (!watch.Alive()) return;
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  MouseButtonDown(Message, mbLeft, {ssDouble});
  if (!watch.Alive()) return;
  if (FControlStyle.Contains(csClickEvents)) DblClick();
}

void TControl::WMLButtonUp(TMessage& Message) {
  TControlWatch watch(this);
  DefaultHandler(Message);
  if (!watch.Alive()) return;
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(LParamToPoint(Message.LParam))) {
      Click();
      if (!watch.Alive()) return;
    }
  }
  MouseButtonUp(Message, mbLeft);
}

// A press or release of the right or middle button: the default handling, then the mouse
// event, each only while the control is still there.
void TControl::OtherButtonDown(TMessage& Message, TMouseButton Button, TShiftState Extra) {
  TControlWatch watch(this);
  SendCancelMode(this);
  if (!watch.Alive()) return;
  DefaultHandler(Message);
  if (watch.Alive()) MouseButtonDown(Message, Button, Extra);
}

void TControl::OtherButtonUp(TMessage& Message, TMouseButton Button) {
  TControlWatch watch(this);
  DefaultHandler(Message);
  if (watch.Alive()) MouseButtonUp(Message, Button);
}

void TControl::WMRButtonDown(TMessage& Message) {
  OtherButtonDown(Message, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& Message) {
  OtherButtonUp(Message, mbRight);
}

void TControl::WMRButtonDblClk(TMessage& Message) {
  OtherButtonDown(Message, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& Message) {
  OtherButtonDown(Message, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& Message) {
  OtherButtonUp(Message, mbMiddle);
}

void TControl::WMMButtonDblClk(TMessage& Message) {
  OtherButtonDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMMouseMove(TMessage& Message) {
  TControlWatch watch(this);
  DefaultHandler(Message);
  if (!watch.Alive()) return;
  TPoint p = LParamToPoint(Message.LParam);
  MouseMove(MouseKeysToShiftState(Message.WParam), p.X, p.Y);
}

void TControl::WMCancelMode(TMessage& Message) {
  // Whatever the control was tracking with the mouse ends here.
  SetMouseCapture(false);
  DefaultHandler(Message);
}

void TControl::CMEnabledChanged(TMessage&) {
  Invalidate();
}

void TControl::CMVisibleChanged(TMessage&) {}

void TControl::CMFontChanged(TMessage&) {
  Invalidate();
}

void TControl::CMColorChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  FUpdatingFont = true;
  try {
    FFont->Assign(FParent->Font());
  } catch (...) {
    FUpdatingFont = false;
    throw;
  }
  FUpdatingFont = false;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  TColor c = FParent->Color();
  if (FColor == c) return;
  FColor = c;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent) FShowHint = FParent->ShowHint();
}

void TControl::CMTextChanged(TMessage&) {
  Invalidate();
}

void TControl::CMCancelMode(TMessage&) {}

TControlWatch::TControlWatch(TControl* Control) : FControl(Control) {
  TWindowManager::Get().Watches.push_back(&FControl);
}

TControlWatch::~TControlWatch() {
  auto& watches = TWindowManager::Get().Watches;
  watches.erase(std::find(watches.begin(), watches.end(), &FControl));
}

TCustomForm* GetParentForm(const TControl* Control) {
  if (!Control) return nullptr;
  while (Control->Parent())
    Control = Control->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(Control));
}

TShiftState MouseKeysToShiftState(uintptr_t Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_ALT) s.Include(ssAlt);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  return s;
}

TShiftState KeyDataToShiftState(intptr_t KeyData) {
  TShiftState s;
  if (KeyData & kModShift) s.Include(ssShift);
  if (KeyData & kModCtrl) s.Include(ssCtrl);
  if (KeyData & kModAlt) s.Include(ssAlt);
  return s;
}

}  // namespace bw
