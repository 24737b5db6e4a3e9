// Sections: construction and children; the window (handles, showing, re-creation);
// bounds and alignment; focus and tab order; keys; painting; message dispatch.

#include "platform/controls/TWinControl.h"

#include <algorithm>
#include <cstring>

#include "platform/backend/Backend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TCustomForm.h"
#include "platform/controls/TWindowManager.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"

namespace bw {

// ---- construction and children -------------------------------------------------------

BW_PUBLISHED(TWinControl) {
  P.Property("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D)
      .Default(true)
      .Stored([](TWinControl* c) { return !c->ParentCtl3D(); });
  P.Property("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D).Default(true);
  P.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Stored([](TWinControl* c) { return c->Parent() != nullptr; });
  P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
  auto event = [&P](const char* Name, auto Member) {
    P.Property(
        Name, [Member](TWinControl * c) -> const auto& { return c->*Member; },
        [Member](TWinControl* c, const auto& Value) { c->*Member = Value; });
  };
  event("OnEnter", &TWinControl::OnEnter);
  event("OnExit", &TWinControl::OnExit);
  event("OnKeyDown", &TWinControl::OnKeyDown);
  event("OnKeyPress", &TWinControl::OnKeyPress);
  event("OnKeyUp", &TWinControl::OnKeyUp);
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (int32_t i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Owner() == Root) Proc(Controls(i));
  if (Root == this) inherited::GetChildren(Proc, Root);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  // Leave the parent while this is still a window, so that focus and capture go with it.
  if (FParent) FParent->RemoveControl(this);
  while (!FWinControls.empty() || !FControls.empty()) {
    TControl* child =
        !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    RemoveControl(child);
    delete child;
  }
  DestroyHandle();
}

TControl* TWinControl::Controls(int32_t Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError(SListIndexError);
  if (size_t(Index) < FControls.size()) return FControls[size_t(Index)];
  return FWinControls[size_t(Index) - FControls.size()];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled) const {
  auto hit = [&](const TControl* c) {
    return c->Visible() && (AllowDisabled || c->Enabled()) && c->BoundsRect().Contains(P);
  };
  for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
    if (!(*it)->IsTopLevel() && hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (win) {
    FWinControls.push_back(win);
    FTabList.push_back(win);
  } else {
    FControls.push_back(AControl);
  }
  if (!AControl->ComponentState().Contains(csLoading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (win) win->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
  }
  if (win)
    win->UpdateControlState();
  else
    AControl->Invalidate();
  if (AControl->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (win) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(win, true);
    win->DestroyHandle();
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), win),
                       FWinControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
  } else {
    AControl->Invalidate();
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  }
  TWindowManager& wm = TWindowManager::Get();
  if (wm.CaptureControl() && AControl->MouseCapture()) wm.SetCaptureControl(nullptr);
  if (win && wm.CaptureControl() && win->ContainsControl(wm.CaptureControl()))
    wm.SetCaptureControl(nullptr);
  AControl->FParent = nullptr;
  if (AControl->Align() != alNone) Realign();
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int32_t i = 0; i < ControlCount(); ++i) {
    Controls(i)->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(uint32_t Msg) {
  TMessage m{Msg, 0, 0, 0};
  for (int32_t i = 0; i < ControlCount(); ++i) {
    m.Result = 0;
    Controls(i)->WndProc(m);
  }
}

// ---- the window ----------------------------------------------------------------------

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

bool TWinControl::IsShowing() const {
  return FShowing && (IsTopLevel() || FParent->IsShowing());
}

bool TWinControl::IsTopLevel() const {
  if (!FParent) return true;
  if (FHandle) return (FStyle & WS_POPUP) != 0;
  TCreateParams params;
  const_cast<TWinControl*>(this)->CreateParams(params);
  return (params.Style & WS_POPUP) != 0;
}

TWinControl* TWinControl::TopLevelWindow() {
  TWinControl* w = this;
  while (!w->IsTopLevel())
    w = w->FParent;
  return w;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = Text();
  Params.Style = FParent ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WindowClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (FParent && !(params.Style & WS_POPUP)) params.WndParent = FParent->Handle();
  FStyle = params.Style;
  FExStyle = params.ExStyle;
  FHandle = TWindowManager::Get().Register(this);
  if (!FParent || (FStyle & WS_POPUP)) {
    TWindowParams wp;
    wp.Bounds = Bounds(FLeft, FTop, FWidth, FHeight);
    wp.Caption = params.Caption;
    wp.Popup = (FStyle & WS_POPUP) != 0;
    wp.NoActivate = (FExStyle & WS_EX_TOOLWINDOW) != 0;
    FSurface = Backend().CreateWindow(wp);
    TWindowManager::Get().AddTopLevel(this);
  }
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  FControlState.Include(csCreating);
  try {
    CreateWnd();
  } catch (...) {
    FControlState.Exclude(csCreating);
    throw;
  }
  FControlState.Exclude(csCreating);
  FUpdateRegion.Set(Bounds(0, 0, FWidth, FHeight));
  // A new window learns its size, as it does when a desktop creates it.
  Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(uint16_t(ClientWidth()), uint16_t(ClientHeight())));
}

void TWinControl::DestroyChildHandles() {
  for (TWinControl* child : FWinControls)
    child->DestroyHandle();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  FControlState.Include(csDestroyingHandle);
  try {
    DestroyChildHandles();
    DestroyWnd();
  } catch (...) {
    FControlState.Exclude(csDestroyingHandle);
    throw;
  }
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
  TWindowManager& wm = TWindowManager::Get();
  // These may run inside a destructor: a failing handler is reported, never thrown.
  if (wm.Focus == FHandle) {
    // The window that had the focus learns that it lost it before it goes.
    wm.Focus = 0;
    TMessage kill{WM_KILLFOCUS, 0, 0, 0};
    MainWndProc(kill);
  }
  if (FHandle) {
    TMessage destroy{WM_DESTROY, 0, 0, 0};
    MainWndProc(destroy);
  }
  // A window that goes while active hands the keyboard on; one being re-created keeps it.
  bool handOver = FSurface && wm.Active == FHandle && ComponentState().Contains(csDestroying);
  wm.Unregister(FHandle);
  if (handOver) {
    try {
      wm.ActivateNextForm(this);
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  if (FSurface) {
    Backend().DestroyWindow(FSurface);
    wm.RemoveTopLevel(this);
    FSurface = 0;
  }
  FBackBuffer.reset();
  FHandle = 0;
  FShowing = false;
  FUpdateRegion.Clear();
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  TWinControl* focused = FindControl(GetFocus());
  bool focusInside = focused && ContainsControl(focused);
  DestroyHandle();
  UpdateControlState();
  if (focusInside && focused->HandleAllocated()) bw::SetFocus(focused->FHandle);
}

void TWinControl::UpdateShowing() {
  bool show = Visible() && !ComponentState().Contains(csDestroying);
  if (show) {
    if (!FHandle) CreateHandle();
    for (size_t i = 0; i < FWinControls.size(); ++i)
      FWinControls[i]->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  for (TWinControl* p = FParent; p; p = p->FParent)
    if (!p->FShowing) return;
  UpdateShowing();
}

TRect TWinControl::TopLevelScreenBounds() const {
  return Bounds(FLeft, FTop, FWidth, FHeight);
}

int32_t TWinControl::BorderWidth() const {
  uint32_t style = FStyle, exStyle = FExStyle;
  if (!FHandle) {
    TCreateParams params;
    const_cast<TWinControl*>(this)->CreateParams(params);
    style = params.Style;
    exStyle = params.ExStyle;
  }
  int32_t w = 0;
  if (exStyle & WS_EX_CLIENTEDGE) w += 2;
  if (style & WS_BORDER) w += 1;
  return w;
}

TRect TWinControl::ClientRect() const {
  int32_t b = BorderWidth();
  return TRect{0, 0, std::max(FWidth - 2 * b, 0), std::max(FHeight - 2 * b, 0)};
}

TPoint TWinControl::ClientOrigin() const {
  int32_t b = BorderWidth();
  if (IsTopLevel()) return TPoint{FLeft + b, FTop + b};
  TPoint p = FParent->ClientOrigin();
  return TPoint{p.X + FLeft + b, p.Y + FTop + b};
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (FSurface) {
    Backend().ShowWindow(FSurface, FShowing);
    if (FShowing) FUpdateRegion.Set(Bounds(0, 0, FWidth, FHeight));
  } else if (FParent) {
    FParent->InvalidateClientRect(BoundsRect());
    if (FShowing) FUpdateRegion.Set(Bounds(0, 0, FWidth, FHeight));
  }
  if (!FShowing) {
    // A window that disappears gives up the focus and the mouse it holds.
    TWindowManager& wm = TWindowManager::Get();
    if (TWinControl* focused = FindControl(wm.Focus); focused && ContainsControl(focused))
      bw::SetFocus(0);
    if (wm.CaptureControl() && ContainsControl(wm.CaptureControl())) wm.SetCaptureControl(nullptr);
    // A hidden window that was active hands the keyboard on, as a desktop would do.
    if (FSurface && wm.Active == FHandle) wm.ActivateNextForm(this);
  }
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!Visible() && FParent) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
  }
  UpdateControlState();
  inherited::CMVisibleChanged(Message);
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (!Enabled() && FParent) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    TWindowManager& wm = TWindowManager::Get();
    if (TWinControl* focused = FindControl(wm.Focus); focused && ContainsControl(focused))
      bw::SetFocus(0);
  }
  inherited::CMEnabledChanged(Message);
}

// ---- bounds and alignment ------------------------------------------------------------

void TWinControl::BoundsChanged(bool Moved, bool Sized) {
  if (FSurface) Backend().SetWindowBounds(FSurface, TopLevelScreenBounds());
  if (FHandle) {
    FUpdateRegion.Set(Bounds(0, 0, FWidth, FHeight));
    if (Sized)
      Perform(WM_SIZE, SIZE_RESTORED,
              MakeLParam(uint16_t(ClientWidth()), uint16_t(ClientHeight())));
    if (Moved) Perform(WM_MOVE, 0, 0);
  } else if (Sized) {
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
  }
}

void TWinControl::WMSize(TMessage& Message) {
  Realign();
  DefaultHandler(Message);
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0) return;
  TRect r = ClientRect();
  AlignControls(nullptr, r);
}

void TWinControl::AlignControls(TControl*, TRect& Rect) {
  ++FAlignLevel;
  try {
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
      for (int32_t i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() != kind || !c->Visible()) continue;
        int32_t w = c->Width(), h = c->Height();
        switch (kind) {
          case alTop:
            c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
            Rect.Top += h;
            break;
          case alBottom:
            c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
            Rect.Bottom -= h;
            break;
          case alLeft:
            c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
            Rect.Left += w;
            break;
          case alRight:
            c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
            Rect.Right -= w;
            break;
          default:
            c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
            break;
        }
      }
    }
  } catch (...) {
    --FAlignLevel;
    throw;
  }
  --FAlignLevel;
}

// ---- focus and tab order -------------------------------------------------------------

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (const TWinControl* c = this; c != form; c = c->FParent)
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  return FHandle != 0 && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
  } else if (IsTopLevel()) {
    bw::SetFocus(Handle());
  } else {
    throw EInvalidOperation(Format("Control '%s' has no parent form", {Name()}));
  }
}

int32_t TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int32_t(it - list.begin());
}

void TWinControl::Loaded() {
  inherited::Loaded();
  if (FLoadedTabOrder >= 0) {
    int32_t order = FLoadedTabOrder;
    FLoadedTabOrder = -1;
    SetTabOrder(order);
  }
}

void TWinControl::SetTabOrder(int32_t Value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedTabOrder = Value;
    return;
  }
  if (!FParent) return;
  auto& list = FParent->FTabList;
  int32_t current = TabOrder();
  if (current < 0) return;
  Value = std::clamp(Value, 0, int32_t(list.size()) - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) FStyle = Value ? FStyle | WS_TABSTOP : FStyle & ~WS_TABSTOP;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  auto found = std::find(list.begin(), list.end(), CurControl);
  int32_t n = int32_t(list.size());
  int32_t start = found != list.end() ? int32_t(found - list.begin()) : (GoForward ? n - 1 : 0);
  int32_t i = start;
  do {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[size_t(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->FParent == this))
      return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
    next->SetFocus();
}

bool TWinControl::DialogKeyCheck(uint16_t Key, TShiftState Shift) {
  intptr_t mask = 0;
  switch (Key) {
    case VK_TAB:
      mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
      mask = DLGC_WANTALLKEYS;
      break;
    default:
      return false;
  }
  if (Perform(CM_WANTSPECIALKEY, Key, 0) != 0) return false;
  if (Perform(WM_GETDLGCODE, 0, 0) & mask) return false;
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  intptr_t mods = (Shift.Contains(ssShift) ? kModShift : 0) |
                  (Shift.Contains(ssCtrl) ? kModCtrl : 0) | (Shift.Contains(ssAlt) ? kModAlt : 0);
  return form->Perform(CM_DIALOGKEY, Key, mods) != 0;
}

void TWinControl::SetCtl3D(bool Value) {
  if (FCtl3D == Value) {
    FParentCtl3D = false;
    return;
  }
  FCtl3D = Value;
  FParentCtl3D = false;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (FParentCtl3D == Value) return;
  FParentCtl3D = Value;
  if (FParent && Value) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMParentCtl3DChanged(TMessage&) {
  if (!FParentCtl3D || !FParent) return;
  if (FCtl3D == FParent->Ctl3D()) return;
  FCtl3D = FParent->Ctl3D();
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
  Invalidate();
  NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  inherited::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMFocusChanged(TMessage& Message) {
  Broadcast(Message);
}

void TWinControl::CMEnter(TMessage&) {
  DoEnter();
}

void TWinControl::CMExit(TMessage&) {
  DoExit();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::CMDialogKey(TMessage& Message) {
  Broadcast(Message);
}

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
}

void TWinControl::WMMouseActivate(TMessage& Message) {
  if (!IsTopLevel())
    Message.Result = FParent->Perform(WM_MOUSEACTIVATE, Message.WParam, Message.LParam);
  if (Message.Result == 0) Message.Result = MA_ACTIVATE;
}

void TWinControl::WMGetDlgCode(TMessage& Message) {
  DefaultHandler(Message);
}

bool TWinControl::DoMouseWheel(TShiftState, int32_t, TPoint) {
  return false;
}

void TWinControl::WMMouseWheel(TMessage& Message) {
  TPoint screen = LParamToPoint(Message.LParam);
  if (DoMouseWheel(MouseKeysToShiftState(Message.WParam & 0xFFFF),
                   int16_t(uint16_t(Message.WParam >> 16)), screen)) {
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
  // Unhandled turns of the wheel go to the parent, as on the desktop.
  if (Message.Result == 0 && !IsTopLevel()) FParent->WndProc(Message);
}

// ---- keys ----------------------------------------------------------------------------

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TShiftState shift = KeyDataToShiftState(Message.LParam);
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->PreviewsKeys()) {
    TControlWatch watch(this);  // the form's handler may free this control
    if (form->DoKeyDown(Message) || !watch.Alive()) return true;
  }
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  uint16_t key = uint16_t(Message.WParam);
  KeyDown(key, shift);
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TShiftState shift = KeyDataToShiftState(Message.LParam);
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->PreviewsKeys()) {
    TControlWatch watch(this);  // the form's handler may free this control
    if (form->DoKeyUp(Message) || !watch.Alive()) return true;
  }
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  uint16_t key = uint16_t(Message.WParam);
  KeyUp(key, shift);
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->PreviewsKeys()) {
    TControlWatch watch(this);  // the form's handler may free this control
    if (form->DoKeyPress(Message) || !watch.Alive()) return true;
  }
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  Char key = Char(Message.WParam);
  KeyPress(key);
  Message.WParam = key;
  return key == 0;
}

// A key handler may free the control (an editor that closes on Enter): then it is done.
void TWinControl::WMKeyDown(TMessage& Message) {
  TControlWatch watch(this);
  if (!DoKeyDown(Message) && watch.Alive()) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  TControlWatch watch(this);
  if (!DoKeyUp(Message) && watch.Alive()) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  TControlWatch watch(this);
  if (!DoKeyPress(Message) && watch.Alive()) DefaultHandler(Message);
}

void TWinControl::WMCut(TMessage& Message) {
  DefaultHandler(Message);
}

void TWinControl::WMCopy(TMessage& Message) {
  DefaultHandler(Message);
}

void TWinControl::WMPaste(TMessage& Message) {
  DefaultHandler(Message);
}

// ---- painting ------------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (FHandle) FUpdateRegion.Set(Bounds(0, 0, FWidth, FHeight));
}

void TWinControl::InvalidateClientRect(const TRect& Rect) {
  if (!FHandle) return;
  int32_t b = BorderWidth();
  TRect r = Rect.Offset(b, b).Intersect(Bounds(0, 0, FWidth, FHeight));
  FUpdateRegion.Add(r);
}

void TWinControl::Update() {
  if (!FHandle) return;
  TopLevelWindow()->PaintTopLevel();
}

bool TWinControl::NeedsPaint() const {
  if (!FShowing) return false;
  if (!FUpdateRegion.IsEmpty() || !FScrolledRect.IsEmpty()) return true;
  for (const TWinControl* c : FWinControls)
    if (!c->IsTopLevel() && c->NeedsPaint()) return true;
  return false;
}

void TWinControl::PaintFrame(TCanvas* ACanvas) {
  TRect r = Bounds(0, 0, FWidth, FHeight);
  if (FExStyle & WS_EX_CLIENTEDGE) {
    ACanvas->Frame3D(r, clBtnShadow, clBtnHighlight, 1);
    ACanvas->Frame3D(r, cl3DDkShadow, cl3DLight, 1);
  }
  if (FStyle & WS_BORDER) {
    ACanvas->Brush()->SetColor(clWindowFrame);
    ACanvas->FrameRect(r);
  }
}

void TWinControl::EraseBackground(TCanvas* ACanvas) {
  if (FControlStyle.Contains(csOpaque)) return;
  ACanvas->Brush()->SetColor(Color());
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->FillRect(ClientRect());
}

void TWinControl::PaintWindow(TCanvas*) {}

void TWinControl::WMPaint(TMessage& Message) {
  if (FPaintCanvas) {
    PaintWindow(FPaintCanvas);
    PaintControls(FPaintCanvas);
  }
  DefaultHandler(Message);
}

void TWinControl::PaintControls(TCanvas* ACanvas) {
  TPoint origin = ACanvas->Origin();
  TRect clip = ACanvas->ClipRect().Offset(origin.X, origin.Y);  // in buffer pixels
  for (size_t i = 0; i < FControls.size(); ++i) {
    TControl* c = FControls[i];
    if (!c->Visible()) continue;
    TRect area = c->BoundsRect().Offset(origin.X, origin.Y).Intersect(clip);
    if (area.IsEmpty()) continue;
    ACanvas->SetOrigin(TPoint{origin.X + c->Left(), origin.Y + c->Top()});
    ACanvas->ResetClip();
    ACanvas->SetClipRect(area.Offset(-origin.X - c->Left(), -origin.Y - c->Top()));
    c->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(ACanvas), 0);
  }
  ACanvas->SetOrigin(origin);
  ACanvas->ResetClip();
  ACanvas->SetClipRect(clip.Offset(-origin.X, -origin.Y));
}

void TWinControl::PaintWindowTree(TCanvas* ACanvas, TPoint Origin, const TRect& Clip,
                                  TUpdateRegion& Painted) {
  TRect window = Bounds(Origin.X, Origin.Y, FWidth, FHeight).Intersect(Clip);
  // What this window marked, and what was painted over it by the windows below.
  TUpdateRegion dirty;
  for (const TRect& r : FUpdateRegion)
    dirty.Add(r.Offset(Origin.X, Origin.Y).Intersect(window));
  for (const TRect& r : Painted)
    dirty.Add(r.Intersect(window));
  FUpdateRegion.Clear();
  if (window.IsEmpty()) return;
  int32_t b = BorderWidth();
  TPoint clientOrigin{Origin.X + b, Origin.Y + b};
  TRect client = ClientRect().Offset(clientOrigin.X, clientOrigin.Y).Intersect(window);
  if (!PaintsInParts()) dirty.Set(dirty.Bounds());
  for (const TRect& part : dirty) {
    PaintPart(ACanvas, Origin, client, part);
    Painted.Add(part);
  }
  for (size_t i = 0; i < FWinControls.size(); ++i) {
    TWinControl* c = FWinControls[i];
    if (!c->FShowing || c->IsTopLevel()) continue;
    c->PaintWindowTree(ACanvas, TPoint{clientOrigin.X + c->Left(), clientOrigin.Y + c->Top()},
                       client, Painted);
  }
}

void TWinControl::PaintPart(TCanvas* ACanvas, TPoint Origin, const TRect& Client,
                            const TRect& Part) {
  ACanvas->SetOrigin(Origin);
  ACanvas->ResetClip();
  ACanvas->SetClipRect(Part.Offset(-Origin.X, -Origin.Y));
  PaintFrame(ACanvas);
  TRect clientPart = Part.Intersect(Client);
  if (clientPart.IsEmpty()) return;
  const int32_t b = BorderWidth();
  const TPoint clientOrigin{Origin.X + b, Origin.Y + b};
  ACanvas->SetOrigin(clientOrigin);
  ACanvas->ResetClip();
  ACanvas->SetClipRect(clientPart.Offset(-clientOrigin.X, -clientOrigin.Y));
  EraseBackground(ACanvas);
  FPaintCanvas = ACanvas;
  try {
    Perform(WM_PAINT, 0, 0);
  } catch (...) {
    FPaintCanvas = nullptr;
    throw;
  }
  FPaintCanvas = nullptr;
}

void TWinControl::PaintTopLevel() {
  if (!FSurface || !FShowing || FWidth <= 0 || FHeight <= 0) return;
  if (!FBackBuffer) FBackBuffer = std::make_unique<TBitmap>();
  if (FBackBuffer->Width() != FWidth || FBackBuffer->Height() != FHeight) {
    FBackBuffer->SetSize(FWidth, FHeight);
    FUpdateRegion.Set(Bounds(0, 0, FWidth, FHeight));
  }
  bool dirty = NeedsPaint();
  TWindowManager& wm = TWindowManager::Get();
  TUpdateRegion painted;
  if (dirty) {
    TCanvas canvas;
    canvas.SetBuffer(FBackBuffer->Canvas()->Buffer());
    FPainting = true;
    try {
      PaintWindowTree(&canvas, TPoint{0, 0}, Bounds(0, 0, FWidth, FHeight), painted);
    } catch (...) {
      // A failing Paint must not leave the window marked for ever; report and go on.
      painted.Set(Bounds(0, 0, FWidth, FHeight));
      FPainting = false;
      if (Application) Application->HandleException(this);
    }
    FPainting = false;
  }
  // Pixels that scrolled inside the buffer are shown anew as well.
  const TRect changed = painted.Bounds().Union(FScrolledRect);
  FScrolledRect = TRect();
  if (changed.IsEmpty() && !wm.CaretChanged(this)) return;
  wm.PresentWithCaret(this, changed);
}

// ---- scrolling pixels ------------------------------------------------------------------

namespace {

// Moves the pixels that end up in Target from where they lie, (DX, DY) away, visiting the
// rows in the order that reads each before it is overwritten.
void MovePixels(TBitmap& Buffer, const TRect& Target, int32_t DX, int32_t DY) {
  const size_t bytes = size_t(Target.Width()) * sizeof(uint32_t);
  auto moveRow = [&](int32_t y) {
    std::memmove(Buffer.ScanLine(y) + Target.Left, Buffer.ScanLine(y - DY) + (Target.Left - DX),
                 bytes);
  };
  if (DY > 0) {
    for (int32_t y = Target.Bottom - 1; y >= Target.Top; --y)
      moveRow(y);
  } else {
    for (int32_t y = Target.Top; y < Target.Bottom; ++y)
      moveRow(y);
  }
}

}  // namespace

void TWinControl::ScrollClientRect(const TRect& Area, int32_t DX, int32_t DY) {
  if (!FHandle || Area.IsEmpty() || (DX == 0 && DY == 0)) return;
  TWinControl* top = TopLevelWindow();
  TPoint origin;
  TRect shown;
  if (top->FPainting || !IsShowing() || !ClientInBuffer(origin, shown)) {
    InvalidateClientRect(Area);
    return;
  }
  // All in back-buffer pixels from here.
  const TRect area = Area.Offset(origin.X, origin.Y).Intersect(shown);
  if (area.IsEmpty()) return;  // none of it shows
  const TRect target = area.Intersect(area.Offset(DX, DY));
  if (target.IsEmpty() || CoveredWithin(area, origin)) {
    InvalidateClientRect(Area);
    return;
  }
  const TUpdateRegion marked = MarkedWithin(area, origin);
  MovePixels(*top->FBackBuffer, target, DX, DY);
  top->FScrolledRect = top->FScrolledRect.Union(target);
  auto mark = [&](const TRect& r) {
    if (!r.IsEmpty()) InvalidateClientRect(r.Offset(-origin.X, -origin.Y));
  };
  // What waited to be painted moved with the content (and where it was stays marked).
  for (const TRect& r : marked)
    mark(r.Offset(DX, DY).Intersect(target));
  // The strips the move uncovered.
  if (DY > 0) mark(Rect(area.Left, area.Top, area.Right, target.Top));
  if (DY < 0) mark(Rect(area.Left, target.Bottom, area.Right, area.Bottom));
  if (DX > 0) mark(Rect(area.Left, area.Top, target.Left, area.Bottom));
  if (DX < 0) mark(Rect(target.Right, area.Top, area.Right, area.Bottom));
}

bool TWinControl::ClientInBuffer(TPoint& Origin, TRect& Shown) {
  TPoint window{0, 0};
  if (IsTopLevel()) {
    if (!FBackBuffer || FBackBuffer->Width() != FWidth || FBackBuffer->Height() != FHeight)
      return false;
    Shown = Bounds(0, 0, FWidth, FHeight);
  } else {
    if (!FParent->ClientInBuffer(Origin, Shown)) return false;
    window = TPoint{Origin.X + FLeft, Origin.Y + FTop};
    Shown = Shown.Intersect(Bounds(window.X, window.Y, FWidth, FHeight));
  }
  const int32_t b = BorderWidth();
  Origin = TPoint{window.X + b, window.Y + b};
  Shown = Shown.Intersect(ClientRect().Offset(Origin.X, Origin.Y));
  return true;
}

bool TWinControl::CoveredWithin(const TRect& Rect, TPoint ClientOrigin) {
  auto meets = [&Rect](const TControl* c, TPoint parentClient) {
    return !Bounds(parentClient.X + c->Left(), parentClient.Y + c->Top(), c->Width(), c->Height())
                .Intersect(Rect)
                .IsEmpty();
  };
  auto paintsOver = [&](const TWinControl* c, TPoint parentClient) {
    return c->FShowing && !c->IsTopLevel() && meets(c, parentClient);
  };
  for (const TControl* c : FControls)
    if (c->Visible() && meets(c, ClientOrigin)) return true;
  for (const TWinControl* c : FWinControls)
    if (paintsOver(c, ClientOrigin)) return true;
  // The windows painted after this one, at every level up to the top-level window.
  TPoint client = ClientOrigin;
  for (TWinControl* w = this; !w->IsTopLevel(); w = w->FParent) {
    const int32_t b = w->BorderWidth();
    const TPoint parentClient{client.X - b - w->FLeft, client.Y - b - w->FTop};
    const std::vector<TWinControl*>& siblings = w->FParent->FWinControls;
    auto above = std::find(siblings.begin(), siblings.end(), w);
    if (above != siblings.end()) ++above;
    for (; above != siblings.end(); ++above)
      if (paintsOver(*above, parentClient)) return true;
    client = parentClient;
  }
  return false;
}

TUpdateRegion TWinControl::MarkedWithin(const TRect& Rect, TPoint ClientOrigin) {
  TUpdateRegion marked;
  TPoint client = ClientOrigin;
  for (TWinControl* w = this;; w = w->FParent) {
    const int32_t b = w->BorderWidth();
    const TPoint window{client.X - b, client.Y - b};
    for (const TRect& r : w->FUpdateRegion)
      marked.Add(r.Offset(window.X, window.Y).Intersect(Rect));
    if (w->IsTopLevel()) return marked;
    client = TPoint{window.X - w->FLeft, window.Y - w->FTop};
  }
}

// ---- messages ------------------------------------------------------------------------

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    WndProc(Message);
  } catch (...) {
    if (Application)
      Application->HandleException(this);
    else
      throw;
  }
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    case WM_CANCELMODE: {
      // The window holds the capture for a graphic child: the child is the one to cancel.
      TControl* capture = TWindowManager::Get().CaptureControl();
      if (capture && capture->Parent() == this && !dynamic_cast<TWinControl*>(capture))
        capture->Perform(WM_CANCELMODE, 0, 0);
      break;
    }
    default:
      break;
  }
  inherited::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_PAINT:
      WMPaint(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_KEYDOWN:
      WMKeyDown(Message);
      break;
    case WM_KEYUP:
      WMKeyUp(Message);
      break;
    case WM_CHAR:
      WMChar(Message);
      break;
    case WM_CUT:
      WMCut(Message);
      break;
    case WM_COPY:
      WMCopy(Message);
      break;
    case WM_PASTE:
      WMPaste(Message);
      break;
    case WM_MOUSEACTIVATE:
      WMMouseActivate(Message);
      break;
    case WM_GETDLGCODE:
      WMGetDlgCode(Message);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(Message);
      break;
    case CM_ENTER:
      CMEnter(Message);
      break;
    case CM_EXIT:
      CMExit(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_CTL3DCHANGED:
      CMCtl3DChanged(Message);
      break;
    case CM_PARENTCTL3DCHANGED:
      CMParentCtl3DChanged(Message);
      break;
    case CM_FOCUSCHANGED:
      CMFocusChanged(Message);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    default:
      inherited::Dispatch(Message);
      break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  inherited::DefaultHandler(Message);
}

}  // namespace bw
